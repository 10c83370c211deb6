"""A real printer for the end-to-end tests: a CUPS scheduler with a queue that
writes PDF files. What is missing is set up, and exactly that is taken down
again: a scheduler started here is stopped by its pid, a queue added here is
removed, a default destination changed here is put back."""

import os
import pwd
import re
import shutil
import socket
import subprocess
import time

from harness import ppm_pixels

QUEUE = "PDF"
PPD_NAME = "CUPS-PDF_opt.ppd"
CUPS_PDF_CONF = "/etc/cups/cups-pdf.conf"
CUPS_SOCKET = "/run/cups/cups.sock"


def _run(*args, check=True):
    return subprocess.run(list(args), stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, check=check)


def missing_tools():
    """The programs this helper needs that are not installed."""
    return [tool for tool in ("cupsd", "lpadmin", "lpinfo", "lpstat", "cupsenable", "cupsaccept",
                              "pdfinfo", "pdftoppm", "pdftotext") if shutil.which(tool) is None]


def scheduler_running():
    if not os.path.exists(CUPS_SOCKET):
        return False
    probe = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    try:
        probe.connect(CUPS_SOCKET)
        return _run("lpstat", "-r", check=False).stdout.strip() == "scheduler is running"
    except OSError:
        return False
    finally:
        probe.close()


def _ppd_model():
    """The model name lpadmin takes for the cups-pdf driver with options."""
    models = _run("lpinfo", "-m").stdout.splitlines()
    for line in models:
        name = line.split(" ", 1)[0]
        if name.endswith("/" + PPD_NAME):
            return name
    raise RuntimeError("no cups-pdf driver among the CUPS models")


def output_folder():
    """Where cups-pdf writes the jobs of this user ("Out" in cups-pdf.conf)."""
    folder = "${HOME}/PDF"
    if os.path.exists(CUPS_PDF_CONF):
        with open(CUPS_PDF_CONF) as conf:
            for line in conf:
                match = re.match(r"^\s*Out\s+(\S+)", line)
                if match:
                    folder = match.group(1)
    home = pwd.getpwuid(os.getuid()).pw_dir
    return folder.replace("${HOME}", home)


class PdfPrinter:
    def __init__(self):
        self.scheduler = None  # a cupsd started here
        self.added_queue = False
        self.previous_default = None
        self.folder = output_folder()
        self.folder_existed = os.path.isdir(self.folder)

    def start(self):
        if not scheduler_running():
            self.scheduler = subprocess.Popen(["cupsd", "-f"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                              start_new_session=True)
            deadline = time.time() + 20
            while not scheduler_running():
                if self.scheduler.poll() is not None or time.time() > deadline:
                    self.stop()
                    raise RuntimeError("cupsd did not start")
                time.sleep(0.1)
        if _run("lpstat", "-p", QUEUE, check=False).returncode != 0:
            _run("lpadmin", "-p", QUEUE, "-v", "cups-pdf:/", "-E", "-m", _ppd_model())
            self.added_queue = True
        default = _run("lpstat", "-d", check=False).stdout
        match = re.search(r"system default destination: (\S+)", default)
        current = match.group(1) if match else None
        if current != QUEUE:
            self.previous_default = current or ""
            _run("lpadmin", "-d", QUEUE)
        _run("cupsenable", QUEUE)
        _run("cupsaccept", QUEUE)
        return self

    def stop(self):
        if scheduler_running():
            if self.added_queue:
                _run("lpadmin", "-x", QUEUE, check=False)
            elif self.previous_default:
                _run("lpadmin", "-d", self.previous_default, check=False)
        self.added_queue = False
        self.previous_default = None
        if self.scheduler is not None:
            if self.scheduler.poll() is None:
                self.scheduler.terminate()
                try:
                    self.scheduler.wait(10)
                except subprocess.TimeoutExpired:
                    self.scheduler.kill()
                    self.scheduler.wait()
            self.scheduler = None
        # cups-pdf makes the folder on the first job; leave no empty one behind.
        if not self.folder_existed and os.path.isdir(self.folder) and not os.listdir(self.folder):
            os.rmdir(self.folder)

    # the printed files

    def files(self):
        if not os.path.isdir(self.folder):
            return set()
        return {name for name in os.listdir(self.folder) if name.lower().endswith(".pdf")}

    def queue_empty(self):
        return _run("lpstat", "-o", QUEUE, check=False).stdout.strip() == ""

    def wait_new_files(self, before, timeout=60):
        """The PDF files that appeared since `before` (a result of files()),
        once the queue is empty and the newest file stopped growing."""
        deadline = time.time() + timeout
        sizes = None
        while time.time() < deadline:
            fresh = sorted(self.files() - before)
            if fresh and self.queue_empty():
                now = [os.path.getsize(os.path.join(self.folder, name)) for name in fresh]
                if now == sizes and all(now):
                    return [os.path.join(self.folder, name) for name in fresh]
                sizes = now
            time.sleep(0.5)
        return [os.path.join(self.folder, name) for name in sorted(self.files() - before)]


def pdf_pages(path):
    info = _run("pdfinfo", path).stdout
    return int(re.search(r"^Pages:\s+(\d+)", info, re.M).group(1))


def pdf_title(path):
    info = _run("pdfinfo", path).stdout
    match = re.search(r"^Title:\s+(.*)$", info, re.M)
    return match.group(1) if match else None


def pdf_page_size(path):
    """Width and height in points."""
    info = _run("pdfinfo", path).stdout
    match = re.search(r"^Page size:\s+([\d.]+) x ([\d.]+) pts", info, re.M)
    return float(match.group(1)), float(match.group(2))


# The printed minus sign as pdftotext names it: the hyphen-minus, or, with
# some fonts' glyph names, the soft hyphen or the minus sign.
MINUS_SIGNS = str.maketrans({"\u00ad": "-", "\u2212": "-"})


def pdf_text(path):
    return _run("pdftotext", "-layout", path, "-").stdout.translate(MINUS_SIGNS)


def pdf_to_png(path, png, resolution=100):
    stem = png[:-4] if png.endswith(".png") else png
    _run("pdftoppm", "-png", "-r", str(resolution), "-singlefile", path, stem)
    return stem + ".png"


def pdf_pixels(path, resolution=40):
    """The first page as (width, height, rows of (r, g, b))."""
    raw = subprocess.run(["pdftoppm", "-r", str(resolution), "-singlefile", path], stdout=subprocess.PIPE,
                         check=True).stdout
    return ppm_pixels(raw)


def pdf_words(path):
    """The page size and the words of the first page as pdftotext -bbox reads
    them: (width, height, [(text, x_min, y_min, x_max, y_max)]), in points,
    measured from the page's top left corner."""
    out = _run("pdftotext", "-bbox", "-f", "1", "-l", "1", path, "-").stdout
    page = re.search(r'<page width="([\d.]+)" height="([\d.]+)"', out)
    width, height = float(page.group(1)), float(page.group(2))
    # A landscape job comes as an upright sheet turned for viewing: the words
    # are placed on the turned page, the size is that of the sheet.
    rotation = re.search(r"^Page rot:\s+(\d+)", _run("pdfinfo", path).stdout, re.M)
    if rotation and int(rotation.group(1)) % 180 == 90:
        width, height = height, width
    words = []
    for match in re.finditer(r'<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" yMax="([-\d.]+)">([^<]*)</word>',
                             out):
        text = match.group(5).replace("&amp;", "&").replace("&lt;", "<").replace("&gt;", ">").translate(MINUS_SIGNS)
        words.append((text,) + tuple(float(match.group(n)) for n in range(1, 5)))
    return width, height, words
