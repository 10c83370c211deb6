"""monitor.txt files for the week chart: records every five minutes up to the
present UTC minute, with a gap and a stretch of wind alarm where a test wants
them, and where each record lands on the screen."""

import datetime
import math

STEP = datetime.timedelta(minutes=5)


def record_line(number, stamp, pressure, alarm=0, t1=0, t3=0):
    """One 80-byte record line; pressure in hundredths of a hPa, tendencies in tenths."""
    def tenths(value):
        return f"{'-' if value < 0 else '+'}{abs(value) // 10:02d},{abs(value) % 10}"

    line = (f"{number:06d} {stamp:%d.%m.%Y %H:%M} {pressure // 100:04d},{pressure % 100:02d} hPa "
            f"{tenths(t1)} hPa/hr {tenths(t3)} hPa/3h 00,4 hPa/h var {alarm}\r\n").encode()
    assert len(line) == 80, line
    return line


def utc_minute():
    now = datetime.datetime.now(datetime.timezone.utc).replace(tzinfo=None)
    return now.replace(second=0, microsecond=0)


def pressure_at(hours_ago):
    """A weather course in hundredths of a hPa: two systems passing in nine days."""
    return int(101000 + 1200 * math.sin(hours_ago / 30.0) - 900 * math.exp(-((hours_ago - 60) / 12.0) ** 2))


def nine_days(now, gap=(), alarm=(), stray=()):
    """Records from nine days before `now` up to five minutes before it;
    none in the `gap` (first, last) datetimes, the wind alarm digit 1 in
    `alarm` (first, last), with the pressure falling fast there; the records
    of the `stray` datetimes dated 01.01.2000, as by a clock that ran wrong."""
    lines = []
    t = now - datetime.timedelta(days=9)
    number = 1
    while t < now:
        hours_ago = (now - t).total_seconds() / 3600
        in_gap = gap and gap[0] <= t <= gap[1]
        in_alarm = alarm and alarm[0] <= t <= alarm[1]
        if not in_gap:
            pressure = pressure_at(hours_ago)
            if alarm and t >= alarm[0]:
                # 3 hPa an hour down while the alarm lasts, then slowly back.
                falling = (min(t, alarm[1]) - alarm[0]).total_seconds() / 3600
                recovering = max((t - alarm[1]).total_seconds() / 3600, 0)
                pressure -= int(falling * 300 * math.exp(-recovering / 10))
            stamp = t.replace(year=2000, month=1, day=1) if t in stray else t
            lines.append(record_line(number, stamp, pressure, 1 if in_alarm else 0, -45 if in_alarm else 3))
        number += 1
        t += STEP
    return b"".join(lines)


def day_labels(now, language="DE"):
    """The labels of the midnights of the week ending at `now`, as the chart writes them."""
    weekdays = {"DE": "So Mo Di Mi Do Fr Sa", "EN": "Sun Mon Tue Wed Thu Fri Sat"}[language].split()
    months = "Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec".split()
    labels = []
    start = now - datetime.timedelta(days=7)
    day = start.replace(hour=0, minute=0)
    if day < start:
        day += datetime.timedelta(days=1)
    while day <= now:
        weekday = weekdays[(day.weekday() + 1) % 7]
        labels.append(f"{weekday} {day:%d.%m.}" if language == "DE" else f"{weekday} {day.day} {months[day.month - 1]}")
        day += datetime.timedelta(days=1)
    return labels
