// Arbitrary byte streams through line assembly and dispatch, in both modes.
// The first byte picks mode, language and recording; the rest is the line.
#include <cstring>

#include "acquisition/data_watch.h"
#include "acquisition/line_dispatch.h"
#include "acquisition/measurement_state.h"
#include "acquisition/receive_line.h"
#include "acquisition/wind_alarm.h"
#include "fuzz_check.h"
#include "records/record_line.h"
#include "settings/shell_seam.h"
#include "settings/monitor_settings.h"

namespace {

UtcStamp fixedClock() { return UtcStamp{2026, 12, 8, 16, 5}; }

void checkTitle(const char* text)
{
    size_t length = std::strlen(text);
    FUZZ_CHECK(length > 0 && length < 160);
}

void checkRecord(const char* line)
{
    FUZZ_CHECK(line[78] == '\r' && line[79] == '\n');
    for (size_t i = 0; i < 78; ++i) FUZZ_CHECK(line[i] != '\r' && line[i] != '\n' && line[i] != 0);
    FUZZ_CHECK(acquisitionCounters.recordCounter <= 999999);
}

void checkNmeaLine(const char* bytes, size_t length)
{
    FUZZ_CHECK(length >= 2 && length <= 128);
    FUZZ_CHECK(beginsNmeaSentence(bytes));
    FUZZ_CHECK(bytes[length - 1] == '\n');
}

void invalidate() {}

// The dispatch logs the wind alarm's and the data watch's events only.
void checkEvent(int number) { FUZZ_CHECK(number >= 71 && number <= 75); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    monitorSettings.DATA = (data[0] & 1) ? Nmea : Barograph;
    monitorSettings.LANG = static_cast<UiLanguage>((data[0] >> 1) % 3);
    monitorSettings.SAVE = (data[0] & 8) ? 0 : 300;
    receiverFrontEnd = {fixedClock, checkRecord, checkNmeaLine};
    shellSeam.logEvent = checkEvent;
    shellSeam.setTitle = checkTitle;
    shellSeam.repaint = invalidate;

    resetReceiveLine();
    resetWindAlarm();
    resetDataWatch();
    std::memset(&currentReading, 0, sizeof currentReading);
    variationCycle = VariationCycle{0, 0, 65535, 0};
    // Start near the wraps so they are reached.
    acquisitionCounters = AcquisitionCounters{999990, 999998, 0};
    clearHistory();
    clearNmeaLines();

    // Feed in uneven pieces, as ticks deliver them.
    size_t at = 1;
    while (at < size) {
        size_t piece = 1 + data[at] % 97;
        if (piece > size - at) piece = size - at;
        receiveBytes(data + at, piece);
        at += piece;
    }

    FUZZ_CHECK(receiveLine.length < receiveLineCapacity);
    FUZZ_CHECK(currentReading.pressure <= 150000 && currentReading.pressureThen <= 150000);
    // Only an accepted sentence sets the reading, and it holds a plausible pressure.
    FUZZ_CHECK(currentReading.pressure == 0 ||
               (currentReading.pressure >= 80000 && currentReading.pressure <= 110000));
    FUZZ_CHECK(currentReading.converterValue <= 65535);
    FUZZ_CHECK(currentReading.minutesAgo <= 3120);
    FUZZ_CHECK(variationCycle.variation <= 999);
    FUZZ_CHECK(acquisitionCounters.sentenceCounter <= 999999);
    for (size_t line = 0; line < nmeaLineCount; ++line) FUZZ_CHECK(nmeaLineStore.lines[line][127] == 0);
    return 0;
}
