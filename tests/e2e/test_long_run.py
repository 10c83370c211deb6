"""An unattended run: a simulated hour of the barograph's stream (3600 $PXDR
sentences, each followed by $WIXDR) fed through the pty as fast as the
program's poll takes it. Every record must be whole and carry exactly the
values that were sent. MONITOR_LONG_RUN=day feeds a simulated day instead
(86400 sentences, about 40 minutes) and reports the resident memory of the
program after the first hour and at the end."""

import os
import sys
import time
import unittest

from fault_support import (FaultTestMixin, course, device_stream, expected_records, monitor_pid, resident_kb,
                           utc_clocks, utc_stamps)

HOURS = 24 if os.environ.get("MONITOR_LONG_RUN") == "day" else 1
SENTENCES_PER_HOUR = 3600
RECORDS_PER_HOUR = 12


class LongRun(FaultTestMixin, unittest.TestCase):
    def test_simulated_hours_give_every_record_exactly(self):
        readings = course(HOURS * SENTENCES_PER_HOUR, seed=21)
        lines = self.start_with()
        pid = monitor_pid(self.workdir)
        self.assertIsNotNone(pid, "no monitor.exe process found")
        memory = {"start": resident_kb(pid)}
        start = time.time()

        for hour in range(HOURS):
            chunk = readings[hour * SENTENCES_PER_HOUR:(hour + 1) * SENTENCES_PER_HOUR]
            # The pty takes a few kilobytes; the write goes at the poll's pace.
            lines[2].write(device_stream(chunk), timeout=600)
            wanted = (hour + 1) * RECORDS_PER_HOUR
            self.assertTrue(self.wait_for(lambda: len(self.records()) >= wanted, 60),
                            f"hour {hour + 1}: {len(self.records())} records")
            if hour == 0:
                memory["hour"] = resident_kb(pid)
        # Both sentences of every second are counted as lines.
        title = self.wait_sentences(2 * len(readings))
        after = time.time()
        memory["end"] = resident_kb(pid)

        records = self.records()
        self.assertEqual(len(records), HOURS * RECORDS_PER_HOUR)
        stamps = [record[7:23].decode() for record in records]
        window = utc_stamps(start, after)
        for stamp in stamps:
            self.assertIn(stamp, window)
        self.assertEqual(records, expected_records(readings, stamps, rejected_between=True))
        # The last line is a $WIXDR: counted, shown with the last reading.
        last = readings[-1]
        self.assertIn(title, {last.title(2 * len(readings), clock) for clock in utc_clocks(start, after)})
        self.assertEqual(self.events(), [])
        self.assertTrue(self.monitor.running())
        self.assertEqual(self.quit_monitor(), 0)

        sys.stderr.write(f"\nlong run: {HOURS} h simulated, {len(records)} records, {after - start:.0f} s fed; "
                         f"VmRSS kB at start {memory['start']}, after the first hour {memory['hour']}, "
                         f"at the end {memory['end']}\n")


if __name__ == "__main__":
    unittest.main()
