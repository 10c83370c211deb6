#include "records/record_line.h"

#include "acquisition/line_dispatch.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

const UtcStamp december28{2003, 12, 28, 21, 0};

std::string record(uint32_t number, const UtcStamp& time, uint32_t pressure, int32_t t1,
                   int32_t t3, uint32_t variation, uint8_t windAlarm = 0)
{
    char line[recordLineLength];
    formatRecordLine(number, time, pressure, t1, t3, variation, windAlarm, line);
    return std::string(line, sizeof line);
}

// The line as the printf format of the record gives it, points turned into
// commas from byte 15 on: an independent source for the expected bytes.
std::string printfRecord(uint32_t number, const UtcStamp& t, uint32_t pressure, int32_t t1,
                         int32_t t3, uint32_t variation)
{
    char text[128];
    int n = std::snprintf(text, sizeof text,
                          "%06ld %02u.%02u.%04u %02d:%02d %07.2f hPa %+05.1f hPa/hr %+05.1f hPa/3h "
                          "%04.1f hPa/h var %d%c%c",
                          static_cast<long>(number), unsigned(t.day), unsigned(t.month),
                          unsigned(t.year), int(t.hour), int(t.minute), pressure / 100.0,
                          t1 / 10.0, t3 / 10.0, variation / 10.0, 0, 13, 10);
    std::string line(text, n > 0 ? static_cast<size_t>(n) : 0);
    for (size_t i = 15; i < line.size(); ++i)
        if (line[i] == '.') line[i] = ',';
    return line;
}

} // namespace

TEST(RecordLine, ExampleRecordByteForByte)
{
    EXPECT_EQ(record(20, december28, 98810, 18, 52, 0),
              "000020 28.12.2003 21:00 0988,10 hPa +01,8 hPa/hr +05,2 hPa/3h 00,0 hPa/h var 0\r\n");
}

TEST(RecordLine, ExtremesKeepEveryFieldInPlace)
{
    EXPECT_EQ(record(999999, december28, 150000, -999, 999, 999),
              "999999 28.12.2003 21:00 1500,00 hPa -99,9 hPa/hr +99,9 hPa/3h 99,9 hPa/h var 0\r\n");
    EXPECT_EQ(record(0, UtcStamp{2024, 1, 2, 3, 4}, 0, 0, -5, 1),
              "000000 02.01.2024 03:04 0000,00 hPa +00,0 hPa/hr -00,5 hPa/3h 00,1 hPa/h var 0\r\n");
    EXPECT_EQ(record(7, december28, 98810, 5, -10, 10, 1),
              "000007 28.12.2003 21:00 0988,10 hPa +00,5 hPa/hr -01,0 hPa/3h 01,0 hPa/h var 1\r\n");
}

TEST(RecordLine, ValuesTheFieldsCannotHoldAreWrittenAsTheirLargest)
{
    // Never produced by the acquisition; the line must still be 80 bytes
    // with its fields at their positions.
    EXPECT_EQ(record(1000000, UtcStamp{65535, 255, 255, 255, 255}, 4000000000u, INT32_MIN,
                     INT32_MAX, 100000, 200),
              "999999 99.99.9999 99:99 9999,99 hPa -99,9 hPa/hr +99,9 hPa/3h 99,9 hPa/h var 1\r\n");
}

TEST(RecordLine, SameBytesAsTheFormatOverEachFieldsRange)
{
    const UtcStamp t{2026, 7, 9, 0, 59};
    for (uint32_t p = 0; p <= 150000; ++p)
        ASSERT_EQ(record(1, t, p, 0, 0, 0), printfRecord(1, t, p, 0, 0, 0)) << p;
    for (int32_t tendency = -999; tendency <= 999; ++tendency) {
        ASSERT_EQ(record(1, t, 99860, tendency, 0, 0), printfRecord(1, t, 99860, tendency, 0, 0))
            << tendency;
        ASSERT_EQ(record(1, t, 99860, 0, tendency, 0), printfRecord(1, t, 99860, 0, tendency, 0))
            << tendency;
    }
    for (uint32_t v = 0; v <= 999; ++v)
        ASSERT_EQ(record(1, t, 99860, 0, 0, v), printfRecord(1, t, 99860, 0, 0, v)) << v;
    for (uint32_t n : {0u, 1u, 9u, 10u, 99999u, 100000u, 999998u, 999999u})
        ASSERT_EQ(record(n, t, 99860, 0, 0, 0), printfRecord(n, t, 99860, 0, 0, 0)) << n;
}

TEST(RecordLine, BarographRecordTakesTheCurrentState)
{
    resetMeasurementState();
    acquisitionCounters.recordCounter = 20;
    currentReading.sampleTime = december28;
    currentReading.pressure = 98810;
    currentReading.tendency1h = 18;
    currentReading.tendency3h = -52;
    currentReading.windAlarm = 0;
    variationCycle.variation = 11;
    char line[recordLineLength];
    formatBarographRecord(line);
    EXPECT_EQ(std::string(line, sizeof line),
              "000020 28.12.2003 21:00 0988,10 hPa +01,8 hPa/hr -05,2 hPa/3h 01,1 hPa/h var 0\r\n");
    resetMeasurementState();
}
