"""The numbers the program answers to and writes, under the names its source
gives them: the window commands the driver posts, the event and fatal-error
numbers of monitor.err, and the sentences a barograph sends. The tests name
these instead of repeating the numbers; the numbers are read at import from the
C++ headers that define them, so that a changed number is changed in one place."""

import os
import re

# The headers that give the numbers their names: the window commands (WM_COMMAND ids
# of the main window) beside the menu description, the events and fatal errors of
# monitor.err beside their texts.
HEADERS = ("app/menu_layout.h", "records/event_text.h")
_SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
_ENUM = re.compile(r"\benum\s+(?:class\s+)?\w+\s*(?::\s*\w+\s*)?\{(.*?)\};", re.S)
_ENUMERATOR = re.compile(r"\s*([A-Za-z_]\w*)\s*=\s*(\d+)\s*")
_FROM_HEADERS = re.compile(r"(cmd|event|fatal)[A-Z]")


def enumerators(header):
    """Every enumerator of the header's enums with its value. Each must stand as
    `name = number`: one this cannot read fails the import rather than go missing."""
    with open(os.path.join(_SOURCE, header), encoding="latin-1") as source:
        text = re.sub(r"//[^\n]*|/\*.*?\*/", "", source.read(), flags=re.S)
    found = {}
    for body in _ENUM.findall(text):
        for item in filter(str.strip, body.split(",")):
            match = _ENUMERATOR.fullmatch(item)
            if not match:
                raise ImportError(f"monitor_ids: {header}: cannot read {item.strip()!r} as name = number")
            found[match.group(1)] = int(match.group(2))
    return found


_NUMBERS = {name: value for header in HEADERS for name, value in enumerators(header).items()}
globals().update(_NUMBERS)


def _number(name):
    """A number by its name in the headers; a name they lack fails the import."""
    if name not in _NUMBERS:
        raise ImportError(f"monitor_ids: {name} is not an enumerator of {' or '.join(HEADERS)}")
    return _NUMBERS[name]


def __getattr__(name):
    """A test's import of a command, event or fatal-error name that the headers
    lack fails with a message that names it, not with Python's bare one."""
    if _FROM_HEADERS.match(name):
        return _number(name)
    raise AttributeError(f"module {__name__!r} has no attribute {name!r}")


# COM7 and COM8 came later and lie outside the range of the first six: by name, not by arithmetic.
PORT_COMMANDS = [_number(f"cmdPortCom{port}") for port in range(1, 9)]
WIND_ALARM_EVENTS = tuple(map(_number, ("eventWindWarning", "eventGaleAlarm", "eventWindAlarmEnded")))
_PORT_COM1_FAILED = _number("eventPortCom1Failed")  # COM1..COM4 follow it


def command(number):
    """The driver's request that posts window command `number`."""
    return f"command {number}"


def port_failed_event(port):
    """The event of a port COM1..COM4 that could not be opened."""
    assert 1 <= port <= 4, port
    return _PORT_COM1_FAILED + port - 1


def event_tag(number):
    """The part of a monitor.err line that names event `number`, its text follows."""
    return f"event nr. {number} ".encode()


def fatal_number(number):
    """A fatal-error number as the box and monitor.err show it: three digits."""
    return f"{number:03d}"


# Device sentences.

# The barograph's sentence of the worked example: 998.60 hPa, converter 52684,
# +1.2 hPa and +3.5 hPa tendencies, 300 minutes back 995.40 hPa.
EXAMPLE = b"$PXDR,0998.60,52684,+01.2,+03.5,-0300,0995.40\r\n"
# The barograph's second sentence, sent after every $PXDR; the program rejects it.
WIXDR = b"$WIXDR,P,0.9986,B\r\n"


def pxdr(pressure, converter, t1, t3, minutes, then):
    """A $PXDR sentence: pressures in hundredths of a hPa, tendencies in tenths
    of a hPa, the minutes back to the `then` pressure."""
    def hpa(value):
        return f"{value // 100:04d}.{value % 100:02d}"

    def tendency(value):
        return f"{'-' if value < 0 else '+'}{abs(value) // 10:02d}.{abs(value) % 10}"

    return f"$PXDR,{hpa(pressure)},{converter:05d},{tendency(t1)},{tendency(t3)},-{minutes:04d},{hpa(then)}\r\n".encode()
