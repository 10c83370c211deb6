#pragma once
// The 80-byte record line of monitor.txt, built without floating point or
// locale, so the bytes depend on the values alone.
#include <cstddef>
#include <cstdint>

constexpr unsigned recordLineLength = 80;
// The largest six digits hold: record and sentence numbers wrap after it.
constexpr uint32_t sixDigitLimit = 999999;

// UTC date and time to the minute, as a record carries it.
struct UtcStamp {
    uint16_t year;
    uint8_t month, day, hour, minute;
};

// Example: "000020 28.12.2003 21:00 0988,10 hPa +01,8 hPa/hr +05,2 hPa/3h 00,0 hPa/h var 0\r\n".
// Every field has a fixed width; a value that would not fit (never produced
// by the acquisition) is written as the largest the field can show, so the
// line is always exactly 80 bytes and the loader finds every field in place.
void formatRecordLine(uint32_t recordNumber, const UtcStamp& time, uint32_t pressure,
                      int32_t tendency1h, int32_t tendency3h, uint32_t variation,
                      uint8_t windAlarm, char (&line)[recordLineLength]);
