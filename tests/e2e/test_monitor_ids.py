"""The names the tests take from the C++ headers: a name the headers lack, or a
number the reader cannot take as it stands, stops the tests at their import
instead of letting them run with a wrong or missing number. No program runs."""
import os
import re
import tempfile
import unittest

import monitor_ids

# How a test names a command, an event or a fatal error: a digit there is a number typed by hand.
TYPED_NUMBER = re.compile(r"\b(?:command|event_tag|fatal_number|wait_event_count)\(\s*\d|(?:event|fatal error) nr\. \d")


class HeaderNames(unittest.TestCase):
    def header(self, text):
        """A header with `text` in a scratch folder, by its absolute path."""
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        path = os.path.join(folder.name, "numbers.h")
        with open(path, "w", encoding="latin-1") as header:
            header.write(text)
        return path

    def test_a_name_the_headers_lack_fails_the_import_and_is_named(self):
        with self.assertRaisesRegex(ImportError, r"eventNoSuchEvent is not an enumerator of app/menu_layout\.h"):
            from monitor_ids import eventNoSuchEvent  # noqa: F401
        with self.assertRaisesRegex(ImportError, "cmdNoSuchCommand"):
            from monitor_ids import cmdNoSuchCommand  # noqa: F401
        with self.assertRaises(AttributeError):
            getattr(monitor_ids, "no_such_helper")

    def test_comments_and_other_declarations_do_not_change_the_numbers(self):
        path = self.header("#pragma once\n"
                           "struct LocalStamp { int day, month; };\n"
                           "enum EventNumber : int {\n"
                           "    eventA = 14,   // 14..17: a, b = 3, c\n"
                           "    /* eventB = 99, */ eventC = 19, eventD = 7\n"
                           "};\n"
                           "enum CommandId : unsigned { cmdE = 1002, };\n"
                           "constexpr int later = 5;\n")
        self.assertEqual(monitor_ids.enumerators(path), {"eventA": 14, "eventC": 19, "eventD": 7, "cmdE": 1002})

    def test_an_enumerator_without_its_own_number_fails_the_import(self):
        for body in ("eventA = 1, eventB = eventA + 1", "eventA = 1, eventB"):
            with self.subTest(body=body), self.assertRaisesRegex(ImportError, "numbers.h: cannot read 'eventB"):
                monitor_ids.enumerators(self.header(f"enum EventNumber : int {{ {body} }};\n"))

    def test_the_module_reads_both_headers(self):
        found = {}
        for header in monitor_ids.HEADERS:
            numbers = monitor_ids.enumerators(header)
            self.assertTrue(numbers, header)
            found.update(numbers)
        self.assertEqual({name: getattr(monitor_ids, name) for name in found}, found)
        self.assertEqual(len(set(monitor_ids.PORT_COMMANDS)), 8)

    def test_no_test_types_a_command_event_or_fatal_number(self):
        here = os.path.dirname(os.path.abspath(__file__))
        typed = []
        for name in sorted(os.listdir(here)):
            if name.endswith(".py") and name != "monitor_ids.py":
                with open(os.path.join(here, name), encoding="utf-8") as source:
                    typed += [f"{name}:{number}: {line.strip()}" for number, line in enumerate(source, 1)
                              if TYPED_NUMBER.search(line)]
        self.assertEqual(typed, [], "name it from monitor_ids instead")


if __name__ == "__main__":
    unittest.main()
