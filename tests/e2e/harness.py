"""End-to-end harness: runs the real monitor.exe under Wine in a fresh working
folder, with pseudo terminals linked as its COM ports, and drives it through
tools/e2e_driver.exe. Everything started here is stopped here, by pid."""

import atexit
import fcntl
import os
import select
import shutil
import subprocess
import sys
import tempfile
import time
import tty

from monitor_ids import cmdQuit, command

BUILD = os.environ.get("MONITOR_BUILD", os.path.join(os.path.dirname(__file__), "..", "..", "build", "win64"))
BUILD = os.path.abspath(BUILD)
SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
PREFIX = os.environ.get("MONITOR_WINEPREFIX", os.path.join(BUILD, "wineprefix"))
MONITOR_EXE = os.path.join(BUILD, "app", "monitor.exe")
DRIVER_EXE = os.path.join(BUILD, "tools", "e2e_driver.exe")

# Local time differs from UTC, so that a mix-up of the two shows.
TEST_TZ = "XYZ-3"

DEFAULT_INI = (b"DATA=  TQ\nCOM=COM2\nSAVE=0300\nSHOW=0300\nT1=1\nT3=1\nVAR=1\nTC=0\nAD=0\nERR=1\n"
               b"U=0\nSIG=0\nDKS=0\nLANG=DE\nDW=0\nAW=0\nLO=0\n")


def ini(**changes):
    """DEFAULT_INI with the values of some keys replaced, e.g. ini(LANG="EN")."""
    text = DEFAULT_INI
    for key, value in changes.items():
        lines = text.split(b"\n")
        for i, line in enumerate(lines):
            if line.startswith(key.encode() + b"="):
                lines[i] = (key + "=" + value).encode()
        text = b"\n".join(lines)
    assert len(text) == 110, text
    return text


_started = []  # processes to stop at exit, newest last


def _stop(process, timeout=5):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def _stop_all():
    # The Wine processes go first, while their wineserver still runs: `-k` ends
    # every process of the prefix, its service processes included, which a
    # wineserver that is simply terminated would leave behind.
    subprocess.run(["wineserver", "-k"], env=wine_env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for process in reversed(_started):
        _stop(process)
    _started.clear()


def _free_display():
    for number in range(90, 200):
        if not os.path.exists(f"/tmp/.X11-unix/X{number}") and not os.path.exists(f"/tmp/.X{number}-lock"):
            return number
    raise RuntimeError("no free X display")


_environment = {}


def wine_env():
    env = dict(os.environ)
    env.update(_environment)
    env["WINEPREFIX"] = PREFIX
    env["WINEDEBUG"] = "-all"
    env["TZ"] = TEST_TZ
    return env


def set_up_session():
    """Display, prefix and a persistent wineserver, once per test run."""
    if _environment.get("ready"):
        return
    os.environ["TZ"] = TEST_TZ
    time.tzset()
    if not os.environ.get("DISPLAY"):
        number = _free_display()
        xvfb = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        _started.append(xvfb)
        deadline = time.time() + 10
        while not os.path.exists(f"/tmp/.X11-unix/X{number}") and time.time() < deadline:
            time.sleep(0.05)
        _environment["DISPLAY"] = f":{number}"
    subprocess.run([os.path.join(SOURCE, "scripts", "wine-prefix"), PREFIX], check=True)
    server = subprocess.Popen(["wineserver", "-f", "-p"], env=wine_env(),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _started.append(server)
    atexit.register(_stop_all)
    _environment["ready"] = "1"


class SerialLine:
    """A pseudo terminal whose slave end Wine opens as a COM port."""

    def __init__(self):
        self.master, self.slave = os.openpty()
        tty.setraw(self.slave)
        self.path = os.ttyname(self.slave)
        flags = fcntl.fcntl(self.master, fcntl.F_GETFL)
        fcntl.fcntl(self.master, fcntl.F_SETFL, flags | os.O_NONBLOCK)

    def write(self, data, timeout=120):
        """Writes all of `data`, waiting while the line's buffer is full."""
        view = memoryview(data)
        deadline = time.time() + timeout
        while view:
            if time.time() > deadline:
                raise TimeoutError(f"{len(view)} bytes not taken by the reader")
            select.select([], [self.master], [], 0.2)
            try:
                written = os.write(self.master, view)
            except BlockingIOError:
                continue
            view = view[written:]

    # Wine does not apply share modes to serial devices, so another Windows
    # program holding the port cannot be staged. A locked pty refuses every
    # open, which is what the program sees of a port that another program holds.
    _TIOCSPTLCK = 0x40045431

    def hold(self):
        fcntl.ioctl(self.master, self._TIOCSPTLCK, (1).to_bytes(4, "little"))

    def release(self):
        fcntl.ioctl(self.master, self._TIOCSPTLCK, (0).to_bytes(4, "little"))

    def drain(self, timeout=60):
        """Waits until the reader has taken every byte written so far."""
        import termios
        deadline = time.time() + timeout
        while time.time() < deadline:
            waiting = fcntl.ioctl(self.slave, termios.FIONREAD, b"\0\0\0\0")
            if int.from_bytes(waiting, "little") == 0:
                return True
            time.sleep(0.05)
        return False

    def close(self):
        for fd in (self.master, self.slave):
            try:
                os.close(fd)
            except OSError:
                pass


def link_ports(ports, prefix=PREFIX):
    """Makes exactly the given COM ports exist: {number: device path}."""
    dosdevices = os.path.join(prefix, "dosdevices")
    for name in os.listdir(dosdevices):
        if name.startswith("com"):
            os.unlink(os.path.join(dosdevices, name))
    for number, path in ports.items():
        os.symlink(path, os.path.join(dosdevices, f"com{number}"))


_registered_ports = set()


def register_wine_ports(ports):
    """Registers ptys as COM ports the way Wine does ({number: device path}), so
    that its mount manager lists them among the system's serial devices, and
    drops those registered before. Restarts the prefix's server: every process
    of the prefix ends, the driver too."""
    env = wine_env()
    quiet = {"env": env, "stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}
    for number in _registered_ports - set(ports):
        subprocess.run(["wine", "reg", "delete", r"HKLM\Software\Wine\Ports", "/v", f"COM{number}", "/f"], **quiet)
        link = os.path.join(PREFIX, "dosdevices", f"com{number}")
        if os.path.islink(link):
            os.unlink(link)
    for number, path in ports.items():
        subprocess.run(["wine", "reg", "add", r"HKLM\Software\Wine\Ports", "/v", f"COM{number}", "/d", path, "/f"],
                       check=True, **quiet)
    _registered_ports.clear()
    _registered_ports.update(ports)
    subprocess.run(["wineserver", "-k"], **quiet)
    subprocess.run(["wineserver", "-w"], **quiet)
    _started.append(subprocess.Popen(["wineserver", "-f", "-p"], **quiet))


class IsolatedNetwork:
    """A network namespace of the test's own with only the loopback, and a copy
    of the test prefix whose wineserver runs inside it. Wine makes a program's
    sockets in its wineserver, so the server decides where they live; Xvfb and
    wineserver are reached through path sockets, which every namespace shares.
    Whatever a process started through `command` sends cannot leave the machine."""

    def __init__(self):
        self.holder = subprocess.Popen(["unshare", "-n", "sleep", "infinity"])
        _started.append(self.holder)
        self.net = f"/proc/{self.holder.pid}/ns/net"
        deadline = time.time() + 10
        while os.readlink(self.net) == os.readlink("/proc/self/ns/net") and time.time() < deadline:
            time.sleep(0.02)
        subprocess.run(self.command(["ip", "link", "set", "lo", "up"]), check=True)
        # Hard links for the system folders, which Wine only reads; copies of the registry and the rest.
        self.prefix = tempfile.mkdtemp(prefix="netns-prefix-", dir=os.path.dirname(PREFIX))
        shared = tuple(os.path.join(PREFIX, "drive_c", d) + os.sep for d in ("windows", "Program Files", "Program Files (x86)"))
        shutil.copytree(PREFIX, self.prefix, symlinks=True, dirs_exist_ok=True,
                        copy_function=lambda a, b: (os.link if a.startswith(shared) else shutil.copy2)(a, b))
        self.env = wine_env()
        self.env["WINEPREFIX"] = self.prefix
        self.wineserver = subprocess.Popen(self.command(["wineserver", "-f", "-p"]), env=self.env,
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        _started.append(self.wineserver)

    def command(self, argv):
        return ["nsenter", f"--net={self.net}"] + list(argv)

    def inside(self, pid):
        """True when the process of that pid is in this namespace."""
        return os.readlink(f"/proc/{pid}/ns/net") == os.readlink(self.net)

    def udp_ports(self):
        """The local ports of the UDP sockets in the namespace."""
        with open(f"/proc/{self.holder.pid}/net/udp") as table:
            return {int(line.split()[1].split(":")[1], 16) for line in list(table)[1:]}

    def connect(self, make):
        """Runs `make` (which opens a socket) inside the namespace: a socket
        belongs to the namespace it was made in."""
        import ctypes
        libc, here, there = ctypes.CDLL(None, use_errno=True), open("/proc/self/ns/net"), open(self.net)
        with here, there:
            if libc.setns(there.fileno(), 0x40000000) != 0:  # CLONE_NEWNET
                raise OSError(ctypes.get_errno(), "setns")
            try:
                return make()
            finally:
                libc.setns(here.fileno(), 0x40000000)

    def link_ports(self, ports):
        link_ports(ports, self.prefix)

    def close(self):
        subprocess.run(self.command(["wineserver", "-k"]), env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        for process in (self.wineserver, self.holder):
            _stop(process)
            if process in _started:
                _started.remove(process)
        shutil.rmtree(self.prefix, ignore_errors=True)


class Driver:
    def __init__(self, cwd, network=None):
        argv, env = ["wine", DRIVER_EXE], wine_env()
        if network:
            argv, env = network.command(argv), network.env
        self.process = subprocess.Popen(argv, cwd=cwd, env=env,
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        _started.append(self.process)

    def ask(self, command):
        self.process.stdin.write(command.encode("cp1252") + b"\n")
        self.process.stdin.flush()
        return self._line()

    def _line(self):
        line = self.process.stdout.readline()
        if not line:
            raise RuntimeError("driver ended")
        return unescape(line.rstrip(b"\n").decode("cp1252"))

    def boxes(self, wanted=0, timeout_ms=0):
        head = self.ask(f"wait-boxes {wanted} {timeout_ms}" if wanted else "boxes")
        count = int(head.split()[1])
        result = []
        for _ in range(count):
            raw = self.process.stdout.readline().rstrip(b"\n").decode("cp1252")
            handle, caption, text, buttons = raw.split("\t")
            result.append({"handle": handle, "caption": unescape(caption), "text": unescape(text),
                           "buttons": unescape(buttons)})
        return result

    def wait_box(self, exclude=(), timeout=15):
        """The first open message box whose handle is not in `exclude`, or None."""
        deadline = time.time() + timeout
        while True:
            fresh = [box for box in self.boxes() if box["handle"] not in exclude]
            if fresh or time.time() > deadline:
                return fresh[0] if fresh else None
            time.sleep(0.05)

    def menu(self):
        """The program's menu bar: a list of (title, [entries]) with entries
        (id, text, checked, grayed) or None for a separator. Where the bar
        stands on the screen (left, top, right, bottom) is kept as bar_place."""
        head = self.ask("menu")
        if not head.startswith("ok "):
            raise RuntimeError("menu: " + head)
        bar = []
        for _ in range(int(head.split()[1])):
            fields = self.process.stdout.readline().rstrip(b"\n").decode("cp1252").split("\t")
            if fields[0] == "bar":
                self.bar_place = tuple(int(n) for n in fields[1].split())
            elif fields[0] == "popup":
                bar.append((unescape(fields[1]), []))
            elif fields[0] == "separator":
                bar[-1][1].append(None)
            else:
                bar[-1][1].append((int(fields[1]), unescape(fields[2]), fields[3] == "1", fields[4] == "1"))
        return bar

    def clipboard(self):
        """The clipboard's formats (numbers) and, by name ("emf", "bitmap"),
        the numbers the driver read from what is there."""
        head = self.ask("clipboard")
        if not head.startswith("ok "):
            raise RuntimeError("clipboard: " + head)
        formats = [] if head == "ok none" else [int(f) for f in head[3:].split(",")]
        details = {}
        for line in iter(self._line, "end"):
            name, *numbers = line.split()
            details[name] = [int(n) for n in numbers]
        return formats, details

    def press(self, box, button_id=1):
        return self.ask(f"press {box['handle']} {button_id}")

    def options(self, timeout_ms=10000):
        """The handle of the open Options dialog, or None."""
        answer = self.ask(f"wait-options {timeout_ms}")
        return answer.split()[1] if answer.startswith("ok ") else None

    def controls(self, dialog):
        """(caption, rect) of a dialog and {id or (label text): control} of its children; each control a
        dict of class, text, rect (screen pixels), checked, focused, enabled. Labels and group boxes have
        no id of their own and go by their text."""
        head = self.ask(f"controls {dialog}")
        if not head.startswith("ok "):
            return None, None, {}
        caption, rect = head[3:].split("\t")
        found = {}
        for line in iter(self._line, "end"):
            number, kind, text, box, checked, focused, enabled = line.split("\t")
            key = int(number) if int(number) != 0xFFFF else text
            found[key] = {"class": kind, "text": text, "rect": tuple(map(int, box.split(","))),
                          "checked": checked == "1", "focused": focused == "1", "enabled": enabled == "1"}
        return caption, tuple(map(int, rect.split(","))), found

    def fill(self, dialog, values):
        """Types each text into the field of its id (a check box takes True or False)."""
        for number, value in values.items():
            request = f"check {dialog} {number} {int(value)}" if isinstance(value, bool) else \
                f"set {dialog} {number} {value}"
            assert self.ask(request) == "ok", request

    def close(self):
        if self.process.poll() is None:
            try:
                self.process.stdin.write(b"quit\n")
                self.process.stdin.flush()
                self.process.wait(5)
            except (BrokenPipeError, subprocess.TimeoutExpired):
                pass
        _stop(self.process)


def unescape(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            out.append({"n": "\n", "r": "\r", "t": "\t", "\\": "\\"}.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


class Monitor:
    """One run of monitor.exe in a working folder."""

    def __init__(self, workdir, exe=MONITOR_EXE, network=None):
        self.workdir = workdir
        self.exe = exe
        self.network = network
        self.process = None

    def start(self):
        # Starting again (the next language of a test) ends the earlier run
        # first, also where a failed check left it running.
        self.stop()
        argv, env = ["wine", self.exe], wine_env()
        if self.network:
            argv, env = self.network.command(argv), self.network.env
        self.process = subprocess.Popen(argv, cwd=self.workdir, env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        _started.append(self.process)

    def wait(self, timeout=20):
        return self.process.wait(timeout)

    def running(self):
        return self.process is not None and self.process.poll() is None

    def stop(self):
        if self.process is not None:
            _stop(self.process)


class MonitorTestMixin:
    """Per test: a fresh working folder, the driver, and cleanup by pid."""

    def setUp(self):
        set_up_session()
        self.workdir = tempfile.mkdtemp(prefix="monitor-e2e-")
        self.lines = {}
        self.driver = Driver(self.workdir)
        self.monitor = Monitor(self.workdir)

    def tearDown(self):
        self.monitor.stop()
        # A program that a failed check left running, or a box it left open,
        # would answer the next test in place of that test's own program.
        try:
            leftovers = self.driver.ask("end-leftovers")
        except (OSError, RuntimeError) as error:
            leftovers = f"driver: {error}"
        if leftovers != "ok 0":
            print(f"\n{self.id()}: ended programs it left running ({leftovers})", file=sys.stderr)
        self.driver.close()
        for line in self.lines.values():
            line.close()
        shutil.rmtree(self.workdir, ignore_errors=True)

    # helpers
    def path(self, name):
        return os.path.join(self.workdir, name)

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data)

    def serial_ports(self, *numbers):
        """Links a fresh pty as each of the given COM ports; all others are missing."""
        for line in self.lines.values():
            line.close()
        self.lines = {number: SerialLine() for number in numbers}
        link_ports({number: line.path for number, line in self.lines.items()})
        return self.lines

    def register_ports(self, ports):
        """COM ports the system lists ({number: device path}) for this test;
        the driver is started anew, and the ports go again after the test."""
        self.driver.close()
        register_wine_ports(ports)
        self.addCleanup(register_wine_ports, {})
        self.driver = Driver(self.workdir)

    def start_monitor(self, wait_window=True):
        self.monitor.start()
        if wait_window:
            self.assertEqual(self.driver.ask("wait-window 15000"), "ok")

    def title(self):
        answer = self.driver.ask("title")
        self.assertTrue(answer.startswith("ok "), answer)
        return answer[3:]

    def wait_title(self, predicate, timeout=10):
        deadline = time.time() + timeout
        title = self.title()
        while not predicate(title) and time.time() < deadline:
            time.sleep(0.05)
            title = self.title()
        return title

    def quit_monitor(self, request=command(cmdQuit)):
        self.assertEqual(self.driver.ask(request), "ok")
        return self.monitor.wait()

    def wait_for(self, predicate, timeout=10, interval=0.05):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if predicate():
                return True
            time.sleep(interval)
        return predicate()


def screenshot(kind="png"):
    """The whole screen as PNG bytes (or another format ImageMagick writes):
    the maximised window and what it draws."""
    return subprocess.run(["import", "-window", "root", "-depth", "8", kind + ":-"], env=wine_env(),
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=True).stdout


def ppm_pixels(raw):
    """A binary PPM (P6) of 8-bit samples as (width, height, rows of (r, g, b))."""
    # Header: magic, width, height, maximum, each followed by white space.
    fields = []
    at = 0
    while len(fields) < 4:
        while raw[at:at + 1].isspace():
            at += 1
        start = at
        while not raw[at:at + 1].isspace():
            at += 1
        fields.append(raw[start:at])
    at += 1
    width, height = int(fields[1]), int(fields[2])
    if int(fields[3]) != 255:
        raise ValueError("not 8-bit samples: maximum " + fields[3].decode())
    rows = []
    for y in range(height):
        row = raw[at + 3 * width * y: at + 3 * width * (y + 1)]
        rows.append([tuple(row[3 * x: 3 * x + 3]) for x in range(width)])
    return width, height, rows


def screen_pixels():
    return ppm_pixels(screenshot("ppm"))


def clock_texts(before, after, pattern, clock=time.localtime):
    """The texts `pattern` gives for every minute of `clock` between two
    time.time() values, a minute of margin on each side."""
    texts = set()
    t = before - 60
    while t <= after + 60:
        texts.add(time.strftime(pattern, clock(t)))
        t += 30
    return texts


def local_stamps(before, after):
    """The 'dd.mm.yyyy hh:mm' texts of local time between two time.time() values."""
    return clock_texts(before, after, "%d.%m.%Y %H:%M")
