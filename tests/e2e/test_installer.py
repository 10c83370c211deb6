"""The release as a user downloads it: scripts/package builds it, the portable
zip is checked, and the installer runs silently in the test prefix. The
installed program is started the way its Start-menu shortcut says, and the
silent uninstaller must remove the program but leave the user's data folder."""

import glob
import os
import pwd
import shutil
import struct
import subprocess
import tempfile
import time
import unittest
import zipfile

from harness import BUILD, DEFAULT_INI, PREFIX, SOURCE, Driver, SerialLine, link_ports, set_up_session, wine_env

PRODUCT = "Barograph Monitor"
INSTALL_DIR = r"C:\Program Files\Barograph Monitor"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\BarographMonitor"
SHELL_FOLDERS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders"
INSTALLED_FILES = {"monitor.exe", "README.txt", "LIESMICH.txt", "LICENSE.txt", "uninstall.exe"}
SHIPPED_TEXTS = {"README.txt", "LIESMICH.txt", "LICENSE.txt"}


def installer_env():
    env = wine_env()
    # A shortcut saved under Wine also makes a menu entry on the host; the
    # test keeps the host's menus as they are.
    env["WINEDLLOVERRIDES"] = "winemenubuilder.exe=d"
    return env


def wine(*args, check=True, timeout=120):
    return subprocess.run(["wine", *args], env=installer_env(), stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, timeout=timeout, check=check)


def unix_path(windows_path):
    out = wine("winepath", "-u", windows_path).stdout.decode().strip()
    return os.path.realpath(out)


def registry_value(key, name):
    """The data of one registry value as `reg query` prints it, or None."""
    result = wine("reg", "query", key, "/v", name, check=False)
    if result.returncode != 0:
        return None
    for line in result.stdout.decode("utf-8", "replace").splitlines():
        fields = line.strip().split("    ")
        if len(fields) == 3 and fields[0] == name:
            return fields[2]
    return None


def registry_key_exists(key):
    return wine("reg", "query", key, check=False).returncode == 0


SHELL_LINK_CLSID = bytes.fromhex("0114020000000000c000000000000046")


def read_shell_link(data):
    """Target, working folder and arguments of a .lnk file, read from its
    LinkInfo and string data blocks."""
    if len(data) < 76 or struct.unpack_from("<I", data, 0)[0] != 76 or data[4:20] != SHELL_LINK_CLSID:
        raise ValueError("not a shell link")
    flags = struct.unpack_from("<I", data, 20)[0]
    unicode = bool(flags & 0x80)
    pos = 76
    if flags & 0x01:  # an item id list: skipped, LinkInfo names the target
        pos += 2 + struct.unpack_from("<H", data, pos)[0]
    link = {"target": None}
    if flags & 0x02:
        size, header_size, info_flags = struct.unpack_from("<III", data, pos)
        base_offset, suffix_offset = struct.unpack_from("<I", data, pos + 16)[0], struct.unpack_from(
            "<I", data, pos + 24)[0]

        def ansi_at(offset):
            start = pos + offset
            return data[start:data.index(b"\0", start)].decode("cp1252")

        def wide_at(offset):
            start, end = pos + offset, pos + offset
            while data[end:end + 2] != b"\0\0":
                end += 2
            return data[start:end].decode("utf-16-le")

        if info_flags & 0x01:
            if header_size >= 0x24:
                base_u, suffix_u = struct.unpack_from("<II", data, pos + 28)
                link["target"] = wide_at(base_u) + (wide_at(suffix_u) if suffix_u else "")
            else:
                link["target"] = ansi_at(base_offset) + ansi_at(suffix_offset)
        pos += size
    for bit, name in ((0x04, "name"), (0x08, "relative_path"), (0x10, "working_dir"), (0x20, "arguments"),
                      (0x40, "icon")):
        if not flags & bit:
            link[name] = None
            continue
        count = struct.unpack_from("<H", data, pos)[0]
        pos += 2
        length = count * 2 if unicode else count
        raw = data[pos:pos + length]
        pos += length
        link[name] = (raw.decode("utf-16-le") if unicode else raw.decode("cp1252")).rstrip("\0")
    return link


def pe_machine_and_subsystem(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    machine = struct.unpack_from("<H", data, pe + 4)[0]
    subsystem = struct.unpack_from("<H", data, pe + 24 + 68)[0]
    return machine, subsystem


AMD64, WINDOWS_GUI = 0x8664, 2


release = {}


def setUpModule():
    set_up_session()
    out = tempfile.mkdtemp(prefix="package-", dir=BUILD)
    release["out"] = out
    subprocess.run([os.path.join(SOURCE, "scripts", "package"), "--out", out], check=True, timeout=900)
    release["setup"], = glob.glob(os.path.join(out, "barograph-monitor-*-setup.exe"))
    release["zip"], = glob.glob(os.path.join(out, "barograph-monitor-*-win64.zip"))
    release["version"] = os.path.basename(release["setup"])[len("barograph-monitor-"):-len("-setup.exe")]


def tearDownModule():
    shutil.rmtree(release["out"], ignore_errors=True)


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


class Release(unittest.TestCase):
    """What the two downloads hold."""

    def zipped(self):
        with zipfile.ZipFile(release["zip"]) as archive:
            return {name: archive.read(name) for name in archive.namelist() if not name.endswith("/")}

    def test_portable_zip_holds_the_program_and_windows_texts_in_one_folder(self):
        files = self.zipped()
        folder = f"barograph-monitor-{release['version']}/"
        self.assertEqual(set(files), {folder + name for name in SHIPPED_TEXTS | {"monitor.exe"}})

        self.assertEqual(pe_machine_and_subsystem(files[folder + "monitor.exe"]), (AMD64, WINDOWS_GUI))
        for name in SHIPPED_TEXTS:
            text = files[folder + name]
            with self.subTest(name):
                self.assertGreater(text.count(b"\r\n"), 10)
                self.assertEqual(text.count(b"\n"), text.count(b"\r\n"), "every line ends in CR LF")
                self.assertNotIn(b"@VERSION@", text)
        for name in ("README.txt", "LIESMICH.txt"):
            self.assertIn(release["version"].encode(), files[folder + name].split(b"\r\n")[0], name)
        german = files[folder + "LIESMICH.txt"]
        self.assertTrue(german.startswith(b"\xef\xbb\xbf"), "the German text carries its UTF-8 mark")
        self.assertIn("\u00fc", german.decode("utf-8-sig"), "umlauts survive as UTF-8")
        self.assertIn(b"Copyright (c) 2026 the barograph monitor authors", files[folder + "LICENSE.txt"])

    def test_installer_is_a_64_bit_windows_program(self):
        self.assertEqual(pe_machine_and_subsystem(read_bytes(release["setup"]))[0], AMD64)


class SilentInstall(unittest.TestCase):
    """Install, start the program as the shortcut says, update, uninstall."""

    def setUp(self):
        self.install_dir = unix_path(INSTALL_DIR)
        self.user = pwd.getpwuid(os.getuid()).pw_name
        self.shortcut = os.path.join(PREFIX, "drive_c", "users", self.user, "AppData", "Roaming", "Microsoft",
                                     "Windows", "Start Menu", "Programs", PRODUCT + ".lnk")
        self.processes = []
        self.line = None
        self.driver = None

        # A run that was cut short may have left its install: only its own
        # uninstaller takes it away.
        if os.path.exists(os.path.join(self.install_dir, "uninstall.exe")):
            self.uninstall()

        # The prefix's Documents folder is the host's home directory. The test
        # points the user's Documents into the prefix, so nothing outside it
        # is touched; the installer has to follow it, as it must follow a
        # redirected Documents folder on Windows.
        self.documents_before = registry_value(SHELL_FOLDERS, "Personal")
        if self.documents_before and "installer-documents-" in self.documents_before:
            self.documents_before = "%USERPROFILE%\\Documents"  # left by a run that was killed
        self.documents = tempfile.mkdtemp(prefix="installer-documents-", dir=os.path.join(PREFIX, "drive_c"))
        self.addCleanup(shutil.rmtree, self.documents, ignore_errors=True)
        if self.documents_before is not None:
            self.addCleanup(wine, "reg", "add", SHELL_FOLDERS, "/v", "Personal", "/t", "REG_EXPAND_SZ", "/d",
                            self.documents_before, "/f")
        wine("reg", "add", SHELL_FOLDERS, "/v", "Personal", "/t", "REG_EXPAND_SZ", "/d",
             "C:\\" + os.path.basename(self.documents), "/f")

    def tearDown(self):
        if self.driver:
            self.driver.close()
        for process in self.processes:
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        if self.line:
            self.line.close()
        # Only the uninstaller takes away what the test installed.
        if os.path.exists(os.path.join(self.install_dir, "uninstall.exe")):
            self.uninstall()

    def install(self):
        # A silent install runs to its end before the process exits.
        result = subprocess.run(["wine", release["setup"], "/S"], env=installer_env(), timeout=120,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.assertEqual(result.returncode, 0)

    def uninstall(self):
        """Runs the uninstaller as the registry tells Windows to, and waits
        for the folder to go: the uninstaller hands over to a copy of itself
        and returns at once."""
        wine(os.path.join(INSTALL_DIR, "uninstall.exe"), "/S")
        deadline = time.time() + 60
        while os.path.exists(self.install_dir) and time.time() < deadline:
            time.sleep(0.1)

    def start_installed_program(self, target, folder):
        process = subprocess.Popen(["wine", target], cwd=folder, env=wine_env(), stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.processes.append(process)
        return process

    def wait_title(self, predicate, timeout=10):
        deadline = time.time() + timeout
        while True:
            answer = self.driver.ask("title")
            self.assertTrue(answer.startswith("ok "), answer)
            if predicate(answer[3:]) or time.time() > deadline:
                return answer[3:]
            time.sleep(0.05)

    def snapshot(self, folder):
        return {name: read_bytes(os.path.join(folder, name)) for name in os.listdir(folder)}

    def test_install_run_from_shortcut_folder_update_and_uninstall_keeping_data(self):
        self.assertFalse(os.path.exists(self.install_dir))
        self.install()

        # The program and its texts, as shipped in the zip.
        self.assertEqual(set(os.listdir(self.install_dir)), INSTALLED_FILES)
        with zipfile.ZipFile(release["zip"]) as archive:
            for name in archive.namelist():
                if not name.endswith("/"):
                    with self.subTest(name):
                        self.assertEqual(read_bytes(os.path.join(self.install_dir, os.path.basename(name))),
                                         archive.read(name))
        self.assertEqual(registry_value(UNINSTALL_KEY, "DisplayVersion"), release["version"])
        self.assertEqual(registry_value(UNINSTALL_KEY, "QuietUninstallString"),
                         f'"{INSTALL_DIR}\\uninstall.exe" /S')

        # The shortcut starts the installed exe in the data folder under Documents.
        link = read_shell_link(read_bytes(self.shortcut))
        self.assertEqual(link["target"].lower(), (INSTALL_DIR + "\\monitor.exe").lower())
        documents = "C:\\" + os.path.basename(self.documents)
        self.assertEqual(link["working_dir"].lower(), (documents + "\\Barograph").lower())
        self.assertIn(link["arguments"], (None, ""))
        data = unix_path(link["working_dir"])
        self.assertEqual(data, os.path.realpath(os.path.join(self.documents, "Barograph")))
        self.assertEqual(os.listdir(data), [], "the installer puts nothing into the data folder")

        # Started there, the program keeps its files there and nowhere else.
        self.line = SerialLine()
        link_ports({2: self.line.path})
        self.driver = Driver(data)
        # The driver talks to the first window of the class it finds.
        self.assertEqual(self.driver.ask("title"), "none", "a monitor window of another run is still open")
        monitor = self.start_installed_program(link["target"], data)
        self.assertEqual(self.driver.ask("wait-window 15000"), "ok")
        # The Barograph title replaces the first one once the settings are in.
        self.assertEqual(self.wait_title(lambda title: "TQ5108" not in title),
                         "Zudoderozezavedi Verbindung \u00fcber COM2")
        self.assertEqual(self.driver.ask("command 1008"), "ok")
        self.assertEqual(monitor.wait(20), 0)
        self.assertEqual(read_bytes(os.path.join(data, "monitor.ini")), DEFAULT_INI)
        log = read_bytes(os.path.join(data, "monitor.err"))
        self.assertIn(b"event nr. 2 read error: file MONITOR.INI ", log)
        self.assertIn(b"event nr. 11 file MONITOR.INI not found ", log)
        self.assertEqual(set(os.listdir(self.install_dir)), INSTALLED_FILES)

        # Records of the user's own, which neither an update nor the uninstaller may touch.
        record = b"000001 08.12.2026 16:05 1013,25 hPa +00,4 hPa/hr -01,2 hPa/3h 00,3 hPa/h var 0\r\n"
        with open(os.path.join(data, "monitor.txt"), "wb") as f:
            f.write(record)
        kept = self.snapshot(data)

        self.install()
        self.assertEqual(self.snapshot(data), kept)
        self.assertEqual(set(os.listdir(self.install_dir)), INSTALLED_FILES)
        self.assertTrue(os.path.exists(self.shortcut))

        self.uninstall()
        self.assertFalse(os.path.exists(self.install_dir), "the program folder is removed")
        self.assertFalse(os.path.exists(self.shortcut), "the shortcut is removed")
        self.assertFalse(registry_key_exists(UNINSTALL_KEY), "the uninstall entry is removed")
        self.assertEqual(self.snapshot(data), kept, "the data folder and its files are kept")


if __name__ == "__main__":
    unittest.main()
