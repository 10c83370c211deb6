"""An unattended run under faults: a simulated hour of the barograph's stream
(3600 $PXDR sentences, each followed by $WIXDR) fed through the pty as fast as
the program's poll takes it, with one fault of each kind from
tests/faults/hour.txt: the adapter pulled and plugged back, monitor.txt held
by another program, a full disk, line noise, a print job. Every record that
the sentences received must give has to be in monitor.txt, whole, numbered
without a gap and carrying exactly the values sent; monitor.err holds one
line per fault event. MONITOR_LONG_RUN=day plays a simulated day with the
faults of tests/faults/day.txt instead (about 40 minutes) and reports the
figures and the resident memory at start, middle and end."""

import os
import shutil
import sys
import time
import unittest
from collections import Counter

from fault_schedule import ScheduledRun, read_schedule
from fault_support import FaultTestMixin, ScratchDisk, course, monitor_pid, resident_kb
from harness import Driver, Monitor
from printing_support import PdfPrinter, missing_tools, scheduler_running

DAY = os.environ.get("MONITOR_LONG_RUN") == "day"
HOURS = 24 if DAY else 1
SCHEDULE = os.environ.get("MONITOR_LONG_RUN_SCHEDULE", "day.txt" if DAY else "hour.txt")
SENTENCES_PER_HOUR = 3600
# To replay a short piece of a schedule: the seconds of the stream to play.
SECONDS = int(os.environ.get("MONITOR_LONG_RUN_SECONDS", HOURS * SENTENCES_PER_HOUR))

printer = None
no_printer = None


def setUpModule():
    global printer, no_printer
    missing = missing_tools()
    if missing:
        no_printer = "missing " + " ".join(missing)
    elif os.getuid() != 0 and not scheduler_running():
        no_printer = "no CUPS scheduler running and no rights to start one"
    else:
        printer = PdfPrinter().start()


def tearDownModule():
    if printer is not None:
        printer.stop()


class LongRun(FaultTestMixin, unittest.TestCase):
    def resident(self):
        return resident_kb(self.pid)

    def own_disk(self):
        """A tmpfs of its own as the working folder, so that it can fill up;
        None where this machine cannot mount one."""
        if ScratchDisk.unavailable_reason():
            return None
        disk = ScratchDisk(os.path.join(self.workdir, "disk"), 1024)
        if disk.mount():
            return None
        self.addCleanup(shutil.rmtree, self.workdir, ignore_errors=True)
        self.addCleanup(disk.unmount)
        self.workdir = disk.path
        self.monitor = Monitor(disk.path)
        # The driver holds files by their names in its own folder.
        self.driver.close()
        self.driver = Driver(disk.path)
        return disk

    def test_simulated_hours_under_faults_give_every_record_exactly(self):
        readings = course(SECONDS, seed=21)
        disk = self.own_disk()
        run = ScheduledRun(self, readings, read_schedule(SCHEDULE), disk, printer, seed=22)
        earlier = run.earlier_records()
        self.write("monitor.txt", earlier)
        self.start_with()
        self.pid = monitor_pid(self.workdir)
        self.assertIsNotNone(self.pid, "no monitor.exe process found")
        memory_start = self.resident()
        start = time.time()
        run.run(sample_at=[len(readings) // 2])
        fed = time.time() - start
        self.addCleanup(lambda: [os.remove(path) for path in run.printed if os.path.exists(path)])

        title = self.wait_sentences(run.dispatched)
        memory_end = self.resident()
        # Records kept during the last fault are written within seconds.
        wanted = len(run.expected.records)
        self.assertTrue(self.wait_for(lambda: len(self.read("monitor.txt")) >= len(earlier) + 80 * wanted, 10))
        records = run.check_records(self.read("monitor.txt"), earlier)
        # The sentences of the outages are never received.
        away = sum(seconds for at, fault, seconds in read_schedule(SCHEDULE) if fault == "unplug" and at < SECONDS)
        self.assertEqual(len(records), (SECONDS - away) // 300)

        # The last line is a $WIXDR: counted, shown with the last reading.
        self.assertIn(f" {readings[-1].pressure * 0.01:6.1f} hPa ", title)
        logged = Counter(self.events())
        for number, (least, most) in run.expected_events().items():
            self.assertGreaterEqual(logged[number], least, f"event {number}: {self.events()}")
            self.assertLessEqual(logged[number], most, f"event {number}: {self.events()}")
        self.assertEqual(set(logged) - set(run.expected_events()), set(), self.events())
        self.assertTrue(self.monitor.running())
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(self.read("monitor.txt"), earlier + b"".join(records), "records changed at the end")

        skipped = run.skipped + ([("print", no_printer)] if no_printer else [])
        sys.stderr.write(
            f"\nlong run: {HOURS} h simulated, {len(records)} records expected and written exactly, "
            f"{fed:.0f} s fed; faults played {dict(Counter(run.played))}"
            + (f", not staged here {skipped}" if skipped else "")
            + f"; events {dict(sorted(logged.items()))}; VmRSS kB at start {memory_start}, "
            f"in the middle {run.samples[0][1] if run.samples else '-'}, at the end {memory_end}\n")


if __name__ == "__main__":
    unittest.main()
