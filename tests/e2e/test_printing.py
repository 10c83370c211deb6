"""Printing on a real printer: a CUPS queue that writes PDF files, chosen in the
print dialog of the running program. The printed pages are read back with
pdfinfo, pdftotext and pdftoppm.

Set MONITOR_PRINTED_CHART_PNG to a file name to keep the PNG of the printed
chart of a full 52-hour history."""

import datetime
import math
import os
import subprocess
import time
import unittest

from harness import BUILD, MonitorTestMixin, ini, screenshot, wine_env
from monitor_ids import (EXAMPLE, cmdNightColours, cmdPrintChart, cmdShowWeek, eventGaleAlarm, cmdPrintNmeaTable, cmdScale900, command, event_tag, eventPortLost,
                         eventPrintError, pxdr)
import week_records
from printing_support import QUEUE, PdfPrinter, missing_tools, pdf_page_size, pdf_pages, pdf_pixels, pdf_text, \
    pdf_title, pdf_to_png, pdf_words, scheduler_running

DOCUMENT_NAME = "Zudoderozezavedi Druckjob"
TITLE_WORDS = ["Zudoderozezavedi", "Messdaten"]
TENDENCY_LABELS = [f"{value:+d}" if value else "0" for value in range(10, -11, -1)]
TIME_LABELS = [f"-{6 * n}h" for n in range(1, 9)]
# The printer's page at 300 dpi, in points.
POINTS_PER_DOT = 72 / 300
MARGIN = 350 * POINTS_PER_DOT  # a tenth of the long side: the frame's distance from the edge
LONG_SIDE = 3508 * POINTS_PER_DOT


def pressure_labels(LO):
    """The pressure scale from its top (upright) or left (turned) end."""
    bottom = 900 if LO else 950
    return [str(bottom + 10 * j) for j in range(11)]


def slot_pressure(slot):
    """A weather course over 52 hours in hundredths of a hPa: a low passing through."""
    return int(100800 - 900 * math.exp(-((slot - 40) / 14.0) ** 2) + 250 * math.sin(slot / 9.0) - 6 * slot)


def full_history():
    """One sentence per history slot, oldest last: the minute counter steps
    0, 30, .., 3090, so that all 104 slots of the chart fill."""
    data = b""
    for slot in range(104):
        data += pxdr(slot_pressure(0), 52000, 0, 0, 30 * slot, slot_pressure(slot))
    return data


printer = None


def setUpModule():
    global printer
    missing = missing_tools()
    if missing:
        raise unittest.SkipTest("missing " + " ".join(missing))
    if os.getuid() != 0 and not scheduler_running():
        raise unittest.SkipTest("no CUPS scheduler running and no rights to start one")
    printer = PdfPrinter().start()


def tearDownModule():
    if printer is not None:
        printer.stop()


class Printing(MonitorTestMixin, unittest.TestCase):
    def setUp(self):
        super().setUp()
        self.printed = []

    def tearDown(self):
        super().tearDown()
        for path in self.printed:
            os.remove(path)

    # helpers

    def print_dialog(self, number, exclude=()):
        self.assertEqual(self.driver.ask(command(number)), "ok")
        dialog = self.driver.wait_box(exclude=exclude)
        self.assertIsNotNone(dialog, "no print dialog")
        self.assertEqual(dialog["caption"], "Print")
        return dialog

    def button(self, dialog, label):
        for entry in dialog["buttons"].split(","):
            number, _, text = entry.partition(":")
            if text == label:
                return int(number)
        self.fail(f"no {label} button in {dialog['buttons']}")

    def print_and_collect(self, number):
        """Runs a print command, presses OK in the dialog and returns the new PDF files."""
        before = printer.files()
        dialog = self.print_dialog(number)
        self.assertEqual(self.driver.press(dialog, self.button(dialog, "OK")), "ok")
        files = printer.wait_new_files(before)
        self.printed.extend(files)
        # Nothing else comes up after a job that went through.
        time.sleep(0.5)
        self.assertEqual(self.driver.boxes(), [])
        return files

    def barograph_count(self):
        """Sentences counted so far; 0 while the title still names the port."""
        title = self.title()
        self.assertTrue(title.startswith("Zudoderozezavedi "), title)
        word = title.split()[1]
        return int(word) if word.isdigit() else 0

    def expect_reception(self, line, sentence=EXAMPLE):
        """A sentence written now arrives: the port is open again."""
        count = self.barograph_count()
        line.write(sentence)
        title = self.wait_title(lambda t: t.startswith(f"Zudoderozezavedi {count + 1} "))
        self.assertTrue(title.startswith(f"Zudoderozezavedi {count + 1} "), "no sentence received after printing")

    def start_with_full_history(self, **settings):
        lines = self.serial_ports(2)
        self.write("monitor.ini", ini(**settings))
        self.start_monitor()
        lines[2].write(full_history())
        title = self.wait_title(lambda t: t.startswith("Zudoderozezavedi 104 "), timeout=30)
        self.assertTrue(title.startswith("Zudoderozezavedi 104 "), title)
        return lines[2]

    def printed_words(self, path, landscape, repeats=False):
        """The words of a printed chart page, each checked to lie on the page
        and to be at least 6 points high across its line; by text (with
        `repeats`, a word may come again, and the first stands for it)."""
        width, height, words = pdf_words(path)
        if landscape:
            self.assertGreater(width, height, "a landscape page")
        else:
            self.assertLess(width, height, "an upright page")
        by_text = {}
        for text, x0, y0, x1, y1 in words:
            self.assertTrue(0 <= x0 < x1 <= width and 0 <= y0 < y1 <= height,
                            f"{text!r} at ({x0:.1f}, {y0:.1f})-({x1:.1f}, {y1:.1f}) off the {width}x{height} page")
            # Upright text is as high as its box; turned text, as wide.
            across = y1 - y0 if landscape else x1 - x0
            self.assertGreaterEqual(across, 6.0, f"{text!r} only {across:.1f} pt high")
            if not repeats:
                self.assertNotIn(text, by_text, "each text once")
            by_text.setdefault(text, (x0, y0, x1, y1))
        return by_text

    def check_chart_words(self, path, LO, landscape):
        """The title, both scales and the time labels, nothing else, each in
        the margin it belongs to."""
        words = self.printed_words(path, landscape)
        pressure = pressure_labels(LO)
        self.assertEqual(sorted(words), sorted(TITLE_WORDS + pressure + TENDENCY_LABELS + TIME_LABELS))
        frame_far = LONG_SIDE - MARGIN  # the frame's edge a margin from the long side's end
        if landscape:
            # Pressure left of the frame, highest on top; tendency right of it; time below.
            tops = [words[label][1] for label in reversed(pressure)]
            for label in pressure:
                self.assertLessEqual(words[label][2], MARGIN, label)
            for label in TENDENCY_LABELS:
                self.assertGreaterEqual(words[label][0], frame_far, label)
            for label in TIME_LABELS:
                self.assertGreaterEqual(words[label][1], 2129 * POINTS_PER_DOT, label)
            for word in TITLE_WORDS:
                self.assertLessEqual(words[word][3], MARGIN, word)
        else:
            # Turned: pressure above the frame, lowest at the left; tendency below; time left of it.
            tops = [words[label][0] for label in pressure]
            for label in pressure:
                self.assertLessEqual(words[label][3], MARGIN, label)
            for label in TENDENCY_LABELS:
                self.assertGreaterEqual(words[label][1], frame_far, label)
            for label in TIME_LABELS:
                self.assertLessEqual(words[label][2], MARGIN, label)
            for word in TITLE_WORDS:
                self.assertGreaterEqual(words[word][0], 2129 * POINTS_PER_DOT, word)
        self.assertEqual(tops, sorted(tops), "the pressure scale in order")
        return words

    # tests

    def test_chart_job_gives_one_page_under_the_document_name_and_reopens_the_port(self):
        line = self.start_with_full_history()
        files = self.print_and_collect(cmdPrintChart)
        self.assertEqual(len(files), 1, files)
        self.assertEqual(pdf_pages(files[0]), 1)
        self.assertEqual(pdf_title(files[0]), DOCUMENT_NAME)
        width, height = pdf_page_size(files[0])
        self.assertLess(width, height, "the dialog's default paper is upright")
        keep = os.environ.get("MONITOR_PRINTED_CHART_PNG")
        if keep:
            pdf_to_png(files[0], keep, resolution=100)
        self.expect_reception(line)
        self.assertFalse(os.path.exists(self.path("monitor.err")), "a job that went through logs nothing")
        self.assertEqual(self.quit_monitor(), 0)

    def test_printed_chart_shows_title_scales_curves_and_time_marks(self):
        self.start_with_full_history()
        files = self.print_and_collect(cmdPrintChart)
        self.assertEqual(len(files), 1, files)

        self.check_chart_words(files[0], LO=0, landscape=False)

        width, height, rows = pdf_pixels(files[0], resolution=50)

        def darkest_near(x, y):
            """The darkest channel value within two pixels of a page point in device units."""
            px, py = int(round(x * width / 2479)), int(round(y * height / 3508))
            return min(min(rows[j][i]) for j in range(py - 2, py + 3) for i in range(px - 2, px + 3))

        # The frame: x from 350 to 2479 - 350, y from 350 to 3508 - 350.
        for y in (600, 1754, 2900):
            self.assertLess(darkest_near(350, y), 128, f"left frame edge at y {y}")
            self.assertLess(darkest_near(2129, y), 128, f"right frame edge at y {y}")
        for x in (600, 1240, 1900):
            self.assertLess(darkest_near(x, 350), 128, f"top frame edge at x {x}")
            self.assertLess(darkest_near(x, 3158), 128, f"bottom frame edge at x {x}")
        # Outside the frame and away from ticks and labels the paper is white.
        self.assertGreater(darkest_near(1240, 3470), 200)
        blue = [(x, y) for y, row in enumerate(rows) for x, p in enumerate(row) if p[2] > 150 and max(p[:2]) < 100]
        green = [(x, y) for y, row in enumerate(rows) for x, p in enumerate(row) if p[1] > 150 and max(p[0], p[2]) < 100]
        self.assertGreater(len(blue), 20, "one-hour tendency curve")
        self.assertGreater(len(green), 20, "three-hour tendency curve")
        # Both curves run along the time axis, up the page inside the frame.
        for name, points in (("blue", blue), ("green", green)):
            ys = [y * 3508 / height for _, y in points]
            self.assertLess(min(ys), 700, name)
            self.assertGreater(max(ys), 2800, name)
        self.assertEqual(self.quit_monitor(), 0)

    def test_landscape_chart_has_its_scales_in_the_margins(self):
        # The dialog starts from the printer's default paper orientation.
        previous = self.driver.ask(f"orientation {QUEUE} 2")
        self.assertTrue(previous.startswith("ok "), previous)
        try:
            line = self.start_with_full_history()
            files = self.print_and_collect(cmdPrintChart)
            self.assertEqual(len(files), 1, files)
            self.assertEqual(pdf_pages(files[0]), 1)
            self.check_chart_words(files[0], LO=0, landscape=True)
            # The low scale, from the menu.
            self.assertEqual(self.driver.ask(command(cmdScale900)), "ok")
            files = self.print_and_collect(cmdPrintChart)
            self.assertEqual(len(files), 1, files)
            self.check_chart_words(files[0], LO=1, landscape=True)
            self.expect_reception(line)
        finally:
            self.assertTrue(self.driver.ask(f"orientation {QUEUE} {previous.split()[1]}").startswith("ok "))
        self.assertEqual(self.quit_monitor(), 0)

    def check_week_page(self, landscape):
        """Command 1006 with the week shown: one page with the heading, the dates,
        the pressure scale and every day label on it, each at least 6 points high."""
        now = week_records.utc_minute()
        gap = (now - datetime.timedelta(hours=52), now - datetime.timedelta(hours=49))
        alarm = (now - datetime.timedelta(hours=20), now - datetime.timedelta(hours=16))
        self.serial_ports(2)
        self.write("monitor.ini", ini())
        self.write("monitor.txt", week_records.nine_days(now, gap, alarm))
        self.start_monitor()
        self.assertEqual(self.driver.ask(command(cmdShowWeek)), "ok")
        files = self.print_and_collect(cmdPrintChart)
        self.assertEqual(len(files), 1, files)
        self.assertEqual(pdf_pages(files[0]), 1)
        keep = os.environ.get("MONITOR_PRINTED_WEEK_PNG")
        if keep:
            pdf_to_png(files[0], keep, resolution=100)
        start = now - datetime.timedelta(days=7)
        expected = ["Barogramm", f"{start:%d.%m.%Y}", "-", f"{now:%d.%m.%Y}"] + pressure_labels(0)
        days = week_records.day_labels(now)
        for label in days:
            expected += label.split()
        # At 00:00 the week begins and ends with the same weekday.
        words = self.printed_words(files[0], landscape, repeats=True)
        # The newest day's label gives its weekday alone while the whole label
        # would run past the frame's end (its first hours, by the page's font).
        if days[-1].split()[1] not in words:
            expected.remove(days[-1].split()[1])
            days = days[:-1]
        self.assertEqual(sorted(words), sorted(set(expected)))
        for label in days:
            weekday, date = (words[word] for word in label.split())
            if landscape:  # below the frame, the date beneath the weekday
                self.assertGreaterEqual(weekday[1], 2129 * POINTS_PER_DOT, label)
                self.assertGreaterEqual(date[1], weekday[3] - 1, label)
            else:  # left of the turned frame, the date left of the weekday
                self.assertLessEqual(weekday[2], MARGIN, label)
                self.assertLessEqual(date[2], weekday[0] + 1, label)
        for label in pressure_labels(0):
            self.assertLessEqual(words[label][2] if landscape else words[label][3], MARGIN, label)
        self.assertEqual(self.quit_monitor(), 0)

    def test_week_view_prints_as_one_upright_barogram_page(self):
        self.check_week_page(landscape=False)

    def test_week_view_prints_as_one_landscape_barogram_page(self):
        previous = self.driver.ask(f"orientation {QUEUE} 2")
        self.assertTrue(previous.startswith("ok "), previous)
        try:
            self.check_week_page(landscape=True)
        finally:
            self.assertTrue(self.driver.ask(f"orientation {QUEUE} {previous.split()[1]}").startswith("ok "))

    def test_upright_chart_on_the_low_scale(self):
        self.start_with_full_history(LO="1")
        files = self.print_and_collect(cmdPrintChart)
        self.assertEqual(len(files), 1, files)
        self.check_chart_words(files[0], LO=1, landscape=False)
        self.assertEqual(self.quit_monitor(), 0)

    def test_printed_chart_carries_the_storm_warning_inside_the_frame_in_day_colours_at_night(self):
        line = self.start_with_full_history()
        # Night colours on the screen: the page stays the day's.
        self.assertEqual(self.driver.ask(command(cmdNightColours)), "ok")
        # Ten sentences of a fall of 6.5 hPa in three hours raise the gale alarm.
        line.write(b"".join(pxdr(100500, 52000, -25, -65, 0, 100700) for _ in range(10)))
        self.assertTrue(self.wait_for(lambda: os.path.exists(self.path("monitor.err"))
                                      and event_tag(eventGaleAlarm) in self.read("monitor.err"), timeout=30))
        keep = os.environ.get("MONITOR_WARNING_SCREEN_PNG")
        if keep:
            time.sleep(1)
            with open(keep, "wb") as out:
                out.write(screenshot())
        files = self.print_and_collect(cmdPrintChart)
        self.assertEqual(len(files), 1, files)
        words = self.printed_words(files[0], landscape=False)
        banner = ["Sturmalarm:", "Luftdruck", "f\u00e4llt", "sehr", "schnell", "hPa/Std", "hPa/3Std", "seit", "UTC"]
        for word in banner:
            self.assertIn(word, words)
            # Turned, the banner runs down the frame's right side, inside it: two rows of a
            # hundred dots each, with their padding, next to the frame's line at 2129.
            x0, y0, x1, y1 = words[word]
            self.assertGreaterEqual(x0, (2129 - 3 - 2 * 150) * POINTS_PER_DOT, word)
            self.assertLessEqual(x1, 2129 * POINTS_PER_DOT, word)
            self.assertGreaterEqual(y0, MARGIN, word)
            self.assertLessEqual(y1, LONG_SIDE - MARGIN, word)
        keep = os.environ.get("MONITOR_PRINTED_WARNING_PNG")
        if keep:
            pdf_to_png(files[0], keep, resolution=100)
        # The rows are filled red.
        width, height, rows = pdf_pixels(files[0], resolution=50)
        red = [(x, y) for y, row in enumerate(rows) for x, p in enumerate(row) if p[0] > 180 and max(p[1:]) < 60]
        strip = [(x, y) for x, y in red if x >= (2129 - 310) * width / 2479]
        self.assertGreater(len(strip), 2000, "the red banner")
        # The low of the history falls by more than 3.6 hPa in three hours: red on the curve.
        self.assertGreater(len(red) - len(strip), 10, "the quick fall drawn in red")
        # The tendencies in their green and blue on a white page.
        pixels = [p for row in rows for p in row]
        self.assertGreater(sum(p[1] > 150 and max(p[0], p[2]) < 100 for p in pixels), 100, "green")
        self.assertGreater(sum(p[2] > 150 and max(p[:2]) < 100 for p in pixels), 100, "blue")
        self.assertGreater(sum(min(p) > 240 for p in pixels), len(pixels) // 2, "white")
        self.assertEqual(self.quit_monitor(), 0)

    def test_printer_context_measures_as_the_page_plans_assume(self):
        """The Win32 tests of a real printer context need this queue: run them here."""
        program = os.path.join(BUILD, "tests", "win32", "win32_tests.exe")
        if not os.path.exists(program):
            self.skipTest("the Win32 tests are not built")
        run = subprocess.run(["wine", program, "--gtest_filter=RealPrinter.*"], cwd=self.workdir, env=wine_env(),
                             stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=120)
        out = run.stdout.decode(errors="replace")
        self.assertEqual(run.returncode, 0, out)
        self.assertIn("[  PASSED  ] 2 tests.", out)
        self.assertNotIn("SKIPPED", out)

    def test_table_job_prints_the_stored_sentences_newest_first(self):
        lines = self.serial_ports(2)
        self.write("monitor.ini", ini(DATA="NMEA"))
        self.start_monitor()
        sentences = [f"$GPRMC,1200{i:02d},A,5300.{i:04d},N,00259.9817,W,*{i:02d}\r\n".encode() for i in range(69)]
        # The longest sentence NMEA allows, 82 characters: newest, so first on the page.
        longest = "$GPGSV,3,1,12,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45,15,50,120,44,*7C"
        self.assertEqual(len(longest), 82)
        sentences.append((longest + "\r\n").encode())
        lines[2].write(b"".join(sentences))
        self.assertTrue(self.wait_title(lambda t: t.startswith("70 ")).startswith("70 "))

        files = self.print_and_collect(cmdPrintNmeaTable)
        self.assertEqual(len(files), 1, files)
        self.assertEqual(pdf_pages(files[0]), 1)
        self.assertEqual(pdf_title(files[0]), DOCUMENT_NAME)
        printed = [line.strip() for line in pdf_text(files[0]).splitlines() if line.strip()]
        self.assertEqual(printed[0], "NMEA Daten")
        rows = printed[1:]
        self.assertGreater(len(rows), 10)
        newest_first = [s.decode().strip() for s in reversed(sentences)]
        self.assertEqual(rows, newest_first[:len(rows)])
        self.assertEqual(rows[0], longest, "printed whole")
        width, height, words = pdf_words(files[0])
        placed = [word for word in words if word[0] == longest]
        self.assertEqual(len(placed), 1, [word[0] for word in words][:3])
        for text, x0, y0, x1, y1 in words:
            self.assertTrue(0 <= x0 < x1 <= width and 0 <= y0 < y1 <= height, f"{text!r} off the page")
            self.assertGreaterEqual(y1 - y0, 6.0, f"{text!r} only {y1 - y0:.1f} pt high")

        # The port is open again: the next sentence is stored.
        lines[2].write(b"$GPZDA,1*00\r\n")
        self.assertTrue(self.wait_title(lambda t: t.startswith("71 ")).startswith("71 "))
        self.assertEqual(self.quit_monitor(), 0)

    def test_cancelled_dialog_before_the_table_prints_and_shows_nothing(self):
        lines = self.serial_ports(2)
        self.write("monitor.ini", ini())
        self.start_monitor()
        before = printer.files()
        for _ in range(2):  # the dialog comes up again each time
            dialog = self.print_dialog(cmdPrintNmeaTable)
            self.assertEqual(self.driver.press(dialog, self.button(dialog, "Cancel")), "ok")
            time.sleep(1.0)
            self.assertEqual(self.driver.boxes(), [])
        time.sleep(2.0)
        self.assertEqual(printer.files() - before, set())
        self.expect_reception(lines[2])
        self.assertFalse(os.path.exists(self.path("monitor.err")), "nothing is logged")
        self.assertEqual(self.quit_monitor(), 0)

    def test_cancelled_dialog_before_the_chart_logs_event_8_and_says_so(self):
        lines = self.serial_ports(2)
        self.write("monitor.ini", ini())
        self.start_monitor()
        before = printer.files()
        dialog = self.print_dialog(cmdPrintChart)
        self.assertEqual(self.driver.press(dialog, self.button(dialog, "Cancel")), "ok")
        box = self.driver.wait_box(exclude=(dialog["handle"],))
        self.assertIsNotNone(box, "no message")
        self.assertEqual((box["caption"], box["text"]), ("Drucker", "Fehler beim Drucken"))
        self.assertTrue(self.wait_for(lambda: os.path.exists(self.path("monitor.err"))
                                      and b"  " + event_tag(eventPrintError) + b"print error \r\n"
                                      in self.read("monitor.err")))
        # While the message is open the port is closed on purpose: the poll
        # leaves it alone, and nothing is logged as a lost port.
        time.sleep(1.0)
        self.assertNotIn(b"  " + event_tag(eventPortLost), self.read("monitor.err"))
        # The box has no owner, so the menu still works; a print command now does nothing.
        for number in (cmdPrintChart, cmdPrintNmeaTable):
            self.assertEqual(self.driver.ask(command(number)), "ok")
        time.sleep(1.5)
        self.assertEqual([open_box["handle"] for open_box in self.driver.boxes()], [box["handle"]])
        self.assertEqual(self.driver.press(box), "ok")
        time.sleep(1.0)
        self.assertEqual(printer.files() - before, set())
        self.expect_reception(lines[2])
        self.assertEqual(self.quit_monitor(), 0)


if __name__ == "__main__":
    unittest.main()
