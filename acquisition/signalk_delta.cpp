#include "acquisition/signalk_delta.h"

#include <cstdio>

#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::ordered_json;

// 0x80..0x9F of Windows-1252; 0 where the code page assigns nothing.
constexpr char16_t highControls[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E,
    0x0178,
};

std::string isoTime(const DeltaTime& t)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u.%03uZ", unsigned(t.year), unsigned(t.month),
                  unsigned(t.day), unsigned(t.hour), unsigned(t.minute), unsigned(t.second),
                  unsigned(t.millisecond));
    return text;
}

std::string deltaOf(const char* path, Json value, const DeltaTime& now)
{
    Json entry = {{"path", path}, {"value", std::move(value)}};
    Json update = {{"timestamp", isoTime(now)}, {"values", Json::array({std::move(entry)})}};
    Json delta = {{"context", "vessels.self"}, {"updates", Json::array({std::move(update)})}};
    // The text is UTF-8 by construction; the handler only keeps a fault from throwing.
    return delta.dump(-1, ' ', false, Json::error_handler_t::replace);
}

const char* stateName(NotificationState state)
{
    switch (state) {
    case NotificationState::Warn: return "warn";
    case NotificationState::Alarm: return "alarm";
    case NotificationState::Alert: return "alert";
    case NotificationState::Normal: break;
    }
    return "normal";
}

} // namespace

std::string utf8FromWindows1252(const std::string& text)
{
    std::string utf8;
    for (unsigned char byte : text) {
        char32_t c = byte >= 0x80 && byte < 0xA0 && highControls[byte - 0x80] ? highControls[byte - 0x80] : byte;
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 += static_cast<char>(0xC0 | c >> 6);
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | c >> 12);
            utf8 += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

std::string pressureDelta(uint32_t pressure, const DeltaTime& now)
{
    return deltaOf("environment.outside.pressure", pressure, now);
}

std::string notificationDelta(const Notification& notification, const DeltaTime& now)
{
    const std::string path = std::string("notifications.") + notification.path;
    Json method = Json::array();
    if (notification.state != NotificationState::Normal) {
        method.push_back("visual");
        if (notification.sound) method.push_back("sound");
    }
    std::string message = utf8FromWindows1252(notification.message);
    for (;;) {
        Json value = {{"state", stateName(notification.state)}, {"method", method}, {"message", message}};
        std::string delta = deltaOf(path.c_str(), std::move(value), now);
        if (delta.size() <= signalKDatagramLimit || message.empty()) return delta;
        // Escapes only lengthen a character, so cutting the excess off the
        // message is never too much; then back to the start of a character.
        size_t keep = message.size() > delta.size() - signalKDatagramLimit
                          ? message.size() - (delta.size() - signalKDatagramLimit)
                          : 0;
        while (keep > 0 && (static_cast<unsigned char>(message[keep]) & 0xC0) == 0x80) --keep;
        message.resize(keep);
    }
}
