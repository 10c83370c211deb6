#pragma once
// The Signal K deltas a boat data server takes over UDP: one JSON object per
// datagram, UTF-8, for the outside pressure and for the notifications of the
// storm warning, the low-pressure alarm and a data stop.
#include <cstddef>
#include <cstdint>
#include <string>

// The default server: the data connection on the same PC.
constexpr uint16_t defaultSignalKPort = 10119;

// A datagram that may leave a WiFi network's path MTU unfragmented.
constexpr size_t signalKDatagramLimit = 1400;

// The moment of a delta, UTC to the millisecond.
struct DeltaTime {
    uint16_t year;
    uint8_t month, day, hour, minute, second;
    uint16_t millisecond;
};

enum class NotificationState : uint8_t { Normal, Warn, Alarm, Alert };

struct Notification {
    const char* path;  // under notifications.
    NotificationState state;
    bool sound;           // method ["visual","sound"]; else ["visual"], and [] when normal
    std::string message;  // Windows-1252, as the program's texts are
};

// Windows-1252 bytes as UTF-8; the five bytes the code page leaves unassigned
// stand for the control characters of the same number, as Windows maps them.
std::string utf8FromWindows1252(const std::string& text);

// The delta of a pressure in hundredths of a hPa, which are pascals.
std::string pressureDelta(uint32_t pressure, const DeltaTime& now);

// The delta of one notification, at most signalKDatagramLimit bytes: a
// message that would make it longer is cut, at a whole character.
std::string notificationDelta(const Notification& notification, const DeltaTime& now);
