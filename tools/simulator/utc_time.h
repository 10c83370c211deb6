#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Simulated time is whole seconds since 1970-01-01 00:00 UTC. The conversions
// are done by hand so the core needs neither timegm nor the host's time zone.
struct UtcTime {
    int year = 1970;
    int month = 1;   // 1..12
    int day = 1;     // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

UtcTime utcFromEpoch(std::int64_t seconds);
std::int64_t epochFromUtc(const UtcTime& time);

// "YYYY-MM-DD HH:MM" (or with 'T' between date and time, optionally ":SS").
std::optional<std::int64_t> parseUtcTime(std::string_view text);
