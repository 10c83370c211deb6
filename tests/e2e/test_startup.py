"""Start-up, settings file, event log and shutdown of the real program."""

import os
import socket
import time
import unittest

from fault_support import events_of
from harness import DEFAULT_INI, MonitorTestMixin, SerialLine, ini, local_stamps
from monitor_ids import (EXAMPLE, WIXDR, cmdEnglish, cmdGerman, cmdPortCom3, cmdQuit, cmdScale900, command, event_tag,
                         eventRecordFileError, eventRecordsUnwritten, eventSessionEnded, eventSettingsDamaged,
                         eventSettingsMissing, eventSettingsUnreadable, eventSettingsUnwritable, fatal_number,
                         fatalSettingsUnwritable, pxdr)


def event_line(stamp, number, text):
    return f"{stamp}  event nr. {number} {text}\r\n".encode("cp1252")


class FirstStart(MonitorTestMixin, unittest.TestCase):
    def test_first_start_writes_defaults_and_quit_command_ends_with_zero(self):
        self.serial_ports(2)
        before = time.time()
        self.start_monitor()
        # The settings file may stand before the second event is logged.
        self.assertTrue(self.wait_for(lambda: os.path.exists(self.path("monitor.ini")) and
                                      os.path.exists(self.path("monitor.err")) and
                                      self.read("monitor.err").count(b"\r\n") >= 2))
        after = time.time()
        self.assertEqual(self.read("monitor.ini"), DEFAULT_INI)
        log = self.read("monitor.err")
        stamps = local_stamps(before, after)
        lines = log.split(b"\r\n")
        self.assertEqual(len(lines), 3, log)
        self.assertEqual(lines[2], b"")
        stamp = lines[0][:16].decode()
        self.assertIn(stamp, stamps)
        self.assertEqual(lines[0] + b"\r\n",
                         event_line(stamp, eventSettingsUnreadable, "read error: file MONITOR.INI "))
        self.assertEqual(lines[1] + b"\r\n",
                         event_line(lines[1][:16].decode(), eventSettingsMissing, "file MONITOR.INI not found "))
        self.assertEqual(self.wait_title(lambda t: "COM2" in t), "Zudoderozezavedi Verbindung \u00fcber COM2")
        self.assertEqual(self.driver.ask("maximized"), "ok 1")

        # Whatever stands in the file now is replaced by the settings held in
        # memory when the loop ends.
        self.write("monitor.ini", b"")
        self.assertEqual(self.quit_monitor(command(cmdQuit)), 0)
        self.assertEqual(self.read("monitor.ini"), DEFAULT_INI)
        self.assertEqual(self.read("monitor.err"), log, "no further events")

    def test_closing_the_window_ends_with_zero_and_writes_settings(self):
        self.serial_ports(2)
        self.write("monitor.ini", DEFAULT_INI.replace(b"LANG=DE", b"LANG=EN"))
        self.start_monitor()
        self.assertEqual(self.wait_title(lambda t: t.startswith("Air")), "Air pressure monitor link: COM2")
        self.write("monitor.ini", b"junk")
        self.assertEqual(self.quit_monitor("close"), 0)
        self.assertEqual(self.read("monitor.ini"), DEFAULT_INI.replace(b"LANG=DE", b"LANG=EN"))
        self.assertFalse(os.path.exists(self.path("monitor.err")), "a readable file logs nothing")


class SettingsThroughTheFile(MonitorTestMixin, unittest.TestCase):
    def run_with(self, ini, ports):
        self.serial_ports(*ports)
        self.write("monitor.ini", ini)
        self.start_monitor()
        title = self.wait_title(lambda t: "TQ5108" not in t)
        self.assertEqual(self.quit_monitor(), 0)
        return title, self.read("monitor.ini")

    def test_out_of_range_values_are_clamped_and_written_back(self):
        ini = (DEFAULT_INI.replace(b"SHOW=0300", b"SHOW=0450").replace(b"SAVE=0300", b"SAVE=0000")
               .replace(b"COM=COM2", b"COM=COM9").replace(b"T1=1", b"T1=x").replace(b"LANG=DE", b"LANG=EN")
               .replace(b"ERR=1", b"ERR=0"))
        title, written = self.run_with(ini, [8])
        self.assertEqual(title, "Air pressure monitor link: COM8")
        self.assertEqual(written, DEFAULT_INI.replace(b"COM=COM2", b"COM=COM8").replace(b"LANG=DE", b"LANG=EN")
                         .replace(b"ERR=1", b"ERR=0"))

    def test_nmea_byte_low_port_and_unknown_language(self):
        ini = (DEFAULT_INI.replace(b"DATA=  TQ", b"DATA= xTQ").replace(b"COM=COM2", b"COM=COM0")
               .replace(b"LANG=DE", b"LANG=NL").replace(b"SHOW=0300", b"SHOW=1800").replace(b"LO=0", b"LO=1")
               .replace(b"DKS=0", b"DKS=1"))
        self.assertEqual(ini[5:6], b" ")
        ini = ini[:5] + b"Q" + ini[6:]
        title, written = self.run_with(ini, [1])
        # The Barograph title is set at start whatever the mode.
        self.assertEqual(title, "Zudoderozezavedi Verbindung \u00fcber COM1")
        self.assertEqual(written, DEFAULT_INI.replace(b"DATA=  TQ", b"DATA=NMEA").replace(b"COM=COM2", b"COM=COM1")
                         .replace(b"SHOW=0300", b"SHOW=1800").replace(b"LO=0", b"LO=1").replace(b"DKS=0", b"DKS=1"))

    def test_short_and_empty_files_take_defaults_for_what_is_missing(self):
        ini = DEFAULT_INI.replace(b"COM=COM2", b"COM=COM6").replace(b"T1=1", b"T1=0").replace(b"LANG=DE", b"LANG=FR")
        title, written = self.run_with(ini[:49], [6])
        self.assertEqual(title, "Zudoderozezavedi Verbindung \u00fcber COM6")
        self.assertEqual(written, DEFAULT_INI.replace(b"COM=COM2", b"COM=COM6").replace(b"T1=1", b"T1=0"))
        self.assertFalse(os.path.exists(self.path("monitor.err")))

    def test_empty_file(self):
        title, written = self.run_with(b"", [2])
        self.assertEqual(written, DEFAULT_INI)
        self.assertFalse(os.path.exists(self.path("monitor.err")))


class SettingsAfterAPowerCutAndAHandEdit(MonitorTestMixin, unittest.TestCase):
    """What a flat battery and a user with a text editor leave in monitor.ini."""

    def test_zeros_are_put_aside_and_a_hand_written_file_is_read_kept_and_written_at_once(self):
        # Its length reached the disk, its data did not: recording goes on all the same.
        lines = self.serial_ports(2)
        zeros = bytes(110)
        self.write("monitor.ini", zeros)
        # An older damaged file stays too, even one that may not be replaced.
        self.write("monitor.ini.bad", b"an older one")
        os.chmod(self.path("monitor.ini.bad"), 0o444)
        self.write("monitor.txt", b"")
        self.start_monitor()
        self.assertEqual(self.wait_title(lambda t: "COM" in t), "Zudoderozezavedi Verbindung \u00fcber COM2")
        self.assertEqual(self.read("monitor.ini.bad2"), zeros)
        self.assertEqual(self.read("monitor.ini.bad"), b"an older one")
        self.assertEqual(self.read("monitor.ini"), DEFAULT_INI, "the defaults are written at once")
        lines[2].write((EXAMPLE + WIXDR) * 300)
        self.assertTrue(self.wait_for(lambda: len(self.read("monitor.txt")) == 80, timeout=60), "no record")
        self.assertTrue(self.read("monitor.txt").startswith(b"000001 "))
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(events_of(self.read("monitor.err")), [eventSettingsDamaged])
        self.assertIn(b"error: settings file damaged, defaults used \r\n", self.read("monitor.err"))
        self.assertFalse(os.path.exists(self.path("monitor.ini.new")))

        # Typed by hand: blanks, lower case, unknown lines, one past byte 512, and no last line feed.
        receiver = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self.addCleanup(receiver.close)
        receiver.bind(("127.0.0.1", 0))
        receiver.settimeout(10)
        udp_port = receiver.getsockname()[1]
        com12 = self.lines[12] = SerialLine()
        self.register_ports({12: com12.path})
        note = b"# " + b"the barograph hangs on the bulkhead by the chart table " * 8 + b"\n"
        hand = ini(COM="COM9") + b"port = COM12\nsend = 1\n" + note + \
            f"logbook=on\nsendto = 127.0.0.1:{udp_port}".encode()
        self.assertGreater(hand.index(b"logbook"), 512)
        self.write("monitor.ini", hand)
        os.remove(self.path("monitor.err"))
        self.start_monitor()
        self.assertEqual(self.wait_title(lambda t: "COM" in t), "Zudoderozezavedi Verbindung \u00fcber COM12")
        com12.write(EXAMPLE)
        self.assertTrue(receiver.recv(2048).startswith(b"$WIMDA,"), "no reading reached the test's socket")
        mine = ini(COM="COM9") + f"PORT=COM12\nSEND=1\nSENDTO=127.0.0.1:{udp_port}\n".encode()
        self.assertEqual(self.driver.ask(command(cmdEnglish)), "ok")
        self.assertTrue(self.wait_for(lambda: self.read("monitor.ini") ==
                                      mine.replace(b"LANG=DE", b"LANG=EN") + note + b"logbook=on\n"),
                        f"a menu choice is written at once: {self.read('monitor.ini')!r}")
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(self.read("monitor.ini"), mine.replace(b"LANG=DE", b"LANG=EN") + note + b"logbook=on\n")
        self.assertFalse(os.path.exists(self.path("monitor.err")), "a hand-written file is no damaged one")

    def test_a_file_another_reader_holds_is_read_and_one_held_without_sharing_is_left_byte_for_byte(self):
        lines = self.serial_ports(2)
        users = ini(LANG="EN", LO="1") + b"OFFSET=+1.2\nlogbook=on\n"
        self.write("monitor.ini", users)
        # A scanner or a backup reading it as the program starts.
        self.assertEqual(self.driver.ask("hold-read monitor.ini"), "ok")
        self.start_monitor()
        self.assertEqual(self.wait_title(lambda t: "COM" in t), "Air pressure monitor link: COM2")
        self.assertEqual(self.driver.boxes(), [])
        # A choice made while the reader still holds it waits for the reader to let go.
        self.assertEqual(self.driver.ask(command(cmdGerman)), "ok")
        time.sleep(0.3)
        self.assertEqual(self.driver.ask("release monitor.ini"), "ok")
        users = users.replace(b"LANG=EN", b"LANG=DE")
        self.assertTrue(self.wait_for(lambda: self.read("monitor.ini") == users), self.read("monitor.ini"))
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(self.read("monitor.ini"), users)
        self.assertFalse(os.path.exists(self.path("monitor.err")))

        # Held for good by a program that shares it with no one.
        self.assertEqual(self.driver.ask("hold monitor.ini"), "ok")
        self.start_monitor()
        box = self.driver.wait_box()
        self.assertEqual((box["caption"], box["text"][:60]),
                         ("Einstellungen", "Die Einstellungen in monitor.ini k\u00f6nnen nicht gelesen werden"))
        self.assertEqual(self.read("monitor.err")[18:], event_tag(eventSettingsUnreadable) +
                         b"read error: file MONITOR.INI - not written in this run, left as it is \r\n")
        # The defaults, and recording goes on while the box waits.
        lines[2].write(EXAMPLE)
        self.assertRegex(self.wait_title(lambda t: t.startswith("Zudoderozezavedi 1 ")), "^Zudoderozezavedi 1 ")
        self.assertEqual(self.driver.press(box), "ok")
        self.assertEqual(self.driver.ask(command(cmdEnglish)), "ok")
        self.wait_title(lambda t: t.startswith("Air pressure monitor"))
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(self.driver.ask("release monitor.ini"), "ok")
        self.assertEqual(self.read("monitor.ini"), users, "neither the menu choice nor the end wrote it")
        self.assertFalse(os.path.exists(self.path("monitor.ini.new")))
        self.assertEqual(events_of(self.read("monitor.err")), [eventSettingsUnreadable])


class SettingsFileCannotBeCreated(MonitorTestMixin, unittest.TestCase):
    def expect_fatal_twice(self):
        """Start-up and shutdown each show fatalSettingsUnwritable; the program then ends with 0."""
        fatal = fatal_number(fatalSettingsUnwritable)
        box = self.driver.wait_box()
        self.assertIsNotNone(box)
        self.assertEqual(box["caption"], "Fehler")
        lines = box["text"].split("\n")
        self.assertEqual(lines[1:], [f"Fehler Nr. {fatal}", "Programm wird beendet"])
        self.assertRegex(lines[0], r"^\d\d\.\d\d\.\d{4} \d\d:\d\d$")
        self.assertEqual(self.driver.press(box), "ok")
        # The quit posted by the first box ends the loop; writing at the end fails again.
        second = self.driver.wait_box(exclude={box["handle"]})
        self.assertIsNotNone(second)
        self.assertEqual(second["text"].split("\n")[1], f"Fehler Nr. {fatal}")
        self.assertEqual(self.driver.press(second), "ok")
        self.assertEqual(self.monitor.wait(), 0)
        log = self.read("monitor.err").decode("cp1252")
        entries = [line[17:] for line in log.replace("\r\n", "\n").split("\n") if line]
        self.assertEqual(entries, [
            f" event nr. {eventSettingsUnreadable} read error: file MONITOR.INI ",
            f" event nr. {eventSettingsUnwritable} write error: file MONITOR.INI ",
            f"fatal error nr. {fatal}",
            f" event nr. {eventSettingsMissing} file MONITOR.INI not found ",
            f" event nr. {eventSettingsUnwritable} write error: file MONITOR.INI ",
            f"fatal error nr. {fatal}",
        ])
        # Event lines end in CR LF, fatal lines in a line feed alone.
        self.assertIn(b"MONITOR.INI \r\n", self.read("monitor.err"))
        self.assertIn(f"nr. {fatal}\n".encode(), self.read("monitor.err"))
        self.assertNotIn(f"nr. {fatal}\r\n".encode(), self.read("monitor.err"))

    def test_a_folder_in_the_way_of_the_new_file(self):
        self.serial_ports(2)
        os.mkdir(self.path("monitor.ini.new"))
        self.start_monitor(wait_window=False)
        self.expect_fatal_twice()
        self.assertFalse(os.path.exists(self.path("monitor.ini")))


class WindowsSessionEnd(MonitorTestMixin, unittest.TestCase):
    """Windows shutting down, restarting or logging off with the program running:
    the end is a normal one, told by event 76, and the process goes."""

    def run_until_a_record_is_kept(self):
        lines = self.serial_ports(2, 3)
        self.write("monitor.ini", DEFAULT_INI)
        self.write("monitor.txt", b"")
        self.start_monitor()
        for number in (cmdEnglish, cmdScale900, cmdPortCom3):
            self.assertEqual(self.driver.ask(command(number)), "ok")
        self.assertEqual(self.driver.ask("hold monitor.txt"), "ok")
        lines[3].write(b"".join(pxdr(100500 + i % 7, 40000, 2, 4, 30, 100400) + WIXDR for i in range(300)))
        self.assertTrue(self.wait_for(lambda: os.path.exists(self.path("monitor.err"))
                                      and event_tag(eventRecordFileError) in self.read("monitor.err"), timeout=60))

    def end_session(self):
        self.assertEqual(self.driver.ask("end-session"), "ok 1", "the program lets the session end")
        self.assertEqual(self.monitor.wait(20), 0, "the process has ended")
        self.assertEqual(self.read("monitor.ini"), ini(LANG="EN", LO="1", COM="COM3"))
        log = self.read("monitor.err")
        self.assertTrue(log.endswith(event_tag(eventSessionEnded) + b"Windows session ended \r\n"), log[-200:])
        return events_of(log)

    def test_the_record_kept_while_the_file_was_held_is_written(self):
        self.run_until_a_record_is_kept()
        self.assertEqual(self.driver.ask("release monitor.txt"), "ok")
        events = self.end_session()
        record = self.read("monitor.txt")
        self.assertEqual(len(record), 80)
        self.assertTrue(record.startswith(b"000001 ") and b" 1005,0" in record, record)
        self.assertNotIn(eventRecordsUnwritten, events)

    def test_a_record_still_held_out_is_reported_before_the_end(self):
        self.run_until_a_record_is_kept()
        events = self.end_session()
        self.assertEqual(events[-2:], [eventRecordsUnwritten, eventSessionEnded])
        self.assertEqual(self.driver.ask("release monitor.txt"), "ok")
        self.assertEqual(self.read("monitor.txt"), b"")


if __name__ == "__main__":
    unittest.main()
