#include "utc_time.h"

#include <cctype>

namespace {

// Howard Hinnant's days-from-civil algorithm (proleptic Gregorian calendar).
std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int daysInMonth(int year, int month) {
    static const int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : lengths[month - 1];
}

// Reads exactly `width` digits at `pos`; fails on anything else.
bool readDigits(std::string_view text, std::size_t pos, std::size_t width, int& value) {
    if (pos + width > text.size()) return false;
    value = 0;
    for (std::size_t i = pos; i < pos + width; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

}  // namespace

UtcTime utcFromEpoch(std::int64_t seconds) {
    std::int64_t days = seconds / 86400;
    std::int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        days -= 1;
    }
    // Inverse of daysFromCivil.
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    UtcTime t;
    t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2 ? 1 : 0));
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest % 3600 / 60);
    t.second = static_cast<int>(rest % 60);
    return t;
}

std::int64_t epochFromUtc(const UtcTime& t) {
    return daysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

std::optional<std::int64_t> parseUtcTime(std::string_view text) {
    UtcTime t;
    if (text.size() != 16 && text.size() != 19) return std::nullopt;
    if (!readDigits(text, 0, 4, t.year) || text[4] != '-' || !readDigits(text, 5, 2, t.month) ||
        text[7] != '-' || !readDigits(text, 8, 2, t.day) || (text[10] != ' ' && text[10] != 'T') ||
        !readDigits(text, 11, 2, t.hour) || text[13] != ':' || !readDigits(text, 14, 2, t.minute)) {
        return std::nullopt;
    }
    if (text.size() == 19 && (text[16] != ':' || !readDigits(text, 17, 2, t.second))) return std::nullopt;
    if (t.year < 1970 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > daysInMonth(t.year, t.month) ||
        t.hour > 23 || t.minute > 59 || t.second > 59) {
        return std::nullopt;
    }
    return epochFromUtc(t);
}
