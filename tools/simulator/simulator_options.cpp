#include "simulator_options.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "utc_time.h"

namespace {

bool parseUnsigned(std::string_view text, std::uint64_t& value) {
    if (text.empty() || text.size() > 19) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return true;
}

bool parsePositiveReal(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return errno == 0 && end == text.c_str() + text.size() && std::isfinite(value) && value > 0;
}

}  // namespace

bool parseOptions(int argc, const char* const* argv, SimulatorOptions& o, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string value;
        bool hasValue = false;
        if (const auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
            hasValue = true;
        }
        const auto flag = [&](bool& target) {
            if (hasValue) {
                error = arg + " takes no value";
                return false;
            }
            target = true;
            return true;
        };
        const auto takeValue = [&]() {
            if (hasValue) return true;
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            value = argv[++i];
            return true;
        };
        std::uint64_t number = 0;
        if (arg == "--help" || arg == "-h") {
            if (!flag(o.help)) return false;
        } else if (arg == "--stdout") {
            if (!flag(o.toStdout)) return false;
        } else if (arg == "--fast") {
            if (!flag(o.fast)) return false;
        } else if (arg == "--no-wixdr") {
            bool set = false;
            if (!flag(set)) return false;
            o.wixdr = false;
        } else if (arg == "--nmea") {
            if (!flag(o.nmea)) return false;
        } else if (arg == "--exit-on-error") {
            if (!flag(o.exitOnError)) return false;
        } else if (arg == "--verbose" || arg == "-v") {
            if (!flag(o.verbose)) return false;
        } else if (arg == "--out") {
            if (!takeValue()) return false;
            if (value.empty()) {
                error = "--out needs a path";
                return false;
            }
            o.outPath = value;
        } else if (arg == "--udp" || arg == "--tcp") {
            if (!takeValue()) return false;
            if (!parseUnsigned(value, number) || number < 1 || number > 65535) {
                error = arg + " needs a port from 1 to 65535, not '" + value + "'";
                return false;
            }
            (arg == "--udp" ? o.udpPort : o.tcpPort) = static_cast<std::uint16_t>(number);
        } else if (arg == "--speed") {
            if (!takeValue()) return false;
            if (!parsePositiveReal(value, o.speed)) {
                error = "--speed needs a number above 0, not '" + value + "'";
                return false;
            }
        } else if (arg == "--duration") {
            if (!takeValue()) return false;
            if (!parseUnsigned(value, number) || number > (1ull << 40)) {
                error = "--duration needs whole seconds, not '" + value + "'";
                return false;
            }
            o.durationSeconds = static_cast<std::int64_t>(number);
        } else if (arg == "--count") {
            if (!takeValue()) return false;
            if (!parseUnsigned(value, number)) {
                error = "--count needs a whole number, not '" + value + "'";
                return false;
            }
            o.count = number;
        } else if (arg == "--seed") {
            if (!takeValue()) return false;
            if (!parseUnsigned(value, o.seed)) {
                error = "--seed needs a whole number, not '" + value + "'";
                return false;
            }
        } else if (arg == "--start") {
            if (!takeValue()) return false;
            const auto t = parseUtcTime(value);
            if (!t) {
                error = "--start needs \"YYYY-MM-DD HH:MM\" (UTC), not '" + value + "'";
                return false;
            }
            o.startTime = *t;
        } else if (arg == "--history-step") {
            if (!takeValue()) return false;
            if (!parseUnsigned(value, number) || number < 1 || number > 3120) {
                error = "--history-step needs minutes from 1 to 3120, not '" + value + "'";
                return false;
            }
            o.historyStep = static_cast<std::uint32_t>(number);
        } else {
            error = "unknown argument '" + std::string(argv[i]) + "'";
            return false;
        }
    }
    if (o.help) return true;
    const int targets = int(o.toStdout) + int(!o.outPath.empty()) + int(bool(o.udpPort)) + int(bool(o.tcpPort));
    if (targets > 1) {
        error = "--out, --stdout, --udp and --tcp exclude each other";
        return false;
    }
    if (targets == 0) {
        error = "--out PATH (or --stdout, --udp PORT, --tcp PORT) is required";
        return false;
    }
    return true;
}

std::optional<std::uint64_t> stepLimit(const SimulatorOptions& o) {
    std::optional<std::uint64_t> limit;
    if (o.durationSeconds) limit = static_cast<std::uint64_t>(*o.durationSeconds);
    if (o.count) limit = limit ? std::min(*limit, *o.count) : *o.count;
    return limit;
}

std::string usageText(const char* programName) {
    std::string text = "Usage: ";
    text += programName;
    text += R"( --out PATH | --stdout | --udp PORT | --tcp PORT [options]

Writes what an electronic barograph sends once a second: a $PXDR sentence
(pressure, converter value, 1 h and 3 h tendencies, minute counter, stored
pressure) followed by a $WIXDR sentence (pressure in bar), each ended by CR LF.
A tty (a pty end or a serial device) is set to 4800 baud 8N1 raw.

  --out PATH          pty end (e.g. /dev/pts/3) or serial device to write to
  --stdout            write to standard output instead
  --udp PORT          send each second's sentences as one datagram to
                      127.0.0.1:PORT, as a WiFi gateway broadcasts them
  --tcp PORT          serve them to one client at a time on 127.0.0.1:PORT,
                      as a gateway's TCP server does; while no client is
                      connected, the sentences are dropped
  --speed FACTOR      simulated seconds per real second (default 1)
  --fast              no pacing: as fast as the writes go
  --duration SECONDS  stop after this many simulated seconds
  --count N           stop after N $PXDR sentences (N seconds with --nmea)
                      (default: run until SIGINT/SIGTERM)
  --seed N            weather and track seed (default 1); same seed and
                      start give the same bytes
  --start "YYYY-MM-DD HH:MM"
                      simulated start time, UTC (default: now)
  --history-step MIN  minutes the history counter (0..3120) advances per
                      sentence, 1..3120. Default 30: every half-hour slot of
                      a receiver's 52-hour chart gets a value within the
                      first 105 sentences (under two minutes at speed 1);
                      1 walks minute by minute and needs 3121 sentences
  --no-wixdr          omit the $WIXDR sentence
  --nmea              send a GPS sentence mix instead ($GPRMC, $GPGGA,
                      $GPGSA, 3 x $GPGSV, $GPVTG once a simulated second)
  --exit-on-error     stop on a write error; by default the simulator waits
                      and reopens PATH every second until a reader is back
  --verbose, -v       echo every sentence to stderr
  --help, -h          this text
)";
    return text;
}
