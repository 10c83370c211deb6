"""The week chart of the real program: chosen in the View menu over a
monitor.txt of nine days, on the screen, with a record appended while it is
shown, and copied onto the clipboard.

Set MONITOR_BAROGRAM_PNG to a file name to keep the screenshot of the week."""

import datetime
import os
import time
import unittest

from harness import MonitorTestMixin, ini, screen_pixels, screenshot
from monitor_ids import EXAMPLE, cmdCopyChart, cmdShowHours, cmdShowWeek, command
from week_records import nine_days, utc_minute

CHART_BRUSH = (245, 245, 255)
RED = (220, 0, 0)
BLACK = (0, 0, 0)
CF_BITMAP, CF_ENHMETAFILE = 2, 14


def frame_of(rows):
    """Left and right inner columns and top and bottom inner rows of the
    chart's frame, found by its fill in the middle row of the screen."""
    height = len(rows)
    middle = rows[height // 2]
    filled = [x for x, p in enumerate(middle) if p == CHART_BRUSH]
    left, right = filled[0], filled[-1]
    # A column filled in the middle row: the middle of the frame may hold a
    # dotted six-hour line at some minutes of the day.
    x = filled[len(filled) // 2]
    column = [rows[y][x] for y in range(height)]
    inside = [y for y, p in enumerate(column) if p == CHART_BRUSH]
    return left, right, inside[0], inside[-1]


def colour_in_columns(rows, frame, x0, x1, colour):
    left, right, top, bottom = frame
    return sum(1 for y in range(top + 1, bottom) for x in range(max(x0, left + 1), min(x1, right))
               if rows[y][x] == colour)


class WeekView(MonitorTestMixin, unittest.TestCase):
    def start_on(self, records):
        self.lines = self.serial_ports(2)
        self.write("monitor.ini", ini())
        self.write("monitor.txt", records)
        self.start_monitor()
        self.assertEqual(self.driver.ask(command(cmdShowWeek)), "ok")
        self.driver.menu()  # handled after the command

    def x_of(self, frame, minute, now):
        left, right = frame[0] - 1, frame[1] + 1  # the frame's own lines
        return left + (right - left) * (minute - (now - datetime.timedelta(days=7))) / datetime.timedelta(days=7)

    def gap_cases(self, now):
        """Three-hour gaps about two days back: around a midnight (a black
        day line in it), around a six-hour line, and between two lines."""
        hours = datetime.timedelta(hours=1)
        six = now.replace(minute=0) - datetime.timedelta(hours=now.hour % 6)
        while six > now - 49 * hours or six.hour == 0:
            six -= 6 * hours
        midnight = now.replace(hour=0, minute=0)
        while midnight > now - 49 * hours:
            midnight -= 24 * hours
        return {"a midnight": (midnight - 1.5 * hours, midnight + 1.5 * hours, midnight),
                "a six-hour line": (six - 1.5 * hours, six + 1.5 * hours, None),
                "no line": (six + 1.5 * hours, six + 4.5 * hours, None)}

    def check_gap(self, case):
        """Nine days with a three-hour gap and a wind alarm on the screen."""
        now = utc_minute()
        first, last, day_line = self.gap_cases(now)[case]
        alarm = (now - datetime.timedelta(hours=20), now - datetime.timedelta(hours=16))
        # Thirteen records dated 01.01.2000 (a clock reset for an hour)
        # between the gap and now hide nothing before them.
        stray = [now - datetime.timedelta(hours=30, minutes=5 * k) for k in range(13)]
        self.start_on(nine_days(now, (first, last), alarm, stray))
        time.sleep(1)
        keep = os.environ.get("MONITOR_BAROGRAM_PNG")
        if keep:
            with open(keep, "wb") as f:
                f.write(screenshot())
        width, height, rows = screen_pixels()
        frame = frame_of(rows)
        # The three hours without records stay empty but for the day line;
        # the hours around them carry the curve.
        inside = (int(self.x_of(frame, first, now)) + 3, int(self.x_of(frame, last, now)) - 3)
        before = (int(self.x_of(frame, first - datetime.timedelta(hours=3), now)), inside[0] - 6)
        self.assertGreater(inside[1], inside[0], "the gap is several columns wide")
        black = colour_in_columns(rows, frame, *inside, BLACK)
        if day_line:
            x = round(self.x_of(frame, day_line, now))
            on_line = colour_in_columns(rows, frame, x - 1, x + 2, BLACK)
            self.assertGreater(on_line, frame[3] - frame[2] - 10, "the day line")
            black -= on_line
        self.assertEqual(black, 0, "a line across the gap")
        self.assertGreater(colour_in_columns(rows, frame, *before, BLACK), 0, "no curve before the gap")
        # Red where the alarm was, and nowhere far from it.
        alarm_columns = (int(self.x_of(frame, alarm[0], now)) - 2, int(self.x_of(frame, alarm[1], now)) + 3)
        self.assertGreater(colour_in_columns(rows, frame, *alarm_columns, RED), 20)
        self.assertEqual(colour_in_columns(rows, frame, frame[0], alarm_columns[0], RED), 0)

    def test_a_gap_around_a_midnight(self):
        self.check_gap("a midnight")
        # The 52 hours again: no red, since the history is empty.
        self.assertEqual(self.driver.ask(command(cmdShowHours)), "ok")
        self.driver.menu()
        time.sleep(0.5)
        _, _, rows = screen_pixels()
        self.assertEqual(sum(row.count(RED) for row in rows), 0)

    def test_a_gap_around_a_six_hour_line(self):
        self.check_gap("a six-hour line")

    def test_a_gap_between_two_lines(self):
        self.check_gap("no line")

    def test_a_record_appended_while_the_week_is_shown_appears(self):
        now = utc_minute()
        # Two hours of records ending two hours ago, about 14 columns left of
        # the frame's end: the next record stands on its own at that end.
        records = nine_days(now - datetime.timedelta(hours=2))
        self.start_on(records[-24 * 80:])
        time.sleep(1)
        _, _, rows = screen_pixels()
        frame = frame_of(rows)
        newest = (frame[1] - 6, frame[1] + 1)
        # Nothing stands there yet but, in the first hour of a UTC day, that
        # midnight's line: a column black from top to bottom.
        height = frame[3] - frame[2] - 1
        for x in range(*newest):
            black = colour_in_columns(rows, frame, x, x + 1, BLACK)
            self.assertIn(black, (0,) + tuple(range(height - 10, height + 1)), f"a record drawn at {x} before it came")
        # 300 sentences make one record; nothing else is sent to the program.
        self.lines[2].write(EXAMPLE * 300)
        self.assertTrue(self.wait_for(lambda: len(self.read("monitor.txt")) == 25 * 80, timeout=60))

        def newly_black():
            after = screen_pixels()[2]
            return sum(1 for y in range(frame[2] + 1, frame[3]) for x in range(*newest)
                       if x < frame[1] and after[y][x] == BLACK and rows[y][x] != BLACK)
        self.assertTrue(self.wait_for(lambda: newly_black() > 0, timeout=5), "the new record is not drawn")

    def test_the_copy_leaves_a_metafile_and_a_bitmap_of_the_window(self):
        now = utc_minute()
        self.start_on(nine_days(now))
        for request in (command(cmdCopyChart), "char 3"):
            self.assertEqual(self.driver.ask(request), "ok")
            self.driver.menu()
            formats, details = self.driver.clipboard()
            self.assertIn(CF_ENHMETAFILE, formats, request)
            self.assertIn(CF_BITMAP, formats, request)
            client = [int(n) for n in self.driver.ask("client").split()[1:]]
            self.assertEqual(details["bitmap"], client, request)
            self.assertGreater(details["emf"][0], 2000, "the week's curve and grid are in the metafile")


if __name__ == "__main__":
    unittest.main()
