"""The release as a user downloads it: scripts/package builds it, the portable
zip is checked, and the installer runs silently in the test prefix. The
installed program is started the way its Start-menu shortcut says, and the
silent uninstaller must remove the program but leave the user's data folder."""

import glob
import hashlib
import os
import pwd
import re
import shutil
import struct
import subprocess
import tempfile
import time
import unittest
import xml.etree.ElementTree as ElementTree
import zipfile

import pe_file
from harness import BUILD, DEFAULT_INI, PREFIX, SOURCE, Driver, SerialLine, link_ports, set_up_session, wine_env
from monitor_ids import cmdQuit, command, event_tag, eventSettingsMissing, eventSettingsUnreadable

PRODUCT = "Barograph Monitor"
INSTALL_DIR = r"C:\Program Files\Barograph Monitor"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\BarographMonitor"
SHELL_FOLDERS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders"
INSTALLED_FILES = {"monitor.exe", "README.txt", "LIESMICH.txt", "LISEZMOI.txt", "LICENSE.txt", "uninstall.exe"}
SHIPPED_TEXTS = {"README.txt", "LIESMICH.txt", "LISEZMOI.txt", "LICENSE.txt"}
# The DLLs that every Windows has: advapi32 for the system's list of serial
# ports in the registry, ws2_32 for the readings sent over UDP.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comdlg32.dll", "msvcrt.dll", "advapi32.dll", "ws2_32.dll"}


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


def view_flags(view):
    # Which of a 64-bit Windows' two registry views: reg.exe itself may be the
    # 32-bit one (where Wine's 32-bit loader starts it), which sees only the
    # 32-bit view unless told.
    return [f"/reg:{view}"] if view else []


def registry_value(key, name, view=None):
    """The data of one registry value as `reg query` prints it, or None."""
    result = wine("reg", "query", key, "/v", name, *view_flags(view), check=False)
    if result.returncode != 0:
        return None
    for line in result.stdout.decode("utf-8", "replace").splitlines():
        fields = line.strip().split("    ")
        if len(fields) == 3 and fields[0] == name:
            return fields[2]
    return None


def registry_key_exists(key, view=None):
    return wine("reg", "query", key, *view_flags(view), check=False).returncode == 0


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


def prefix_is_32_bit():
    """A 32-bit prefix stands for a 32-bit Windows: it gets the 32-bit installer."""
    with open(os.path.join(PREFIX, "system.reg"), encoding="utf-8", errors="replace") as f:
        return "#arch=win32" in f.read(4096)


def runs_32_bit_programs():
    """Whether Wine here can start a 32-bit Windows program: its 32-bit loader
    is an i386 Linux program, which some kernels refuse."""
    return (subprocess.run([os.path.join(SOURCE, "scripts", "runs-i386")]).returncode == 0
            and os.path.exists("/usr/lib/wine/wine"))


release = {}


def setUpModule():
    set_up_session()
    out = tempfile.mkdtemp(prefix="package-", dir=BUILD)
    release["out"] = out
    subprocess.run([os.path.join(SOURCE, "scripts", "package"), "--out", out], check=True, timeout=900)
    release["files"] = set(os.listdir(out))
    zip64, = glob.glob(os.path.join(out, "barograph-monitor-*-win64.zip"))
    release["version"] = version = os.path.basename(zip64)[len("barograph-monitor-"):-len("-win64.zip")]
    release["zip"] = zip64
    release["setup"] = os.path.join(out, f"barograph-monitor-{version}-setup.exe")
    release["zip32"] = os.path.join(out, f"barograph-monitor-{version}-win32.zip")
    release["setup32"] = os.path.join(out, f"barograph-monitor-{version}-win32-setup.exe")


def tearDownModule():
    shutil.rmtree(release["out"], ignore_errors=True)


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


class Release(unittest.TestCase):
    """What the downloads hold."""

    def zipped(self, archive_path):
        with zipfile.ZipFile(archive_path) as archive:
            return {name: archive.read(name) for name in archive.namelist() if not name.endswith("/")}

    def shipped_exes(self):
        folder = f"barograph-monitor-{release['version']}/"
        return {"win64": self.zipped(release["zip"])[folder + "monitor.exe"],
                "win32": self.zipped(release["zip32"])[folder + "monitor.exe"]}

    def test_four_downloads_and_their_check_sums(self):
        downloads = {os.path.basename(release[key]) for key in ("zip", "setup", "zip32", "setup32")}
        self.assertEqual(release["files"], downloads | {"SHA256SUMS"})
        with open(os.path.join(release["out"], "SHA256SUMS")) as f:
            sums = dict(reversed(line.split()) for line in f)
        self.assertEqual(set(sums), downloads)
        for name, digest in sums.items():
            self.assertEqual(hashlib.sha256(read_bytes(os.path.join(release["out"], name))).hexdigest(), digest, name)

    def test_portable_zips_hold_the_program_and_windows_texts_in_one_folder(self):
        folder = f"barograph-monitor-{release['version']}/"
        for key, machine, bits in (("zip", pe_file.AMD64, b"64"), ("zip32", pe_file.I386, b"32")):
            files = self.zipped(release[key])
            with self.subTest(os.path.basename(release[key])):
                self.assertEqual(set(files), {folder + name for name in SHIPPED_TEXTS | {"monitor.exe"}})
                exe = pe_file.PeFile(files[folder + "monitor.exe"])
                self.assertEqual((exe.machine, exe.subsystem), (machine, pe_file.WINDOWS_GUI))
                for name in SHIPPED_TEXTS:
                    text = files[folder + name]
                    self.assertGreater(text.count(b"\r\n"), 10, name)
                    self.assertEqual(text.count(b"\n"), text.count(b"\r\n"), f"every line of {name} ends in CR LF")
                    self.assertNotRegex(text, rb"@[A-Z]+@", name)
                for name in ("README.txt", "LIESMICH.txt", "LISEZMOI.txt"):
                    first = files[folder + name].split(b"\r\n")[0]
                    self.assertIn(release["version"].encode(), first, name)
                    self.assertIn(bits, first, f"{name} names the build it comes with")
                # The texts name the installer that sits beside this zip.
                setup = os.path.basename(release["setup" if key == "zip" else "setup32"]).encode()
                self.assertIn(setup, files[folder + "README.txt"])
                german = files[folder + "LIESMICH.txt"]
                self.assertTrue(german.startswith(b"\xef\xbb\xbf"), "the German text carries its UTF-8 mark")
                self.assertIn("\u00fc", german.decode("utf-8-sig"), "umlauts survive as UTF-8")
                french = files[folder + "LISEZMOI.txt"]
                self.assertTrue(french.startswith(b"\xef\xbb\xbf"), "the French text carries its UTF-8 mark")
                self.assertIn("\u00e9", french.decode("utf-8-sig"), "accents survive as UTF-8")
                self.assertIn(b"Copyright (c) 2026 the barograph monitor authors", files[folder + "LICENSE.txt"])

    def test_installers_are_built_like_the_program_they_carry(self):
        self.assertEqual(pe_file.PeFile(read_bytes(release["setup"])).machine, pe_file.AMD64)
        self.assertEqual(pe_file.PeFile(read_bytes(release["setup32"])).machine, pe_file.I386)

    def test_both_exes_carry_the_manifest_and_the_version_resource(self):
        version_numbers = tuple(int(n) for n in re.findall(r"\d+", release["version"])) + (0, 0)
        licence = read_bytes(os.path.join(SOURCE, "packaging", "LICENSE.txt")).decode()
        copyright_line = next(line for line in licence.splitlines() if line.startswith("Copyright"))
        asm1, asm3 = "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}"
        supported = {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "7", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "8",
                     "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "8.1", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "10"}
        for build, data in self.shipped_exes().items():
            with self.subTest(build):
                exe = pe_file.PeFile(data)
                if build == "win32":
                    self.assertEqual((exe.machine, exe.magic), (pe_file.I386, pe_file.PE32))
                resources = exe.resources()
                self.assertIn((pe_file.RT_GROUP_ICON, "MYICON"), resources)

                # The manifest Windows reads at process start: type 24, id 1.
                manifests = [key for key in resources if key[0] == pe_file.RT_MANIFEST]
                self.assertEqual(manifests, [(pe_file.RT_MANIFEST, 1)])
                (_, manifest), = resources[(pe_file.RT_MANIFEST, 1)]
                root = ElementTree.fromstring(manifest)
                self.assertEqual(root.tag, asm1 + "assembly")
                level = root.find(f"{asm3}trustInfo/{asm3}security/{asm3}requestedPrivileges/"
                                  f"{asm3}requestedExecutionLevel")
                self.assertEqual(level.get("level"), "asInvoker")
                ids = {entry.get("Id").lower() for entry in root.iter("{urn:schemas-microsoft-com:compatibility.v1}supportedOS")}
                self.assertLessEqual(set(supported), ids, "Windows 7, 8, 8.1 and 10/11 are named")
                controls = [identity for identity in root.iter(asm1 + "assemblyIdentity")
                            if identity.get("name") == "Microsoft.Windows.Common-Controls"]
                self.assertEqual(len(controls), 1)
                self.assertEqual((controls[0].get("version"), controls[0].get("publicKeyToken")),
                                 ("6.0.0.0", "6595b64144ccf1df"))
                settings = {element.tag.split("}")[1]: element.text for element in root.iter()
                            if element.tag.endswith(("}dpiAware", "}dpiAwareness", "}gdiScaling"))}
                self.assertEqual(settings, {"dpiAware": "false", "gdiScaling": "true"})

                (language, raw), = resources[(pe_file.RT_VERSION, 1)]
                info = pe_file.version_info(raw)
                self.assertEqual(info["file_version"], version_numbers)
                self.assertEqual(info["product_version"], version_numbers)
                self.assertEqual(info["file_type"], 1, "VFT_APP")
                (table, strings), = info["strings"].items()
                self.assertEqual((int(table[:4], 16), int(table[4:], 16)), info["translations"][0])
                self.assertEqual(strings["ProductName"], "Barograph Monitor")
                self.assertEqual(strings["OriginalFilename"], "monitor.exe")
                self.assertEqual(strings["FileVersion"], release["version"])
                self.assertEqual(strings["ProductVersion"], release["version"])
                self.assertIn("barograph", strings["FileDescription"].lower())
                self.assertIn(copyright_line, strings["LegalCopyright"])
                self.assertIn("MIT", strings["LegalCopyright"])
                self.assertNotIn("CompanyName", strings, "no maker is named")

    def test_exes_import_only_system_functions_old_enough(self):
        check = os.path.join(SOURCE, "scripts", "check-imports")
        exes = self.shipped_exes()
        for build, data in exes.items():
            with self.subTest(build):
                dlls = {name.lower() for name in pe_file.PeFile(data).imports()}
                self.assertLessEqual(dlls, SYSTEM_DLLS)
                self.assertIn("kernel32.dll", dlls)

        # The check of scripts/package against a program that imports a function
        # of Windows 8, once listed with its version and once not listed at all.
        work = tempfile.mkdtemp(prefix="imports-", dir=BUILD)
        self.addCleanup(shutil.rmtree, work, ignore_errors=True)
        with open(os.path.join(work, "newer.c"), "w") as f:
            f.write("#include <windows.h>\nint main(void) { FILETIME t; GetSystemTimePreciseAsFileTime(&t);\n"
                    "return (int)(t.dwLowDateTime & 1); }\n")
        subprocess.run(["x86_64-w64-mingw32-gcc-posix", "-o", os.path.join(work, "newer.exe"),
                        os.path.join(work, "newer.c")], check=True)
        table = read_bytes(os.path.join(SOURCE, "packaging", "windows-imports.txt"))
        names = set(pe_file.PeFile(read_bytes(os.path.join(work, "newer.exe"))).imports().get("KERNEL32.dll", []))
        self.assertIn("GetSystemTimePreciseAsFileTime", names)

        unlisted = subprocess.run([check, os.path.join(work, "newer.exe")], stderr=subprocess.PIPE)
        self.assertNotEqual(unlisted.returncode, 0)
        self.assertIn(b"KERNEL32.DLL GetSystemTimePreciseAsFileTime", unlisted.stderr)

        with open(os.path.join(work, "table.txt"), "wb") as f:
            f.write(table + b"KERNEL32.DLL GetSystemTimePreciseAsFileTime 6.2\nMSVCRT.DLL __C_specific_handler 5.1\n")
        newer = subprocess.run([check, os.path.join(work, "newer.exe")], stderr=subprocess.PIPE,
                               env=dict(os.environ, CHECK_IMPORTS_TABLE=os.path.join(work, "table.txt")))
        self.assertNotEqual(newer.returncode, 0)
        self.assertIn(b"newer than Windows Vista (6.0):\n  KERNEL32.DLL GetSystemTimePreciseAsFileTime 6.2\n",
                      newer.stderr)
        self.assertNotIn(b"does not list", newer.stderr)

        # The oldest Windows of the check is the one the manuals and readmes name.
        oldest = next(line for line in table.decode().splitlines() if line.startswith("oldest ")).split(None, 2)[2]
        for text in ("docs/manual.md", "docs/handbuch.md", "docs/manuel.md", "packaging/README.txt",
                     "packaging/LIESMICH.txt", "packaging/LISEZMOI.txt"):
            words = " ".join(read_bytes(os.path.join(SOURCE, text)).decode("utf-8-sig").split())
            self.assertTrue(oldest in words, f"{text} does not name {oldest}")


class SilentInstall(unittest.TestCase):
    """Install, start the program as the shortcut says, update, uninstall."""

    def setUp(self):
        set_up_session()
        # The installer that fits the machine, and the zip of the same build.
        self.setup_exe, self.zip = ((release["setup32"], release["zip32"]) if prefix_is_32_bit()
                                    else (release["setup"], release["zip"]))
        # The 64-bit installer writes the 64-bit view; a 32-bit Windows has one.
        self.view = None if prefix_is_32_bit() else "64"
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
        result = subprocess.run(["wine", self.setup_exe, "/S"], env=installer_env(), timeout=120,
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

    @unittest.skipUnless(runs_32_bit_programs(), "Wine here starts no 32-bit program")
    def test_32_bit_installer_refuses_a_64_bit_windows(self):
        if prefix_is_32_bit():
            self.skipTest("the prefix is a 32-bit Windows")
        result = subprocess.run(["wine", release["setup32"], "/S"], env=installer_env(), timeout=120,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.assertNotEqual(result.returncode, 0)
        self.assertFalse(os.path.exists(self.install_dir))
        for view in ("32", "64"):
            self.assertFalse(registry_key_exists(UNINSTALL_KEY, view), view)

    def test_install_run_from_shortcut_folder_update_and_uninstall_keeping_data(self):
        self.assertFalse(os.path.exists(self.install_dir))
        self.install()

        # The program and its texts, as shipped in the zip.
        self.assertEqual(set(os.listdir(self.install_dir)), INSTALLED_FILES)
        with zipfile.ZipFile(self.zip) as archive:
            for name in archive.namelist():
                if not name.endswith("/"):
                    with self.subTest(name):
                        self.assertEqual(read_bytes(os.path.join(self.install_dir, os.path.basename(name))),
                                         archive.read(name))
        self.assertEqual(registry_value(UNINSTALL_KEY, "DisplayVersion", self.view), release["version"])
        self.assertEqual(registry_value(UNINSTALL_KEY, "QuietUninstallString", self.view),
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
        self.assertEqual(self.driver.ask(command(cmdQuit)), "ok")
        self.assertEqual(monitor.wait(20), 0)
        self.assertEqual(read_bytes(os.path.join(data, "monitor.ini")), DEFAULT_INI)
        log = read_bytes(os.path.join(data, "monitor.err"))
        self.assertIn(event_tag(eventSettingsUnreadable) + b"read error: file MONITOR.INI ", log)
        self.assertIn(event_tag(eventSettingsMissing) + b"file MONITOR.INI not found ", log)
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
        self.assertFalse(registry_key_exists(UNINSTALL_KEY, self.view), "the uninstall entry is removed")
        self.assertEqual(self.snapshot(data), kept, "the data folder and its files are kept")


if __name__ == "__main__":
    unittest.main()
