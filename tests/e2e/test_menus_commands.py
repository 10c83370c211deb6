"""The menu bar in three languages and the commands of the main window, driven
from outside against the running program."""

import os
import shutil
import tempfile
import time
import unittest

from harness import DEFAULT_INI, MONITOR_EXE, PREFIX, Driver, Monitor, MonitorTestMixin, SerialLine, ini, screenshot
from monitor_ids import (EXAMPLE, PORT_COMMANDS, WIXDR, cmdAbout, cmdAcknowledgeAlarm, cmdBarographMode, cmdCopyChart,
                         cmdDataFormats, cmdEnglish, cmdShowHours, cmdShowWeek, cmdNightColours,
                         cmdEraseMonitorTxt, cmdEraseNmeaTxt, cmdFrench, cmdGerman, cmdHelp, cmdLinkCable, cmdNmeaMode,
                         cmdPortCom2, cmdPortCom3, cmdPortCom4, cmdPortCom8, cmdPortComBase, cmdPrintChart, cmdPrintNmeaTable, cmdQuit, cmdSaveOff,
                         cmdSaveOn, cmdScale900, cmdScale950, cmdToggleErr, cmdToggleSig, cmdToggleT1, cmdToggleT3,
                         cmdOptions, cmdToggleUdp,
                         command, event_tag, eventEraseRefused, eventMonitorTxtErased, eventPortLost,
                         eventPortReturned, port_failed_event)

SEP = None


def expected_bar(language):
    """The bar as the user must see it: (title, [(id, text) or SEP])."""
    if language == "DE":
        ports = [(i, f"serielle Schnittstelle COM{n} auswaehlen") for n, i in enumerate(PORT_COMMANDS, 1)]
        return [
            ("&Datei", [(cmdPrintNmeaTable, "&NMEA-Daten als Tabelle ausdrucken"),
                        (cmdPrintChart, "Messkurve &ausdrucken"), (cmdQuit, "&Beenden")]),
            ("&Bearbeiten", [(cmdEraseMonitorTxt, "&Datei monitor.txt l\u00f6schen"),
                             (cmdEraseNmeaTxt, "&Datei nmea.txt l\u00f6schen"),
                             SEP, (cmdCopyChart, "Diagramm kopieren\tStrg+C")]),
            ("&Ansicht", [(cmdToggleT1, "Einstundentendenz anzeigen"), (cmdToggleT3, "Dreistundentendenz anzeigen"),
                          SEP, (cmdShowHours, "Barogramm 52 Stunden"), (cmdShowWeek, "Barogramm 7 Tage"),
                          (cmdNightColours, "Nachtfarben\tStrg+N"), SEP, (cmdAcknowledgeAlarm, "Sturmalarm quittieren")]),
            ("&Einstellungen", [(cmdBarographMode, "TQ Daten"), (cmdNmeaMode, "NMEA Daten"), SEP] + ports + [
                SEP, (cmdToggleUdp, "Messwerte per UDP senden (Port 10110)"), (cmdOptions, "Optionen..."),
                SEP, (cmdSaveOff, "Messdaten nicht aufzeichnen"),
                (cmdSaveOn, "Messdaten alle 5 Minuten auf Festplatte speichern"),
                SEP, (cmdScale950, "950..1050 hPa"), (cmdScale900, "900..1000 hPa"),
                SEP, (cmdToggleSig, "Signalton bei Aufzeichnung"),
                (cmdToggleErr, "Fehler in Datei monitor.err protokollieren"),
                SEP, (cmdGerman, "Deutsch"), (cmdEnglish, "English"), (cmdFrench, "Francais")]),
            ("&Hilfe", [(cmdHelp, "Hilfen zum Programm"), (cmdAbout, "Informationen zum Programm"),
                        (cmdLinkCable, "Anschlusskabel"), (cmdDataFormats, "Informationen zu Datenformaten")]),
        ]
    ports = [(i, f"COM{n}") for n, i in enumerate(PORT_COMMANDS, 1)]
    if language == "EN":
        return [
            ("&File", [(cmdPrintNmeaTable, "Print &NMEA data"), (cmdPrintChart, "Print data"), (cmdQuit, "&Quit")]),
            ("&Edit", [(cmdEraseMonitorTxt, "Erase file &monitor.txt"), (cmdEraseNmeaTxt, "Erase file &nmea.txt"),
                       SEP, (cmdCopyChart, "Copy chart\tCtrl+C")]),
            ("&View", [(cmdToggleT1, "Show one hour tendency"), (cmdToggleT3, "Show three hours tendency"),
                       SEP, (cmdShowHours, "Barogram 52 hours"), (cmdShowWeek, "Barogram 7 days"),
                       (cmdNightColours, "Night colours\tCtrl+N"), SEP, (cmdAcknowledgeAlarm, "Acknowledge wind alarm")]),
            ("&Setup", [(cmdBarographMode, "Barograph TQ5108 data"), (cmdNmeaMode, "NMEA data"), SEP] + ports + [
                SEP, (cmdToggleUdp, "Send readings over UDP (port 10110)"), (cmdOptions, "Options..."),
                SEP, (cmdSaveOff, "Do not save data"), (cmdSaveOn, "Save data every five minutes"),
                SEP, (cmdScale950, "950..1050 hPa"), (cmdScale900, "900..1000 hPa"),
                SEP, (cmdToggleErr, "Save errors in file monitor.err"),
                SEP, (cmdGerman, "Deutsch"), (cmdEnglish, "English"), (cmdFrench, "Francais")]),
            ("&Help", [(cmdHelp, "Help using this program"), (cmdAbout, "About this program"),
                       (cmdLinkCable, "Link cable"), (cmdDataFormats, "Info data")]),
        ]
    return [
        ("&Fichier", [(cmdPrintNmeaTable, "Imprimer les donnees &NMEA"),
                      (cmdPrintChart, "Imprimer donnees du barographe"), (cmdQuit, "&Quitter")]),
        ("&Modifier", [(cmdEraseMonitorTxt, "Effacer fichier monitor.txt"),
                       (cmdEraseNmeaTxt, "Effacer fichier nmea.txt"),
                       SEP, (cmdCopyChart, "Copier le diagramme\tCtrl+C")]),
        ("&Vue", [(cmdToggleT1, "Montrer tendence une heure"), (cmdToggleT3, "Montrer tendence trois heures"),
                 SEP, (cmdShowHours, "Barogramme 52 heures"), (cmdShowWeek, "Barogramme 7 jours"),
                 (cmdNightColours, "Couleurs de nuit\tCtrl+N"), SEP, (cmdAcknowledgeAlarm, "Acquitter l'alarme de vent")]),
        ("&Options", [(cmdBarographMode, "Barographe TQ5108"), (cmdNmeaMode, "NMEA"), SEP] + ports + [
            SEP, (cmdToggleUdp, "Envoyer les mesures par UDP (port 10110)"), (cmdOptions, "Reglages..."),
            SEP, (cmdSaveOff, "Ne pas sauver les donnees"),
            (cmdSaveOn, "Sauver les donnees toutes les cinq minutes sur disque"),
            SEP, (cmdScale950, "950..1050 hPa"), (cmdScale900, "900..1000 hPa"),
            SEP, (cmdGerman, "Deutsch"), (cmdEnglish, "English"), (cmdFrench, "Francais")]),
        ("&Aide", [(cmdHelp, "Aide"), (cmdAbout, "A propos de ce logiciel"), (cmdLinkCable, "Cable de liaison"),
                   (cmdDataFormats, "Info fichiers")]),
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
        expected_checked = {cmdToggleT1, cmdToggleT3, cmdShowHours, cmdBarographMode, cmdPortCom4, cmdSaveOn,
                            cmdScale950, cmdGerman}

        bar = self.driver.menu()
        self.assertEqual(layout(bar), expected_bar("DE"))
        self.assertEqual(checked(bar), expected_checked)
        self.assertTrue(states(bar)[cmdPortCom3][1], "COM3 is grey")
        # COM5..COM8 do not exist.
        self.assertEqual([states(bar)[i][1] for i in PORT_COMMANDS[4:]], [True] * 4)
        self.assertFalse(states(bar)[cmdPortCom4][1])
        self.assertTrue(states(bar)[cmdAcknowledgeAlarm][1], "no alarm to acknowledge")
        lines[3].release()  # a port freed later stays grey

        for number, language, marks in ((cmdFrench, "FR", {cmdFrench}), (cmdEnglish, "EN", {cmdEnglish}),
                                         (cmdGerman, "DE", {cmdGerman})):
            self.assertEqual(self.driver.ask(command(number)), "ok")
            time.sleep(0.3)
            bar = self.driver.menu()
            self.assertEqual(layout(bar), expected_bar(language), language)
            self.assertEqual(checked(bar), (expected_checked - {cmdGerman}) | marks, language)
            self.assertTrue(states(bar)[cmdPortCom3][1], f"COM3 still grey in {language}")
            self.assertFalse(states(bar)[cmdPortCom4][1])
        # Back in German the error-log item is there again, its mark matching ERR (off).
        self.assertEqual(states(bar)[cmdToggleErr], (False, False))
        self.assertEqual(self.title(), "Zudoderozezavedi Verbindung \u00fcber COM4")
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(self.read("monitor.ini"), ini(COM="COM4", ERR="0"))


    def test_a_port_that_comes_and_goes_is_found_when_the_setup_menu_opens(self):
        lines = self.serial_ports(2)
        self.write("monitor.ini", ini())
        self.start_monitor()
        self.assertTrue(states(self.driver.menu())[cmdPortCom3][1], "COM3 missing at start: grey")

        # An adapter plugged in during the run comes up as COM3.
        com3 = SerialLine()
        self.lines[3] = com3
        os.symlink(com3.path, os.path.join(PREFIX, "dosdevices", "com3"))
        self.assertTrue(states(self.driver.menu())[cmdPortCom3][1], "nothing probes while the menu is shut")
        self.assertEqual(self.driver.ask("open-menu 3"), "ok")
        bar = self.driver.menu()
        self.assertFalse(states(bar)[cmdPortCom3][1], "found when the Setup menu opens")
        self.assertTrue(states(bar)[cmdPortCom4][1])
        self.assertFalse(states(bar)[cmdPortCom2][1], "the port held open stays as it is")
        self.assertIn(cmdPortCom2, checked(bar))
        self.assertEqual(self.driver.ask(command(cmdPortCom3)), "ok")
        com3.write(EXAMPLE)
        self.assertTrue(self.wait_title(lambda t: t.startswith("Zudoderozezavedi 1 ")).startswith(
            "Zudoderozezavedi 1 "), "COM3 is read")

        # Unplugged again: lost, and grey at the next opening of the menu.
        com3.close()
        os.unlink(os.path.join(PREFIX, "dosdevices", "com3"))
        self.assertTrue(self.wait_for(lambda: os.path.exists(self.path("monitor.err"))
                                      and event_tag(eventPortLost) in self.read("monitor.err")))
        self.assertEqual(self.driver.ask("open-menu 3"), "ok")
        bar = self.driver.menu()
        self.assertTrue(states(bar)[cmdPortCom3][1], "gone: grey")
        self.assertIn(cmdPortCom3, checked(bar), "still the configured port")
        self.assertEqual(self.driver.ask("open-menu 2"), "ok")  # another drop-down probes nothing
        self.assertEqual(self.quit_monitor(), 0)

    def test_a_port_from_com9_on_is_opened_offered_and_kept_in_the_settings(self):
        self.serial_ports(2)
        com12 = self.lines[12] = SerialLine()
        self.register_ports({12: com12.path})
        high = ini(COM="COM9") + b"PORT=COM12\n"
        self.write("monitor.ini", high)
        self.start_monitor()
        self.assertEqual(self.wait_title(lambda t: "Verbindung" in t), "Zudoderozezavedi Verbindung \u00fcber COM12")
        com12.write(EXAMPLE * 300)
        self.assertTrue(self.wait_for(lambda: os.path.exists(self.path("monitor.txt"))
                                      and len(self.read("monitor.txt")) == 80, timeout=60), "no record from COM12")
        setup = [e for e in dict(self.driver.menu())["&Einstellungen"] if e is not None]
        ids = [e[0] for e in setup]
        self.assertEqual(setup[ids.index(cmdPortCom8) + 1],
                         (cmdPortComBase + 12, "serielle Schnittstelle COM12 auswaehlen", True, False))

        # COM2 chosen, COM12 then held by another program: listed, so offered without being opened.
        self.assertEqual(self.driver.ask(command(cmdPortCom2)), "ok")
        self.driver.menu()
        com12.hold()
        self.assertEqual(self.driver.ask("open-menu 3"), "ok")
        self.assertEqual(states(self.driver.menu())[cmdPortComBase + 12], (False, False))
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(self.read("monitor.ini"), ini())
        com12.release()

        # From COM2 back to COM12: '9' and the port's own line. The driver's
        # menu reader hooks one program: a new driver for the new run.
        self.driver.close()
        self.driver = Driver(self.workdir)
        self.start_monitor()
        self.assertEqual(self.driver.ask(command(cmdPortComBase + 12)), "ok")
        self.assertIn(cmdPortComBase + 12, checked(self.driver.menu()))
        com12.write(EXAMPLE)
        self.wait_title(lambda t: t.startswith("Zudoderozezavedi 1 "))

        # Unplugged and plugged in again: back by itself, as COM2 comes back.
        com12.close()
        link = os.path.join(PREFIX, "dosdevices", "com12")
        os.unlink(link)
        self.assertTrue(self.wait_for(lambda: os.path.exists(self.path("monitor.err"))
                                      and event_tag(eventPortLost) in self.read("monitor.err")))
        back = self.lines[12] = SerialLine()
        os.symlink(back.path, link)
        self.assertTrue(self.wait_for(lambda: event_tag(eventPortReturned) in self.read("monitor.err")))
        back.write(EXAMPLE)
        self.wait_title(lambda t: t.startswith("Zudoderozezavedi 2 "))
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(self.read("monitor.ini"), high)
        self.assertEqual(len(high), 121)


class Commands(MonitorTestMixin, unittest.TestCase):
    def command(self, number):
        self.assertEqual(self.driver.ask(command(number)), "ok")

    def settle(self):
        # The menu dump is handled after every message posted before it.
        return self.driver.menu()

    def test_view_setup_and_language_commands_reach_the_settings_file(self):
        self.serial_ports(2)
        self.write("monitor.ini", DEFAULT_INI)
        self.start_monitor()
        for number in (cmdToggleT1, cmdToggleT3, cmdSaveOff, cmdToggleSig, cmdToggleErr, cmdScale900, cmdEnglish,
                       cmdNmeaMode):
            self.command(number)
        bar = self.settle()
        # English has no beep item. The 52 hours stay the chosen view, greyed in Nmea mode.
        self.assertEqual(checked(bar), {cmdNmeaMode, cmdPortCom2, cmdSaveOff, cmdScale900, cmdEnglish, cmdShowHours})
        self.assertTrue(states(bar)[cmdShowHours][1] and states(bar)[cmdShowWeek][1])
        self.assertEqual(self.title(), "NMEA monitor using COM2")
        # Choosing the checked scale again changes nothing.
        self.command(cmdScale900)
        self.assertEqual(checked(self.settle()),
                         {cmdNmeaMode, cmdPortCom2, cmdSaveOff, cmdScale900, cmdEnglish, cmdShowHours})
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(self.read("monitor.ini"), DEFAULT_INI.replace(b"DATA=  TQ", b"DATA=NMEA")
                         .replace(b"T1=1", b"T1=0").replace(b"T3=1", b"T3=0").replace(b"ERR=1", b"ERR=0")
                         .replace(b"SIG=0", b"SIG=1").replace(b"LANG=DE", b"LANG=EN").replace(b"LO=0", b"LO=1"))
        self.assertFalse(os.path.exists(self.path("monitor.err")), "ERR was switched off before any event")

    def test_toggles_return_and_the_barograph_command_resets(self):
        lines = self.serial_ports(2)
        self.start_monitor()
        for number in (cmdToggleT1, cmdToggleT1, cmdToggleT3, cmdToggleT3, cmdToggleSig, cmdToggleSig,
                       cmdScale900, cmdScale950, cmdSaveOff, cmdSaveOn, cmdNmeaMode, cmdBarographMode):
            self.command(number)
        self.assertEqual(checked(self.settle()), {cmdToggleT1, cmdToggleT3, cmdShowHours, cmdBarographMode, cmdPortCom2,
                                                  cmdSaveOn, cmdScale950, cmdToggleErr, cmdGerman})
        self.assertEqual(self.title(), "Zudoderozezavedi Verbindung \u00fcber COM2")
        lines[2].write(EXAMPLE)
        self.assertTrue(self.wait_title(lambda t: t.startswith("Zudoderozezavedi 1 ")).endswith("(- 5h)"))
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(self.read("monitor.ini"), DEFAULT_INI)

    def test_language_change_in_nmea_mode_shows_the_barograph_title_until_a_sentence(self):
        lines = self.serial_ports(2)
        self.write("monitor.ini", ini(DATA="NMEA"))
        self.start_monitor()
        self.command(cmdFrench)
        self.settle()
        self.assertEqual(self.title(), "Moniteur pression atmospherique COM2")
        lines[2].write(b"$GPZDA,1*00\r\n")
        self.assertEqual(self.wait_title(lambda t: t.startswith("1 ")), "1 NMEA ")
        self.assertEqual(self.quit_monitor(), 0)

    def test_port_commands_reopen_and_report_a_port_taken_meanwhile(self):
        lines = self.serial_ports(2, 3)
        self.start_monitor()
        self.command(cmdPortCom3)  # COM3 opens: data on COM3 is received, COM2 is closed
        self.settle()
        lines[3].write(EXAMPLE)
        self.assertTrue(self.wait_title(lambda t: t.startswith("Zudoderozezavedi 1 ")).startswith("Zudoderozezavedi 1 "))
        lines[2].write(EXAMPLE)
        time.sleep(0.6)
        self.assertTrue(self.title().startswith("Zudoderozezavedi 1 "), "COM2 is closed")

        self.command(cmdPortCom3)  # the port in use is closed and reopened
        self.settle()
        lines[3].write(EXAMPLE)
        self.assertTrue(self.wait_title(lambda t: t.startswith("Zudoderozezavedi 2 ")).startswith("Zudoderozezavedi 2 "))

        lines[2].hold()  # COM2 was free at start, another program takes it now
        self.command(cmdPortCom2)
        box = self.driver.wait_box()
        self.assertEqual((box["caption"], box["text"]),
                         ("serielle Schnittstelle", "Fehler: Schnittstelle COM2 steht nicht zur Verf\u00fcgung !"))
        self.driver.press(box)
        bar = self.settle()
        self.assertIn(cmdPortCom2, checked(bar))
        self.assertNotIn(cmdPortCom3, checked(bar))
        self.assertFalse(states(bar)[cmdPortCom2][1], "not greyed: the probe ran at start only")
        lines[3].write(EXAMPLE)
        time.sleep(0.6)
        self.assertTrue(self.title().startswith("Zudoderozezavedi 2 "), "COM3 was closed")
        self.assertTrue(self.wait_for(lambda: event_tag(port_failed_event(2)) in self.read("monitor.err")))
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(self.read("monitor.ini"), DEFAULT_INI)

    def test_erase_commands(self):
        self.serial_ports(2)
        self.write("monitor.txt", b"x" * 80)
        self.write("nmea.txt", b"$GP\r\n")
        self.start_monitor()
        self.command(cmdEraseMonitorTxt)
        self.assertTrue(self.wait_for(lambda: not os.path.exists(self.path("monitor.txt"))))
        self.assertTrue(self.wait_for(lambda: event_tag(eventMonitorTxtErased)
                                      + b"warning: file MONITOR.TXT has been erased \r\n"
                                      in self.read("monitor.err")))
        self.command(cmdEraseNmeaTxt)
        self.assertTrue(self.wait_for(lambda: not os.path.exists(self.path("nmea.txt"))))
        # Erasing files that are gone already asks nothing and changes nothing.
        self.command(cmdEraseMonitorTxt)
        self.command(cmdEraseNmeaTxt)
        self.settle()
        self.assertEqual(self.driver.boxes(), [])
        self.assertEqual(self.read("monitor.err").count(event_tag(eventMonitorTxtErased)), 2)
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
        for number, name in ((cmdEraseMonitorTxt, "monitor.txt"), (cmdEraseNmeaTxt, "nmea.txt")):
            self.command(number)
            self.assertTrue(self.wait_for(lambda: not os.path.exists(self.path(name))), name)
            # A second erase finds none in the working folder and deletes none elsewhere.
            self.command(number)
            self.settle()
            self.assertTrue(os.path.exists(beside[name]), f"the {name} beside the program was deleted")
        self.assertEqual(self.driver.boxes(), [])
        self.assertEqual(self.read("monitor.err").count(event_tag(eventMonitorTxtErased)), 2)

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
        self.command(cmdEraseMonitorTxt)
        box = self.driver.wait_box()
        self.assertIsNotNone(box, "no message about the held file")
        self.assertEqual(box["caption"], "Datei l\u00f6schen")
        self.assertTrue(box["text"].startswith("Die Datei monitor.txt kann nicht gel\u00f6scht werden"), box["text"])
        self.assertEqual(self.driver.press(box), "ok")
        self.assertTrue(self.wait_for(lambda: b"  " + event_tag(eventEraseRefused) in self.read("monitor.err")))
        self.assertEqual(self.read("monitor.err").count(b"  " + event_tag(eventEraseRefused)
                                                        + b"error: file could not be erased \r\n"), 1)
        self.assertNotIn(event_tag(eventMonitorTxtErased), self.read("monitor.err"))
        time.sleep(0.5)
        self.assertTrue(screenshot() == drawn, "the history is no longer drawn")
        self.assertEqual(self.driver.ask("release monitor.txt"), "ok")
        self.assertEqual(self.read("monitor.txt"), b"x" * 80)
        # Released, the erase goes through and clears the chart.
        self.command(cmdEraseMonitorTxt)
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
        self.command(cmdBarographMode)  # the active mode again: record number back to 0
        self.settle()
        lines[2].write(cycle)
        self.assertTrue(self.wait_for(lambda: len(self.read("monitor.txt")) == 160, timeout=60))
        records = self.read("monitor.txt")
        self.assertEqual((records[:7], records[80:87]), (b"000001 ", b"000001 "))
        self.command(cmdSaveOff)
        self.settle()
        lines[2].write(cycle)
        lines[2].drain()
        time.sleep(0.5)
        self.assertEqual(len(self.read("monitor.txt")), 160, "recording off")
        self.command(cmdSaveOn)
        self.settle()
        lines[2].write(cycle)
        self.assertTrue(self.wait_for(lambda: len(self.read("monitor.txt")) == 240, timeout=60))
        self.assertEqual(self.read("monitor.txt")[160:167], b"000002 ", "recording off kept the number")
        self.assertEqual(self.quit_monitor(), 0)


if __name__ == "__main__":
    unittest.main()
