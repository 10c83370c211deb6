"""End-to-end figures of the running program under Wine: start to first title,
CPU time per minute at the device's real rate and at the highest rate the
poll accepts, resident memory, each beside a baseline window program, and the
data check of a ten-year monitor.txt.

Run through scripts/bench; prints one line per figure. With the argument
"data-check" only the data check is measured."""

import datetime
import os
import socket
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
import harness  # noqa: E402

BASELINE_EXE = os.path.join(harness.BUILD, "benchmarks", "baseline_window.exe")
TICK = os.sysconf("SC_CLK_TCK")
SENTENCE = b"$PXDR,0998.60,52684,+01.2,+03.5,-0300,0995.40\r\n"
WIXDR = b"$WIXDR,P,0.9986,B\r\n"


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICK


def rss_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def windows_pid(popen, workdir, exe):
    """The pid of the Windows process Wine started for `popen`: the process of
    `exe` (a file name) in `workdir`, since the `wine` launcher may hand the
    program to a process of its own; the launcher's when none is found."""
    for _ in range(50):
        for entry in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open(f"/proc/{entry}/cmdline", "rb") as f:
                    command = f.read().lower()
                cwd = os.readlink(f"/proc/{entry}/cwd")
            except OSError:
                continue
            if exe.lower().encode() in command and os.path.realpath(cwd) == os.path.realpath(workdir) \
                    and b"wine\0" not in command[:5]:
                return int(entry)
        time.sleep(0.1)
    return popen.pid


def wineserver_cpu():
    """The CPU time of this prefix's wineserver: other prefixes' servers (other
    builds tested at the same time) are not this program's."""
    total = 0.0
    mine = f"WINEPREFIX={harness.PREFIX}".encode()
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/cmdline", "rb") as f:
                    if b"wineserver" not in f.read():
                        continue
                with open(f"/proc/{entry}/environ", "rb") as f:
                    if mine in f.read().split(b"\0"):
                        total += cpu_seconds(int(entry))
            except OSError:
                pass
    return total


class Run(harness.MonitorTestMixin):
    """Uses the test harness outside unittest."""

    def id(self):  # the harness names the test in what it reports
        return "benchmark"

    def assertEqual(self, a, b, msg=None):
        if a != b:
            raise AssertionError(msg or f"{a!r} != {b!r}")

    def assertTrue(self, a, msg=None):
        if not a:
            raise AssertionError(msg or "not true")


def feed(write, data, seconds, per_second):
    """Writes `data` chunks at `per_second` for `seconds`; per_second None = as fast as taken."""
    sent = 0
    deadline = time.time() + seconds
    while time.time() < deadline:
        write(data)
        sent += 1
        if per_second:
            time.sleep(1.0 / per_second)
    return sent


def measure(program, mode, seconds, rate):
    run = Run()
    run.setUp()
    try:
        lines = run.serial_ports(2)
        ini = harness.DEFAULT_INI if mode != "nmea" else harness.DEFAULT_INI.replace(b"DATA=  TQ", b"DATA=NMEA")
        if mode in ("udp", "signalk"):
            # A receiver of the program's datagrams, as a chart plotter's UDP
            # input or a Signal K server's UDP data connection.
            receiver = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
            receiver.bind(("127.0.0.1", 0))
            receiver.setblocking(False)
            key = "SEND=1\nSENDTO" if mode == "udp" else "SIGNALK=1\nSIGNALKTO"
            ini += f"{key}=127.0.0.1:{receiver.getsockname()[1]}\n".encode()
        if mode in ("udp source", "tcp source"):
            # The network as the source: a gateway on 127.0.0.1 that the program listens to or connects to.
            kind = socket.SOCK_DGRAM if mode == "udp source" else socket.SOCK_STREAM
            gateway = socket.socket(socket.AF_INET, kind)
            gateway.bind(("127.0.0.1", 0))
            port = gateway.getsockname()[1]
            if mode == "udp source":
                gateway.close()
                gateway = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
                ini += f"SOURCE=UDP:{port}\n".encode()
            else:
                gateway.listen(1)
                ini += f"SOURCE=TCP:127.0.0.1:{port}\n".encode()
        run.write("monitor.ini", ini)
        if program == "baseline":
            run.monitor.process = harness.subprocess.Popen(["wine", BASELINE_EXE], cwd=run.workdir,
                                                           env=harness.wine_env())
            harness._started.append(run.monitor.process)
            time.sleep(3)
        else:
            run.start_monitor()
            time.sleep(2)
        pid = windows_pid(run.monitor.process, run.workdir,
                          "baseline_window.exe" if program == "baseline" else "monitor.exe")
        if mode == "outage":
            # The adapter is pulled: the port is lost and tried again every two seconds.
            lines[2].write(SENTENCE)
            lines[2].drain(10)
            lines[2].close()
            del run.lines[2]
            harness.link_ports({})
            time.sleep(1)
        cpu0, server0 = cpu_seconds(pid), wineserver_cpu()
        start = time.time()
        data = b"$GPXTE,A,A,0.67,L,N*6F\r\n" if mode == "nmea" else SENTENCE + WIXDR
        write = lines[2].write
        if mode == "udp source":
            write = lambda datagram: gateway.sendto(datagram, ("127.0.0.1", port))  # noqa: E731
        elif mode == "tcp source":
            gateway.settimeout(10)
            client, _ = gateway.accept()
            write = client.sendall
        if program == "baseline" or mode == "outage":
            time.sleep(seconds)
            sent = 0
        else:
            sent = feed(write, data, seconds, rate)
        if program != "baseline" and mode != "outage":
            lines[2].drain(30)
            time.sleep(1)
        titled = run.title() if program != "baseline" else ""
        elapsed = time.time() - start
        cpu = (cpu_seconds(pid) - cpu0) / elapsed * 60
        server = (wineserver_cpu() - server0) / elapsed * 60
        rss = rss_kib(pid)
        stored = 0
        if mode == "nmea" and program != "baseline" and os.path.exists(run.path("nmea.txt")):
            stored = run.read("nmea.txt").count(b"\n")
        datagrams = 0
        while mode in ("udp", "signalk"):
            try:
                receiver.recv(2048)
                datagrams += 1
            except BlockingIOError:
                receiver.close()
                break
        if mode == "tcp source":
            client.close()
        if mode in ("udp source", "tcp source"):
            gateway.close()
        return {"sent": sent, "stored": stored, "datagrams": datagrams, "cpu_s_per_min": cpu, "wineserver_s_per_min": server,
                "rss_kib": rss, "seconds": elapsed, "title": titled}
    finally:
        run.tearDown()


def start_to_title(runs=5):
    values = []
    for _ in range(runs):
        run = Run()
        run.setUp()
        try:
            run.serial_ports(2)
            run.write("monitor.ini", harness.DEFAULT_INI)
            start = time.time()
            run.monitor.start()
            while True:
                answer = run.driver.ask("title")
                if answer.startswith("ok Zudoderozezavedi Verbindung"):
                    break
                time.sleep(0.005)
            values.append(time.time() - start)
            run.quit_monitor()
        finally:
            run.tearDown()
    values.sort()
    return values[len(values) // 2]


def hour_of_data(pairs=3600):
    """Resident memory 2 s after start and after an hour's worth of sentence
    pairs fed as fast as the poll takes them (12 records), beside the baseline."""
    run = Run()
    run.setUp()
    try:
        lines = run.serial_ports(2)
        run.write("monitor.ini", harness.DEFAULT_INI)
        run.start_monitor()
        time.sleep(2)
        pid = windows_pid(run.monitor.process, run.workdir, "monitor.exe")
        at_start = rss_kib(pid)
        for _ in range(pairs):
            lines[2].write(SENTENCE + WIXDR)
        lines[2].drain(300)
        time.sleep(2)
        after = rss_kib(pid)
        records = run.read("monitor.txt").count(b"\n") if os.path.exists(run.path("monitor.txt")) else 0
        return at_start, after, records
    finally:
        run.tearDown()


def peak_kib(pid):
    """The process's peak resident memory so far (VmHWM)."""
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def ten_years_of_records():
    """1,051,200 records five minutes apart, as ten years of recording write them."""
    first = datetime.datetime(2016, 1, 1)
    step = datetime.timedelta(minutes=5)
    lines = []
    stamp = first
    for i in range(1051200):
        pressure = 95000 + i * 7 % 10000
        t1, t3 = i % 199 - 99, i % 399 - 199
        lines.append(f"{i % 999999 + 1:06d} {stamp:%d.%m.%Y %H:%M} {pressure // 100:04d},{pressure % 100:02d} hPa "
                     f"{'-' if t1 < 0 else '+'}{abs(t1) // 10:02d},{abs(t1) % 10} hPa/hr "
                     f"{'-' if t3 < 0 else '+'}{abs(t3) // 10:02d},{abs(t3) % 10} hPa/3h "
                     f"{i % 50 // 10:02d},{i % 10} hPa/h var 0\r\n")
        stamp += step
    return "".join(lines).encode()


def data_check_ten_years(content, runs=3):
    """Command 1102 to the final box on a ten-year file, and the program's
    peak resident memory before the check and after it; one run per start."""
    from fault_support import monitor_pid
    results = []
    for _ in range(runs):
        run = Run()
        run.setUp()
        try:
            run.serial_ports(2)
            run.write("monitor.ini", harness.DEFAULT_INI)
            run.write("monitor.txt", content)
            run.start_monitor()
            time.sleep(2)
            pid = monitor_pid(run.workdir)
            before = peak_kib(pid)
            start = time.time()
            run.driver.ask("command 1102")
            (box,) = run.driver.boxes(wanted=1, timeout_ms=120000)
            elapsed = time.time() - start
            after = peak_kib(pid)
            run.assertEqual(box["text"], "1051200 records read\n1 recordings\n0 errors found\n0 errors corrected")
            run.driver.press(box)
            results.append((elapsed, before, after))
            run.quit_monitor()
        finally:
            run.tearDown()
    return results


def report_case(label, program, mode, r):
    extra = ""
    if mode == "nmea":
        extra = f", sentences sent {r['sent']}, lines in nmea.txt {r['stored']}"
    elif program != "baseline":
        extra = f", sentence pairs sent {r['sent']}"
    if mode in ("udp", "signalk"):
        extra += f", datagrams received {r['datagrams']}"
    if mode.endswith("source"):
        extra += f", title at the end {r['title'][:r['title'].find(':') - 3]!r} (lines counted)"
    print(f"{label}: CPU {r['cpu_s_per_min']:.2f} s/min ({r['cpu_s_per_min'] / 60 * 100:.2f} % of a core), "
          f"wineserver {r['wineserver_s_per_min']:.2f} s/min, RSS {r['rss_kib'] / 1024:.1f} MiB{extra}", flush=True)


def main():
    harness.set_up_session()
    if sys.argv[1:] == ["data-check"]:
        report_data_check()
        return
    seconds = int(os.environ.get("BENCH_SECONDS", "60"))
    only = os.environ.get("BENCH_ONLY")  # a word of the labels to run, e.g. "outage"
    runs = int(os.environ.get("BENCH_RUNS", "1"))  # runs of each CPU case
    if not only:
        print(f"start of monitor.exe to its first title: median {start_to_title() * 1000:.0f} ms over 5 starts")
    cases = (
        ("baseline window (timer, title twice a second)", "baseline", "barograph", None),
        ("Barograph mode, device rate (1 $PXDR + 1 $WIXDR a second)", "monitor", "barograph", 1),
        ("Barograph mode, device rate, readings sent over UDP", "monitor", "udp", 1),
        ("Barograph mode, device rate, alarms and readings sent to Signal K", "monitor", "signalk", 1),
        ("Barograph mode, device rate from the network, UDP datagrams to its port", "monitor", "udp source", 1),
        ("Barograph mode, device rate from the network, a TCP server", "monitor", "tcp source", 1),
        ("Barograph mode, highest rate the poll takes", "monitor", "barograph", None),
        ("Nmea mode, highest rate the poll takes", "monitor", "nmea", None),
        ("Barograph mode, device unplugged (outage, port tried every 2 s)", "monitor", "outage", None),
    )
    # With several runs the cases take turns, so that a slow spell of the
    # machine does not fall on one case alone.
    for _ in range(runs):
        for label, program, mode, rate in cases:
            if not only or only in label:
                report_case(label, program, mode, measure(program, mode, seconds, rate))
    label = "an hour of data (3600 sentence pairs as fast as taken)"
    if not only or only in label:
        at_start, after, records = hour_of_data()
        print(f"{label}: RSS {at_start} kB 2 s after start, {after} kB after, {records} records written")
    if not only:
        report_data_check()


def report_data_check():
    content = ten_years_of_records()
    results = data_check_ten_years(content)
    times = sorted(r[0] for r in results)
    print(f"data check of a ten-year monitor.txt ({len(content) // 80} records, {len(content) / 1e6:.1f} MB), "
          f"command to box: median {times[len(times) // 2]:.2f} s over {len(times)} runs; peak RSS before / after: "
          + ", ".join(f"{b / 1024:.1f} / {a / 1024:.1f} MiB" for _, b, a in results))


if __name__ == "__main__":
    main()
