// The sentence parser over arbitrary lines: a line it accepts has the
// device's sentence shape and values in bounds, and those values are the ones
// the line spells; a line it rejects changes nothing.
#include <cstring>

#include "acquisition/barograph_parser.h"
#include "acquisition/measurement_state.h"
#include "fuzz_check.h"

namespace {

// The shape, written out field by field rather than as the parser's pattern.
bool digitsAt(const uint8_t* line, size_t at, size_t count)
{
    for (size_t i = at; i < at + count; ++i)
        if (line[i] < '0' || line[i] > '9') return false;
    return true;
}

bool signAt(const uint8_t* line, size_t at) { return line[at] == '+' || line[at] == '-'; }

uint32_t numberAt(const uint8_t* line, size_t at, size_t count)
{
    uint32_t value = 0;
    for (size_t i = at; i < at + count; ++i) value = value * 10 + (line[i] - '0');
    return value;
}

bool isSentence(const uint8_t* line, size_t size)
{
    bool ended = (size == 47 && line[45] == '\r' && line[46] == '\n') || (size == 46 && line[45] == '\n');
    return ended && std::memcmp(line, "$PXDR,", 6) == 0 && digitsAt(line, 6, 4) && line[10] == '.' &&
           digitsAt(line, 11, 2) && line[13] == ',' && digitsAt(line, 14, 5) && line[19] == ',' &&
           signAt(line, 20) && digitsAt(line, 21, 2) && line[23] == '.' && digitsAt(line, 24, 1) &&
           line[25] == ',' && signAt(line, 26) && digitsAt(line, 27, 2) && line[29] == '.' &&
           digitsAt(line, 30, 1) && line[31] == ',' && signAt(line, 32) && digitsAt(line, 33, 4) &&
           line[37] == ',' && digitsAt(line, 38, 4) && line[42] == '.' && digitsAt(line, 43, 2);
}

int32_t tenthsAt(const uint8_t* line, size_t at)
{
    int32_t value = static_cast<int32_t>(numberAt(line, at + 1, 2) * 10 + numberAt(line, at + 4, 1));
    return line[at] == '-' ? -value : value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CurrentReading before = currentReading;
    int result = parseBarographSentence(reinterpret_cast<const char*>(data), size);
    FUZZ_CHECK(result >= 0 && result <= 6);
    if (result != 0) {
        FUZZ_CHECK(std::memcmp(&before, &currentReading, sizeof before) == 0);
        // 6 is for lines with the right header only.
        FUZZ_CHECK((result == 6) == (size >= 5 && std::memcmp(data, "$PXDR", 5) == 0));
        return 0;
    }
    FUZZ_CHECK(isSentence(data, size));
    FUZZ_CHECK(currentReading.pressure >= 80000 && currentReading.pressure <= 110000);
    FUZZ_CHECK(currentReading.converterValue <= 65535);
    FUZZ_CHECK(currentReading.tendency1h >= -999 && currentReading.tendency1h <= 999);
    FUZZ_CHECK(currentReading.tendency3h >= -999 && currentReading.tendency3h <= 999);
    FUZZ_CHECK(currentReading.minutesAgo <= 3120);
    FUZZ_CHECK(currentReading.pressureThen <= 150000);

    FUZZ_CHECK(currentReading.pressure == numberAt(data, 6, 4) * 100 + numberAt(data, 11, 2));
    FUZZ_CHECK(currentReading.converterValue == numberAt(data, 14, 5));
    FUZZ_CHECK(currentReading.tendency1h == tenthsAt(data, 20));
    FUZZ_CHECK(currentReading.tendency3h == tenthsAt(data, 26));
    uint32_t minutes = numberAt(data, 33, 4);
    FUZZ_CHECK(currentReading.minutesAgo == (minutes > 3120 ? 3120 : minutes));
    uint32_t then = numberAt(data, 38, 4) * 100 + numberAt(data, 43, 2);
    FUZZ_CHECK(currentReading.pressureThen == (then > 150000 ? 150000 : then));
    return 0;
}
