// The sentence parser over arbitrary lines: accepted values stay within their limits.
#include "acquisition/barograph_parser.h"
#include "acquisition/measurement_state.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CurrentReading before = currentReading;
    int result = parseBarographSentence(reinterpret_cast<const char*>(data), size);
    FUZZ_CHECK(result >= 0 && result <= 5);
    if (result != 0) {
        FUZZ_CHECK(currentReading.pressure == before.pressure);
        FUZZ_CHECK(currentReading.minutesAgo == before.minutesAgo);
        return 0;
    }
    FUZZ_CHECK(size >= 5);
    FUZZ_CHECK(currentReading.pressure <= 150000);
    FUZZ_CHECK(currentReading.pressureThen <= 150000);
    FUZZ_CHECK(currentReading.tendency1h >= -999 && currentReading.tendency1h <= 999);
    FUZZ_CHECK(currentReading.tendency3h >= -999 && currentReading.tendency3h <= 999);
    FUZZ_CHECK(currentReading.minutesAgo <= 3120);
    return 0;
}
