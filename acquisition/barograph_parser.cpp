#include "acquisition/barograph_parser.h"

#include "acquisition/measurement_state.h"

namespace {

constexpr uint32_t pressureLimit = 150000;
constexpr int32_t tendencyLimit = 999;
constexpr uint32_t minutesAgoLimit = 3120;  // 104 slots of 30 minutes

struct Sentence {
    const char* line;
    size_t length;

    // The character's distance from '0', the character taken as signed
    // 8-bit whatever the signedness of char, so a byte above 127 counts
    // negative on every compiler.
    int32_t digit(size_t position) const
    {
        uint8_t byte = position < length ? static_cast<uint8_t>(line[position]) : 0;
        int32_t value = byte < 128 ? byte : static_cast<int32_t>(byte) - 256;
        return value - '0';
    }

    bool isMinus(size_t position) const { return position < length && line[position] == '-'; }

    // Four integer digits at `at`, point at `at` + 4, two decimals after it.
    uint32_t pressure(size_t at) const
    {
        int32_t sum = 100000 * digit(at) + 10000 * digit(at + 1) + 1000 * digit(at + 2) +
                      100 * digit(at + 3) + 10 * digit(at + 5) + digit(at + 6);
        // Compared unsigned: a sum that non-digits made negative is limited too.
        uint32_t value = static_cast<uint32_t>(sum);
        return value > pressureLimit ? pressureLimit : value;
    }

    // Sign at `at`, two integer digits, point, one decimal.
    int32_t tendency(size_t at) const
    {
        int32_t sum = 100 * digit(at + 1) + 10 * digit(at + 2) + digit(at + 4);
        if (isMinus(at)) sum = -sum;
        if (sum > tendencyLimit) return tendencyLimit;
        if (sum < -tendencyLimit) return -tendencyLimit;
        return sum;
    }
};

} // namespace

int parseBarographSentence(const char* line, size_t length)
{
    const Sentence s{line, length};

    static const char header[] = "$PXDR";
    int mismatches = 0;
    for (size_t i = 0; i < 5; ++i) {
        char c = i < length ? line[i] : '\0';
        if (c != header[i]) ++mismatches;
    }
    if (mismatches != 0) return mismatches;

    currentReading.pressure = s.pressure(6);

    int32_t converter = 10000 * s.digit(14) + 1000 * s.digit(15) + 100 * s.digit(16) +
                        10 * s.digit(17) + s.digit(18);
    currentReading.converterValue = static_cast<uint32_t>(converter);

    currentReading.tendency1h = s.tendency(20);
    currentReading.tendency3h = s.tendency(26);

    // The sign at 32 is not read: the counter always means minutes ago.
    int32_t minutes = 1000 * s.digit(33) + 100 * s.digit(34) + 10 * s.digit(35) + s.digit(36);
    uint32_t minutesAgo = static_cast<uint32_t>(minutes);
    currentReading.minutesAgo = minutesAgo > minutesAgoLimit ? minutesAgoLimit : minutesAgo;

    currentReading.pressureThen = s.pressure(38);
    return 0;
}
