"""Reception through a pty linked as a COM port or from the network, titles, record files and port failures."""

import datetime
import functools
import http.client
import itertools
import json
import os
import random
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time
import unittest

from harness import (Driver, IsolatedNetwork, Monitor, MonitorTestMixin, SerialLine, clock_texts, ini, screen_pixels,
                     screenshot, wine_env)
from fault_support import (FaultTestMixin, course, device_stream, events_of, expected_records, records_of,
                           utc_clocks, utc_stamps)
from monitor_ids import (EXAMPLE, PORT_COMMANDS, WIND_ALARM_EVENTS, WIXDR, cmdAcknowledgeAlarm, cmdBarographMode,
                         cmdNmeaMode, cmdDataFormats, cmdNetworkSource, cmdOptions, cmdPortCom2, cmdToggleUdp,
                         eventPortLost, eventPortReturned,
                         command, event_tag, eventCorrectionChanged, eventDataAgain, eventGaleAlarm, eventLowLimitChanged,
                         eventLowPressure, eventNoData, eventPortInUse,
                         eventRecordFileError, eventRecordsCaughtUp, eventWindAlarmEnded, eventWindWarning,
                         port_failed_event, pxdr)


def utc_clock_texts(before, after):
    return clock_texts(before, after, "%H:%M", time.gmtime)


class BarographTitles(MonitorTestMixin, unittest.TestCase):
    def test_titles_in_three_languages(self):
        expected = {
            "DE": "Zudoderozezavedi {n} {clock}  998.6 hPa +1.2 hPa/Std +3.5 hPa/3Std (- 5h)",
            "EN": "Air pressure monitor {n} {clock}  998.6 hPa +1.2 hPa/hr +3.5 hPa/3hrs (- 5hr)",
            "FR": "Pression atmospherique {n} {clock}  998.6 hPa +1.2 hPa/hr +3.5 hPa/3hrs (- 5hr)",
        }
        for language, pattern in expected.items():
            with self.subTest(language=language):
                lines = self.serial_ports(2)
                self.write("monitor.ini", ini(LANG=language))
                self.start_monitor()
                before = time.time()
                lines[2].write(EXAMPLE)
                title = self.wait_title(lambda t: t.endswith(")"))
                after = time.time()
                clocks = [pattern.format(n=1, clock=clock) for clock in utc_clock_texts(before, after)]
                self.assertIn(title, clocks, "the title shows the reading and the UTC time")
                # The device's second sentence is rejected: counted, shown with the last reading
                # and the time it came (the minute may have turned since the first).
                before = time.time()
                lines[2].write(WIXDR)
                second = self.wait_title(lambda t: t != title)
                after = time.time()
                self.assertIn(second, [pattern.format(n=2, clock=clock) for clock in utc_clock_texts(before, after)])
                self.assertEqual(self.quit_monitor(), 0)


class BarographRecords(MonitorTestMixin, unittest.TestCase):
    def feed_cycle(self, line, start_converter):
        """300 accepted sentences, each followed by the device's $WIXDR sentence."""
        data = b""
        converters = []
        for i in range(300):
            converter = start_converter + (i * 7) % 23
            converters.append(converter)
            data += pxdr(101325 - i, converter, -27, 104, (i * 30) % 3121, 102000) + WIXDR
        line.write(data)
        return converters

    def test_three_hundred_sentences_give_one_record(self):
        lines = self.serial_ports(2)
        self.write("monitor.txt", b"earlier content\r\n")
        self.start_monitor()
        before = time.time()
        converters = self.feed_cycle(lines[2], 40000)
        self.assertTrue(self.wait_for(lambda: len(self.read("monitor.txt")) > 17, timeout=60))
        after = time.time()
        time.sleep(0.5)
        content = self.read("monitor.txt")
        self.assertTrue(content.startswith(b"earlier content\r\n"))
        record = content[17:]
        self.assertEqual(len(record), 80, record)
        variation = max(converters) - min(converters)
        stamp = record[7:23].decode()
        # A fall of 2.7 hPa in an hour raises the gale alarm: the record carries it.
        expected = (f"000001 {stamp} 1010,26 hPa -02,7 hPa/hr +10,4 hPa/3h "
                    f"{variation // 10:02d},{variation % 10} hPa/h var 1\r\n").encode()
        self.assertEqual(record, expected)
        dates = {time.strftime("%d.%m.%Y %H:%M", time.gmtime(t)) for t in range(int(before) - 60, int(after) + 60)}
        self.assertIn(stamp, dates, "record time is UTC")
        title = self.title()
        self.assertTrue(title.startswith("Zudoderozezavedi 600 "), title)
        self.assertEqual(self.quit_monitor(), 0)

    def test_record_file_held_by_another_program(self):
        lines = self.serial_ports(2)
        self.write("monitor.txt", b"")
        self.start_monitor()
        self.assertEqual(self.driver.ask("hold monitor.txt"), "ok")
        self.feed_cycle(lines[2], 50000)
        self.assertTrue(self.wait_for(lambda: event_tag(eventRecordFileError) in self.read("monitor.err"),
                                      timeout=60))
        self.assertIn(b"  " + event_tag(eventRecordFileError) + b"error wrinting in file MONITOR.TXT \r\n",
                      self.read("monitor.err"))
        self.assertEqual(self.read("monitor.txt"), b"")
        self.assertEqual(self.driver.ask("release monitor.txt"), "ok")
        # The record kept meanwhile follows within seconds, with its own number.
        self.assertTrue(self.wait_for(lambda: len(self.read("monitor.txt")) == 80, timeout=10))
        self.assertTrue(self.read("monitor.txt").startswith(b"000001 "))
        self.feed_cycle(lines[2], 50000)
        self.assertTrue(self.wait_for(lambda: len(self.read("monitor.txt")) == 160, timeout=60))
        self.assertEqual(self.read("monitor.txt")[80:87], b"000002 ")
        log = self.read("monitor.err")
        self.assertEqual(log.count(b"  " + event_tag(eventRecordFileError)), 1)
        self.assertIn(b"  " + event_tag(eventRecordsCaughtUp) + b"records kept in memory have been written \r\n", log)
        self.assertTrue(self.monitor.running())
        self.assertEqual(self.quit_monitor(), 0)


class WindAlarm(MonitorTestMixin, unittest.TestCase):
    def test_a_quick_fall_is_logged_and_marks_the_records_and_silence_is_logged(self):
        lines = self.serial_ports(2)
        self.write("monitor.ini", ini())
        self.start_monitor()

        def cycles(count, t3):
            data = b"".join(pxdr(100500, 40000, -5, t3, (i * 30) % 3121, 100700) + WIXDR for i in range(300 * count))
            lines[2].write(data)
            self.assertTrue(self.wait_for(lambda: os.path.exists(self.path("monitor.txt"))
                                          and len(self.read("monitor.txt")) >= 80 * self.records, timeout=120))

        self.records = 1
        cycles(1, 2)
        self.records = 2
        cycles(1, -38)
        self.assertEqual(events_of(self.log()), [eventWindWarning])
        # Steady again: the alarm ends at the 600th sentence, in the fourth cycle.
        self.records = 5
        cycles(3, 2)
        digits = [record[77:78] for record in self.read_records()]
        self.assertEqual(digits, [b"0", b"1", b"1", b"1", b"0"])
        self.assertEqual(events_of(self.log()), [eventWindWarning, eventWindAlarmEnded])

        # A minute without a sentence is logged once, and so is the sentence that ends it.
        self.assertTrue(self.wait_for(lambda: event_tag(eventNoData) in self.log(), timeout=90))
        lines[2].write(EXAMPLE)
        self.assertTrue(self.wait_for(lambda: event_tag(eventDataAgain) in self.log(), timeout=10))
        self.assertEqual(events_of(self.log()),
                         [eventWindWarning, eventWindAlarmEnded, eventNoData, eventDataAgain])
        self.assertEqual(self.quit_monitor(), 0)

    def test_switching_to_nmea_mode_ends_the_alarm(self):
        lines = self.serial_ports(2)
        self.write("monitor.ini", ini())
        self.start_monitor()
        lines[2].write(b"".join(pxdr(100500, 40000, -25, -70, 30, 100700) for _ in range(10)))
        self.assertTrue(self.wait_for(lambda: event_tag(eventGaleAlarm) in self.log(), timeout=30))
        self.assertEqual(self.driver.ask(command(cmdNmeaMode)), "ok")
        self.assertTrue(self.wait_for(lambda: event_tag(eventWindAlarmEnded) in self.log(), timeout=10))
        # Back in Barograph mode the reading from before the switch is gone:
        # a line that is no sentence shows none of it, the port title stays.
        self.assertEqual(self.driver.ask(command(cmdBarographMode)), "ok")
        port_title = "Zudoderozezavedi Verbindung \u00fcber COM2"
        self.assertEqual(self.wait_title(lambda t: t == port_title), port_title)
        lines[2].write(WIXDR)
        self.assertEqual(self.wait_title(lambda t: t != port_title, timeout=2), port_title)
        # The runs start again: nine sentences raise nothing.
        lines[2].write(b"".join(pxdr(100500, 40000, -25, -70, 30, 100700) for _ in range(9)))
        self.wait_title(lambda t: t.startswith("Zudoderozezavedi 20 "))
        self.assertEqual(events_of(self.log()), [eventGaleAlarm, eventWindAlarmEnded])
        # The tenth raises it anew.
        lines[2].write(pxdr(100500, 40000, -25, -70, 30, 100700))
        self.assertTrue(self.wait_for(lambda: events_of(self.log())
                                      == [eventGaleAlarm, eventWindAlarmEnded, eventGaleAlarm], timeout=10))
        self.assertEqual(self.quit_monitor(), 0)

    def test_the_warning_shows_on_the_chart_sounds_until_acknowledged_and_says_when_data_stopped(self):
        lines = self.serial_ports(2)
        self.write("monitor.ini", ini(LANG="EN"))
        self.start_monitor()
        self.assertEqual(self.banner_colours(), set(), "no banner while all is calm")
        self.assertTrue(self.item_grayed(), "nothing to acknowledge at start")

        def sentences(count, t1, t3):
            lines[2].write(b"".join(pxdr(100500, 40000, t1, t3, 30, 100700) + WIXDR for _ in range(count)))

        sentences(10, -5, -38)
        self.assertTrue(self.wait_for(lambda: event_tag(eventWindWarning) in self.log(), timeout=30))
        amber = self.wait_for(lambda: self.banner_colours() == {"amber"}, timeout=10)
        self.keep_screenshot("MONITOR_WARNING_PNG")
        self.assertTrue(amber, "the amber banner")
        self.assertFalse(self.item_grayed())
        self.assertEqual(self.driver.ask(command(cmdAcknowledgeAlarm)), "ok")
        self.assertTrue(self.wait_for(self.item_grayed, timeout=10), "acknowledged: the item greys")
        self.assertEqual(self.banner_colours(), {"amber"}, "the banner stays while the alarm stands")

        # A fall of 6.5 hPa in three hours: the gale alarm, unacknowledged again.
        sentences(10, -5, -65)
        self.assertTrue(self.wait_for(lambda: event_tag(eventGaleAlarm) in self.log(), timeout=30))
        self.assertTrue(self.wait_for(lambda: not self.item_grayed(), timeout=10))
        self.assertTrue(self.wait_for(lambda: self.banner_colours() == {"red"}, timeout=10), "the red banner")
        self.keep_screenshot("MONITOR_GALE_PNG")
        # Escape acknowledges it as the menu item does.
        self.assertEqual(self.driver.ask("key 27"), "ok")
        self.assertTrue(self.wait_for(self.item_grayed, timeout=10), "Escape acknowledges")

        # Easing: both levels end together at the 600th sentence that holds neither.
        sentences(599, 0, -20)
        self.wait_title(lambda t: t.startswith("Air pressure monitor 619 "), timeout=60)
        self.assertEqual(events_of(self.log()), [eventWindWarning, eventGaleAlarm])
        sentences(1, 0, -20)
        self.assertTrue(self.wait_for(lambda: event_tag(eventWindAlarmEnded) in self.log(), timeout=10))
        self.assertTrue(self.wait_for(lambda: self.banner_colours() == set(), timeout=10), "the banner goes")
        self.assertEqual(events_of(self.log()), [eventWindWarning, eventGaleAlarm, eventWindAlarmEnded])

        # A minute without data: event 74, the grey banner, the alarm sounding; a sentence ends it.
        self.assertTrue(self.wait_for(lambda: event_tag(eventNoData) in self.log(), timeout=90))
        self.assertTrue(self.wait_for(lambda: self.banner_colours() == {"grey"}, timeout=10), "the grey banner")
        self.keep_screenshot("MONITOR_NO_DATA_PNG")
        self.assertFalse(self.item_grayed())
        # A click below the banner does nothing; a click on it acknowledges.
        self.assertEqual(self.driver.ask("click 400 300"), "ok")
        time.sleep(1)
        self.assertFalse(self.item_grayed())
        self.assertEqual(self.driver.ask("click 400 45"), "ok")
        self.assertTrue(self.wait_for(self.item_grayed, timeout=10), "a click on the banner acknowledges")
        lines[2].write(EXAMPLE)
        self.assertTrue(self.wait_for(lambda: event_tag(eventDataAgain) in self.log(), timeout=10))
        self.assertTrue(self.wait_for(lambda: self.banner_colours() == set(), timeout=10))
        self.assertTrue(self.item_grayed())
        self.assertEqual(self.quit_monitor(), 0)

    def test_an_acknowledged_alarm_is_quiet_after_a_data_gap_and_a_mode_switch_starts_a_fresh_cycle(self):
        lines = self.serial_ports(2)
        self.write("monitor.ini", ini(LANG="EN"))
        self.start_monitor()

        def sentences(count, t3, converter):
            lines[2].write(b"".join(pxdr(100500, converter, -5, t3, 30, 100700) + WIXDR for _ in range(count)))

        sentences(10, -38, 40000)
        self.assertTrue(self.wait_for(lambda: event_tag(eventWindWarning) in self.log(), timeout=30))
        self.assertEqual(self.driver.ask(command(cmdAcknowledgeAlarm)), "ok")
        self.assertTrue(self.wait_for(self.item_grayed, timeout=10))
        # A data gap sounds; the data's return ends it, and the level stays acknowledged.
        self.assertTrue(self.wait_for(lambda: event_tag(eventNoData) in self.log(), timeout=90))
        self.assertFalse(self.item_grayed(), "the gap asks for an acknowledgement")
        sentences(1, -38, 40000)
        self.assertTrue(self.wait_for(lambda: event_tag(eventDataAgain) in self.log(), timeout=10))
        self.assertTrue(self.wait_for(self.item_grayed, timeout=10), "still sounding for an acknowledged level")

        # 150 sentences into a cycle with the alarm standing, then Nmea mode and back.
        sentences(139, -38, 40000)
        self.wait_title(lambda t: t.startswith("Air pressure monitor 150 "), timeout=30)
        for mode in (cmdNmeaMode, cmdBarographMode):
            self.assertEqual(self.driver.ask(command(mode)), "ok")
        self.assertTrue(self.wait_for(lambda: event_tag(eventWindAlarmEnded) in self.log(), timeout=10))
        # 150 steady sentences with another converter value write nothing;
        # 150 more close the first cycle, with their own variation and no alarm.
        sentences(150, 2, 40684)
        self.wait_title(lambda t: t.startswith("Air pressure monitor 300 "), timeout=30)
        time.sleep(1)
        self.assertFalse(os.path.exists(self.path("monitor.txt")), "a record from the cycle before the switch")
        sentences(150, 2, 40684)
        self.assertTrue(self.wait_for(lambda: os.path.exists(self.path("monitor.txt"))
                                      and len(self.read("monitor.txt")) == 80, timeout=30))
        record = self.read("monitor.txt")
        self.assertEqual(record[:7], b"000001 ")
        self.assertEqual(record[62:78], b"00,0 hPa/h var 0", record)
        self.assertEqual(self.quit_monitor(), 0)

    def banner_colours(self):
        """The banners on the screen, by the colours that fill more than a
        few thousand pixels of it (a banner row is the plot's width and 24 rows high)."""
        _, _, rows = screen_pixels()
        counts = {"amber": 0, "red": 0, "grey": 0}
        for row in rows:
            for r, g, b in row:
                if r > 230 and 170 < g < 210 and b < 40:
                    counts["amber"] += 1
                elif r > 190 and g < 30 and b < 30:
                    counts["red"] += 1
                elif 175 <= r <= 185 and 175 <= g <= 185 and 175 <= b <= 185:
                    counts["grey"] += 1
        return {colour for colour, count in counts.items() if count > 5000}

    def item_grayed(self):
        view = dict(self.driver.menu())["&View"]
        self.assertEqual(view[-2], None, "a separator before the last item")
        number, text, _, grayed = view[-1]
        self.assertEqual((number, text), (cmdAcknowledgeAlarm, "Acknowledge wind alarm"))
        return grayed

    def keep_screenshot(self, variable):
        path = os.environ.get(variable)
        if path:
            with open(path, "wb") as out:
                out.write(screenshot())

    def log(self):
        return self.read("monitor.err") if os.path.exists(self.path("monitor.err")) else b""

    def read_records(self):
        content = self.read("monitor.txt")
        self.assertEqual(len(content) % 80, 0)
        return [content[i:i + 80] for i in range(0, len(content), 80)]


class DamagedSentences(FaultTestMixin, unittest.TestCase):
    """The device's stream (a slow pressure walk, the minute counter stepping
    through the stored history, $WIXDR after every sentence) with one sentence
    in twenty damaged in a way its shape shows."""

    KINDS = ("dropped", "doubled", "hit", "cut", "run together")

    @staticmethod
    def damaged(rng, kind, sentence, next_sentence):
        """`sentence` damaged by `kind`; "run together" cuts it and runs the
        next sentence into it, as when its line end is lost."""
        body = sentence[:-2]
        if kind == "dropped":
            at = rng.randrange(len(body))
            return body[:at] + body[at + 1:] + b"\r\n"
        if kind == "doubled":
            at = rng.randrange(len(body))
            return body[:at + 1] + body[at:] + b"\r\n"
        if kind == "hit":
            # One bit of a digit flipped so that it is no digit any more.
            at = rng.choice([i for i, byte in enumerate(body) if 0x30 <= byte <= 0x39])
            flips = [body[at] ^ (1 << bit) for bit in range(8)]
            hit = rng.choice([byte for byte in flips if not 0x30 <= byte <= 0x39])
            return body[:at] + bytes([hit]) + body[at + 1:] + b"\r\n"
        if kind == "cut":
            return body[:rng.randrange(6, len(body))] + b"\r\n"
        return body[:rng.randrange(6, len(body))] + next_sentence

    def test_records_are_those_of_the_stream_without_the_damaged_sentences(self):
        rng = random.Random(21)
        readings = course(33 * 20, seed=21)
        # Blocks of twenty readings: the last one damaged, or for "run
        # together" the last two joined. Each block ends with that line.
        blocks = []  # (bytes, lines, last undamaged reading)
        undamaged = []
        for k in range(len(readings) // 20):
            block = readings[20 * k:20 * k + 20]
            kind = self.KINDS[k % len(self.KINDS)]
            intact = block[:18] if kind == "run together" else block[:19]
            damage = self.damaged(rng, kind, block[-2 if kind == "run together" else -1].sentence(),
                                  block[-1].sentence())
            self.assertNotIn(b"\n", damage[:-1])
            data = b"".join(r.sentence() + WIXDR for r in intact) + damage + WIXDR
            blocks.append((data, 2 * len(intact) + 2, intact[-1]))
            undamaged += intact
        self.assertGreaterEqual(len(undamaged), 600)

        lines = self.start_with()
        start = time.time()
        counter = 0
        for data, count, last in blocks:
            lines[2].write(data)
            counter += count
            # Every line is counted; the title after the damaged one shows the
            # last undamaged sentence.
            title = self.wait_sentences(counter)
            self.assertIn(title, {last.title(counter, c) for c in utc_clocks(start, time.time())})
        after = time.time()

        self.assertTrue(self.wait_for(lambda: len(self.records()) == 2, 10), self.records())
        records = records_of(self.read("monitor.txt"))
        stamps = [record[7:23].decode() for record in records]
        for stamp in stamps:
            self.assertIn(stamp, utc_stamps(start, after))
        # The records of the same stream with the damaged lines taken out:
        # each of them, like a $WIXDR, only folds the last value in again.
        self.assertEqual(records, expected_records(undamaged, stamps, rejected_between=True))
        self.assertEqual([e for e in self.events() if e not in WIND_ALARM_EVENTS], [])
        self.assertEqual(self.quit_monitor(), 0)


class NmeaMode(MonitorTestMixin, unittest.TestCase):
    def test_sentences_land_in_nmea_txt_byte_for_byte(self):
        lines = self.serial_ports(2)
        self.write("monitor.ini", ini(DATA="NMEA", LANG="EN"))
        self.start_monitor()
        first = b"$GPGLL,5300.97914,N,00259.98174,W,125926,A*2B01234" + b"\r\n"
        self.assertEqual(len(first), 52)
        lines[2].write(first)
        self.assertEqual(self.wait_title(lambda t: t.startswith("1 ")), "1 NMEA - records ")
        self.assertEqual(self.read("nmea.txt"), first)

        sentences = [f"$GPXTE,A,A,{i:04d}.{i % 10},L,N*{i % 100:02d}\r\n".encode() for i in range(40)]
        for burst in range(0, 40, 5):
            lines[2].write(b"".join(sentences[burst:burst + 5]))
            time.sleep(0.05)
        self.assertEqual(self.wait_title(lambda t: t.startswith("41 ")), "41 NMEA - records ")
        self.assertEqual(self.read("nmea.txt"), first + b"".join(sentences))

        # Lines that are no sentences are dropped; AIS lines are recorded.
        ais = (b"!AIVDM,1,1,,A,13u?etPv2;0n:dDPwUM1U1Cb069D,0*24\r\n"
               b"!AIVDM,2,1,3,B,55P5TL01VIaAL@7WKO@mBplU@<PDhh000000001S;AJ::4A80?4i@E53,0*3E\r\n")
        lines[2].write(b"noise\r\n$GPZDA,1*00\r\n" + ais)
        self.assertEqual(self.wait_title(lambda t: t.startswith("44 ")), "44 NMEA - records ")
        self.assertEqual(self.read("nmea.txt"), first + b"".join(sentences) + b"$GPZDA,1*00\r\n" + ais)
        self.assertEqual(self.quit_monitor(), 0)

    def test_count_title_in_german_and_french(self):
        for language, expected in (("DE", "3 NMEA - Datens\u00e4tze "), ("FR", "3 NMEA ")):
            with self.subTest(language=language):
                lines = self.serial_ports(2)
                self.write("monitor.ini", ini(DATA="NMEA", LANG=language))
                self.start_monitor()
                lines[2].write(b"$GPA*00\r\n$GPB*00\r\n$GPC*00\r\n")
                self.assertEqual(self.wait_title(lambda t: t.startswith("3 ")), expected)
                self.assertEqual(self.quit_monitor(), 0)


class PortFailures(MonitorTestMixin, unittest.TestCase):
    def expect_port_box(self, caption, text, events):
        box = self.driver.wait_box()
        self.assertIsNotNone(box, "no port message")
        self.assertEqual((box["caption"], box["text"]), (caption, text))
        self.assertEqual(self.driver.press(box), "ok")
        self.assertTrue(self.wait_for(lambda: os.path.exists(self.path("monitor.err"))
                                      and self.read("monitor.err").count(b"\r\n") == len(events)))
        log = self.read("monitor.err").decode("cp1252")
        self.assertEqual([line[17:] for line in log.split("\r\n") if line], events)
        # The program runs on with the port closed.
        self.assertEqual(self.driver.ask("wait-window 5000"), "ok")
        self.assertTrue(self.monitor.running())
        self.assertEqual(self.quit_monitor(), 0)

    def test_missing_port_five_in_german(self):
        self.serial_ports(2)
        self.write("monitor.ini", ini(COM="COM5"))
        self.start_monitor(wait_window=False)
        self.expect_port_box("serielle Schnittstelle", "Fehler: Schnittstelle COM5 steht nicht zur Verf\u00fcgung !",
                             [f" event nr. {eventPortInUse} error: COM port already in use "])

    def test_missing_port_four_in_french(self):
        self.serial_ports(2)
        self.write("monitor.ini", ini(COM="COM4", LANG="FR"))
        self.start_monitor(wait_window=False)
        self.expect_port_box("erreur porte serielle", "porte serielle COM4 pas disponible !",
                             [f" event nr. {eventPortInUse} error: COM port already in use ",
                              f" event nr. {port_failed_event(4)} error using port COM4 "])

    def test_port_held_by_another_program_in_english(self):
        lines = self.serial_ports(2, 3)
        self.write("monitor.ini", ini(COM="COM3", LANG="EN"))
        lines[3].hold()
        self.start_monitor(wait_window=False)
        self.expect_port_box("Com port error", "error: port COM3 not available !",
                             [f" event nr. {eventPortInUse} error: COM port already in use ",
                              f" event nr. {port_failed_event(3)} error using port COM3 "])


RECEIVERS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "receivers")


def nmea_sentences(datagram):
    """The sentences of a datagram, each checked to end in CR LF and to carry
    the right checksum (XOR of the characters between $ and *)."""
    text = datagram.decode("ascii")
    assert text.endswith("\r\n"), text
    sentences = text[:-2].split("\r\n")
    for sentence in sentences:
        body, checksum = sentence[1:].split("*")
        assert sentence[0] == "$" and checksum == f"{functools.reduce(lambda a, c: a ^ ord(c), body, 0):02X}", sentence
    return sentences


class UdpReceiverMixin(MonitorTestMixin):
    """The navigation software's side: a UDP socket on 127.0.0.1 that the
    settings point the program at."""

    def setUp(self):
        super().setUp()
        self.receiver = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self.addCleanup(self.receiver.close)
        self.receiver.bind(("127.0.0.1", 0))
        self.receiver.settimeout(10)
        self.destination = f"SENDTO=127.0.0.1:{self.receiver.getsockname()[1]}\n".encode()

    def quiet(self, seconds=1.5):
        """True when no datagram comes within the time."""
        self.receiver.settimeout(seconds)
        try:
            self.receiver.recv(2048)
            return False
        except socket.timeout:
            return True
        finally:
            self.receiver.settimeout(10)


class ReadingsOverUdp(UdpReceiverMixin, unittest.TestCase):
    def test_each_reading_goes_out_as_one_datagram_and_the_switch_is_kept(self):
        lines = self.serial_ports(2)
        self.write("monitor.ini", ini(LANG="EN") + b"SEND=1\n" + self.destination)
        self.start_monitor()
        self.assertEqual(states_of(self.driver.menu(), cmdToggleUdp), (True, False))
        pressures = (101325, 99860, 100007)
        received = []
        for count, pressure in enumerate(pressures, 1):
            lines[2].write(pxdr(pressure, 40000, -5, 2, 30, pressure))
            received.append(self.receiver.recv(2048))
            title = self.wait_title(lambda t: t.startswith(f"Air pressure monitor {count} "))
            mda, xdr = nmea_sentences(received[-1])
            bar = f"{pressure // 100000}.{pressure % 100000:05d}"
            self.assertEqual(mda, f"$WIMDA,{round(pressure * 0.0295300 / 100, 4):.4f},I,{bar},B,,C,,C,,,,C,,T,,M,,N,,M"
                             + mda[-3:])
            self.assertEqual(xdr, f"$WIXDR,P,{bar},B,Barometer" + xdr[-3:])
            self.assertIn(f" {pressure / 100:.1f} hPa ", title, "the pressure sent is the title's")
        lines[2].write(b"$PXDR,garbage\r\n")
        self.assertTrue(self.quiet(), "a rejected sentence is sent")

        # The parser of a boat data server reads the outside pressure from them.
        self.check_with_receiver_parser(received, pressures)

        # Nmea mode: each recorded line that is NMEA 0183, AIS included, with
        # CR LF; not one too long for a sentence or with a control byte in it.
        self.assertEqual(self.driver.ask(command(cmdNmeaMode)), "ok")
        gll = b"$GPGLL,5000.00,N,00800.00,E,120000,A*24\r\n"
        ais = b"!AIVDM,1,1,,A,13u?etPv2;0n:dDPwUM1U1Cb069D,0*24\r\n"
        unsent = b"$GPGGA," + b"1" * 74 + b"\r\n" + b"$GPZDA,\x00,1*00\r\n" + b"$GPZDA,\r2*00\r\n"
        lines[2].write(gll + b"no sentence\r\n" + unsent + ais + b"$GPZDA,3*00\n")
        self.assertEqual(self.receiver.recv(2048), gll)
        self.assertEqual(self.receiver.recv(2048), ais)
        self.assertEqual(self.receiver.recv(2048), b"$GPZDA,3*00\r\n")
        self.assertTrue(self.quiet())
        self.assertEqual(self.read("nmea.txt"), gll + unsent + ais + b"$GPZDA,3*00\n")

        # Off: nothing goes out, and the settings remember it.
        self.assertEqual(self.driver.ask(command(cmdToggleUdp)), "ok")
        self.assertEqual(states_of(self.driver.menu(), cmdToggleUdp), (False, False))
        lines[2].write(gll)
        self.assertTrue(self.quiet(), "sent while off")
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(self.read("monitor.ini"), ini(LANG="EN", DATA="NMEA") + self.destination)

        # On again, and that survives a restart too.
        self.driver.close()
        self.driver = Driver(self.workdir)
        self.start_monitor()
        lines[2].write(gll)
        self.assertTrue(self.quiet(), "sent while off")
        self.assertEqual(self.driver.ask(command(cmdToggleUdp)), "ok")
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(self.read("monitor.ini"), ini(LANG="EN", DATA="NMEA") + b"SEND=1\n" + self.destination)
        self.driver.close()
        self.driver = Driver(self.workdir)
        self.start_monitor()
        lines[2].write(gll)
        self.assertEqual(self.receiver.recv(2048), gll)
        self.assertEqual(self.quit_monitor(), 0)

    def check_with_receiver_parser(self, datagrams, pressures):
        node = shutil.which("node")
        if not node or not os.path.isdir(os.path.join(RECEIVERS, "node_modules", "@signalk", "nmea0183-signalk")):
            print(f"\n{self.id()}: the data server's parser was not checked: "
                  f"{'Node.js is missing' if not node else 'scripts/setup could not install it'}", file=sys.stderr)
            self.assertIsNone(node, "Node.js is there but the parser is not installed")
            return
        fed = b"".join(datagrams)
        answer = subprocess.run([node, os.path.join(RECEIVERS, "outside_pressure.js")], input=fed,
                                capture_output=True, check=True, timeout=60).stdout.decode().splitlines()
        found = [json.loads(line) for line in answer]
        self.assertEqual(len(found), 2 * len(pressures), "one answer per sentence")
        for k, pressure in enumerate(pressures):
            mda, xdr = found[2 * k], found[2 * k + 1]
            self.assertTrue(mda, "the parser took no pressure from MDA")
            for pascals in mda:
                self.assertAlmostEqual(pascals, pressure, delta=1.0)
            self.assertEqual(xdr, [], "XDR is not read by this parser")


def states_of(bar, number):
    """(checked, grayed) of the item with this id."""
    for _, entries in bar:
        for entry in entries:
            if entry is not None and entry[0] == number:
                return entry[2], entry[3]
    raise AssertionError(f"no item {number}")


def sea_level(pressure, offset_tenths, height):
    """The corrected pressure in hundredths of a hPa, from the formula."""
    k = (1 - 0.0065 * height / 288.15) ** -5.2559
    return int((pressure + 10 * offset_tenths) * k + 0.5)


class OptionsDialog(UdpReceiverMixin, unittest.TestCase):
    """The Options dialog, driven as a user does: fields typed into by their ids, OK pressed."""

    def open_options(self):
        self.assertEqual(self.driver.ask(command(cmdOptions)), "ok")
        dialog = self.driver.options()
        self.assertIsNotNone(dialog, "the Options dialog opens")
        self.assertEqual(self.driver.boxes(), [], "the Options dialog is no message box")
        return dialog

    def choose(self, values):
        dialog = self.open_options()
        self.driver.fill(dialog, values)
        self.assertEqual(self.driver.ask(f"press {dialog} 1"), "ok")
        self.assertTrue(self.wait_for(lambda: self.driver.ask("wait-options 0") == "timeout"), "OK closes it")

    def curve_rows(self):
        """The rows of the black pressure curve inside the plot (its background's bounding box), and
        the share of the plot's columns it crosses."""
        _, _, rows = screen_pixels()
        inside = [(x, y) for y, row in enumerate(rows) for x, p in enumerate(row) if p == (245, 245, 255)]
        left, right = min(x for x, _ in inside) + 3, max(x for x, _ in inside) - 3
        top, bottom = min(y for _, y in inside) + 3, max(y for _, y in inside) - 3
        black = [(x, y) for y in range(top, bottom) for x in range(left, right) if max(rows[y][x]) < 60]
        return sorted({y for _, y in black}), len({x for x, _ in black}) / (right - left)

    def test_a_correction_reaches_title_record_and_datagram_without_a_step_and_a_value_out_of_range_changes_nothing(self):
        lines = self.serial_ports(2)
        self.write("monitor.ini", ini(LANG="EN", T1="0", T3="0") + b"SEND=1\n" + self.destination)
        self.start_monitor()
        # 52 hours at 1000.00 hPa from the device's stored values.
        lines[2].write(b"".join(pxdr(100000, 40000, 0, 0, 30 * i, 100000) + WIXDR for i in range(104)))
        self.wait_title(lambda t: t.startswith("Air pressure monitor 208 "), timeout=60)
        for _ in range(104):
            self.receiver.recv(2048)
        before, _ = self.curve_rows()

        self.choose({1661: "+1,2", 1662: "372"})  # a decimal comma is taken
        self.assertTrue(self.wait_for(lambda: event_tag(eventCorrectionChanged) in self.read("monitor.err")))
        lines[2].write(pxdr(100000, 40000, -5, 20, 30, 100000))
        corrected = sea_level(100000, 12, 372)
        self.assertEqual(corrected, round(100120 * 1.0452863))
        mda, _ = nmea_sentences(self.receiver.recv(2048))
        self.assertTrue(mda.startswith(f"$WIMDA,{round(corrected * 0.0295300 / 100, 4):.4f},I,"
                                       f"{corrected // 100000}.{corrected % 100000:05d},B,"), mda)
        title = self.wait_title(lambda t: t.startswith("Air pressure monitor 209 "))
        self.assertIn(f" {corrected / 100:.1f} hPa -0.5 hPa/hr +2.1 hPa/3hrs ", title)
        # The 52 hours moved with the correction as one: no step at the newest slot.
        time.sleep(1)
        after, crossed = self.curve_rows()
        self.assertLessEqual(after[-1] - after[0], 4, f"a step in the curve: rows {after}")
        self.assertLess(after[-1], before[0], "the curve stands higher")
        self.assertGreater(crossed, 0.95)

        # Help > Info data says the correction in force.
        self.assertEqual(self.driver.ask(command(cmdDataFormats)), "ok")
        info = self.driver.wait_box()
        self.assertTrue(info["text"].endswith("\n\ncorrection +1.2 hPa, 372 m"), info["text"][-80:])
        self.driver.press(info)
        self.assertTrue(self.wait_for(lambda: self.driver.boxes() == []))

        # The next record carries the corrected values: 300 accepted sentences close the cycle.
        lines[2].write(b"".join(pxdr(100000, 40000, -5, 20, 30, 100000) for _ in range(195)))
        self.assertTrue(self.wait_for(lambda: os.path.exists(self.path("monitor.txt")), timeout=60))
        time.sleep(0.5)
        record = self.read("monitor.txt")
        self.assertEqual(record[24:62], f"{corrected // 100:4d},{corrected % 100:02d} hPa -00,5 hPa/hr "
                                        f"+02,1 hPa/3h ".encode(), record)

        # A value out of range: its box, the focus on it, and nothing applied.
        dialog = self.open_options()
        _, _, fields = self.driver.controls(dialog)
        self.assertEqual((fields[1661]["text"], fields[1662]["text"]), ("+1.2", "372"))
        self.driver.fill(dialog, {1662: "1501", 1663: "2.5", 1668: "10.0.0.255", 1667: False})
        self.assertEqual(self.driver.ask(f"press {dialog} 1"), "ok")
        box = self.driver.wait_box()
        self.assertEqual((box["caption"], box["text"]), ("Options", "Height above sea level: 0 to 1500 m"))
        self.driver.press(box)
        self.assertTrue(self.wait_for(lambda: self.driver.controls(dialog)[2][1662]["focused"]))
        self.assertEqual(self.driver.ask(f"press {dialog} 2"), "ok")
        self.assertTrue(self.wait_for(lambda: self.driver.ask("wait-options 0") == "timeout"))
        # Still sent, to the same place, and a fall of 3.0 hPa does not warn.
        lines[2].write(b"".join(pxdr(100000, 40000, 0, -30, 30, 100000) for _ in range(10)))
        for _ in range(10):
            self.receiver.recv(2048)
        self.assertEqual(events_of(self.read("monitor.err")), [eventCorrectionChanged])
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(self.read("monitor.ini")[110:], b"SEND=1\n" + self.destination + b"OFFSET=+1.2\nHEIGHT=372\n")

        # After a restart the dialog shows what was chosen: the settings lines were written and read back.
        self.driver.close()
        self.driver = Driver(self.workdir)
        self.start_monitor()
        _, _, fields = self.driver.controls(self.open_options())
        self.assertEqual([fields[n]["text"] for n in (1661, 1662, 1663, 1666, 1668, 1669)],
                         ["+1.2", "372", "3.6", "0", "127.0.0.1", str(self.receiver.getsockname()[1])])
        self.assertEqual(self.driver.ask(f"press {self.driver.options()} 2"), "ok")
        self.assertEqual(self.quit_monitor(), 0)

    def test_user_limits_raise_the_warning_and_the_low_pressure_alarm_which_an_acknowledgement_silences(self):
        lines = self.serial_ports(2)
        self.write("monitor.ini", ini(LANG="EN"))
        self.start_monitor()

        def sentences(count, pressure, t3):
            lines[2].write(b"".join(pxdr(pressure, 40000, 0, t3, 30, pressure) + WIXDR for _ in range(count)))

        # A fall of 3.0 hPa in three hours: the defaults warn of 3.6.
        sentences(10, 100500, -30)
        self.wait_title(lambda t: t.startswith("Air pressure monitor 20 "))
        self.assertEqual(events_of(WindAlarm.log(self)), [])
        self.choose({1663: "2.5"})
        sentences(10, 100500, -30)
        self.assertTrue(self.wait_for(lambda: event_tag(eventWindWarning) in WindAlarm.log(self), timeout=30))
        for mode in (cmdNmeaMode, cmdBarographMode):
            self.assertEqual(self.driver.ask(command(mode)), "ok")

        self.choose({1666: "990"})
        sentences(9, 98990, 0)
        self.wait_title(lambda t: t.startswith("Air pressure monitor 58 "))
        self.assertTrue(WindAlarm.item_grayed(self), "nine sentences below the limit raise nothing")
        sentences(1, 98990, 0)
        self.assertTrue(self.wait_for(lambda: event_tag(eventLowPressure) in WindAlarm.log(self), timeout=30))
        self.assertEqual(events_of(WindAlarm.log(self)),
                         [eventWindWarning, eventWindAlarmEnded, eventLowLimitChanged, eventLowPressure])
        self.assertFalse(WindAlarm.item_grayed(self), "the signal sounds")
        self.assertTrue(self.wait_for(lambda: WindAlarm.banner_colours(self) == {"amber"}), "the amber banner")
        self.assertEqual(self.driver.ask(command(cmdAcknowledgeAlarm)), "ok")
        self.assertTrue(self.wait_for(lambda: WindAlarm.item_grayed(self)), "acknowledged: silent")
        self.assertEqual(WindAlarm.banner_colours(self), {"amber"}, "the banner stays while the pressure is low")
        # A lower limit ends the alarm it raised: the log tells of the change, not of a rise.
        self.choose({1666: "980"})
        self.assertTrue(self.wait_for(lambda: WindAlarm.banner_colours(self) == set()), "the banner goes")
        self.assertEqual(events_of(WindAlarm.log(self))[-2:], [eventLowPressure, eventLowLimitChanged])
        self.assertEqual(self.quit_monitor(), 0)

    def test_the_dialog_in_each_language_is_laid_out_alike_and_ok_unchanged_writes_todays_bytes(self):
        shots = os.environ.get("MONITOR_OPTIONS_SHOTS")
        for language, caption in (("DE", "Optionen"), ("EN", "Options"), ("FR", "Reglages")):
            with self.subTest(language=language):
                self.serial_ports(2)
                self.write("monitor.ini", ini(LANG=language))
                self.start_monitor()
                dialog = self.open_options()
                title, (left, top, right, bottom), fields = self.driver.controls(dialog)
                self.assertEqual(title, caption)
                edits = [fields[n] for n in (*range(1661, 1673), 1675, 1677, 1678) if n not in (1667, 1670)]
                self.assertTrue(all(f["class"] == "Edit" for f in edits))
                self.assertEqual(len({(f["rect"][0], f["rect"][2]) for f in edits}), 1, "the fields stand aligned")
                labels = [f for f in fields.values() if f["class"] == "Static"]
                self.assertEqual(len(labels), 11)
                # The radio buttons of the port and the address stand in the labels' column, their fields beside.
                choices = [fields[n] for n in (1674, 1676)]
                self.assertEqual(len({f["rect"][0] for f in labels + choices}), 1, "the labels stand aligned")
                self.assertTrue(all(f["rect"][2] < edits[0]["rect"][0] for f in labels + choices))
                self.assertTrue(all(field["rect"][1] <= (choice["rect"][1] + choice["rect"][3]) // 2 <= field["rect"][3]
                                    for field, choice in zip((fields[1675], fields[1677]), choices)), "on one row")
                self.assertTrue(all(left < f["rect"][0] and f["rect"][2] < right and f["rect"][3] < bottom
                                    for f in fields.values()), "everything inside the dialog")
                # Receiving stands first, the serial port chosen, the network's fields disabled.
                self.assertLess(fields[1673]["rect"][3], fields[1661]["rect"][1])
                self.assertTrue(fields[1673]["focused"] and fields[1673]["checked"])
                self.assertEqual([fields[n]["enabled"] for n in (1675, 1677, 1678, 1661)], [False, False, False, True])
                if shots:
                    subprocess.run(["import", "-window", "root", "-crop",
                                    f"{right - left}x{bottom - top}+{left}+{top}",
                                    os.path.join(shots, f"options-{language}.png")], env=wine_env(), check=True)
                self.assertEqual(self.driver.ask(f"press {dialog} 1"), "ok")
                self.assertTrue(self.wait_for(lambda: self.driver.ask("wait-options 0") == "timeout"))
                self.assertEqual(self.quit_monitor(), 0)
                self.assertEqual(self.read("monitor.ini"), ini(LANG=language))
                self.assertFalse(os.path.exists(self.path("monitor.err")))


SIGNALK_SERVER = os.path.join(RECEIVERS, "node_modules", "signalk-server", "bin", "signalk-server")
PRESSURE = "/signalk/v1/api/vessels/self/environment/outside/pressure"


class SignalKNotifications(MonitorTestMixin, unittest.TestCase):
    """The alarms at a real boat data server (signalk-server, installed by
    scripts/setup), the program and the server in a network namespace of the
    test's own that has only the loopback."""

    udp_port, http_port = 10120, 3000  # inside the namespace: no other test can hold them

    def setUp(self):
        super().setUp()
        missing = [tool for tool in ("node", "unshare", "nsenter", "ip") if not shutil.which(tool)]
        if missing or not os.path.exists(SIGNALK_SERVER):
            reason = f"{', '.join(missing)} missing" if missing else "scripts/setup could not install signalk-server"
            print(f"\n{self.id()}: not run: {reason}", file=sys.stderr)
            self.skipTest(reason)
        self.network = IsolatedNetwork()
        self.addCleanup(self.network.close)
        # One Signal K data connection over UDP, no mDNS; the namespace keeps its update check in.
        config = tempfile.mkdtemp(prefix="monitor-signalk-")
        self.addCleanup(shutil.rmtree, config, True)
        udp = {"type": "SignalK", "subOptions": {"type": "udp", "port": str(self.udp_port)}}
        with open(os.path.join(config, "settings.json"), "w") as f:
            json.dump({"mdns": False, "ssl": False, "pipedProviders": [{"id": "monitor", "enabled": True, "pipeElements": [
                {"type": "providers/simple", "options": dict(udp, logging=False)}]}]}, f)
        with open(os.path.join(config, "package.json"), "w") as f:
            f.write("{}")
        with open(os.path.join(config, "server.log"), "wb") as log:
            server = subprocess.Popen(self.network.command(["node", SIGNALK_SERVER, "-c", config]), stdout=log,
                                      stderr=subprocess.STDOUT, env=dict(os.environ, PORT=str(self.http_port)))
        self.addCleanup(lambda: (server.terminate(), server.wait(20)))
        self.driver.close()
        self.driver = Driver(self.workdir, self.network)
        self.monitor = Monitor(self.workdir, network=self.network)
        self.lines = {2: SerialLine()}
        self.network.link_ports({2: self.lines[2].path})
        # About 5 s here; a machine under load may take many times that.
        if not self.wait_for(lambda: self.get("/signalk") is not None, timeout=120, interval=0.3):
            print(f"\n{self.id()}: not run: signalk-server did not start", file=sys.stderr)
            self.skipTest("signalk-server did not start")

    def get(self, path):
        """The server's JSON answer, or None for anything but 200 (or no server)."""
        def connection():
            made = http.client.HTTPConnection("127.0.0.1", self.http_port, timeout=10)
            made.connect()
            return made
        try:
            conn = self.network.connect(connection)
            conn.request("GET", path)
            answer = conn.getresponse()
            body = answer.read()
            conn.close()
            return json.loads(body) if answer.status == 200 else None
        except OSError:
            return None

    def expect(self, name, state, method=None, timeout=30):
        """Waits until the server holds that state (and method) of the notification; returns it."""
        found = []
        def holds():
            found[:] = [self.get("/signalk/v1/api/vessels/self/notifications/environment/outside/pressure/" + name)]
            return found[0] is not None and found[0]["value"]["state"] == state and \
                method in (None, found[0]["value"]["method"])
        self.assertTrue(self.wait_for(holds, timeout=timeout, interval=0.2), f"{name}: {found} is not {state} {method}")
        return found[0]["value"] | {"timestamp": found[0]["timestamp"]}

    def sentences(self, count, pressure, t1, t3):
        self.lines[2].write(b"".join(pxdr(pressure, 40000, t1, t3, 30, pressure) for _ in range(count)))

    def options(self, values={}):
        """Opens the Options dialog, types `values` and presses OK (Cancel without any); the Signal K fields before."""
        self.assertEqual(self.driver.ask(command(cmdOptions)), "ok")
        dialog = self.driver.options()
        fields = self.driver.controls(dialog)[2]
        self.driver.fill(dialog, values)
        self.assertEqual(self.driver.ask(f"press {dialog} {1 if values else 2}"), "ok")
        self.assertTrue(self.wait_for(lambda: self.driver.ask("wait-options 0") == "timeout"))
        return fields[1670]["checked"], fields[1671]["text"], fields[1672]["text"]

    def test_each_alarm_rises_is_acknowledged_repeated_and_ends_at_the_server_and_none_outlives_the_program(self):
        self.write("monitor.ini", ini(LANG="DE") + b"LOW=990\n")
        self.start_monitor()
        self.sentences(1, 100530, 0, 0)
        self.wait_title(lambda t: t.startswith("Zudoderozezavedi 1 "))
        time.sleep(1)
        self.assertIsNone(self.get(PRESSURE), "sent while off")

        # On through the Options dialog, and its lines written at once.
        self.assertEqual(self.options({1670: True, 1671: "127.0.0.1", 1672: str(self.udp_port)}),
                         (False, "127.0.0.1", "10119"))
        self.assertEqual(self.read("monitor.ini")[110:], f"SIGNALK=1\nSIGNALKTO=127.0.0.1:{self.udp_port}\nLOW=990\n".encode())
        for name, message in (("storm", "wind alarm ended"), ("low", "pressure above the limit again"),
                              ("noData", "data received again")):
            self.assertEqual(self.expect(name, "normal", [])["message"], message)

        # The pressure in pascals is the title's; the program's socket is in the namespace, as is its wineserver.
        self.sentences(1, 100530, 0, 0)
        self.assertIn(" 1005.3 hPa ", self.wait_title(lambda t: t.startswith("Zudoderozezavedi 2 ")))
        self.assertTrue(self.wait_for(lambda: (self.get(PRESSURE) or {}).get("value") == 100530, interval=0.2))
        self.assertTrue(self.network.inside(self.network.wineserver.pid))
        self.assertGreater(len(self.network.udp_ports() - {self.udp_port}), 0, "the program's socket is elsewhere")

        # A fall: level 1, then level 2, in German with its umlaut in UTF-8; then acknowledged.
        self.sentences(10, 100530, -5, -40)
        self.assertRegex(self.expect("storm", "warn", ["visual", "sound"])["message"],
                         "^Sturmwarnung: Luftdruck f\u00e4llt schnell  -0.5 hPa/Std  -4.0 hPa/3Std  seit \\d\\d:\\d\\d UTC$")
        self.sentences(10, 100530, -5, -65)
        self.assertTrue(self.expect("storm", "alarm", ["visual", "sound"])["message"].startswith(
            "Sturmalarm: Luftdruck f\u00e4llt sehr schnell  -0.5 hPa/Std  -6.5 hPa/3Std  seit "))
        self.assertEqual([(n["value"]["state"], n["value"]["method"]) for n in self.get("/signalk/v2/api/notifications").values()
                          if n["path"] == "notifications.environment.outside.pressure.storm"], [("alarm", ["visual", "sound"])])
        self.assertEqual(self.driver.ask(command(cmdAcknowledgeAlarm)), "ok")
        acknowledged = self.expect("storm", "alarm", ["visual"])["timestamp"]

        # A minute without data; the alarm standing meanwhile is sent again a minute after the last time.
        self.assertRegex(self.expect("noData", "alert", ["visual", "sound"], timeout=120)["message"],
                         r"^Keine Daten seit \d\d:\d\d UTC$")
        self.assertTrue(self.wait_for(lambda: self.expect("storm", "alarm")["timestamp"] > acknowledged, timeout=40))
        moment = lambda stamp: datetime.datetime.fromisoformat(stamp.replace("Z", "+00:00"))
        gap = (moment(self.expect("storm", "alarm")["timestamp"]) - moment(acknowledged)).total_seconds()
        self.assertTrue(59 < gap < 90, gap)  # a minute of the timer, late only on a machine under load
        self.sentences(1, 98900, 0, 0)
        self.assertEqual(self.expect("noData", "normal", [])["message"], "data received again")

        # The fall ends while the pressure is below the limit: the low alarm sounds; then it ends too.
        self.sentences(600, 98900, 0, 0)
        self.assertEqual(self.expect("low", "warn", ["visual", "sound"])["message"], "Luftdruck unter 990 hPa")
        self.assertEqual(self.expect("storm", "normal", [])["message"], "wind alarm ended")
        self.sentences(600, 99100, 0, 0)
        self.assertEqual(self.expect("low", "normal", [])["message"], "pressure above the limit again")

        # Nmea mode ends the warning; ended while one stands, the server is told it ended.
        self.sentences(10, 99100, 0, -40)
        self.expect("storm", "warn")
        self.assertEqual(self.driver.ask(command(cmdNmeaMode)), "ok")
        self.expect("storm", "normal", [])
        self.assertEqual(self.driver.ask(command(cmdBarographMode)), "ok")
        self.sentences(10, 99100, 0, -40)
        self.expect("storm", "warn")
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(self.expect("storm", "normal", [], timeout=0)["message"], "wind alarm ended")

        # Killed while one stands, it stays, until the next start clears it; the lines were read back.
        for killed in (True, False):
            self.driver.close()
            self.driver = Driver(self.workdir, self.network)
            self.start_monitor()
            self.expect("storm", "normal", [])
            if killed:
                self.sentences(10, 99100, 0, -40)
                self.expect("storm", "warn")
                self.assertEqual(self.driver.ask("end-leftovers"), "ok 1")
                time.sleep(1)
                self.expect("storm", "warn", timeout=0)
        self.assertEqual(self.options(), (True, "127.0.0.1", str(self.udp_port)))
        self.assertEqual(self.quit_monitor(), 0)


def free_port(kind):
    """A port of 127.0.0.1 that no socket holds now, found by binding port 0."""
    with socket.socket(socket.AF_INET, kind) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class TcpServer:
    """A gateway's TCP server on 127.0.0.1 that the test starts, stops and starts again on one port."""

    def __init__(self, port=0):
        self.listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.listener.bind(("127.0.0.1", port))
        self.listener.listen(4)
        self.port = self.listener.getsockname()[1]
        self.client = None

    def accept(self, timeout=15):
        self.listener.settimeout(timeout)
        if self.client:
            self.client.close()
        self.client, _ = self.listener.accept()
        return self.client

    def stop(self):
        for held in (self.client, self.listener):
            if held:
                held.close()
        self.client = None


class NetworkSource(UdpReceiverMixin, unittest.TestCase):
    """The boat's network as the source: chosen in the Options dialog by its ids, read as the serial line is."""

    def choose(self, choice, values):
        dialog = OptionsDialog.open_options(self)
        self.assertEqual(self.driver.ask(f"press {dialog} {choice}"), "ok")
        self.assertTrue(self.wait_for(lambda: self.driver.controls(dialog)[2][choice]["checked"]))
        self.driver.fill(dialog, values)
        self.assertEqual(self.driver.ask(f"press {dialog} 1"), "ok")
        self.assertTrue(self.wait_for(lambda: self.driver.ask("wait-options 0") == "timeout"), "OK closes it")

    def port_items(self):
        """(id, text, checked, grayed) of the Setup menu's items from COM1 to the network's."""
        setup = self.driver.menu()[3][1]
        first = [entry[0] if entry else None for entry in setup].index(PORT_COMMANDS[0])
        return list(itertools.takewhile(lambda entry: entry is not None, setup[first:]))

    def sentences_in_title(self, count, timeout=60):
        return self.wait_title(lambda t: re.match(rf"\D* {count} \d\d:\d\d ", t), timeout=timeout)

    def records(self):
        return records_of(self.read("monitor.txt")[len(b"earlier content\r\n"):])

    def test_udp_gives_the_records_of_the_serial_line_and_its_own_readings_sent_to_that_port_are_dropped(self):
        port = free_port(socket.SOCK_DGRAM)
        self.serial_ports(2)
        # The program's own readings go to the very port it listens on.
        own = f"SEND=1\nSENDTO=127.0.0.1:{port}\n".encode()
        self.write("monitor.ini", ini() + own)
        self.write("monitor.txt", b"earlier content\r\n")
        self.start_monitor()
        self.choose(1674, {1675: str(port)})
        self.assertEqual(self.wait_title(lambda t: "UDP" in t), f"Zudoderozezavedi Verbindung \u00fcber UDP {port}")
        items = self.port_items()
        self.assertEqual([item[2] for item in items], [False] * len(items), "no port item checked")
        self.assertEqual(items[-1], (cmdNetworkSource, f"Netzwerk: UDP-Port {port}", False, True))

        sender = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self.addCleanup(sender.close)
        sender.bind(("127.0.0.1", 0))
        readings = course(300, seed=43)
        stream = device_stream(readings)
        rng = random.Random(43)
        start = time.time()
        # A datagram holding two sentences, then datagrams cut anywhere: a sentence across two of them.
        first = readings[0].sentence() + WIXDR
        sender.sendto(first, ("127.0.0.1", port))
        self.sentences_in_title(2)
        at = len(first)
        while at < len(stream):
            size = rng.randrange(1, 160)
            sender.sendto(stream[at:at + size], ("127.0.0.1", port))
            at += size
            if rng.random() < 0.1:
                time.sleep(0.05)
        # Every line counted once: the program's own $WIMDA, sent to this port, was not taken.
        title = self.sentences_in_title(600)
        self.assertIn(title, {readings[-1].title(600, c) for c in utc_clocks(start, time.time())})
        self.assertTrue(self.wait_for(lambda: len(self.read("monitor.txt")) > 17, timeout=10))
        records = self.records()
        self.assertEqual(records, expected_records(readings, [records[0][7:23].decode()], rejected_between=True))
        self.assertIn(records[0][7:23].decode(), utc_stamps(start, time.time()))
        self.assertFalse(os.path.exists(self.path("monitor.err")), "nothing to log")
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(self.read("monitor.ini"), ini() + own + f"SOURCE=UDP:{port}\n".encode())

    def test_tcp_reconnects_by_itself_after_twenty_seconds_and_loses_no_record_then_nmea_mode_and_ten_megabytes(self):
        server = TcpServer()
        self.addCleanup(server.stop)
        name = f"TCP 127.0.0.1:{server.port}"
        self.serial_ports(2)
        self.write("monitor.ini", ini())
        self.write("monitor.txt", b"earlier content\r\n")
        self.start_monitor()
        self.choose(1676, {1677: "127.0.0.1", 1678: str(server.port)})
        self.assertEqual(self.wait_title(lambda t: "TCP" in t), f"Zudoderozezavedi Verbindung \u00fcber {name}")
        self.assertEqual(self.port_items()[-1], (cmdNetworkSource, f"Netzwerk: {name}", False, True))
        readings = course(300, seed=44)
        stream = device_stream(readings[:150]), device_stream(readings[150:])
        start = time.time()
        server.accept().sendall(stream[0])
        self.sentences_in_title(300)

        # The gateway goes for 20 seconds: its port refuses, and the program tries again by itself.
        server.stop()
        time.sleep(20)
        self.assertEqual(events_of(self.read("monitor.err")), [eventPortLost])
        self.assertTrue(self.monitor.running())
        server = TcpServer(server.port)
        self.addCleanup(server.stop)
        server.accept(timeout=10).sendall(stream[1])
        self.assertIn(self.sentences_in_title(600), {readings[-1].title(600, c) for c in utc_clocks(start, time.time())})
        self.assertTrue(self.wait_for(lambda: len(self.read("monitor.txt")) > 17, timeout=10))
        records = self.records()
        self.assertEqual(records, expected_records(readings, [records[0][7:23].decode()], rejected_between=True))
        log = self.read("monitor.err").decode("cp1252")
        self.assertEqual([line[17:] for line in log.split("\r\n") if line],
                         [f" event nr. {eventPortLost} error {name} / connection lost ",
                          f" event nr. {eventPortReturned} {name} available again "])

        # Nmea mode over the same connection: nmea.txt byte for byte.
        self.assertEqual(self.driver.ask(command(cmdNmeaMode)), "ok")
        self.assertEqual(self.wait_title(lambda t: "NMEA" in t), f"NMEA Monitor  Verbindung \u00fcber {name}")
        nmea = [f"$GPXTE,A,A,{i:04d}.{i % 10},L,N*{i % 100:02d}\r\n".encode() for i in range(30)]
        server.client.sendall(b"".join(nmea[:10]) + b"noise\r\n" + b"".join(nmea[10:]))
        self.assertEqual(self.wait_title(lambda t: t.startswith("30 ")), "30 NMEA - Datens\u00e4tze ")
        self.assertEqual(self.read("nmea.txt"), b"".join(nmea))

        # Ten megabytes without a line feed: dropped as an over-long line, the window answering throughout.
        sending = threading.Thread(target=server.client.sendall, args=(b"\x00\xff" * (5 << 20),))
        sending.start()
        while sending.is_alive():
            self.assertEqual(self.title(), "30 NMEA - Datens\u00e4tze ")
            time.sleep(0.2)
        sending.join()
        server.client.sendall(b"\n" + nmea[0])
        self.assertEqual(self.wait_title(lambda t: t.startswith("31 ")), "31 NMEA - Datens\u00e4tze ")
        self.assertEqual(self.read("nmea.txt"), b"".join(nmea) + nmea[0])
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(self.read("monitor.ini"), ini(DATA="NMEA") + f"SOURCE=TCP:127.0.0.1:{server.port}\n".encode())

        # Read back: the program connects at once and the dialog shows the choice, the other fields
        # disabled; a port item chooses the serial port again, and the line goes.
        self.driver.close()
        self.driver = Driver(self.workdir)
        self.start_monitor()
        server.accept()
        self.assertEqual(self.title(), f"Zudoderozezavedi Verbindung \u00fcber {name}")
        dialog = OptionsDialog.open_options(self)
        fields = self.driver.controls(dialog)[2]
        self.assertEqual([(fields[n]["checked"], fields[n]["enabled"]) for n in (1676, 1675, 1677)],
                         [(True, True), (False, False), (False, True)])
        self.assertEqual(self.driver.ask(f"press {dialog} 2"), "ok")
        self.assertEqual(self.driver.ask(command(cmdPortCom2)), "ok")
        self.assertEqual(self.wait_title(lambda t: "COM2" in t), "NMEA Monitor  Verbindung \u00fcber COM2")
        items = self.port_items()
        self.assertEqual([item[0] for item in items if item[2]], [cmdPortCom2])
        self.assertNotIn(cmdNetworkSource, [item[0] for item in items])
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(self.read("monitor.ini"), ini(DATA="NMEA"))

    def test_bad_input_a_held_port_junk_a_peer_that_closes_at_once_and_a_bad_address_leave_it_answering(self):
        # A UDP port another program holds alone: a box naming the port once, event 1, and reception
        # as soon as it is free.
        port = free_port(socket.SOCK_DGRAM)
        holder = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self.addCleanup(holder.close)
        holder.bind(("127.0.0.1", port))  # without SO_REUSEADDR: the program's bind on every interface fails
        self.serial_ports(2)
        self.write("monitor.ini", ini(LANG="EN") + f"SOURCE=UDP:{port}\n".encode())
        self.write("monitor.txt", b"earlier content\r\n")
        self.start_monitor(wait_window=False)
        box = self.driver.wait_box()
        self.assertEqual((box["caption"], box["text"]),
                         ("Network", f"UDP port {port} is held by another program.\nClose that program, set it to "
                                     "share the port, or choose another port under Setup > Options.\n"
                                     "Reception starts by itself once the port is free."))
        self.assertEqual(self.driver.press(box), "ok")
        holder.close()
        sender = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self.addCleanup(sender.close)
        sender.bind(("127.0.0.1", 0))

        def sent(datagram, count):
            # Datagrams sent before the bind are lost: sent again until the title counts them.
            return self.wait_for(lambda: sender.sendto(datagram, ("127.0.0.1", port)) and
                                 self.sentences_in_title(count, timeout=1) and
                                 re.match(rf"\D* {count} ", self.title()), timeout=15)

        self.assertTrue(sent(EXAMPLE, 1))
        self.assertEqual(self.driver.boxes(), [], "the box came once")
        # 64 KiB of junk with NUL bytes and no line feed, ended by one: a line too long, dropped.
        junk = bytes(random.Random(5).choice([0, 1, 0x7F, 0xFF, 36, 13]) for _ in range(65507))
        sender.sendto(junk, ("127.0.0.1", port))
        sender.sendto(b"\x00" * 1000 + b"\n", ("127.0.0.1", port))
        sender.sendto(EXAMPLE, ("127.0.0.1", port))
        self.assertTrue(re.match(r"\D* 2 \d\d:\d\d  998\.6 hPa", self.sentences_in_title(2, timeout=10)))
        self.assertEqual([line[17:] for line in self.read("monitor.err").decode("cp1252").split("\r\n") if line],
                         [f" event nr. {eventPortInUse} error: UDP {port} already in use ",
                          f" event nr. {eventPortReturned} UDP {port} available again "])

        # A TCP peer that accepts and closes at once: one loss, attempts never faster than 1, 2, 4, 5 s.
        server = TcpServer()
        self.addCleanup(server.stop)
        self.choose(1676, {1677: "127.0.0.1", 1678: str(server.port)})
        accepted = []
        for _ in range(5):
            server.accept(timeout=10).close()
            accepted.append(time.time())
            self.assertTrue(self.wait_title(lambda t: "link: TCP" in t).startswith("Air pressure monitor link: TCP"),
                            "the window answers")
        gaps = [b - a for a, b in zip(accepted, accepted[1:])]
        self.assertTrue(all(gap > wait - 0.3 for gap, wait in zip(gaps, (1, 2, 4, 5))), gaps)
        server.accept(timeout=10).sendall(EXAMPLE)
        self.sentences_in_title(3, timeout=10)
        self.assertEqual(events_of(self.read("monitor.err")), [eventPortInUse, eventPortReturned, eventPortLost,
                                                               eventPortReturned])

        # A name, or a number out of range, for the address: the field's box, and nothing changes.
        for field, text, message in ((1677, "gateway.local", "TCP, address: a.b.c.d, each number 0 to 255"),
                                     (1677, "192.168.4.256", "TCP, address: a.b.c.d, each number 0 to 255"),
                                     (1678, "65536", "Port: 1 to 65535")):
            dialog = OptionsDialog.open_options(self)
            self.driver.fill(dialog, {field: text})
            self.assertEqual(self.driver.ask(f"press {dialog} 1"), "ok")
            box = self.driver.wait_box()
            self.assertEqual((box["caption"], box["text"]), ("Options", message))
            self.driver.press(box)
            self.assertTrue(self.wait_for(lambda: self.driver.controls(dialog)[2][field]["focused"]))
            self.assertEqual(self.driver.ask(f"press {dialog} 2"), "ok")
            self.assertTrue(self.wait_for(lambda: self.driver.ask("wait-options 0") == "timeout"))
        server.client.sendall(EXAMPLE)
        self.sentences_in_title(4, timeout=10)
        self.assertEqual(self.read("monitor.txt"), b"earlier content\r\n", "nothing written before is lost")
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(self.read("monitor.ini")[110:], f"SOURCE=TCP:127.0.0.1:{server.port}\n".encode())


if __name__ == "__main__":
    unittest.main()
