"""Faults injected into the running program: a serial device that drops out and
comes back, noise on the line, record files held by another program, a
read-only or full working folder, and damaged input files. Each test checks
that the program runs on, that monitor.txt holds only whole records, and that
what was received before and after the fault is recorded as it must be."""

import os
import random
import re
import time
import unittest

from fault_support import (DEFAULT_INI, FaultTestMixin, Reading, course, device_stream, events_of, expected_records,
                           nmea_file_bytes, record_line, records_of, split_lines, utc_clocks, utc_stamps)
from harness import SerialLine, ini, link_ports
from monitor_ids import (PORT_COMMANDS, WIND_ALARM_EVENTS, WIXDR, cmdBarographMode, cmdCheckRecordFile, cmdNmeaMode, cmdPortCom2,
                         cmdPortCom3, command, event_tag, eventDiskSpaceLow, eventMonitorTxtErased, eventPortInUse,
                         eventPortLost, eventPortReturned, eventRecordFileError, eventRecordsCaughtUp,
                         eventRecordsUnwritten, eventWriteFailed, port_failed_event)

# The full-size variants (a megabyte without a line feed) take minutes at the
# receiver's 512 bytes per tick; MONITOR_LONG_RUN selects them.
FULL_SIZE = bool(os.environ.get("MONITOR_LONG_RUN"))

# Power broadcasts around a sleep.
PBT_APMSUSPEND, PBT_APMRESUMESUSPEND, PBT_APMRESUMEAUTOMATIC = 0x4, 0x7, 0x12


class SerialDeviceDropsOut(FaultTestMixin, unittest.TestCase):
    def wait_event_count(self, number, count, timeout=10):
        self.assertTrue(self.wait_for(lambda: self.events().count(number) >= count, timeout),
                        f"event {number} not logged {count} times: {self.events()}")

    def test_device_unplugged_mid_sentence_then_plugged_back(self):
        readings = course(300, seed=11)
        earlier = (record_line(1, "01.03.2026 10:00", readings[0], 5)
                   + record_line(2, "01.03.2026 10:05", readings[1], 7))
        self.write("monitor.txt", earlier)
        lines = self.start_with()
        start = time.time()
        lines[2].write(device_stream(readings[:120]))
        title = self.wait_sentences(240)
        self.assertIn(title, {readings[119].title(240, c) for c in utc_clocks(start, time.time())})

        # The adapter is pulled while a sentence is half sent.
        lines[2].write(readings[120].sentence()[:20])
        self.assertTrue(lines[2].drain(), "the program did not take the bytes")
        lines[2].close()
        del self.lines[2]

        # Wine reports the hung-up device as a failing driver query. The loss
        # is logged once, however long the device stays away, and nobody is asked.
        self.wait_event_count(eventPortLost, 1)
        time.sleep(4)  # twenty ticks and two silent attempts to reopen
        self.assertEqual(self.events(), [eventPortLost])
        self.assertEqual(self.title(), title)
        self.assertEqual(self.driver.boxes(), [])
        self.assertTrue(self.monitor.running())

        # The device is back, as a new pty under the same name, and nobody
        # touches the program: reception resumes within a few seconds.
        back = SerialLine()
        self.lines[2] = back
        link_ports({2: back.path})
        before = time.time()
        back.write(readings[120].sentence())
        title = self.wait_sentences(241, timeout=10)
        # The half sentence from before the drop is not joined to this one.
        self.assertIn(title, {readings[120].title(241, c) for c in utc_clocks(before, time.time())})
        self.assertEqual(self.events(), [eventPortLost, eventPortReturned], "one loss and one return")
        back.write(WIXDR + device_stream(readings[121:]))
        self.assertTrue(self.wait_for(lambda: len(self.read("monitor.txt")) >= len(earlier) + 80, 60))
        after = time.time()
        self.wait_sentences(600)
        self.assertEqual(self.driver.boxes(), [])
        self.assertEqual(self.events(), [eventPortLost, eventPortReturned])

        # One cycle spanning the drop: the record carries the 300th reading and
        # the spread of all 300 converter values; earlier records untouched.
        content = self.read("monitor.txt")
        self.assertTrue(content.startswith(earlier))
        (record,) = records_of(content[len(earlier):])
        stamp = record[7:23].decode()
        self.assertIn(stamp, utc_stamps(start, after))
        self.assertEqual(record, expected_records(readings, [stamp])[0])
        self.assertEqual(self.quit_monitor(), 0)

    def test_a_wake_reopens_the_port_once(self):
        readings = course(20, seed=5)
        lines = self.start_with()
        lines[2].write(device_stream(readings[:5]))
        self.wait_sentences(10)
        # Half a sentence, then a sleep and a wake by the user, announced twice.
        lines[2].write(readings[5].sentence()[:20])
        time.sleep(0.2)  # the pty hands the bytes on to its reader's side
        self.assertTrue(lines[2].drain(), "the program did not take the bytes")
        for event in (PBT_APMSUSPEND, PBT_APMRESUMEAUTOMATIC, PBT_APMRESUMESUSPEND):
            self.assertEqual(self.driver.ask(f"power {event}"), "ok")
        self.wait_event_count(eventPortReturned, 1)
        self.driver.menu()  # answered after the broadcasts
        time.sleep(1)
        self.assertEqual(self.events(), [eventPortReturned], "one wake, one reopen")
        # The cut sentence is dropped once; the next is taken whole.
        before = time.time()
        lines[2].write(readings[6].sentence())
        title = self.wait_sentences(11, timeout=10)
        self.assertIn(title, {readings[6].title(11, c) for c in utc_clocks(before, time.time())})
        self.assertEqual(self.quit_monitor(), 0)

    def port_states(self):
        """{command id: (checked, grayed)} of the port items."""
        return {e[0]: (e[2], e[3]) for _, entries in self.driver.menu() for e in entries
                if e is not None and e[0] in PORT_COMMANDS}

    def start_without_com2(self):
        """Starts with only COM3 there and answers the port message once."""
        self.serial_ports(3)
        self.write("monitor.ini", DEFAULT_INI)
        self.start_monitor(wait_window=False)
        box = self.driver.wait_box()
        self.assertIsNotNone(box, "no port message")
        self.assertEqual(box["text"], "Fehler: Schnittstelle COM2 steht nicht zur Verf\u00fcgung !")
        self.assertEqual(self.driver.press(box), "ok")
        self.assertEqual(self.driver.ask("wait-window 5000"), "ok")

    def test_device_missing_at_start_is_read_as_soon_as_it_appears(self):
        self.start_without_com2()
        self.wait_event_count(port_failed_event(2), 1)
        self.assertEqual(self.port_states()[cmdPortCom2], (True, True), "checked, and grey after the probe")
        time.sleep(3)  # silent attempts only
        self.assertEqual(self.events(), [eventPortInUse, port_failed_event(2)])
        self.assertEqual(self.driver.boxes(), [])

        readings = course(2, seed=5)
        device = SerialLine()
        self.lines[2] = device
        link_ports({2: device.path, 3: self.lines[3].path})
        before = time.time()
        device.write(readings[0].sentence())
        title = self.wait_sentences(1, timeout=10)
        self.assertIn(title, {readings[0].title(1, c) for c in utc_clocks(before, time.time())})
        self.assertEqual(self.events(), [eventPortInUse, port_failed_event(2), eventPortReturned])
        self.assertEqual(self.port_states()[cmdPortCom2], (True, False), "enabled once it opened")
        self.assertEqual(self.driver.boxes(), [])
        self.assertEqual(self.quit_monitor(), 0)

    def test_a_port_chosen_while_the_old_one_is_retried_ends_the_retrying(self):
        self.start_without_com2()
        # COM3 is chosen while COM2 is still tried in the background.
        self.assertEqual(self.driver.ask(command(cmdPortCom3)), "ok")
        readings = course(3, seed=6)
        self.lines[3].write(readings[0].sentence())
        self.wait_sentences(1, timeout=10)
        # COM2 appears later; the program stays with the port the user chose.
        old = SerialLine()
        self.lines[2] = old
        link_ports({2: old.path, 3: self.lines[3].path})
        old.write(readings[1].sentence())
        time.sleep(3)
        self.assertTrue(self.title().startswith("Zudoderozezavedi 1 "), self.title())
        before = time.time()
        self.lines[3].write(readings[2].sentence())
        title = self.wait_sentences(2, timeout=10)
        self.assertIn(title, {readings[2].title(2, c) for c in utc_clocks(before, time.time())})
        self.assertEqual(self.events(), [eventPortInUse, port_failed_event(2)])
        self.assertEqual(self.quit_monitor(), 0)


def junk(rng, size, without=b""):
    """`size` random bytes, none of them in `without`."""
    data = bytearray()
    while len(data) < size:
        byte = rng.randrange(256)
        if byte not in without:
            data.append(byte)
    return bytes(data)


class NoiseOnTheLine(FaultTestMixin, unittest.TestCase):
    # A run of bytes without a line feed: 8 times the longest line kept, or a
    # megabyte in the full-size run.
    UNENDED = (1 << 20) if FULL_SIZE else 8 * 1024

    def noise(self, rng):
        """Line noise as an unshielded cable or a wrong baud rate delivers it."""
        valid = Reading(101320, 45000, 12, -35, 300, 99540).sentence()
        parts = [
            junk(rng, 2000) + b"\r\n",                     # random bytes, line feeds among them
            b"\0" * 40 + b"\r\n",                          # a short line of zero bytes
            b"\0" * 1100 + b"\r\n",                        # too long a line of zero bytes
            valid[:-2].ljust(998, b"x") + b"\r\n",          # a sentence padded to 1000 bytes
            b"$GPRMC," + junk(rng, 991, b"\n") + b"\r\n",  # 1000 bytes of another kind
            junk(rng, 1000, b"\n") + b"\n",
            b"$PXDR\r\n",                                   # a header and nothing else
            b"$PXDR,\0\0\0\0.\0\0\r\n",
            b"$PXDR,9999.99,99999,+99.9,-99.9,-9999,9999.99\r\n",
        ]
        # Sentences with the right header and fields of garbage.
        parts += [b"$PXDR" + junk(rng, rng.randrange(60), b"\n") + b"\r\n" for _ in range(20)]
        # A device that never ends its line: the sentence inside the run goes
        # with it, the one after its line feed is the first handled again.
        parts.append(b"x" * self.UNENDED + valid)
        return b"".join(parts)

    def test_barograph_mode(self):
        rng = random.Random(5)
        noise = self.noise(rng)
        noise_lines = split_lines(noise)
        # The $PXDR lines among the noise have the header but not the shape of
        # the sentence, or values out of bounds: none of them is a reading.
        readings = course(600, seed=12)

        lines = self.start_with()
        # The window is found before its first title is set; the pty takes the
        # noise at once, so the port's title must stand before it is sent.
        port_title = "Zudoderozezavedi Verbindung \u00fcber COM2"
        self.assertEqual(self.wait_title(lambda t: t == port_title, timeout=30), port_title)
        start = time.time()
        lines[2].write(noise, timeout=900)
        counter = len(noise_lines)
        # No reading yet: the title stays the port's; the first sentence is
        # counted after every line of the noise.
        self.assertEqual(self.wait_title(lambda t: t != port_title, timeout=3), port_title)
        first = readings[:300]
        lines[2].write(first[0].sentence())
        title = self.wait_sentences(counter + 1)
        self.assertIn(title, {first[0].title(counter + 1, c) for c in utc_clocks(start, time.time())})
        # The cycle that took the garbage ends with its 300th sentence.
        lines[2].write(b"".join(r.sentence() for r in first[1:]))
        self.assertTrue(self.wait_for(lambda: os.path.exists(self.path("monitor.txt")), 60))
        # The next cycle holds valid sentences only and must come out exact.
        second = readings[300:]
        lines[2].write(b"".join(r.sentence() for r in second))
        counter += len(readings)
        title = self.wait_sentences(counter)
        after = time.time()
        self.assertIn(title, {readings[-1].title(counter, c) for c in utc_clocks(start, after)})

        # The title is set before the record of the same line is written.
        self.assertTrue(self.wait_for(lambda: len(self.records()) == 2), self.records())
        records = self.records()
        stamps = [r[7:23].decode() for r in records]
        for stamp in stamps:
            self.assertIn(stamp, utc_stamps(start, after))
        expected = expected_records(readings, stamps)
        # Both records are exact: the lines rejected before any reading fold
        # nothing into the first one's spread.
        self.assertEqual(records[0], expected[0])
        self.assertEqual(records[1], expected[1])
        self.assertEqual([e for e in self.events() if e not in WIND_ALARM_EVENTS], [])
        self.assertEqual(self.quit_monitor(), 0)

    def test_nmea_mode(self):
        rng = random.Random(6)
        stream = self.noise(rng)
        stream += b"".join([
            b"$" + junk(rng, 60, b"\n") + b"\r\n",  # zero bytes and carriage returns inside
            b"$\r\n",
            b"\r\n",
            b"$GPGGA," + b"7" * 117 + b"\r\n",     # 126 bytes: what the store keeps, line end included
            b"$GPGGA," + b"8" * 118 + b"\r\n",     # one more: its line end is cut and written anew
            b"$GPGGA," + b"9" * 130 + b"\r\n",     # cut inside the sentence
        ])
        stream += b"".join(f"$GPRMC,{i:06d},A,5300.97,N,00259.98,W*{i % 100:02d}\r\n".encode()
                           for i in range(20))
        lines_sent = split_lines(stream)
        stored = [line for line in lines_sent if line.startswith((b"$", b"!"))]

        lines = self.start_with(ini(DATA="NMEA"))
        lines[2].write(stream, timeout=900)
        self.wait_nmea_lines(len(stored))
        content = self.read("nmea.txt")
        self.assertEqual(content, nmea_file_bytes(lines_sent))
        for line in content.split(b"\n")[:-1]:
            self.assertTrue(line.startswith((b"$", b"!")), line)
            self.assertLessEqual(len(line), 127, line)
        self.assertTrue(content.endswith(b"*19\r\n"))
        self.assertEqual(self.events(), [])
        self.assertEqual(self.quit_monitor(), 0)


class FilesHeldByAnotherProgram(FaultTestMixin, unittest.TestCase):
    def test_record_files_and_log_held_for_a_while(self):
        readings = course(900, seed=13)
        earlier = record_line(7, "01.03.2026 10:00", readings[0], 5)
        self.write("monitor.txt", earlier)
        lines = self.start_with()
        start = time.time()

        # Two records fall due while monitor.txt is held: one event for the stretch.
        self.assertEqual(self.driver.ask("hold monitor.txt"), "ok")
        lines[2].write(b"".join(r.sentence() for r in readings[:300]))
        self.assertTrue(self.wait_for(lambda: self.events() == [eventRecordFileError], 60), self.events())
        lines[2].write(b"".join(r.sentence() for r in readings[300:600]))
        self.wait_sentences(600)
        time.sleep(0.5)
        self.assertEqual(self.events(), [eventRecordFileError])
        self.assertEqual(self.read("monitor.txt"), earlier)
        self.assertTrue(self.monitor.running())

        # Released: both follow within seconds, in order, numbered on, each
        # with the values of its own cycle; the end of the stretch is logged.
        self.assertEqual(self.driver.ask("release monitor.txt"), "ok")
        self.assertTrue(self.wait_for(lambda: len(self.read("monitor.txt")) == len(earlier) + 160, 10))
        self.assertEqual(self.events(), [eventRecordFileError, eventRecordsCaughtUp])
        lines[2].write(b"".join(r.sentence() for r in readings[600:]))
        self.assertTrue(self.wait_for(lambda: len(self.read("monitor.txt")) == len(earlier) + 240, 60))
        after = time.time()
        content = self.read("monitor.txt")
        self.assertTrue(content.startswith(earlier))
        records = records_of(content[len(earlier):])
        stamps = [record[7:23].decode() for record in records]
        for stamp in stamps:
            self.assertIn(stamp, utc_stamps(start, after))
        self.assertEqual(records, expected_records(readings, stamps))
        self.assertEqual(self.events(), [eventRecordFileError, eventRecordsCaughtUp])

        # nmea.txt held: its lines are kept the same way.
        self.assertEqual(self.driver.ask(command(cmdNmeaMode)), "ok")
        sentences = [f"$GPZDA,{i:06d},08,12,2026,00,00*{i:02d}\r\n".encode() for i in range(12)]
        self.write("nmea.txt", sentences[0])
        self.assertEqual(self.driver.ask("hold nmea.txt"), "ok")
        lines[2].write(b"".join(sentences[1:6]))
        self.wait_nmea_lines(5)
        self.assertTrue(self.wait_for(lambda: self.events() == [eventRecordFileError, eventRecordsCaughtUp,
                                                                eventRecordFileError]), self.events())

        # With monitor.err held too, the events have nowhere to go; nothing else changes.
        self.assertEqual(self.driver.ask("hold monitor.err"), "ok")
        log = self.read("monitor.err")
        lines[2].write(b"".join(sentences[6:9]))
        self.wait_nmea_lines(8)
        time.sleep(3.5)  # a retry while both are held
        self.assertEqual(self.driver.ask("release monitor.err"), "ok")
        self.assertEqual(self.read("monitor.err"), log)
        self.assertEqual(self.read("nmea.txt"), sentences[0])
        self.assertEqual(self.driver.ask("release nmea.txt"), "ok")
        self.assertTrue(self.wait_for(lambda: self.read("nmea.txt") == b"".join(sentences[:9]), 10),
                        self.read("nmea.txt"))

        lines[2].write(b"".join(sentences[9:]))
        self.wait_nmea_lines(11)
        self.assertTrue(self.wait_for(lambda: self.read("nmea.txt") == b"".join(sentences)))
        self.assertEqual(self.events(), [eventRecordFileError, eventRecordsCaughtUp,
                                         eventRecordFileError, eventRecordsCaughtUp])
        self.assertTrue(self.monitor.running())
        self.assertEqual(self.quit_monitor(), 0)


class StorageFaults(FaultTestMixin, unittest.TestCase):
    """The working folder goes read-only, or fills up (a small tmpfs)."""

    def gps_lines(self, first, count):
        return [f"$GPGLL,{first + i:04d}.97914,N,00259.98174,W,125926,A*2B\r\n".encode() for i in range(count)]

    def test_read_only_folder(self):
        disk = self.use_read_only_switch()
        readings = course(600, seed=14)
        earlier = record_line(41, "01.03.2026 10:00", readings[0], 5)
        self.write("monitor.txt", earlier)
        old_lines = self.gps_lines(0, 3)
        self.write("nmea.txt", b"".join(old_lines))
        lines = self.start_with(ini(DATA="NMEA"))

        # Nmea mode: the lines received while the folder refuses writes are
        # kept; nothing can be logged meanwhile, as monitor.err lives there too.
        disk.read_only()
        held = self.gps_lines(3, 4)
        lines[2].write(b"".join(held))
        self.wait_nmea_lines(4)
        self.assertEqual(self.read("nmea.txt"), b"".join(old_lines))
        self.assertFalse(os.path.exists(self.path("monitor.err")))
        disk.read_write()
        kept = self.gps_lines(7, 3)
        lines[2].write(b"".join(kept))
        self.wait_nmea_lines(7)
        self.assertTrue(self.wait_for(lambda: self.read("nmea.txt") == b"".join(old_lines + held + kept)),
                        self.read("nmea.txt"))
        self.assertEqual(self.events(), [eventRecordsCaughtUp])

        # Barograph mode: the record due while read-only is kept and follows,
        # before the next, once the folder can be written again.
        self.assertEqual(self.driver.ask(command(cmdBarographMode)), "ok")
        start = time.time()
        disk.read_only()
        # The line after the 300th shows that the record of the 300th was tried.
        lines[2].write(b"".join(r.sentence() for r in readings[:300]) + WIXDR)
        self.wait_sentences(301)
        self.assertEqual(self.read("monitor.txt"), earlier)
        disk.read_write()
        lines[2].write(b"".join(r.sentence() for r in readings[300:]))
        self.assertTrue(self.wait_for(lambda: len(self.read("monitor.txt")) > len(earlier), 60))
        self.assertTrue(self.wait_for(lambda: len(self.read("monitor.txt")) == len(earlier) + 160, 60))
        after = time.time()
        content = self.read("monitor.txt")
        self.assertTrue(content.startswith(earlier))
        records = records_of(content[len(earlier):])
        stamps = [record[7:23].decode() for record in records]
        self.assertEqual(records, expected_records(readings, stamps, rejected_between=True))
        for stamp in stamps:
            self.assertIn(stamp, utc_stamps(start, after))
        self.assertEqual(self.events(), [eventRecordsCaughtUp, eventRecordsCaughtUp])
        self.assertTrue(self.monitor.running())
        self.assertEqual(self.quit_monitor(), 0)

    def test_full_disk(self):
        disk = self.use_scratch_disk()
        readings = course(600, seed=15)
        # 51 records end 16 bytes before a page boundary of the tmpfs, so the
        # next record can be written only in part once the disk is full.
        earlier = b"".join(record_line(k + 1, "01.03.2026 10:%02d" % k, readings[k], k) for k in range(51))
        self.write("monitor.txt", earlier)
        old_nmea = b"$GPTXT," + b"0" * 4077 + b"\r\n"
        self.write("nmea.txt", old_nmea)
        old_log = (b"01.03.2026 10:00  " + event_tag(eventMonitorTxtErased)
                   + b"warning: file MONITOR.TXT has been erased \r\n")
        self.write("monitor.err", old_log)
        self.write("monitor.ini", DEFAULT_INI)
        lines = self.serial_ports(2)

        # Full at start: the warning, and eventDiskSpaceLow where monitor.err has room.
        self.assertGreater(disk.fill(), 0)
        self.start_monitor(wait_window=False)
        box = self.driver.wait_box()
        self.assertIsNotNone(box, "no warning about the full disk")
        self.assertEqual((box["caption"], box["text"]),
                         ("Fehler", "Warnung: nicht ausreichend Speicherplatz\noder kein Speicherndes Laufwerk !"))
        self.assertEqual(self.driver.press(box), "ok")
        self.assertTrue(self.wait_for(lambda: events_of(self.read("monitor.err"))
                                      == [eventMonitorTxtErased, eventDiskSpaceLow]), self.events())

        # A record due on the full disk: eventWriteFailed, and no torn record left.
        start = time.time()
        lines[2].write(b"".join(r.sentence() for r in readings[:300]))
        self.assertTrue(self.wait_for(lambda: self.events() == [eventMonitorTxtErased, eventDiskSpaceLow,
                                                                eventWriteFailed], 60), self.events())
        self.assertEqual(self.read("monitor.txt"), earlier)

        # The data check on the full disk stops before it touches monitor.txt.
        self.assertEqual(self.driver.ask(command(cmdCheckRecordFile)), "ok")
        box = self.driver.wait_box()
        self.assertIsNotNone(box)
        self.assertEqual((box["caption"], box["text"]), ("write data", "error writing monitor.tmp"))
        self.assertEqual(self.driver.press(box), "ok")
        self.assertTrue(self.wait_for(lambda: self.events() == [eventMonitorTxtErased, eventDiskSpaceLow,
                                                                eventWriteFailed, eventRecordFileError]),
                        self.events())
        self.assertEqual(self.read("monitor.txt"), earlier)
        self.assertFalse(os.path.exists(self.path("monitor.bak")))
        self.assertFalse(os.path.exists(self.path("monitor.tmp")))

        # Space again: the record kept meanwhile follows within seconds, then
        # the next, numbered on.
        disk.free()
        self.assertTrue(self.wait_for(lambda: len(self.read("monitor.txt")) == len(earlier) + 80, 10))
        lines[2].write(b"".join(r.sentence() for r in readings[300:]))
        self.assertTrue(self.wait_for(lambda: len(self.read("monitor.txt")) == len(earlier) + 160, 60))
        after = time.time()
        content = self.read("monitor.txt")
        self.assertTrue(content.startswith(earlier))
        records = records_of(content[len(earlier):])
        stamps = [record[7:23].decode() for record in records]
        for stamp in stamps:
            self.assertIn(stamp, utc_stamps(start, after))
        self.assertEqual(records, expected_records(readings, stamps))
        self.assertEqual(self.events(), [eventMonitorTxtErased, eventDiskSpaceLow, eventWriteFailed,
                                         eventRecordFileError, eventRecordsCaughtUp])

        # Nmea mode on a full disk: no line is written in part. The choice is
        # written at once, while there is room.
        self.assertEqual(self.driver.ask(command(cmdNmeaMode)), "ok")
        self.assertTrue(self.wait_for(lambda: self.read("monitor.ini") == ini(DATA="NMEA")))
        disk.fill()
        held = self.gps_lines(0, 3)
        lines[2].write(b"".join(held))
        self.wait_nmea_lines(3)
        self.assertEqual(self.read("nmea.txt"), old_nmea)
        disk.free()
        kept = self.gps_lines(3, 3)
        lines[2].write(b"".join(kept))
        self.wait_nmea_lines(6)
        self.assertTrue(self.wait_for(lambda: self.read("nmea.txt") == old_nmea + b"".join(held + kept)))

        # Ending on a full disk keeps the settings file whole: the new one
        # finds no room, the old one stays as it was, and no new one is left.
        disk.fill()
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(self.read("monitor.ini"), ini(DATA="NMEA"))
        self.assertFalse(os.path.exists(self.path("monitor.ini.new")))
        events = self.events()
        self.assertEqual(events[:7], [eventMonitorTxtErased, eventDiskSpaceLow, eventWriteFailed,
                                      eventRecordFileError, eventRecordsCaughtUp, eventWriteFailed,
                                      eventRecordsCaughtUp])
        # The log itself may have found no room for the failed write's event.
        self.assertIn(events[7:], ([], [eventWriteFailed]))
        self.assertEqual(self.driver.boxes(), [])


def without_line_ends(data):
    while b"\r\n" in data:
        data = data.replace(b"\r\n", b"")
    return data


def lines_in(data):
    """The lines the data check sees in `data`: a line feed ends one, with or
    without a carriage return; what follows the last one is a line too."""
    return data.count(b"\n") + (0 if data.endswith(b"\n") else 1)


SETTINGS_LAYOUT = re.compile(rb"DATA=(  TQ|NMEA)\nCOM=COM[1-8]\nSAVE=0300\nSHOW=(0300|0600|0900|1800)\nT1=[01]\n"
                             rb"T3=[01]\nVAR=[01]\nTC=[01]\nAD=[01]\nERR=[01]\nU=[01]\nSIG=[01]\nDKS=[01]\n"
                             rb"LANG=(DE|EN|FR)\nDW=[01]\nAW=[01]\nLO=[01]\n")


class DamagedFiles(FaultTestMixin, unittest.TestCase):
    def check(self):
        self.assertEqual(self.driver.ask(command(cmdCheckRecordFile)), "ok")
        box = self.driver.wait_box()
        self.assertIsNotNone(box, "the check shows no box")
        self.assertEqual(self.driver.press(box), "ok")
        self.assertTrue(self.wait_for(lambda: self.driver.boxes() == []))
        return box["caption"], box["text"]

    def test_data_check_on_empty_junk_and_spliced_record_files(self):
        rng = random.Random(16)
        lines = self.start_with()

        self.write("monitor.txt", b"")
        self.assertEqual(self.check(), ("Data check", "No records read\nno errors can be found"))
        self.assertEqual(self.read("monitor.txt"), b"")

        # Nothing but junk: every line of it is an error, nothing is kept, and
        # the backup holds what was there.
        junk_file = junk(rng, 6000)
        errors = lines_in(junk_file)
        self.write("monitor.txt", junk_file)
        self.assertEqual(self.check(), ("Data check", f"0 records read\n1 recordings\n{errors} errors found\n"
                                                      f"{errors} errors corrected"))
        self.assertEqual(self.read("monitor.txt"), b"")
        self.assertEqual(self.read("monitor.bak"), junk_file)

        # Records five minutes apart with junk spliced in: before a record
        # (an error for each of its lines, the record kept), as lines of its
        # own, and at the end.
        # Within what the check accepts: one-hour tendency under 50 hPa, three-hour under 99.9.
        readings = [r._replace(t1=r.t1 // 3, t3=max(-998, min(998, r.t3))) for r in course(30, seed=17)]
        stamps = ["15.03.2024 %02d:%02d" % (10 + k // 12, 5 * (k % 12)) for k in range(30)]
        spliced, junk_blocks = b"", 0
        for k, reading in enumerate(readings):
            if k % 7 == 3:
                block = without_line_ends(junk(rng, 300))
                spliced += block
                junk_blocks += lines_in(block)
            if k % 11 == 5:
                block = without_line_ends(junk(rng, 200)) + b"\r\n"
                spliced += block
                junk_blocks += lines_in(block)
            spliced += record_line(900 + k, stamps[k], reading, k)
        spliced += record_line(930, "15.03.2024 12:30", readings[0], 0)[:50]
        junk_blocks += 1
        self.write("monitor.txt", spliced)
        self.assertEqual(self.check(), ("Data check", f"30 records read\n1 recordings\n{junk_blocks} errors found\n"
                                                      f"{junk_blocks} errors corrected"))
        repaired = b"".join(record_line(k + 1, stamps[k], r, k) for k, r in enumerate(readings))
        self.assertEqual(self.read("monitor.txt"), repaired)
        self.assertEqual(self.read("monitor.bak"), spliced)
        self.assertFalse(os.path.exists(self.path("monitor.tmp")))

        # Recording goes on behind the repaired records.
        start = time.time()
        cycle = course(300, seed=18)
        lines[2].write(b"".join(r.sentence() for r in cycle))
        self.assertTrue(self.wait_for(lambda: len(self.read("monitor.txt")) > len(repaired), 60))
        content = self.read("monitor.txt")
        self.assertTrue(content.startswith(repaired))
        (record,) = records_of(content[len(repaired):])
        self.assertIn(record[7:23].decode(), utc_stamps(start, time.time()))
        self.assertEqual(record, expected_records(cycle, [record[7:23].decode()])[0])
        self.assertEqual(self.events(), [])
        self.assertEqual(self.quit_monitor(), 0)

    def test_record_file_that_is_a_folder(self):
        os.mkdir(self.path("monitor.txt"))
        lines = self.start_with()
        lines[2].write(b"".join(r.sentence() for r in course(300, seed=19)))
        self.assertTrue(self.wait_for(lambda: self.events() == [eventRecordFileError], 60), self.events())
        self.assertEqual(self.check(), ("read data", "error reading monitor.txt"))
        # The check logs its event once the box is closed.
        self.assertTrue(self.wait_for(lambda: self.events() == [eventRecordFileError, eventRecordFileError]),
                        self.events())
        self.assertTrue(os.path.isdir(self.path("monitor.txt")))
        self.assertEqual(self.quit_monitor(), 0)
        # The record kept in memory could not be written by the end: reported.
        self.assertEqual(self.events(), [eventRecordFileError, eventRecordFileError, eventRecordsUnwritten])

    def test_settings_file_of_binary_junk(self):
        rng = random.Random(20)
        for size in (3, 110, 4096):
            with self.subTest(size=size):
                # Every port exists, so that whatever port the junk names opens.
                lines = self.serial_ports(*range(1, 9))
                self.write("monitor.ini", junk(rng, size))
                if os.path.exists(self.path("monitor.err")):
                    os.unlink(self.path("monitor.err"))
                self.start_monitor()
                self.assertEqual(self.driver.boxes(), [])
                for line in lines.values():
                    line.write(Reading(99860, 52684, 12, 35, 300, 99540).sentence())
                title = self.wait_title(lambda t: " 998.6 hPa " in t or t.startswith("1 NMEA"))
                self.assertTrue(" 998.6 hPa " in title or title.startswith("1 NMEA"), title)
                self.assertTrue(self.monitor.running())
                self.assertEqual(self.quit_monitor(), 0)
                written = self.read("monitor.ini")
                self.assertRegex(written, SETTINGS_LAYOUT)
                self.assertEqual(len(written), 110)

if __name__ == "__main__":
    unittest.main()
