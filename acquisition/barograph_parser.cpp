#include "acquisition/barograph_parser.h"

#include "acquisition/measurement_state.h"

namespace {

// The device's sentence, position by position: 'd' stands for a digit, 's'
// for a sign, any other character for itself. The device has no checksum, so
// this shape is all that tells a damaged line from a reading: a dropped,
// doubled or hit character moves a separator or puts a non-digit in a field.
constexpr char sentenceShape[] = "$PXDR,dddd.dd,ddddd,sdd.d,sdd.d,sdddd,dddd.dd";
constexpr size_t sentenceLength = sizeof sentenceShape - 1;
constexpr size_t headerLength = 5;

constexpr uint32_t minutesAgoLimit = historyWindowSlots * minutesPerSlot;  // the slot just past the charts
constexpr uint32_t storedPressureLimit = 150000;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool fitsShape(char c, char shape)
{
    if (shape == 'd') return isDigit(c);
    if (shape == 's') return c == '+' || c == '-';
    return c == shape;
}

// Exactly the sentence, then CR LF or LF: bytes after the line end would be a
// second sentence run into this one.
bool hasSentenceShape(const char* line, size_t length)
{
    if (length == sentenceLength + 2) {
        if (line[sentenceLength] != '\r' || line[sentenceLength + 1] != '\n') return false;
    } else if (length == sentenceLength + 1) {
        if (line[sentenceLength] != '\n') return false;
    } else {
        return false;
    }
    for (size_t i = headerLength; i < sentenceLength; ++i)
        if (!fitsShape(line[i], sentenceShape[i])) return false;
    return true;
}

// Only called on a line of the sentence's shape: every byte read is a digit.
struct Sentence {
    const char* line;

    uint32_t digits(size_t at, size_t count) const
    {
        uint32_t value = 0;
        for (size_t i = at; i < at + count; ++i) value = 10 * value + static_cast<uint32_t>(line[i] - '0');
        return value;
    }

    // Four integer digits at `at`, point, two decimals.
    uint32_t pressure(size_t at) const { return 100 * digits(at, 4) + digits(at + 5, 2); }

    // Sign at `at`, two integer digits, point, one decimal.
    int32_t tendency(size_t at) const
    {
        int32_t value = static_cast<int32_t>(10 * digits(at + 1, 2) + digits(at + 4, 1));
        return line[at] == '-' ? -value : value;
    }
};

} // namespace

int parseBarographSentence(const char* line, size_t length)
{
    int mismatches = 0;
    for (size_t i = 0; i < headerLength; ++i) {
        char c = i < length ? line[i] : '\0';
        if (c != sentenceShape[i]) ++mismatches;
    }
    if (mismatches != 0) return mismatches;
    if (!hasSentenceShape(line, length)) return sentenceDamaged;

    const Sentence s{line};
    uint32_t pressure = s.pressure(6);
    uint32_t converter = s.digits(14, 5);
    if (pressure < lowestPlausiblePressure || pressure > highestPlausiblePressure) return sentenceDamaged;
    if (converter > highestConverterValue) return sentenceDamaged;

    currentReading.pressure = pressure;
    currentReading.converterValue = converter;
    currentReading.tendency1h = s.tendency(20);
    currentReading.tendency3h = s.tendency(26);
    // The sign at 32 is not read: the counter always means minutes ago.
    uint32_t minutesAgo = s.digits(33, 4);
    currentReading.minutesAgo = minutesAgo > minutesAgoLimit ? minutesAgoLimit : minutesAgo;
    // Whether the stored pressure fits the history is the history's matter
    // (storeHistoryPressures); the reading keeps what the device sent.
    uint32_t pressureThen = s.pressure(38);
    currentReading.pressureThen = pressureThen > storedPressureLimit ? storedPressureLimit : pressureThen;
    return 0;
}
