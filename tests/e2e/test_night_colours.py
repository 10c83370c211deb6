"""Night colours on the real program's screen: the 52-hour chart calm and with
the gale alarm's banner, the week and the NMEA view, each counted pixel by
pixel against the night's rule; View item 1208 and Ctrl+N switch both ways,
the day's pixels come back as they were, the copy taken at night is the day's
chart, and the setting is kept in monitor.ini over a restart.

Set MONITOR_NIGHT_PNG to a folder to keep the screenshots."""

import collections
import datetime
import os
import time
import unittest

from harness import MonitorTestMixin, ini, ppm_pixels, screen_pixels, screenshot
from monitor_ids import (cmdCopyChart, cmdNightColours, cmdNmeaMode, cmdShowWeek,
                         command, event_tag, eventGaleAlarm, pxdr)
from test_printing import full_history
from week_records import nine_days, utc_minute

CTRL_N = "char 14"
BLACK = (0, 0, 0)
# What each thing is drawn in at night.
NIGHT = {"grid": (80, 0, 0), "frame": (120, 0, 0), "pressure": (165, 0, 0), "tendency 3h": (100, 0, 0),
         "tendency 1h": (150, 0, 0), "quick fall": (215, 0, 0), "text": (140, 0, 0)}
NIGHT_WEEK = {"hPa lines": (35, 0, 0), "10 hPa lines": (75, 0, 0), "six hours": (80, 0, 0), "days": (120, 0, 0),
              "curve": (165, 0, 0), "wind alarm": (215, 0, 0), "text": (140, 0, 0)}
NIGHT_GALE = (220, 0, 0)
# And by day.
DAY = {"chart brush": (245, 245, 255), "tendency 3h": (0, 180, 0), "tendency 1h": (0, 0, 255),
       "quick fall": (220, 0, 0), "black": BLACK}
DAY_GALE = (208, 0, 0)


class NightColours(MonitorTestMixin, unittest.TestCase):
    # helpers

    def client(self, name=None):
        """The client area's pixels: rows of (r, g, b)."""
        time.sleep(0.5)  # the repaint the last command asked for
        x, y = (int(n) for n in self.driver.ask("client-origin").split()[1:])
        width, height = (int(n) for n in self.driver.ask("client").split()[1:])
        folder = os.environ.get("MONITOR_NIGHT_PNG")
        if folder and name:
            with open(os.path.join(folder, name + ".png"), "wb") as out:
                out.write(screenshot())
        _, _, rows = screen_pixels()
        return [row[x:x + width] for row in rows[y:y + height]]

    def switch(self, request, night):
        self.assertEqual(self.driver.ask(request), "ok")
        entries = {e[0]: e for _, items in self.driver.menu() for e in items if e is not None}
        _, _, checked, grayed = entries[cmdNightColours]
        self.assertEqual(checked, night, request)
        self.assertFalse(grayed, "enabled in both modes")

    def assert_night(self, rows, present, least=20):
        """The rule: nothing lighter than dim red, a black ground, and each
        thing in its own colour."""
        counts = collections.Counter(p for row in rows for p in row)
        breaking = {p: n for p, n in counts.items() if p[0] > 220 or p[1] > 64 or p[2] > 64}
        self.assertEqual(breaking, {}, "pixels that break the night rule")
        self.assertEqual(counts.most_common(1)[0][0], BLACK, "the ground")
        self.assertEqual((rows[0][0], rows[-1][-1]), (BLACK, BLACK))
        for thing, colour in present.items():
            self.assertGreater(counts[colour], least, thing)
        return counts

    def colour_count(self, rows, colour):
        return sum(row.count(colour) for row in rows)

    # tests

    def test_the_chart_calm_and_with_the_gale_banner_switched_both_ways_and_copied(self):
        lines = self.serial_ports(2)
        self.write("monitor.ini", ini())
        self.start_monitor()
        lines[2].write(full_history())
        self.wait_title(lambda t: t.startswith("Zudoderozezavedi 104 "))
        day = self.client("day")
        day_counts = collections.Counter(p for row in day for p in row)
        for thing, colour in DAY.items():
            self.assertGreater(day_counts[colour], 20, thing)

        self.switch(command(cmdNightColours), True)
        night = self.client("night")
        self.assert_night(night, NIGHT)
        self.switch(CTRL_N, False)
        self.assertEqual(self.client(), day, "the day's pixels as they were")
        self.switch(CTRL_N, True)
        self.assertEqual(self.client(), night)

        # The copy is the day's chart on its white ground: the window's own by day.
        self.assertEqual(self.driver.ask(command(cmdCopyChart)), "ok")
        self.driver.menu()
        self.assertTrue(self.driver.ask("clipboard-bitmap copy.ppm").startswith("ok "))
        self.assertEqual(ppm_pixels(self.read("copy.ppm"))[2], day)

        # Ten sentences of a fall of 6.5 hPa in three hours raise the gale alarm.
        lines[2].write(b"".join(pxdr(100500, 52000, -25, -65, 0, 100700) for _ in range(10)))
        self.assertTrue(self.wait_for(lambda: os.path.exists(self.path("monitor.err"))
                                      and event_tag(eventGaleAlarm) in self.read("monitor.err"), timeout=30))
        gale = self.client("night-gale")
        counts = self.assert_night(gale, dict(NIGHT, banner=NIGHT_GALE), least=20)
        self.assertGreater(counts[NIGHT_GALE], 5000, "the banner")
        self.assertEqual(max(p[0] + p[1] + p[2] for p in counts if p != NIGHT_GALE), 215,
                         "the banner is the brightest thing; the quick falls come next")
        self.switch(command(cmdNightColours), False)
        self.assertGreater(self.colour_count(self.client(), DAY_GALE), 5000, "the day's banner")
        self.assertEqual(self.quit_monitor(), 0)
        # Each switch was saved at once; by day the file is the 110 bytes alone.
        self.assertEqual(self.read("monitor.ini"), ini())

    def test_the_week_and_the_nmea_view_at_night_and_the_setting_kept_over_a_restart(self):
        lines = self.serial_ports(2)
        self.write("monitor.ini", ini())
        now = utc_minute()
        alarm = (now - datetime.timedelta(hours=20), now - datetime.timedelta(hours=16))
        self.write("monitor.txt", nine_days(now, alarm=alarm))
        self.start_monitor()
        self.assertEqual(self.driver.ask(command(cmdShowWeek)), "ok")
        day = self.client("week-day")
        self.switch(CTRL_N, True)
        self.assert_night(self.client("week-night"), NIGHT_WEEK)
        self.assertEqual(self.read("monitor.ini"), ini() + b"NIGHT=1\n", "saved at once")
        self.switch(command(cmdNightColours), False)
        self.assertEqual(self.client(), day)
        self.switch(command(cmdNightColours), True)

        # The NMEA view: its text dim red on black.
        self.assertEqual(self.driver.ask(command(cmdNmeaMode)), "ok")
        lines[2].write(b"".join(f"$GPXTE,A,A,{i:04d}.{i % 10},L,N*{i % 100:02d}\r\n".encode() for i in range(40)))
        self.wait_title(lambda t: t.startswith("40 NMEA"))
        nmea = self.client("nmea-night")
        self.assert_night(nmea, {"text": NIGHT["text"]}, least=2000)
        self.switch(CTRL_N, False)
        self.switch(CTRL_N, True)
        self.assertEqual(self.quit_monitor(), 0)

        # The next start is in night colours from its first paint.
        self.start_monitor()
        entries = {e[0]: e for _, items in self.driver.menu() for e in items if e is not None}
        self.assertTrue(entries[cmdNightColours][2], "checked after the restart")
        self.assert_night(self.client(), {})
        self.switch(CTRL_N, False)
        self.assertEqual(collections.Counter(p for row in self.client() for p in row).most_common(1)[0][0],
                         (255, 255, 255))
        self.assertEqual(self.quit_monitor(), 0)
        self.assertEqual(self.read("monitor.ini"), ini(DATA="NMEA"))


if __name__ == "__main__":
    unittest.main()
