"""The information windows of the Help menu, in each language."""

import unittest

from harness import MonitorTestMixin, ini
from monitor_ids import (EXAMPLE, cmdAbout, cmdDataFormats, cmdEnglish, cmdFrench, cmdGerman, cmdHelp, cmdLinkCable,
                         command)

EXPECTED = {
    # command: {language: (caption, first line)}
    cmdHelp: {
        "DE": ("Hilfen zu diesem Programm", "Dieses Programm speichert die Daten des Barographen TQ5108 auf der Festplatte,"),
        "EN": ("Help", "This program stores the data of the barograph TQ5108 on the hard disk,"),
        "FR": ("Aide", "Ce logiciel enregistre les donnees du barographe TQ5108 sur le disque dur,")},
    cmdAbout: {
        "DE": ("Informationen \u00fcber dieses Programm", "Zudoderozezavedi"),
        "EN": ("About this program", "Air pressure monitor for barograph TQ5108"),
        "FR": ("Info logiciel monitor.exe", "Moniteur barographe TQ5108")},
    cmdLinkCable: {
        "DE": ("Anschlusskabel", "Datenkabel:"),
        "EN": ("Link cable info", "Data link cable:"),
        "FR": ("Cable", "Cable de liaison:")},
    cmdDataFormats: {
        "DE": ("Datenformate", "NMEA Datenformat:"),
        "EN": ("Data formats", "NMEA data sent every second by TQ5108 barograph:"),
        "FR": ("Formats des donnees", "Format des donnees NMEA (1 fois/seconde):")},
}
VERSION_LINE = {"DE": "Version TQ61-03 vom 11.9.2004", "EN": "Version TQ61-03 date 11.9.2004",
                "FR": "Version TQ61-03 du 11.9.2004"}
# The about window's contact block, after an empty line, names no maker and
# speaks the window's language.
CONTACT = {"DE": ["Projekt Barograph-Monitor", "keine Postanschrift", "kein Land", "Tel./Fax: keine",
                  "E-Mail: siehe die Fehlerliste des Projekts", "Web: siehe die Homepage des Projekts"],
           "EN": ["Barograph monitor project", "no postal address", "no country", "Tel./Fax: none",
                  "E-mail: see the project's issue tracker", "Web: see the project's home page"],
           "FR": ["Projet Barograph Monitor", "pas d'adresse postale", "pas de pays", "Tel./Fax: aucun",
                  "E-mail: voir le suivi des demandes du projet", "Web: voir la page d'accueil du projet"]}
LANGUAGE_COMMAND = {"DE": cmdGerman, "EN": cmdEnglish, "FR": cmdFrench}


class InformationWindows(MonitorTestMixin, unittest.TestCase):
    def test_each_window_in_each_language(self):
        self.serial_ports(2)
        self.write("monitor.ini", ini())
        self.start_monitor()
        for language in ("DE", "EN", "FR"):
            self.assertEqual(self.driver.ask(command(LANGUAGE_COMMAND[language])), "ok")
            for number, texts in EXPECTED.items():
                with self.subTest(language=language, command=number):
                    self.assertEqual(self.driver.ask(command(number)), "ok")
                    box = self.driver.wait_box()
                    self.assertIsNotNone(box)
                    caption, first = texts[language]
                    self.assertEqual(box["caption"], caption)
                    text_lines = box["text"].split("\n")
                    self.assertEqual(text_lines[0], first)
                    if number == cmdAbout:
                        self.assertEqual(text_lines[1], VERSION_LINE[language])
                        self.assertEqual(text_lines[2:], [""] + CONTACT[language])
                    if number == cmdDataFormats:
                        self.assertIn("$PXDR,0998.60,52684,+01.2,+03.5,-0300,0995.40<CR><LF>", text_lines)
                        self.assertIn("000020 28.12.2003 21:00 0988,10 hPa +01,8 hPa/hr +05,2 hPa/3h "
                                      "00,0 hPa/h var 0 ", text_lines)
                    self.assertEqual(self.driver.press(box), "ok")
                    self.assertTrue(self.wait_for(lambda: not self.driver.boxes()))
        self.assertEqual(self.quit_monitor(), 0)

    def test_box_without_owner_keeps_the_window_working(self):
        lines = self.serial_ports(2)
        self.write("monitor.ini", ini(LANG="EN"))
        self.start_monitor()
        self.driver.ask(command(cmdAbout))
        about = self.driver.wait_box()
        # Reception and commands go on while the box is open.
        lines[2].write(EXAMPLE)
        self.assertTrue(self.wait_title(lambda t: t.startswith("Air pressure monitor 1 ")).startswith("Air"))
        self.driver.ask(command(cmdGerman))
        self.driver.ask(command(cmdHelp))
        help_box = self.driver.wait_box(exclude={about["handle"]})
        self.assertEqual(help_box["caption"], "Hilfen zu diesem Programm")
        # The box already open keeps its English text.
        still = [b for b in self.driver.boxes() if b["handle"] == about["handle"]]
        self.assertEqual(still[0]["caption"], "About this program")
        self.driver.press(help_box)
        self.driver.press(about)
        self.assertTrue(self.wait_for(lambda: not self.driver.boxes()))
        self.assertEqual(self.quit_monitor(), 0)


if __name__ == "__main__":
    unittest.main()
