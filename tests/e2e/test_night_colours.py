"""Night colours on the real program's screen, counted pixel by pixel: the
52-hour chart calm and with the gale banner, the menu bar with a drop-down
open, the week and the NMEA view; both switches both ways, the day's pixels
(the menu bar's too) as they were, the menus' texts as by day, the copy in day
colours and the setting kept over a restart. MONITOR_NIGHT_PNG: a folder for
the screenshots."""

import collections
import datetime
import os
import time
import unittest

from harness import MonitorTestMixin, ini, ppm_pixels, screen_pixels, screenshot
from monitor_ids import (cmdCopyChart, cmdNightColours, cmdNmeaMode, cmdShowWeek, command, event_tag, eventGaleAlarm,
                         eventNoData, pxdr)
from test_printing import full_history
from week_records import nine_days, utc_minute

# Each thing in its night colour: on the 52 hours, on the week, the gale alarm's banner, the texts.
HOURS = {"grid": (80, 0, 0), "frame": (120, 0, 0), "pressure": (165, 0, 0), "3 h": (100, 0, 0), "1 h": (150, 0, 0),
         "quick fall": (215, 0, 0), "text": (140, 0, 0)}
WEEK = {"hPa": (35, 0, 0), "10 hPa": (75, 0, 0), "six hours": (80, 0, 0), "days": (120, 0, 0),
        "curve": (165, 0, 0), "wind alarm": (215, 0, 0), "text": (140, 0, 0)}
GALE = (220, 0, 0)
NO_DATA = (20, 0, 0)  # the no-data banner's dark fill
# The drop-down: its texts, the selected item's ground, its separators and frame.
MENU = {"text": (140, 0, 0), "selected": (52, 0, 0), "separators and frame": (80, 0, 0)}
ALT_A, DOWN, ESCAPE = 97, 40, 27


def contrast(a, b):
    """The contrast ratio of two colours as the web's accessibility rules measure it."""
    def luminance(rgb):
        linear = [c / 255 / 12.92 if c <= 10 else ((c / 255 + 0.055) / 1.055) ** 2.4 for c in rgb]
        return 0.2126 * linear[0] + 0.7152 * linear[1] + 0.0722 * linear[2]
    light, dark = sorted((luminance(a), luminance(b)), reverse=True)
    return (light + 0.05) / (dark + 0.05)


class NightColours(MonitorTestMixin, unittest.TestCase):
    def client(self, name):
        """The client area's rows of (r, g, b), once the last command's repaint is done."""
        time.sleep(0.5)
        x, y = (int(n) for n in self.driver.ask("client-origin").split()[1:])
        width, height = (int(n) for n in self.driver.ask("client").split()[1:])
        if os.environ.get("MONITOR_NIGHT_PNG"):
            with open(os.path.join(os.environ["MONITOR_NIGHT_PNG"], name + ".png"), "wb") as out:
                out.write(screenshot())
        return [row[x:x + width] for row in screen_pixels()[2][y:y + height]]

    def screen(self, name):
        """The whole screen's rows: the maximised window with its title and menu bars."""
        time.sleep(0.5)
        if os.environ.get("MONITOR_NIGHT_PNG"):
            with open(os.path.join(os.environ["MONITOR_NIGHT_PNG"], name + ".png"), "wb") as out:
                out.write(screenshot())
        return screen_pixels()[2]

    def menu_bar_rows(self, rows):
        left, top, right, bottom = self.driver.bar_place
        return [row[left:right] for row in rows[top:bottom]]

    def switch(self, request, night):
        if request:
            self.assertEqual(self.driver.ask(request), "ok")
        item = next(e for _, items in self.driver.menu() for e in items if e and e[0] == cmdNightColours)
        self.assertEqual(item[2:], (night, False), "checked while on, never grey")

    def assert_night(self, rows, colours, least=20):
        """No pixel lighter than dim red, a black ground, each thing in its colour."""
        counts = collections.Counter(p for row in rows for p in row)
        self.assertEqual([p for p in counts if p[0] > 220 or max(p[1:]) > 64], [])
        self.assertEqual(counts.most_common(1)[0][0], (0, 0, 0))
        for thing, colour in colours.items():
            self.assertGreater(counts[colour], least, thing)
        return counts

    def test_chart_week_and_nmea_view_at_night_both_switches_the_copy_and_a_restart(self):
        lines = self.serial_ports(2)
        self.write("monitor.ini", ini())
        now, hour = utc_minute(), datetime.timedelta(hours=1)
        self.write("monitor.txt", nine_days(now, alarm=(now - 20 * hour, now - 16 * hour)))
        self.start_monitor()
        lines[2].write(full_history())
        self.wait_title(lambda t: t.startswith("Zudoderozezavedi 104 "))
        day = self.client("day")
        day_menus = self.driver.menu()
        day_bar = self.menu_bar_rows(self.screen("day-screen"))
        self.switch(command(cmdNightColours), True)
        # The menus keep their texts for anyone who reads them; only the item's mark changed.
        self.assertEqual(self.driver.menu(), [(title, [e[:2] + (True,) + e[3:] if e and e[0] == cmdNightColours else e
                                                       for e in entries]) for title, entries in day_menus])
        self.assert_night(self.client("night"), HOURS)
        self.assertTrue(self.wait_for(lambda: self.read("monitor.ini") == ini() + b"NIGHT=1\n"), "saved at once")
        self.switch("char 14", False)  # Ctrl+N
        self.switch("char 14 repeat", False)  # the key held down: its repeats switch nothing
        self.assertEqual(self.client("day-again"), day, "the day's pixels as they were")
        self.assertEqual(self.menu_bar_rows(self.screen("day-screen-again")), day_bar, "the day's menu bar")
        self.assertEqual(self.driver.menu(), day_menus)
        self.switch("char 14", True)
        # The copy is the chart as the window shows it by day, on its white ground.
        self.assertEqual(self.driver.ask(command(cmdCopyChart)), "ok")
        self.driver.menu()
        self.assertTrue(self.driver.ask("clipboard-bitmap copy.ppm").startswith("ok "))
        self.assertEqual(ppm_pixels(self.read("copy.ppm"))[2], day)

        lines[2].write(b"".join(pxdr(100500, 52000, -25, -65, 0, 100700) for _ in range(10)))  # the gale alarm
        self.assertTrue(self.wait_for(lambda: os.path.exists(self.path("monitor.err"))
                                      and event_tag(eventGaleAlarm) in self.read("monitor.err"), timeout=30))
        counts = self.assert_night(self.client("gale"), dict(HOURS, banner=GALE))
        self.assertGreater(counts[GALE], 5000)
        self.assertEqual(max(map(sum, counts.keys() - {GALE})), 215, "the banner alone is brighter than a quick fall")
        # Alt and the View menu's letter open its drop-down, the arrows move in it, Escape shuts it.
        self.assertEqual(self.driver.ask(f"alt {ALT_A}"), "ok")
        self.assertTrue(self.wait_for(lambda: self.driver.ask("drop-down") != "none"), "no drop-down opened")
        for _ in range(2):
            self.assertEqual(self.driver.ask(f"key {DOWN}"), "ok")
        self.driver.menu()  # the keys are handled
        left, top, right, bottom = (int(n) for n in self.driver.ask("drop-down")[3:].split(","))
        rows = self.screen("menu")
        self.assert_night(self.menu_bar_rows(rows), {"text": MENU["text"]})
        self.assert_night([row[left:right] for row in rows[top:bottom]], MENU)
        for _ in range(2):
            self.assertEqual(self.driver.ask(f"key {ESCAPE}"), "ok")
        self.assertTrue(self.wait_for(lambda: self.driver.ask("drop-down") == "none"))

        # A minute without data: the no-data banner, a dark band whose words read at 4.5:1 at least.
        self.assertTrue(self.wait_for(lambda: event_tag(eventNoData) in self.read("monitor.err"), timeout=90))
        rows = self.client("no-data")
        self.assert_night(rows, dict(HOURS, banner=GALE))
        band = [row[row.index(NO_DATA):len(row) - row[::-1].index(NO_DATA)] for row in rows
                if row.count(NO_DATA) > len(row) // 2]
        (fill, _), (words, count) = collections.Counter(p for row in band for p in row).most_common(2)
        self.assertEqual((fill, len(band) > 15, count > 100), (NO_DATA, True, True), "the band and its words")
        self.assertGreaterEqual(contrast(fill, words), 4.5, words)
        self.assertLess(words[0], GALE[0], "the storm banner's red stays the brightest")
        self.assertEqual(self.driver.ask(command(cmdShowWeek)), "ok")
        self.assertGreater(self.assert_night(self.client("week"), WEEK)[GALE], 5000)

        self.assertEqual(self.driver.ask(command(cmdNmeaMode)), "ok")
        lines[2].write(b"".join(f"$GPXTE,A,A,{i:04d}.{i % 10},L,N*{i:02d}\r\n".encode() for i in range(40)))
        self.wait_title(lambda t: t.startswith("40 NMEA"))
        self.assert_night(self.client("nmea"), {"text": HOURS["text"]}, least=2000)
        self.assertEqual(self.quit_monitor(), 0)
        # The next start is in night colours; by day the file is its 110 bytes again.
        self.start_monitor()
        self.switch(None, True)
        self.assert_night(self.client("restart"), {})
        self.switch("char 14", False)
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(self.read("monitor.ini"), ini(DATA="NMEA"))


if __name__ == "__main__":
    unittest.main()
