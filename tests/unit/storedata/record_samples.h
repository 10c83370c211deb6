#pragma once
// Record lines for the tests of the loader and the data check, made by the
// record writer's own formatter so the files look like real monitor.txt files.
#include <cstdint>
#include <string>

#include "records/record_line.h"

namespace samples {

// The UTC stamp `minutes` after 01.01.2024 00:00 (a leap year).
inline UtcStamp stampAt(uint32_t minutes)
{
    static const int monthDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    uint32_t days = minutes / 1440;
    uint32_t year = 2024;
    int month = 0;
    for (;;) {
        uint32_t inMonth = static_cast<uint32_t>(monthDays[month]);
        if (month == 1 && year % 4 != 0) inMonth = 28;
        if (days < inMonth) break;
        days -= inMonth;
        if (++month == 12) {
            month = 0;
            ++year;
        }
    }
    return UtcStamp{static_cast<uint16_t>(year), static_cast<uint8_t>(month + 1),
                    static_cast<uint8_t>(days + 1), static_cast<uint8_t>(minutes % 1440 / 60),
                    static_cast<uint8_t>(minutes % 60)};
}

inline uint32_t at(int hour, int minute, int day = 0)
{
    return static_cast<uint32_t>(day * 1440 + hour * 60 + minute);
}

// Pressure, tendencies and variation follow from the time, so that every
// record of a file is told apart by its values as well.
inline uint32_t pressureAt(uint32_t minutes) { return 95000 + minutes % 9000; }
inline int32_t tendency1hAt(uint32_t minutes) { return static_cast<int32_t>(minutes % 997) - 498; }
inline int32_t tendency3hAt(uint32_t minutes) { return static_cast<int32_t>(minutes % 1993) - 996; }
inline uint32_t variationAt(uint32_t minutes) { return minutes % 500; }

inline std::string record(uint32_t number, uint32_t minutes, uint8_t windAlarm = 0)
{
    char line[recordLineLength];
    formatRecordLine(number, stampAt(minutes), pressureAt(minutes), tendency1hAt(minutes),
                     tendency3hAt(minutes), variationAt(minutes), windAlarm, line);
    return std::string(line, sizeof line);
}

// A valid record in every field but the pressure, which reads 1500,01 hPa:
// the writer can write it, the data check takes no pressure above 1500,00.
inline std::string invalidRecord(uint32_t number, uint32_t minutes)
{
    char line[recordLineLength];
    formatRecordLine(number, stampAt(minutes), 150001, tendency1hAt(minutes), tendency3hAt(minutes),
                     variationAt(minutes), 0, line);
    return std::string(line, sizeof line);
}

// `file` with the wind alarm digit of its record `index` (counted in whole
// 80-byte records from the start) replaced by `digit`.
inline std::string withAlarmDigit(std::string file, size_t index, char digit)
{
    file.at(index * recordLineLength + 77) = digit;
    return file;
}

// `count` records five minutes apart, numbered on from `firstNumber`.
inline std::string series(uint32_t firstMinute, uint32_t count, uint32_t firstNumber = 1)
{
    std::string file;
    for (uint32_t i = 0; i < count; ++i) file += record(firstNumber + i, firstMinute + 5 * i);
    return file;
}

} // namespace samples
