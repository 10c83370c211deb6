#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct SimulatorOptions {
    std::string outPath;
    bool toStdout = false;
    // Over the network on 127.0.0.1 instead: datagrams to this UDP port, or a
    // TCP server on this port for one client at a time.
    std::optional<std::uint16_t> udpPort, tcpPort;
    double speed = 1.0;              // simulated seconds per real second
    bool fast = false;               // no pacing at all
    std::optional<std::int64_t> durationSeconds;  // simulated seconds
    std::optional<std::uint64_t> count;           // sentences (seconds in NMEA mode)
    std::uint64_t seed = 1;
    std::optional<std::int64_t> startTime;        // seconds since 1970 UTC
    std::uint32_t historyStep = 30;  // minutes the counter moves per sentence
    bool wixdr = true;
    bool nmea = false;
    bool exitOnError = false;
    bool verbose = false;
    bool help = false;
};

// Accepts "--name value" and "--name=value". On failure returns false and
// sets `error` to a one-line message.
bool parseOptions(int argc, const char* const* argv, SimulatorOptions& options, std::string& error);

std::string usageText(const char* programName);

// Number of one-second steps to run, or nullopt for "until stopped".
std::optional<std::uint64_t> stepLimit(const SimulatorOptions& options);
