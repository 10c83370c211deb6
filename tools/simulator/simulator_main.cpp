// barograph_simulator: a stand-in for the electronic barograph on the serial line.
//
// Once per simulated second it writes
//     $PXDR,0998.60,52684,+01.2,+03.5,-0300,0995.40<CR><LF>
//     $WIXDR,P,0.9986,B<CR><LF>
// i.e. the minute-mean pressure (hPa), the raw converter value, the 1 h and
// 3 h tendencies, the minute counter of the device's 52-hour store and the
// pressure stored that many minutes ago. The course is a seeded model of
// passing weather systems, a front and small noise; the counter sweeps the
// store so a receiver's 52-hour chart fills within a couple of minutes.
// With --nmea it sends a GPS sentence mix instead.
//
// Usage:
//   socat -d -d pty,raw,echo=0 pty,raw,echo=0      # prints two /dev/pts/N
//   barograph_simulator --out /dev/pts/3            # reader opens the other one
//   barograph_simulator --stdout --fast --count 5 --start "2024-03-01 12:00"
//   barograph_simulator --out /dev/ttyUSB0 --speed 60 --verbose
//   barograph_simulator --udp 10110                  # a WiFi gateway on this PC
// --help lists every option. SIGINT/SIGTERM end the run cleanly. When the
// line fails (EIO: the pty's other side went away) it reopens the path every
// second until it works again, unless --exit-on-error.

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <unistd.h>

#include "barograph_sentence.h"
#include "network_output.h"
#include "nmea_sentences.h"
#include "serial_output.h"
#include "simulator_options.h"
#include "utc_time.h"
#include "weather_model.h"

namespace {

volatile std::sig_atomic_t gStop = 0;

void onStopSignal(int) { gStop = 1; }

void installSignals() {
    struct sigaction sa {};
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = 0;  // no SA_RESTART: a blocked sleep or write must return
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    // A vanished reader of a FIFO or pipe shows up as EPIPE instead of killing us.
    std::signal(SIGPIPE, SIG_IGN);
}

double monotonicNow() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + ts.tv_nsec / 1e9;
}

// Returns false when a stop was requested before the deadline.
bool sleepUntil(double deadline) {
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(std::floor(deadline));
    ts.tv_nsec = static_cast<long>((deadline - std::floor(deadline)) * 1e9);
    while (!gStop) {
        const int rc = clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr);
        if (rc == 0) return true;
        if (rc != EINTR) return true;
    }
    return false;
}

std::string formatUtc(std::int64_t t) {
    const UtcTime u = utcFromEpoch(t);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", u.year, u.month, u.day, u.hour, u.minute,
                  u.second);
    return text;
}

void appendLine(std::string& buffer, const std::string& sentence) {
    buffer += sentence;
    buffer += "\r\n";
}

}  // namespace

int main(int argc, char** argv) {
    const char* name = "barograph_simulator";
    SimulatorOptions options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "%s: %s (see --help)\n", name, error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(usageText(name).c_str(), stdout);
        return 0;
    }
    installSignals();

    const std::int64_t start = options.startTime ? *options.startTime : static_cast<std::int64_t>(std::time(nullptr));
    const WeatherModel weather = makeWeatherModel(options.seed, start);
    const GpsTrack track = makeGpsTrack(options.seed, start);
    const std::optional<std::uint64_t> limit = stepLimit(options);
    std::string target = options.toStdout ? std::string("standard output") : options.outPath;
    const bool network = options.udpPort || options.tcpPort;
    if (network)
        target = (options.udpPort ? "UDP 127.0.0.1:" : "TCP clients on 127.0.0.1:") +
                 std::to_string(options.udpPort ? *options.udpPort : *options.tcpPort);

    int fd = STDOUT_FILENO;
    int listener = -1;  // --tcp: the server; fd is its client, -1 while none is connected
    if (network) {
        fd = options.udpPort ? openUdpSender(*options.udpPort) : -1;
        if (options.tcpPort) listener = openTcpListener(*options.tcpPort);
        if (fd < 0 && listener < 0) {
            std::fprintf(stderr, "%s: cannot open %s: %s\n", name, target.c_str(), std::strerror(errno));
            return 1;
        }
    } else if (!options.toStdout) {
        std::string note;
        fd = openOutput(options.outPath, note);
        if (fd < 0) {
            std::fprintf(stderr, "%s: cannot open %s: %s\n", name, options.outPath.c_str(), std::strerror(errno));
            return 1;
        }
        if (!note.empty()) std::fprintf(stderr, "%s: %s: %s\n", name, options.outPath.c_str(), note.c_str());
    }
    char pace[32];
    std::snprintf(pace, sizeof pace, options.fast ? "unpaced" : "speed %g", options.speed);
    std::fprintf(stderr, "%s: %s to %s, start %s UTC, seed %llu, %s\n", name,
                 options.nmea ? "NMEA sentences" : "barograph sentences", target.c_str(), formatUtc(start).c_str(),
                 static_cast<unsigned long long>(options.seed), pace);

    double paceBase = monotonicNow();
    std::string buffer;
    std::uint64_t step = 0;
    int status = 0;
    bool failing = false;  // between a write error and the next good write
    while (!gStop && (!limit || step < *limit)) {
        if (!options.fast && !sleepUntil(paceBase + static_cast<double>(step) / options.speed)) break;

        const std::int64_t t = start + static_cast<std::int64_t>(step);
        buffer.clear();
        if (options.nmea) {
            for (const std::string& s : gpsSentences(track, t)) appendLine(buffer, s);
        } else {
            const BarographReading reading = makeReading(weather, t, minuteCounterAt(step, options.historyStep));
            appendLine(buffer, formatPxdr(reading));
            if (options.wixdr) appendLine(buffer, formatWixdr(reading.pressure));
        }

        if (network) {
            // A gateway sends whether or not anybody listens: a refused datagram or a
            // client gone is no reason to stop, and the next client gets the next second.
            if (listener >= 0 && fd < 0) fd = acceptClient(listener);
            if (fd >= 0) {
                const WriteResult w = writeFully(fd, buffer.data(), buffer.size(), gStop);
                if (w.status == WriteStatus::Stopped) break;
                if (w.status == WriteStatus::Failed && listener >= 0) {
                    ::close(fd);
                    fd = -1;
                }
            }
            if (options.verbose) std::fputs(buffer.c_str(), stderr);
            ++step;
            continue;
        }
        const WriteResult w = writeFully(fd, buffer.data(), buffer.size(), gStop);
        if (w.status == WriteStatus::Stopped) break;
        if (w.status == WriteStatus::Failed) {
            if (options.toStdout && w.error == EPIPE) break;  // reader of the pipe is done
            if (!failing) {
                std::fprintf(stderr, "%s: write to %s failed: %s\n", name, target.c_str(), std::strerror(w.error));
            }
            if (options.toStdout || options.exitOnError) {
                status = 1;
                break;
            }
            if (!failing) std::fprintf(stderr, "%s: reopening %s every second until it works\n", name, target.c_str());
            failing = true;
            // Let go of the dead end at once: while it is held the kernel keeps
            // the pty allocated, and a new pair could not take over its name.
            ::close(fd);
            fd = -1;
            while (!gStop && fd < 0) {
                if (!sleepUntil(monotonicNow() + 1.0)) break;
                std::string note;
                fd = openOutput(options.outPath, note);
            }
            if (fd < 0) break;
            // Resume at once with this second's sentences, without a burst.
            paceBase = monotonicNow() - static_cast<double>(step) / options.speed;
            continue;
        }
        if (failing) {
            std::fprintf(stderr, "%s: writing to %s again\n", name, target.c_str());
            failing = false;
        }
        if (options.verbose) {
            // Without the CR, which a terminal would only trip over.
            for (char c : buffer) {
                if (c != '\r') std::fputc(c, stderr);
            }
        }
        ++step;
    }

    if (!options.toStdout && fd >= 0) ::close(fd);
    if (listener >= 0) ::close(listener);
    if (options.verbose || gStop) {
        std::fprintf(stderr, "%s: stopped after %llu second(s) of simulated time\n", name,
                     static_cast<unsigned long long>(step));
    }
    return status;
}
