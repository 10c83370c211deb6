#include "acquisition/measurement_state.h"

#include <cstring>

CurrentReading currentReading = {};
namespace {
const VariationCycle freshCycle = {0, 0, highestConverterValue, 0};
} // namespace

VariationCycle variationCycle = freshCycle;
AcquisitionCounters acquisitionCounters = {};
PressureHistory pressureHistory = {};
NmeaLineStore nmeaLineStore = {};

void resetMeasurementState()
{
    currentReading = CurrentReading{};
    variationCycle = freshCycle;
    acquisitionCounters = AcquisitionCounters{};
    pressureHistory = PressureHistory{};
    nmeaLineStore = NmeaLineStore{};
}

void startFreshCycle()
{
    const uint32_t variation = variationCycle.variation;
    variationCycle = freshCycle;
    variationCycle.variation = variation;
    currentReading.windAlarm = 0;
}

void clearReading()
{
    const UtcStamp sampleTime = currentReading.sampleTime;
    currentReading = CurrentReading{};
    currentReading.sampleTime = sampleTime;
}

void clearHistory()
{
    for (size_t i = 0; i < historyWindowSlots; ++i) pressureHistory.slots[i] = HistorySlot{};
}

void storeHistoryPressures()
{
    pressureHistory.slots[0].pressure = static_cast<int32_t>(currentReading.pressure);
    uint32_t now = currentReading.pressure, then = currentReading.pressureThen;
    uint32_t distance = then > now ? then - now : now - then;
    if (distance > storedPressureReach) return;
    uint32_t slot = currentReading.minutesAgo / minutesPerSlot;
    // The parser limits minutesAgo to 3120 (slot 104); anything else written
    // here directly must still not reach outside the array.
    if (slot < historySlotCount)
        pressureHistory.slots[slot].pressure = static_cast<int32_t>(then);
}

namespace {

// Slot pressures normally are at most 150000, but the loader may put any
// value there; the difference is taken wide so it cannot overflow.
int32_t tendencyBetween(int32_t newer, int32_t older)
{
    return static_cast<int32_t>((static_cast<int64_t>(newer) - older) / 10);
}

} // namespace

void computeTendencies()
{
    HistorySlot* slots = pressureHistory.slots;
    for (size_t i = 0; i < historyWindowSlots; ++i) {
        slots[i].tendency1h = 0;
        slots[i].tendency3h = 0;
    }
    for (size_t i = 0; i < historyWindowSlots; ++i) {
        if (slots[i + 2].pressure != 0)
            slots[i].tendency1h = tendencyBetween(slots[i].pressure, slots[i + 2].pressure);
        if (slots[i + 6].pressure != 0)
            slots[i].tendency3h = tendencyBetween(slots[i].pressure, slots[i + 6].pressure);
    }
}

bool historyChanged()
{
    // Wrapping sum: unsigned arithmetic, read back as signed.
    uint32_t sum = 0;
    for (size_t i = 0; i < historyWindowSlots; ++i)
        sum += static_cast<uint32_t>(pressureHistory.slots[i].pressure);
    int32_t signedSum = static_cast<int32_t>(sum);
    if (signedSum == pressureHistory.lastHistorySum) return false;
    pressureHistory.lastHistorySum = signedSum;
    return true;
}

void clearNmeaLines()
{
    for (size_t i = 0; i < nmeaLineCount; ++i)
        std::memset(nmeaLineStore.lines[i], 0, nmeaLineSize - 1);
}

void pushNmeaLine(const char* text, size_t length)
{
    if (length > nmeaMaxLineLength) length = nmeaMaxLineLength;
    // From the highest line down, so nothing is overwritten before it moved.
    for (size_t i = nmeaFilledLines - 1; i > 0; --i)
        std::memcpy(nmeaLineStore.lines[i], nmeaLineStore.lines[i - 1], nmeaLineSize - 1);
    std::memset(nmeaLineStore.lines[0], 0, nmeaLineSize - 1);
    if (length > 0) std::memcpy(nmeaLineStore.lines[0], text, length);
}
