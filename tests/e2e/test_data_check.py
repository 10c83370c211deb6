"""The data check (window command cmdCheckRecordFile) on prepared record
files: the files it leaves and the box it shows, byte for byte."""

import os
import time
import unittest

from fault_support import utc_stamps
from harness import DEFAULT_INI, MonitorTestMixin
from monitor_ids import EXAMPLE, WIXDR, cmdCheckRecordFile, command, event_tag, eventRecordFileError

CHECK = command(cmdCheckRecordFile)


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

        def line_feed_only(line):
            return line[:-2] + b"\n"

        # Tendencies and a variation of a storm, as the program writes them: valid.
        storm = {"10:50": dict(t1=750, t3=-750, variation=600), "10:55": dict(t1=-750, t3=750, variation=600)}

        old = b"".join([
            at("10:00", point="."),            # read with decimal points alike
            at("10:05", alarm=1),              # stood in a wind alarm
            at("10:10"),
            at("10:10"),                       # duplicate: an error
            at("10:15"),
            at("10:20"),
            at("10:25")[:40] + b"\r\n",        # cut short: an error
            at("10:30"),                       # ten minutes after 10:20: starts a recording
            line_feed_only(at("10:35")),       # line ends of an editor
            b"barometer compared 15.03.\n",    # added by hand: an error
            line_feed_only(at("10:40")),
            at("10:45").replace(b".03.", b".13."),  # month 13: invalid, an error
            at("10:50", **storm["10:50"]),     # starts a recording
            at("10:55", **storm["10:55"]),
            at("11:01"),                       # off the rhythm: starts a recording
            at("11:06"),
            at("11:11"),
            at("11:16")[:30],                  # no line end: an error
        ])
        self.write("monitor.txt", old)
        self.write("monitor.tmp", b"left from an earlier run")
        self.start()
        box = self.check_box()
        self.assertEqual((box["caption"], box["text"]),
                         ("Data check", "13 records read\n4 recordings\n5 errors found\n5 errors corrected"))
        self.assertEqual(self.driver.press(box), "ok")

        # Every valid record is kept, the first after each gap as 000001.
        kept = [("10:00", 1), ("10:05", 2), ("10:10", 3), ("10:15", 4), ("10:20", 5), ("10:30", 1), ("10:35", 2),
                ("10:40", 3), ("10:50", 1), ("10:55", 2), ("11:01", 1), ("11:06", 2), ("11:11", 3)]
        # The wind alarm digit of 10:05 is kept.
        repaired = b"".join(at(clock, number, alarm=int(clock == "10:05"), **storm.get(clock, {}))
                            for clock, number in kept)
        self.assertEqual(self.read("monitor.txt"), repaired)
        self.assertEqual(self.read("monitor.bak"), old)
        listed = b"  0      0    5\n  1      5    3\n  2      8    2\n  3     10    3\n"
        self.assertEqual(self.read("datalist.txt"), listed)
        self.assertFalse(os.path.exists(self.path("monitor.tmp")))
        log = self.read("monitor.err") if os.path.exists(self.path("monitor.err")) else b""
        self.assertNotIn(event_tag(eventRecordFileError), log)
        self.assertTrue(self.wait_for(lambda: self.driver.boxes() == []))
        self.assertTrue(self.monitor.running())

        # A second check finds the repaired file clean and changes no record.
        box = self.check_box()
        self.assertEqual(box["text"], "13 records read\n4 recordings\n0 errors found\n0 errors corrected")
        self.driver.press(box)
        self.assertTrue(self.wait_for(lambda: self.driver.boxes() == []))
        self.assertEqual(self.read("monitor.bak"), repaired)
        self.assertEqual(self.read("monitor.txt"), repaired)
        self.assertEqual(self.read("datalist.txt"), listed)
        self.assertEqual(self.quit_monitor(), 0)

    def test_record_due_while_the_short_file_box_waits_is_kept(self):
        short = record(1, "10:00")[:79]
        self.write("monitor.txt", short)
        self.start()
        box = self.check_box()
        self.assertEqual((box["caption"], box["text"]), ("Data check", "No records read\nno errors can be found"))
        # The acquisition runs on under the box, and the check holds no file:
        # the record due meanwhile is appended.
        start = time.time()
        self.lines[2].write((EXAMPLE + WIXDR) * 300)
        self.assertTrue(self.wait_for(lambda: len(self.read("monitor.txt")) >= len(short) + 80, timeout=90))
        stamps = utc_stamps(start, time.time())
        appended = self.read("monitor.txt")[len(short):]
        self.assertIn(appended[7:23].decode(), stamps)
        self.assertEqual(appended, b"000001 " + appended[7:23] +
                         b" 0998,60 hPa +01,2 hPa/hr +03,5 hPa/3h 00,0 hPa/h var 0\r\n")
        self.assertEqual(self.driver.boxes(), [box], "the box is still open")
        log = self.read("monitor.err") if os.path.exists(self.path("monitor.err")) else b""
        self.assertNotIn(event_tag(eventRecordFileError), log)
        self.driver.press(box)
        self.assertTrue(self.wait_for(lambda: self.driver.boxes() == []))
        self.assertEqual(self.read("monitor.txt"), short + appended)
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
        self.assertIn(b"  " + event_tag(eventRecordFileError) + b"error wrinting in file MONITOR.TXT \r\n",
                      self.read("monitor.err"))
        self.assertEqual(self.read("monitor.tmp"), b"")
        self.assertFalse(os.path.exists(self.path("monitor.txt")))
        self.assertEqual(self.quit_monitor(), 0)


if __name__ == "__main__":
    unittest.main()
