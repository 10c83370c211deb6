"""Long runs under faults: the barograph's stream fed through the pty as fast
as the program takes it, with the faults of a schedule in tests/faults played
at their second of the stream: the adapter pulled and plugged back,
monitor.txt held by another program, a full disk, line noise, a print job of
the chart. From what it sent, the driver knows which records must exist and
what each must hold, and when each cycle's last sentence went out."""

import os
import random
import time

from fault_support import SENTENCES_PER_RECORD, record_line, utc_stamps
from harness import SOURCE, SerialLine, link_ports
from monitor_ids import (WIXDR, cmdPrintChart, command, eventPortLost, eventPortReturned, eventRecordFileError,
                         eventRecordsCaughtUp, eventWriteFailed)

SCHEDULES = os.path.join(SOURCE, "tests", "faults")
# Seconds of the stream written between two looks at the clock; bounds the
# time window of each record's stamp.
CHUNK = 150


def read_schedule(name):
    """[(second, fault, seconds)] of tests/faults/NAME."""
    faults = []
    with open(os.path.join(SCHEDULES, name)) as schedule:
        for line in schedule:
            fields = line.split()
            if fields and not fields[0].startswith("#"):
                faults.append((int(fields[0]), fields[1], int(fields[2])))
    return faults


class ExpectedRecords:
    """The records the received lines must give, worked out apart from the
    program: a rejected line folds the last accepted converter value in again."""

    def __init__(self):
        self.last_converter = 0
        self.accepted = 0
        self.converters = []
        self.records = []  # (line without its stamp, reading), in order

    def accepted_line(self, reading):
        self.last_converter = reading.converter
        self.converters.append(reading.converter)
        self.accepted += 1
        if self.accepted < SENTENCES_PER_RECORD:
            return False
        variation = min(999, max(self.converters) - min(self.converters))
        self.records.append((len(self.records) + 1, reading, variation))
        self.accepted = 0
        self.converters = []
        return True

    def rejected_line(self):
        self.converters.append(self.last_converter)

    def line(self, index, stamp):
        number, reading, variation = self.records[index]
        return record_line(number, stamp, reading, variation)


def noise_lines(rng, count=20):
    """Garbage lines as a loose plug delivers them; none begins with '$' or '!'."""
    lines = []
    for _ in range(count):
        size = rng.randrange(1, 300)
        junk = bytes(b for b in (rng.randrange(256) for _ in range(size)) if b != 10)
        if junk[:1] in (b"$", b"!"):
            junk = b"#" + junk[1:]
        lines.append(junk + b"\r\n")
    return lines


class ScheduledRun:
    """Plays `readings` (one a second, each followed by $WIXDR) and the faults
    of `schedule` against the program of `test` (a FaultTestMixin)."""

    def __init__(self, test, readings, schedule, disk=None, printer=None, seed=1):
        self.test = test
        self.readings = readings
        self.schedule = sorted(schedule)
        self.disk = disk
        self.printer = printer
        self.rng = random.Random(seed)
        self.expected = ExpectedRecords()
        self.windows = []  # (earliest, latest) time.time() of each record's closing sentence
        self.played = []   # faults played, in order
        self.skipped = []  # faults this machine cannot stage, with the reason
        self.printed = []
        self.samples = []  # (second, resident kB) where asked for
        self.dispatched = 0  # complete lines the program received

    def earlier_records(self, page=4096):
        """Records of an earlier run for monitor.txt, so many that the first
        record due on the first full disk is the one that crosses a page of
        the file: the slack of a page still takes a few records when no new
        page can be had, so without this a short full spell may never bite."""
        full = next((at for at, fault, _ in self.schedule if fault == "full"), None)
        if full is None or self.disk is None:
            return b""
        skipped = sum(min(at + seconds, full) - at for at, fault, seconds in self.schedule
                      if fault == "unplug" and at < full)
        before = (full - skipped) // SENTENCES_PER_RECORD
        per_page = page // 80
        count = (per_page - before % per_page) % per_page
        return b"".join(record_line(k + 1, "01.03.2026 10:00", self.readings[0], 5) for k in range(count))

    @property
    def line(self):
        return self.test.lines[2]

    def send(self, first, last):
        """Writes the readings of seconds first..last-1 in chunks, noting when
        each cycle's closing sentence went out."""
        for start in range(first, last, CHUNK):
            chunk = self.readings[start:min(last, start + CHUNK)]
            before = time.time()
            self.line.write(b"".join(r.sentence() + WIXDR for r in chunk), timeout=600)
            self.dispatched += 2 * len(chunk)
            self.caught_up()
            after = time.time()
            for reading in chunk:
                if self.expected.accepted_line(reading):
                    self.windows.append((before, after))
                self.expected.rejected_line()

    def caught_up(self):
        """Every complete line written so far has been handled: the title
        counts them. (An empty input queue of the pty does not say so: more
        can wait in the terminal's own buffers behind it.)"""
        self.test.wait_sentences(self.dispatched % 1000000, timeout=120)

    def settle(self):
        """Everything written has been taken and handled."""
        self.caught_up()
        self.test.assertTrue(self.line.drain(), "the program stopped taking bytes")
        time.sleep(0.3)

    def run(self, sample_at=()):
        """Plays the whole stream; `sample_at`: seconds at which to note the
        program's resident memory."""
        timeline = [(at, 1, "start", fault, seconds) for at, fault, seconds in self.schedule]
        timeline += [(at + seconds, 0, "end", fault, 0) for at, fault, seconds in self.schedule
                     if fault in ("hold", "full")]
        timeline += [(at, 2, "sample", None, 0) for at in sample_at]
        timeline.sort(key=lambda step: (step[0], step[1]))
        second = 0
        under_way = set()
        for at, _, step, fault, seconds in timeline:
            if at > len(self.readings):
                break
            if at > second:
                self.send(second, at)
                second = at
            if step == "sample":
                self.samples.append((at, self.test.resident()))
            elif step == "end":
                if fault in under_way:
                    under_way.discard(fault)
                    self.settle()
                    self.end(fault)
            elif self.play(at, fault):
                if fault == "unplug":
                    # The sentences of the outage are never received.
                    second = max(second, at + seconds)
                else:
                    under_way.add(fault)
        self.send(second, len(self.readings))
        self.settle()

    def end(self, fault):
        if fault == "hold":
            self.test.assertEqual(self.test.driver.ask("release monitor.txt"), "ok")
        else:
            self.disk.free()

    def play(self, at, fault):
        """Starts one fault; False when this machine cannot stage it."""
        self.settle()
        if fault == "unplug":
            events = self.test.events().count(eventPortLost)
            # Half a sentence, then the adapter is gone with what it was sending.
            self.line.write(self.readings[at].sentence()[:20])
            self.settle()
            self.line.close()
            del self.test.lines[2]
            link_ports({})
            self.test.assertTrue(self.test.wait_for(lambda: self.test.events().count(eventPortLost) > events, 10),
                                 "the loss of the port was not noticed")
            time.sleep(2.5)  # an attempt to reopen fails meanwhile
            back = SerialLine()
            self.test.lines[2] = back
            link_ports({2: back.path})
            returns = self.test.events().count(eventPortReturned)
            self.test.assertTrue(self.test.wait_for(lambda: self.test.events().count(eventPortReturned) > returns, 10),
                                 "the port did not come back by itself")
        elif fault == "hold":
            self.test.assertEqual(self.test.driver.ask("hold monitor.txt"), "ok")
        elif fault == "full":
            if self.disk is None:
                self.skipped.append((fault, "the working folder is not a disk of its own (needs root)"))
                return False
            self.disk.fill()
        elif fault == "noise":
            lines = noise_lines(self.rng)
            self.line.write(b"".join(lines))
            self.dispatched += len(lines)
            self.caught_up()
            for _ in lines:
                self.expected.rejected_line()
        elif fault == "print":
            if self.printer is None:
                self.skipped.append((fault, "no printer to print to"))
                return False
            self.print_chart()
        else:
            raise ValueError(f"unknown fault {fault}")
        self.played.append(fault)
        return True

    def print_chart(self):
        before = self.printer.files()
        driver = self.test.driver
        self.test.assertEqual(driver.ask(command(cmdPrintChart)), "ok")
        dialog = driver.wait_box()
        self.test.assertIsNotNone(dialog, "no print dialog")
        ok = next(int(number) for number, _, text in (entry.partition(":") for entry in dialog["buttons"].split(","))
                  if text == "OK")
        self.test.assertEqual(driver.press(dialog, ok), "ok")
        files = self.printer.wait_new_files(before)
        self.test.assertTrue(files, "the print job gave no page")
        self.printed.extend(files)
        time.sleep(0.5)
        self.test.assertEqual(driver.boxes(), [])

    def check_records(self, content, earlier=b""):
        """monitor.txt after `earlier`: every record that the sentences sent
        must give, byte for byte, numbered without a gap, each stamped with a
        time of its own cycle."""
        from fault_support import records_of
        self.test.assertEqual(content[:len(earlier)], earlier, "the earlier records changed")
        records = records_of(content[len(earlier):])
        self.test.assertEqual(len(records), len(self.expected.records))
        for index, record in enumerate(records):
            stamp = record[7:23].decode()
            earliest, latest = self.windows[index]
            self.test.assertIn(stamp, utc_stamps(earliest, latest), f"record {index + 1}: not a time of its cycle")
            self.test.assertEqual(record, self.expected.line(index, stamp), f"record {index + 1}")
        return records

    def expected_events(self):
        """{event: (least, most)} for the faults played."""
        unplugs = self.played.count("unplug")
        holds = self.played.count("hold")
        fulls = self.played.count("full")
        # On a full disk the log itself may have no room for its event.
        # The first full spell bites (see earlier_records); later ones only
        # when a record due crosses a page.
        return {eventPortLost: (unplugs, unplugs), eventPortReturned: (unplugs, unplugs),
                eventRecordFileError: (holds, holds), eventWriteFailed: (0, fulls),
                eventRecordsCaughtUp: (holds + min(fulls, 1), holds + fulls)}
