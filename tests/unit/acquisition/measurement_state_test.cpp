#include "acquisition/measurement_state.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class MeasurementState : public ::testing::Test {
protected:
    void SetUp() override
    {
        currentReading = CurrentReading{};
        pressureHistory = PressureHistory{};
        nmeaLineStore = NmeaLineStore{};
    }

    static HistorySlot* slots() { return pressureHistory.slots; }
};

void storeReading(uint32_t pressure, uint32_t minutesAgo, uint32_t pressureThen)
{
    currentReading.pressure = pressure;
    currentReading.minutesAgo = minutesAgo;
    currentReading.pressureThen = pressureThen;
    storeHistoryPressures();
}

bool lineIsZero(size_t line)
{
    for (size_t i = 0; i < nmeaLineSize; ++i)
        if (nmeaLineStore.lines[line][i] != 0) return false;
    return true;
}

} // namespace

TEST_F(MeasurementState, StoredPressureGoesToTheSlotOfItsAge)
{
    storeReading(99860, 0, 99500);
    EXPECT_EQ(slots()[0].pressure, 99500);  // the stored value wins in slot 0
    storeReading(99860, 29, 99510);
    EXPECT_EQ(slots()[0].pressure, 99510);

    storeReading(99860, 30, 99520);
    EXPECT_EQ(slots()[0].pressure, 99860);
    EXPECT_EQ(slots()[1].pressure, 99520);
    storeReading(99870, 59, 99530);
    EXPECT_EQ(slots()[0].pressure, 99870);
    EXPECT_EQ(slots()[1].pressure, 99530);
    storeReading(99870, 60, 99540);
    EXPECT_EQ(slots()[2].pressure, 99540);

    storeReading(99870, 3119, 99550);
    EXPECT_EQ(slots()[103].pressure, 99550);
    storeReading(99870, 3120, 99560);
    EXPECT_EQ(slots()[104].pressure, 99560);
    EXPECT_EQ(slots()[103].pressure, 99550);
}

// A stored pressure far from the pressure it came with is a damaged digit,
// not weather: its slot keeps what it had, slot 0 still takes the reading.
TEST_F(MeasurementState, StoredPressureMoreThanEightyHectopascalsAwayIsNotFiled)
{
    storeReading(100000, 300, 99000);
    ASSERT_EQ(slots()[10].pressure, 99000);

    storeReading(100100, 300, 108101);  // 80.01 hPa above
    EXPECT_EQ(slots()[10].pressure, 99000);
    EXPECT_EQ(slots()[0].pressure, 100100);
    storeReading(100100, 300, 92099);   // 80.01 hPa below
    EXPECT_EQ(slots()[10].pressure, 99000);

    storeReading(100100, 300, 108100);  // 80.00 hPa: filed
    EXPECT_EQ(slots()[10].pressure, 108100);
    storeReading(100100, 300, 92100);
    EXPECT_EQ(slots()[10].pressure, 92100);

    // Below 30 minutes the stored value would win in slot 0: a far one does not.
    storeReading(100100, 10, 0);
    EXPECT_EQ(slots()[0].pressure, 100100);
    storeReading(100100, 10, 150000);
    EXPECT_EQ(slots()[0].pressure, 100100);
    storeReading(100100, 10, 100050);
    EXPECT_EQ(slots()[0].pressure, 100050);
}

TEST_F(MeasurementState, TendenciesFromSlotsTwoAndSixOlder)
{
    slots()[0].pressure = 99860;
    computeTendencies();
    for (size_t i = 0; i < historyWindowSlots; ++i) {
        EXPECT_EQ(slots()[i].tendency1h, 0) << i;
        EXPECT_EQ(slots()[i].tendency3h, 0) << i;
    }

    slots()[2].pressure = 99740;
    slots()[6].pressure = 99500;
    computeTendencies();
    EXPECT_EQ(slots()[0].tendency1h, 12);
    EXPECT_EQ(slots()[0].tendency3h, 36);
    // An empty slot next to a filled one two or six slots older.
    EXPECT_EQ(slots()[4].tendency1h, -9950);

    slots()[0].pressure = 99740;
    slots()[2].pressure = 99860;
    computeTendencies();
    EXPECT_EQ(slots()[0].tendency1h, -12);

    // Truncated toward zero in both directions.
    slots()[0].pressure = 99875;
    computeTendencies();
    EXPECT_EQ(slots()[0].tendency1h, 1);
    slots()[0].pressure = 99845;
    computeTendencies();
    EXPECT_EQ(slots()[0].tendency1h, -1);
}

TEST_F(MeasurementState, TendenciesNearTheEndOfTheWindowUseSlotsBeyondIt)
{
    // 10 hundredths fall per slot: 2 per hour, 6 per three hours.
    for (size_t i = 0; i < historyWindowSlots; ++i)
        slots()[i].pressure = static_cast<int32_t>(100000 - 10 * i);
    computeTendencies();
    for (size_t i = 0; i < historyWindowSlots; ++i) {
        EXPECT_EQ(slots()[i].tendency1h, i <= 101 ? 2 : 0) << i;
        EXPECT_EQ(slots()[i].tendency3h, i <= 97 ? 6 : 0) << i;
    }

    // Slot 104 (minute counter at its limit) feeds slots 102 and 98.
    slots()[104].pressure = 100000 - 10 * 104;
    computeTendencies();
    EXPECT_EQ(slots()[102].tendency1h, 2);
    EXPECT_EQ(slots()[103].tendency1h, 0);
    EXPECT_EQ(slots()[98].tendency3h, 6);
    EXPECT_EQ(slots()[99].tendency3h, 0);
}

TEST_F(MeasurementState, ComputeTendenciesReplacesLoadedOnes)
{
    for (size_t i = 0; i < historyWindowSlots; ++i) {
        slots()[i].tendency1h = 77;
        slots()[i].tendency3h = -77;
    }
    slots()[0].pressure = 99860;
    computeTendencies();
    for (size_t i = 0; i < historyWindowSlots; ++i) {
        EXPECT_EQ(slots()[i].tendency1h, 0) << i;
        EXPECT_EQ(slots()[i].tendency3h, 0) << i;
    }
}

TEST_F(MeasurementState, HistoryChangedComparesTheWindowSum)
{
    EXPECT_FALSE(historyChanged());
    slots()[5].pressure = 99860;
    EXPECT_TRUE(historyChanged());
    EXPECT_EQ(pressureHistory.lastHistorySum, 99860);
    EXPECT_FALSE(historyChanged());

    // Slots beyond the window are not part of the sum.
    slots()[104].pressure = 12345;
    EXPECT_FALSE(historyChanged());

    // Moving a value between slots keeps the sum: no change is seen.
    slots()[5].pressure = 0;
    slots()[6].pressure = 99860;
    EXPECT_FALSE(historyChanged());

    // The sum wraps rather than overflowing: 104 x (2^31 - 1) is -104 modulo 2^32.
    for (size_t i = 0; i < historyWindowSlots; ++i) slots()[i].pressure = INT32_MAX;
    EXPECT_TRUE(historyChanged());
    EXPECT_EQ(pressureHistory.lastHistorySum, -104);
}

TEST_F(MeasurementState, ClearHistoryKeepsSlotsBeyondTheWindowAndTheSum)
{
    for (size_t i = 0; i < historySlotCount; ++i) {
        slots()[i].year = 2003;
        slots()[i].month = 12;
        slots()[i].pressure = 99860;
        slots()[i].tendency1h = 5;
        slots()[i].variation = 7;
        slots()[i].windAlarm = 1;
    }
    pressureHistory.lastHistorySum = 4242;
    clearHistory();
    for (size_t i = 0; i < historyWindowSlots; ++i) {
        HistorySlot zero{};
        EXPECT_EQ(std::memcmp(&slots()[i], &zero, sizeof zero), 0) << i;
    }
    for (size_t i = historyWindowSlots; i < historySlotCount; ++i) {
        EXPECT_EQ(slots()[i].pressure, 99860) << i;
        EXPECT_EQ(slots()[i].year, 2003u) << i;
    }
    EXPECT_EQ(pressureHistory.lastHistorySum, 4242);
}

TEST_F(MeasurementState, NmeaLinesAreCutAndTerminated)
{
    const std::string sentence = "$GPGLL,4916.45,N,12311.12,W,225444,A*31\r\n";
    pushNmeaLine(sentence.data(), sentence.size());
    EXPECT_EQ(std::string(nmeaLineStore.lines[0]), sentence);

    const std::string longLine = "$" + std::string(199, 'x');
    pushNmeaLine(longLine.data(), longLine.size());
    EXPECT_EQ(std::string(nmeaLineStore.lines[0]), longLine.substr(0, nmeaMaxLineLength));
    EXPECT_EQ(nmeaLineStore.lines[0][126], 0);
    EXPECT_EQ(nmeaLineStore.lines[0][127], 0);

    // A short line after a long one leaves nothing of the long one behind.
    pushNmeaLine("$AB\r\n", 5);
    EXPECT_EQ(std::string(nmeaLineStore.lines[0], nmeaLineSize), std::string("$AB\r\n") + std::string(123, '\0'));
    EXPECT_EQ(std::string(nmeaLineStore.lines[1]), longLine.substr(0, nmeaMaxLineLength));
    EXPECT_EQ(std::string(nmeaLineStore.lines[2]), sentence);
}

TEST_F(MeasurementState, EightyThirdNmeaLinePushesTheFirstOut)
{
    for (int n = 1; n <= 83; ++n) {
        std::string line = "$LINE" + std::to_string(n) + "\r\n";
        pushNmeaLine(line.data(), line.size());
    }
    EXPECT_STREQ(nmeaLineStore.lines[0], "$LINE83\r\n");
    EXPECT_STREQ(nmeaLineStore.lines[80], "$LINE3\r\n");
    EXPECT_STREQ(nmeaLineStore.lines[81], "$LINE2\r\n");
    for (size_t line = nmeaFilledLines; line < nmeaLineCount; ++line) EXPECT_TRUE(lineIsZero(line)) << line;

    clearNmeaLines();
    for (size_t line = 0; line < nmeaLineCount; ++line) EXPECT_TRUE(lineIsZero(line)) << line;
}
