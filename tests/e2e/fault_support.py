"""Helpers for the fault-injection and long-run tests: readings and the record
lines they must give, the line splitting the receiver promises, event-log
parsing, and a small tmpfs that can be made read-only or filled."""

import errno
import os
import random
import re
import shutil
import subprocess
import time
from collections import namedtuple

from harness import DEFAULT_INI, Monitor, MonitorTestMixin
from monitor_ids import WIXDR, pxdr

RECORD_LENGTH = 80
# Longest line the receiver keeps, its line feed included; a longer one is
# dropped whole up to the next line feed.
LINE_CAPACITY = 1024
# The NMEA line store keeps this much of a line.
NMEA_KEPT = 126
SENTENCES_PER_RECORD = 300

RECORD_PATTERN = re.compile(rb"\d{6} \d\d\.\d\d\.\d{4} \d\d:\d\d \d{4},\d\d hPa [+-]\d\d,\d hPa/hr "
                            rb"[+-]\d\d,\d hPa/3h \d\d,\d hPa/h var [01]\r\n")
EVENT_LINE = re.compile(rb"\d\d\.\d\d\.\d{4} \d\d:\d\d  event nr\. (\d+) [^\r\n]*\r\n")


class Reading(namedtuple("Reading", "pressure converter t1 t3 minutes then")):
    """One $PXDR sentence in the program's units: hundredths of a hPa, converter
    counts, tenths of a hPa, minutes."""

    def sentence(self):
        return pxdr(*self)

    def title(self, counter, clock):
        """The German title the program shows for this reading. The values are
        scaled by multiplying with 0.01 and 0.1, as the title is defined: the
        double products round differently from a division now and then."""
        return (f"Zudoderozezavedi {counter} {clock} {self.pressure * 0.01:6.1f} hPa {self.t1 * 0.1:+4.1f} hPa/Std "
                f"{self.t3 * 0.1:+4.1f} hPa/3Std (- {self.minutes // 60}h)")


def record_line(number, stamp, reading, variation, alarm=0):
    """The 80-byte monitor.txt line for `reading`, worked out independently of
    the program: decimal commas, fixed widths, the wind alarm digit."""
    def tenths(value):
        return f"{'-' if value < 0 else '+'}{abs(value) // 10:02d},{abs(value) % 10}"

    line = (f"{number:06d} {stamp} {reading.pressure // 100:04d},{reading.pressure % 100:02d} hPa "
            f"{tenths(reading.t1)} hPa/hr {tenths(reading.t3)} hPa/3h {variation // 10:02d},{variation % 10} "
            f"hPa/h var {alarm}\r\n").encode()
    assert len(line) == RECORD_LENGTH, line
    return line


def records_of(content):
    """The 80-byte records of a monitor.txt; raises AssertionError when the file
    holds anything else (a torn record, a stray byte)."""
    assert len(content) % RECORD_LENGTH == 0, f"{len(content)} bytes are no whole number of records"
    records = [content[i:i + RECORD_LENGTH] for i in range(0, len(content), RECORD_LENGTH)]
    for record in records:
        assert RECORD_PATTERN.fullmatch(record), record
    return records


def events_of(log):
    """The event numbers of a monitor.err in order; every line must be whole."""
    numbers = []
    position = 0
    while position < len(log):
        match = EVENT_LINE.match(log, position)
        assert match, f"not an event line at byte {position}: {log[position:position + 80]!r}"
        numbers.append(int(match.group(1)))
        position = match.end()
    return numbers


def split_lines(stream):
    """The complete lines the receiver hands on for `stream`: every line feed
    ends a line; a line that reaches LINE_CAPACITY bytes without one is dropped
    with everything up to the next line feed."""
    lines, current, discarding = [], bytearray(), False
    for byte in stream:
        if discarding:
            discarding = byte != 10
            continue
        current.append(byte)
        if byte == 10:
            lines.append(bytes(current))
            current.clear()
        elif len(current) == LINE_CAPACITY:
            current.clear()
            discarding = True
    return lines


def nmea_file_bytes(lines):
    """What nmea.txt must receive for these complete lines in Nmea mode: the
    lines that begin with '$' or '!', a long one cut to what the store keeps and ended
    with a line end of its own."""
    out = []
    for line in lines:
        if not line.startswith((b"$", b"!")):
            continue
        if len(line) <= NMEA_KEPT:
            out.append(line)
        else:
            kept = line[:NMEA_KEPT]
            out.append((kept[:-1] if kept.endswith(b"\r") else kept) + b"\r\n")
    return b"".join(out)


def course(count, seed):
    """`count` plausible readings: a pressure wandering between 950 and 1050
    hPa, tendencies of both signs (zero among them), a converter value with
    noise, and the device's history counter stepping through its 52 hours."""
    rng = random.Random(seed)
    pressure = 99000 + rng.randrange(2000)
    readings = []
    for i in range(count):
        pressure = min(105000, max(95000, pressure + rng.randrange(-7, 8)))
        t1 = rng.choice([0, rng.randrange(-999, 1000), rng.randrange(-40, 41)])
        t3 = rng.choice([0, rng.randrange(-999, 1000), rng.randrange(-90, 91)])
        converter = 30000 + (pressure - 95000) * 3 + rng.randrange(40)
        minutes = (i * 30) % 3120
        then = min(105000, max(95000, pressure + rng.randrange(-500, 501)))
        readings.append(Reading(pressure, converter, t1, t3, minutes, then))
    return readings


def device_stream(readings):
    """What the barograph sends for these readings: each $PXDR sentence followed
    by its $WIXDR sentence."""
    return b"".join(r.sentence() + WIXDR for r in readings)


def wind_alarm_flags(readings):
    """For each accepted reading, whether the wind alarm stands after it, by
    its published rules: level 1 comes on after 10 sentences in a row with a
    three-hour fall of 3.6 hPa or more and holds while the fall is 3.0 or more;
    level 2 comes on after 10 with 6.1 hPa in three hours or 2.0 in one, and
    holds while 5.5 or 1.5; a level goes off after 600 in a row that fail to
    hold it."""
    on, run, flags = [False, False], [0, 0], []
    for r in readings:
        raising = (r.t3 <= -36, r.t3 <= -61 or r.t1 <= -20)
        holding = (r.t3 <= -30, r.t3 <= -55 or r.t1 <= -15)
        for level in (0, 1):
            run[level] = run[level] + 1 if (not holding[level] if on[level] else raising[level]) else 0
            if run[level] >= (600 if on[level] else 10):
                on[level], run[level] = not on[level], 0
        flags.append(on[0] or on[1])
    return flags


def expected_records(readings, stamps, first_number=1, rejected_between=False):
    """The records `readings` must give, one per 300 accepted sentences, with
    the time stamps the program wrote (the clock is not ours to know). A
    rejected line folds the last converter value in again, so with the device's
    $WIXDR after every sentence (`rejected_between`) each cycle after the first
    also spans the last value of the cycle before."""
    expected = []
    alarms = wind_alarm_flags(readings)
    for k in range(len(readings) // SENTENCES_PER_RECORD):
        cycle = readings[k * SENTENCES_PER_RECORD:(k + 1) * SENTENCES_PER_RECORD]
        alarm = int(any(alarms[k * SENTENCES_PER_RECORD:(k + 1) * SENTENCES_PER_RECORD]))
        converters = [r.converter for r in cycle]
        if rejected_between and k > 0:
            converters.append(readings[k * SENTENCES_PER_RECORD - 1].converter)
        variation = min(999, max(converters) - min(converters))
        expected.append(record_line(first_number + k, stamps[k], cycle[-1], variation, alarm))
    return expected


def utc_stamps(before, after):
    """The 'dd.mm.yyyy hh:mm' texts of UTC between two time.time() values."""
    return {time.strftime("%d.%m.%Y %H:%M", time.gmtime(t)) for t in range(int(before) - 60, int(after) + 61, 20)}


def utc_clocks(before, after):
    """The 'hh:mm' texts of UTC between two time.time() values."""
    return {time.strftime("%H:%M", time.gmtime(t)) for t in range(int(before) - 60, int(after) + 61, 20)}


def monitor_pid(workdir):
    """The pid of the Wine process running monitor.exe in `workdir`, or None."""
    for name in os.listdir("/proc"):
        if not name.isdigit():
            continue
        try:
            with open(f"/proc/{name}/cmdline", "rb") as f:
                command = f.read()
            cwd = os.readlink(f"/proc/{name}/cwd")
        except OSError:
            continue
        if b"monitor.exe" in command.lower() and os.path.realpath(cwd) == os.path.realpath(workdir):
            return int(name)
    return None


def resident_kb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return None


class ScratchDisk:
    """A small tmpfs mounted as a folder, to be made read-only or filled while
    the program works in it. Needs root (CI runs as root)."""

    def __init__(self, path, size_kb=512):
        self.path = path
        self.size_kb = size_kb
        self.filler = os.path.join(path, "filler.bin")

    @staticmethod
    def unavailable_reason():
        if os.geteuid() != 0:
            return "mounting a tmpfs needs root"
        if not shutil.which("mount"):
            return "no mount command"
        return None

    def mount(self):
        os.makedirs(self.path, exist_ok=True)
        result = subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={self.size_kb}k,mode=0755", "tmpfs",
                                 self.path], capture_output=True, text=True)
        if result.returncode != 0:
            return result.stderr.strip() or "mount failed"
        return None

    def _remount(self, mode, timeout=10):
        # A file the program has open for writing at that moment makes a
        # read-only remount busy; it closes each file at once, so try again.
        deadline = time.time() + timeout
        while True:
            result = subprocess.run(["mount", "-o", f"remount,{mode}", self.path], capture_output=True, text=True)
            if result.returncode == 0:
                return
            if time.time() > deadline:
                raise RuntimeError(f"remount {mode}: {result.stderr.strip()}")
            time.sleep(0.05)

    def read_only(self):
        self._remount("ro")

    def read_write(self):
        self._remount("rw")

    def fill(self):
        """Takes every free block; answers the bytes that fitted."""
        written = 0
        chunk = b"\0" * 4096
        with open(self.filler, "ab", buffering=0) as f:
            while True:
                try:
                    written += f.write(chunk)
                except OSError as error:
                    if error.errno != errno.ENOSPC:
                        raise
                    return written

    def free(self):
        os.unlink(self.filler)

    def unmount(self):
        subprocess.run(["umount", self.path], capture_output=True)
        if os.path.ismount(self.path):
            subprocess.run(["umount", "-l", self.path], capture_output=True)


class PermissionSwitch:
    """Makes a folder and its files read-only by their permissions: enough for
    a program that does not run as root."""

    def __init__(self, path):
        self.path = path

    def _set(self, folder_mode, file_mode):
        for name in os.listdir(self.path):
            os.chmod(os.path.join(self.path, name), file_mode)
        os.chmod(self.path, folder_mode)

    def read_only(self):
        self._set(0o555, 0o444)

    def read_write(self):
        self._set(0o755, 0o644)


class FaultTestMixin(MonitorTestMixin):
    """MonitorTestMixin with what the fault tests share."""

    def events(self):
        if not os.path.exists(self.path("monitor.err")):
            return []
        return events_of(self.read("monitor.err"))

    def records(self):
        if not os.path.exists(self.path("monitor.txt")):
            return []
        return records_of(self.read("monitor.txt"))

    def start_with(self, settings=DEFAULT_INI, ports=(2,)):
        lines = self.serial_ports(*ports)
        self.write("monitor.ini", settings)
        self.start_monitor()
        return lines

    def wait_sentences(self, counter, timeout=60):
        """Waits for the Barograph title with this sentence counter; answers the title."""
        prefix = f"Zudoderozezavedi {counter} "
        title = self.wait_title(lambda t: t.startswith(prefix), timeout)
        self.assertTrue(title.startswith(prefix), f"sentence {counter} not shown: {title!r}")
        return title

    def wait_nmea_lines(self, counter, timeout=60):
        """Waits for the German Nmea title with this line count; answers the title."""
        expected = f"{counter} NMEA - Datens\u00e4tze "
        title = self.wait_title(lambda t: t == expected, timeout)
        self.assertEqual(title, expected)
        return title

    def use_read_only_switch(self):
        """Something that makes the working folder read-only and writable
        again: permissions for an ordinary user; for root, whom permissions
        do not stop, a tmpfs remounted read-only (skips when that cannot be
        mounted here)."""
        if os.geteuid() != 0:
            return PermissionSwitch(self.workdir)
        return self.use_scratch_disk()

    def use_scratch_disk(self, size_kb=512):
        """Makes a fresh tmpfs the program's working folder (skips when that
        cannot be done here)."""
        reason = ScratchDisk.unavailable_reason()
        if reason:
            self.skipTest(reason)
        disk = ScratchDisk(os.path.join(self.workdir, "disk"), size_kb)
        failure = disk.mount()
        if failure:
            self.skipTest(f"cannot mount a tmpfs here: {failure}")
        # Cleanups run after tearDown has stopped the program, which keeps the
        # folder busy, and last in first out: unmount, then remove the parent.
        self.addCleanup(shutil.rmtree, self.workdir, ignore_errors=True)
        self.addCleanup(disk.unmount)
        self.workdir = disk.path
        self.monitor = Monitor(disk.path)
        return disk
