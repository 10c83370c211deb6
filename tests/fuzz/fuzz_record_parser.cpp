// The record-line parser over arbitrary 80-byte lines: a line it accepts has
// fields in range, and writing those fields gives a line that reads back the same.
#include <cstring>

#include "fuzz_check.h"
#include "records/record_line.h"
#include "storedata/record_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    char line[recordLineLength] = {};
    std::memcpy(line, data, size < sizeof line ? size : sizeof line);
    // Zeroed, so the padding after windAlarm compares equal below.
    ParsedRecord first, again;
    std::memset(&first, 0, sizeof first);
    std::memset(&again, 0, sizeof again);
    if (!parseRecordLine(Barograph, line, first)) return 0;
    FUZZ_CHECK(first.month >= 1 && first.month <= 12 && first.day >= 1 && first.day <= 31);
    FUZZ_CHECK(first.hour >= 0 && first.hour <= 23 && first.minute >= 0 && first.minute <= 59);
    FUZZ_CHECK(first.pressure >= 0 && first.pressure <= 150000);
    // Exactly the writer's ranges, so everything it writes can be accepted.
    FUZZ_CHECK(first.tendency1h >= -999 && first.tendency1h <= 999);
    FUZZ_CHECK(first.tendency3h >= -999 && first.tendency3h <= 999);
    FUZZ_CHECK(first.variation >= 0 && first.variation <= 999);
    FUZZ_CHECK(first.windAlarm == (line[77] == '1' ? 1 : 0));
    if (first.year < 0) return 0;  // a year the writer cannot show

    UtcStamp time{static_cast<uint16_t>(first.year), static_cast<uint8_t>(first.month),
                  static_cast<uint8_t>(first.day), static_cast<uint8_t>(first.hour),
                  static_cast<uint8_t>(first.minute)};
    char written[recordLineLength];
    formatRecordLine(1, time, static_cast<uint32_t>(first.pressure), first.tendency1h, first.tendency3h,
                     static_cast<uint32_t>(first.variation), first.windAlarm, written);
    FUZZ_CHECK(parseRecordLine(Barograph, written, again));
    FUZZ_CHECK(std::memcmp(&first, &again, sizeof first) == 0);
    return 0;
}
