"""The data check (command 1102) on prepared record files: the files it leaves
and the box it shows, byte for byte."""

import os
import unittest

from harness import DEFAULT_INI, MonitorTestMixin
from test_acquisition import EXAMPLE, WIXDR

CHECK = "command 1102"


def record(number, clock, pressure=99860, t1=12, t3=-35, variation=45, alarm=0, point=","):
    """One 80-byte record line of 15.03.2024 at `clock` ("hh:mm")."""
    def tenths(value):
        return f"{'-' if value < 0 else '+'}{abs(value) // 10:02d}{point}{abs(value) % 10}"

    line = (f"{number:06d} 15.03.2024 {clock} {pressure // 100:04d}{point}{pressure % 100:02d} hPa "
            f"{tenths(t1)} hPa/hr {tenths(t3)} hPa/3h {variation // 10:02d}{point}{variation % 10} hPa/h var "
            f"{alarm}\r\n").encode()
    assert len(line) == 80, line
    return line


class DataCheck(MonitorTestMixin, unittest.TestCase):
    def start(self):
        self.serial_ports(2)
        self.write("monitor.ini", DEFAULT_INI)
        self.start_monitor()

    def check_box(self):
        self.assertEqual(self.driver.ask(CHECK), "ok")
        box = self.driver.wait_box()
        self.assertIsNotNone(box, "the check shows no box")
        return box

    def test_damaged_file_is_repaired_and_reported(self):
        # Each record's pressure is its minute of the day, so a record misplaced shows.
        def at(clock, number=0, **values):
            hour, minute = map(int, clock.split(":"))
            return record(number or 100 + hour * 60 + minute, clock, pressure=90000 + hour * 60 + minute, **values)

        old = b"".join([
            at("10:00", point="."),            # read with decimal points alike
            at("10:05", alarm=1),
            at("10:10"),
            at("10:10"),                       # duplicate: an error and a break
            at("10:15"),
            at("10:20"),
            at("10:25")[:40] + b"\r\n",        # cut short: an error
            at("10:30"),                       # ten minutes after 10:20: a break
            at("10:35"),
            b"barometer compared 15.03.\r\n",  # added by hand: an error
            at("10:40"),
            at("10:45", t1=500),               # +50,0 hPa/hr: invalid, an error
            at("10:50"),                       # a break
            at("10:55"),
            at("11:01"),                       # off the rhythm: a break
            at("11:06"),
            at("11:11"),
            at("11:16")[:30],                  # no line end: an error
        ])
        self.write("monitor.txt", old)
        self.write("monitor.tmp", b"left from an earlier run")
        self.start()
        box = self.check_box()
        self.assertEqual((box["caption"], box["text"]),
                         ("Data check", "10 records read\n5 recordings\n5 errors found\n5 errors corrected"))
        self.assertEqual(self.driver.press(box), "ok")

        kept = [("10:00", 1), ("10:05", 2), ("10:10", 3), ("10:15", 1), ("10:20", 2), ("10:35", 1),
                ("10:40", 2), ("10:55", 1), ("11:06", 1), ("11:11", 2)]
        self.assertEqual(self.read("monitor.txt"), b"".join(at(clock, number) for clock, number in kept))
        self.assertEqual(self.read("monitor.bak"), old)
        self.assertEqual(self.read("datalist.txt"),
                         b"  0      0    3\n  1      3    2\n  2      5    2\n  3      7    1\n  4      8    2\n")
        self.assertFalse(os.path.exists(self.path("monitor.tmp")))
        log = self.read("monitor.err") if os.path.exists(self.path("monitor.err")) else b""
        self.assertNotIn(b"event nr. 13 ", log)
        self.assertTrue(self.wait_for(lambda: self.driver.boxes() == []))
        self.assertTrue(self.monitor.running())

        # A second check finds the repaired file clean.
        # A second check keeps the clean records but drops, as always, the first
        # record after each gap: it breaks the rhythm.
        box = self.check_box()
        self.assertEqual(box["text"], "7 records read\n4 recordings\n0 errors found\n0 errors corrected")
        self.driver.press(box)
        self.assertTrue(self.wait_for(lambda: self.driver.boxes() == []))
        self.assertEqual(self.read("monitor.bak"), b"".join(at(clock, number) for clock, number in kept))
        again = [("10:00", 1), ("10:05", 2), ("10:10", 3), ("10:15", 4), ("10:20", 5), ("10:40", 1), ("11:11", 1)]
        self.assertEqual(self.read("monitor.txt"), b"".join(at(clock, number) for clock, number in again))
        self.assertEqual(self.quit_monitor(), 0)

    def test_short_file_box_holds_the_record_file(self):
        short = record(1, "10:00")[:79]
        self.write("monitor.txt", short)
        self.start()
        box = self.check_box()
        self.assertEqual((box["caption"], box["text"]), ("Data check", "No records read\nno errors can be found"))
        # The acquisition runs on under the box; the record due meanwhile finds
        # monitor.txt held by the check and is reported.
        self.lines[2].write((EXAMPLE + WIXDR) * 300)
        self.assertTrue(self.wait_for(lambda: os.path.exists(self.path("monitor.err"))
                                      and b"event nr. 13 " in self.read("monitor.err"), timeout=90))
        self.assertIn(b"  event nr. 13 error wrinting in file MONITOR.TXT \r\n", self.read("monitor.err"))
        self.driver.press(box)
        self.assertTrue(self.wait_for(lambda: self.driver.boxes() == []))
        self.assertEqual(self.read("monitor.txt"), short)
        self.assertEqual(self.read("monitor.tmp"), b"")
        self.assertFalse(os.path.exists(self.path("monitor.bak")))
        self.assertFalse(os.path.exists(self.path("datalist.txt")))
        self.assertEqual(self.quit_monitor(), 0)

    def test_missing_record_file(self):
        self.start()
        box = self.check_box()
        self.assertEqual((box["caption"], box["text"]), ("read data", "error reading monitor.txt"))
        self.driver.press(box)
        self.assertTrue(self.wait_for(lambda: os.path.exists(self.path("monitor.err"))))
        self.assertIn(b"  event nr. 13 error wrinting in file MONITOR.TXT \r\n", self.read("monitor.err"))
        self.assertEqual(self.read("monitor.tmp"), b"")
        self.assertFalse(os.path.exists(self.path("monitor.txt")))
        self.assertEqual(self.quit_monitor(), 0)


if __name__ == "__main__":
    unittest.main()
