"""The menu bar in three languages and the commands of the main window, driven
from outside against the running program."""

import os
import shutil
import tempfile
import time
import unittest

from harness import DEFAULT_INI, MONITOR_EXE, Driver, Monitor, MonitorTestMixin, screenshot
from test_acquisition import EXAMPLE, WIXDR, ini

SEP = None
PORT_IDS = [1306, 1308, 1310, 1320, 1340, 1360, 1594, 1595]


def expected_bar(language):
    """The bar as the user must see it: (title, [(id, text) or SEP])."""
    if language == "DE":
        ports = [(i, f"serielle Schnittstelle COM{n} auswaehlen") for n, i in enumerate(PORT_IDS, 1)]
        return [
            ("&Datei", [(1002, "&NMEA-Daten als Tabelle ausdrucken"), (1006, "Messkurve &ausdrucken"),
                        (1008, "&Beenden")]),
            ("&Bearbeiten", [(1104, "&Datei monitor.txt l\u00f6schen"), (1106, "&Datei nmea.txt l\u00f6schen")]),
            ("&Ansicht", [(1200, "Einstundentendenz anzeigen"), (1202, "Dreistundentendenz anzeigen")]),
            ("&Einstellungen", [(1300, "TQ Daten"), (1302, "NMEA Daten"), SEP] + ports + [
                SEP, (1440, "Messdaten nicht aufzeichnen"), (1460, "Messdaten alle 5 Minuten auf Festplatte speichern"),
                SEP, (1596, "950..1050 hPa"), (1597, "900..1000 hPa"),
                SEP, (1480, "Signalton bei Aufzeichnung"), (1500, "Fehler in Datei monitor.err protokollieren"),
                SEP, (1520, "Deutsch"), (1530, "English"), (1540, "Francais")]),
            ("&Hilfe", [(1600, "Hilfen zum Programm"), (1610, "Informationen zum Programm"),
                        (1620, "Anschlusskabel"), (1630, "Informationen zu Datenformaten")]),
        ]
    ports = [(i, f"COM{n}") for n, i in enumerate(PORT_IDS, 1)]
    if language == "EN":
        return [
            ("&File", [(1002, "Print &NMEA data"), (1006, "Print data"), (1008, "&Quit")]),
            ("&Edit", [(1104, "Erase file &monitor.txt"), (1106, "Erase file &nmea.txt")]),
            ("&View", [(1200, "Show one hour tendency"), (1202, "Show three hours tendency")]),
            ("&Setup", [(1300, "Barograph TQ5108 data"), (1302, "NMEA data"), SEP] + ports + [
                SEP, (1440, "Do not save data"), (1460, "Save data every five minutes"),
                SEP, (1596, "950..1050 hPa"), (1597, "900..1000 hPa"),
                SEP, (1500, "Save errors in file monitor.err"),
                SEP, (1520, "Deutsch"), (1530, "English"), (1540, "Francais")]),
            ("&Help", [(1600, "Help using this program"), (1610, "About this program"), (1620, "Link cable"),
                       (1630, "Info data")]),
        ]
    return [
        ("&Fichier", [(1002, "Imprimer les donnees &NMEA"), (1006, "Imprimer donnees du barographe"),
                      (1008, "&Quitter")]),
        ("&Modifier", [(1104, "Effacer fichier monitor.txt"), (1106, "Effacer fichier nmea.txt")]),
        ("&Vue", [(1200, "Montrer tendence une heure"), (1202, "Montrer tendence trois heures")]),
        ("&Options", [(1300, "Barographe TQ5108"), (1302, "NMEA"), SEP] + ports + [
            SEP, (1440, "Ne pas sauver les donnees"), (1460, "Sauver les donnees toutes les cinq minutes sur disque"),
            SEP, (1596, "950..1050 hPa"), (1597, "900..1000 hPa"),
            SEP, (1520, "Deutsch"), (1530, "English"), (1540, "Francais")]),
        ("&Aide", [(1600, "Aide"), (1610, "A propos de ce logiciel"), (1620, "Cable de liaison"),
                   (1630, "Info fichiers")]),
    ]


def layout(bar):
    return [(title, [None if e is None else e[:2] for e in entries]) for title, entries in bar]


def states(bar):
    """{id: (checked, grayed)}"""
    return {e[0]: (e[2], e[3]) for _, entries in bar for e in entries if e is not None}


def checked(bar):
    return {i for i, (c, _) in states(bar).items() if c}


class MenuBar(MonitorTestMixin, unittest.TestCase):
    def test_menus_marks_and_greying_across_language_changes(self):
        lines = self.serial_ports(2, 3, 4)
        lines[3].hold()  # COM3 taken by another program at start
        self.write("monitor.ini", ini(COM="COM4", ERR="0"))
        self.start_monitor()
        expected_checked = {1200, 1202, 1300, 1320, 1460, 1596, 1520}

        bar = self.driver.menu()
        self.assertEqual(layout(bar), expected_bar("DE"))
        self.assertEqual(checked(bar), expected_checked)
        self.assertTrue(states(bar)[1310][1], "COM3 is grey")
        # COM5..COM8 do not exist.
        self.assertEqual([states(bar)[i][1] for i in PORT_IDS[4:]], [True] * 4)
        self.assertFalse(states(bar)[1320][1])
        lines[3].release()  # a port freed later stays grey

        for command, language, marks in ((1540, "FR", {1540}), (1530, "EN", {1530}), (1520, "DE", {1520})):
            self.assertEqual(self.driver.ask(f"command {command}"), "ok")
            time.sleep(0.3)
            bar = self.driver.menu()
            self.assertEqual(layout(bar), expected_bar(language), language)
            self.assertEqual(checked(bar), (expected_checked - {1520}) | marks, language)
            self.assertTrue(states(bar)[1310][1], f"COM3 still grey in {language}")
            self.assertFalse(states(bar)[1320][1])
        # Back in German the error-log item is there again, its mark matching ERR (off).
        self.assertEqual(states(bar)[1500], (False, False))
        self.assertEqual(self.title(), "Zudoderozezavedi Verbindung \u00fcber COM4")
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(self.read("monitor.ini"), ini(COM="COM4", ERR="0"))


class Commands(MonitorTestMixin, unittest.TestCase):
    def command(self, number):
        self.assertEqual(self.driver.ask(f"command {number}"), "ok")

    def settle(self):
        # The menu dump is handled after every message posted before it.
        return self.driver.menu()

    def test_view_setup_and_language_commands_reach_the_settings_file(self):
        self.serial_ports(2)
        self.write("monitor.ini", DEFAULT_INI)
        self.start_monitor()
        for number in (1200, 1202, 1440, 1480, 1500, 1597, 1530, 1302):
            self.command(number)
        bar = self.settle()
        self.assertEqual(checked(bar), {1302, 1308, 1440, 1597, 1530})  # English has no beep item
        self.assertEqual(self.title(), "NMEA monitor using COM2")
        # Choosing the checked scale again changes nothing.
        self.command(1597)
        self.assertEqual(checked(self.settle()), {1302, 1308, 1440, 1597, 1530})
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(self.read("monitor.ini"), DEFAULT_INI.replace(b"DATA=  TQ", b"DATA=NMEA")
                         .replace(b"T1=1", b"T1=0").replace(b"T3=1", b"T3=0").replace(b"ERR=1", b"ERR=0")
                         .replace(b"SIG=0", b"SIG=1").replace(b"LANG=DE", b"LANG=EN").replace(b"LO=0", b"LO=1"))
        self.assertFalse(os.path.exists(self.path("monitor.err")), "ERR was switched off before any event")

    def test_toggles_return_and_the_barograph_command_resets(self):
        lines = self.serial_ports(2)
        self.start_monitor()
        for number in (1200, 1200, 1202, 1202, 1480, 1480, 1597, 1596, 1440, 1460, 1302, 1300):
            self.command(number)
        self.assertEqual(checked(self.settle()), {1200, 1202, 1300, 1308, 1460, 1596, 1500, 1520})
        self.assertEqual(self.title(), "Zudoderozezavedi Verbindung \u00fcber COM2")
        lines[2].write(EXAMPLE)
        self.assertTrue(self.wait_title(lambda t: t.startswith("Zudoderozezavedi 1 ")).endswith("(- 5h)"))
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(self.read("monitor.ini"), DEFAULT_INI)

    def test_language_change_in_nmea_mode_shows_the_barograph_title_until_a_sentence(self):
        lines = self.serial_ports(2)
        self.write("monitor.ini", ini(DATA="NMEA"))
        self.start_monitor()
        self.command(1540)
        self.settle()
        self.assertEqual(self.title(), "Moniteur pression atmospherique COM2")
        lines[2].write(b"$GPZDA,1*00\r\n")
        self.assertEqual(self.wait_title(lambda t: t.startswith("1 ")), "1 NMEA ")
        self.assertEqual(self.quit_monitor(), 0)

    def test_port_commands_reopen_and_report_a_port_taken_meanwhile(self):
        lines = self.serial_ports(2, 3)
        self.start_monitor()
        self.command(1310)  # COM3 opens: data on COM3 is received, COM2 is closed
        self.settle()
        lines[3].write(EXAMPLE)
        self.assertTrue(self.wait_title(lambda t: t.startswith("Zudoderozezavedi 1 ")).startswith("Zudoderozezavedi 1 "))
        lines[2].write(EXAMPLE)
        time.sleep(0.6)
        self.assertTrue(self.title().startswith("Zudoderozezavedi 1 "), "COM2 is closed")

        self.command(1310)  # the port in use is closed and reopened
        self.settle()
        lines[3].write(EXAMPLE)
        self.assertTrue(self.wait_title(lambda t: t.startswith("Zudoderozezavedi 2 ")).startswith("Zudoderozezavedi 2 "))

        lines[2].hold()  # COM2 was free at start, another program takes it now
        self.command(1308)
        box = self.driver.wait_box()
        self.assertEqual((box["caption"], box["text"]),
                         ("serielle Schnittstelle", "Fehler: Schnittstelle COM2 steht nicht zur Verf\u00fcgung !"))
        self.driver.press(box)
        bar = self.settle()
        self.assertIn(1308, checked(bar))
        self.assertNotIn(1310, checked(bar))
        self.assertFalse(states(bar)[1308][1], "not greyed: the probe ran at start only")
        lines[3].write(EXAMPLE)
        time.sleep(0.6)
        self.assertTrue(self.title().startswith("Zudoderozezavedi 2 "), "COM3 was closed")
        self.assertTrue(self.wait_for(lambda: b"event nr. 15 " in self.read("monitor.err")))
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(self.read("monitor.ini"), DEFAULT_INI)

    def test_erase_commands(self):
        self.serial_ports(2)
        self.write("monitor.txt", b"x" * 80)
        self.write("nmea.txt", b"$GP\r\n")
        self.start_monitor()
        self.command(1104)
        self.assertTrue(self.wait_for(lambda: not os.path.exists(self.path("monitor.txt"))))
        self.assertTrue(self.wait_for(lambda: b"event nr. 12 warning: file MONITOR.TXT has been erased \r\n"
                                      in self.read("monitor.err")))
        self.command(1106)
        self.assertTrue(self.wait_for(lambda: not os.path.exists(self.path("nmea.txt"))))
        # Erasing files that are gone already asks nothing and changes nothing.
        self.command(1104)
        self.command(1106)
        self.settle()
        self.assertEqual(self.driver.boxes(), [])
        self.assertEqual(self.read("monitor.err").count(b"event nr. 12 "), 2)
        self.assertEqual(self.quit_monitor(), 0)

    def installed_layout(self, working_name=None):
        """The program in a folder of its own, the data in another (as the
        installer lays them out), with a monitor.txt and nmea.txt in each."""
        program = tempfile.mkdtemp(prefix="monitor-program-")
        self.addCleanup(shutil.rmtree, program, ignore_errors=True)
        exe = os.path.join(program, "monitor.exe")
        shutil.copy(MONITOR_EXE, exe)
        if working_name:
            self.workdir = os.path.join(self.workdir, working_name)
            os.makedirs(self.workdir)
            # The driver finds the menu dump in its own folder.
            self.driver.close()
            self.driver = Driver(self.workdir)
        self.monitor = Monitor(self.workdir, exe)
        beside = {}
        for name, content in (("monitor.txt", b"y" * 80), ("nmea.txt", b"$GPBESIDE\r\n")):
            beside[name] = os.path.join(program, name)
            with open(beside[name], "wb") as f:
                f.write(content)
            self.write(name, content)
        return beside

    def erase_and_see(self, beside):
        for command, name in ((1104, "monitor.txt"), (1106, "nmea.txt")):
            self.command(command)
            self.assertTrue(self.wait_for(lambda: not os.path.exists(self.path(name))), name)
            # A second erase finds none in the working folder and deletes none elsewhere.
            self.command(command)
            self.settle()
            self.assertTrue(os.path.exists(beside[name]), f"the {name} beside the program was deleted")
        self.assertEqual(self.driver.boxes(), [])
        self.assertEqual(self.read("monitor.err").count(b"event nr. 12 "), 2)

    def test_erasing_deletes_the_working_folders_file_only(self):
        self.serial_ports(2)
        beside = self.installed_layout()
        self.start_monitor()
        self.erase_and_see(beside)
        self.assertEqual(self.quit_monitor(), 0)

    def test_erasing_in_a_working_folder_with_a_long_path(self):
        self.serial_ports(2)
        beside = self.installed_layout("Barograph records of the sailing yacht, kept on the chart table PC "
                                       "from the first season onwards, with every record of every passage")
        self.assertGreater(len("Z:" + self.workdir.replace("/", "\\")), 128)
        self.start_monitor()
        self.erase_and_see(beside)
        self.assertEqual(self.quit_monitor(), 0)

    def test_erasing_a_record_file_another_program_holds_changes_nothing(self):
        lines = self.serial_ports(2)
        self.write("monitor.txt", b"x" * 80)
        self.start_monitor()
        lines[2].write(EXAMPLE)
        self.assertTrue(self.wait_for(lambda: self.title().startswith("Zudoderozezavedi 1 ")))
        time.sleep(0.5)
        drawn = screenshot()
        self.assertEqual(self.driver.ask("hold monitor.txt"), "ok")
        self.command(1104)
        box = self.driver.wait_box()
        self.assertIsNotNone(box, "no message about the held file")
        self.assertEqual(box["caption"], "Datei l\u00f6schen")
        self.assertTrue(box["text"].startswith("Die Datei monitor.txt kann nicht gel\u00f6scht werden"), box["text"])
        self.assertEqual(self.driver.press(box), "ok")
        self.assertTrue(self.wait_for(lambda: b"  event nr. 67 " in self.read("monitor.err")))
        self.assertEqual(self.read("monitor.err").count(b"  event nr. 67 error: file could not be erased \r\n"), 1)
        self.assertNotIn(b"event nr. 12 ", self.read("monitor.err"))
        time.sleep(0.5)
        self.assertTrue(screenshot() == drawn, "the history is no longer drawn")
        self.assertEqual(self.driver.ask("release monitor.txt"), "ok")
        self.assertEqual(self.read("monitor.txt"), b"x" * 80)
        # Released, the erase goes through and clears the chart.
        self.command(1104)
        self.assertTrue(self.wait_for(lambda: not os.path.exists(self.path("monitor.txt"))))
        time.sleep(0.5)
        self.assertFalse(screenshot() == drawn, "the chart still shows the erased history")
        self.assertEqual(self.quit_monitor(), 0)

    def test_mode_command_resets_the_record_number(self):
        lines = self.serial_ports(2)
        self.start_monitor()
        cycle = (EXAMPLE + WIXDR) * 300
        lines[2].write(cycle)
        self.assertTrue(self.wait_for(lambda: os.path.exists(self.path("monitor.txt")), timeout=60))
        self.command(1300)  # the active mode again: record number back to 0
        self.settle()
        lines[2].write(cycle)
        self.assertTrue(self.wait_for(lambda: len(self.read("monitor.txt")) == 160, timeout=60))
        records = self.read("monitor.txt")
        self.assertEqual((records[:7], records[80:87]), (b"000001 ", b"000001 "))
        self.command(1440)
        self.settle()
        lines[2].write(cycle)
        lines[2].drain()
        time.sleep(0.5)
        self.assertEqual(len(self.read("monitor.txt")), 160, "recording off")
        self.command(1460)
        self.settle()
        lines[2].write(cycle)
        self.assertTrue(self.wait_for(lambda: len(self.read("monitor.txt")) == 240, timeout=60))
        self.assertEqual(self.read("monitor.txt")[160:167], b"000002 ", "recording off kept the number")
        self.assertEqual(self.quit_monitor(), 0)


if __name__ == "__main__":
    unittest.main()
