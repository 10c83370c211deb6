#include "storedata/history_fill.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "acquisition/measurement_state.h"
#include "record_samples.h"
#include "storedata/record_parser.h"

namespace {

// Record k of the sample files is taken at 00:05 + 5 k minutes.
uint32_t minuteOf(uint32_t k) { return 5 + 5 * k; }

std::string unbrokenFile(uint32_t records) { return samples::series(minuteOf(0), records); }

class HistoryFill : public ::testing::Test {
protected:
    void SetUp() override
    {
        pressureHistory = PressureHistory{};
    }

    // Loads from `file` held in memory; keeps the offsets read.
    uint32_t load(const std::string& file, uint32_t show, DataMode mode = Barograph)
    {
        offsets_.clear();
        return fillHistoryFromRecords(static_cast<uint32_t>(file.size()), show, mode,
                                      [&](uint32_t offset, char* bytes) -> uint32_t {
                                          offsets_.push_back(offset);
                                          // A runaway loop shows as a failure, not a hang.
                                          if (offsets_.size() > 100000) return 0;
                                          if (offset >= file.size()) return 0;
                                          size_t got = std::min<size_t>(80, file.size() - offset);
                                          std::memcpy(bytes, file.data() + offset, got);
                                          return static_cast<uint32_t>(got);
                                      });
    }

    // Slot `slot` holds every value of sample record k.
    static void expectSlotHoldsRecord(size_t slot, uint32_t k, uint8_t windAlarm = 0)
    {
        SCOPED_TRACE("slot " + std::to_string(slot) + " record " + std::to_string(k));
        const HistorySlot& s = pressureHistory.slots[slot];
        uint32_t minutes = minuteOf(k);
        UtcStamp stamp = samples::stampAt(minutes);
        EXPECT_EQ(s.year, stamp.year);
        EXPECT_EQ(s.month, stamp.month);
        EXPECT_EQ(s.day, stamp.day);
        EXPECT_EQ(s.hour, stamp.hour);
        EXPECT_EQ(s.minute, stamp.minute);
        EXPECT_EQ(s.pressure, static_cast<int32_t>(samples::pressureAt(minutes)));
        EXPECT_EQ(s.tendency1h, samples::tendency1hAt(minutes));
        EXPECT_EQ(s.tendency3h, samples::tendency3hAt(minutes));
        EXPECT_EQ(s.variation, static_cast<int32_t>(samples::variationAt(minutes)));
        EXPECT_EQ(s.windAlarm, windAlarm);
    }

    static void expectSlotsEmptyFrom(size_t first)
    {
        for (size_t i = first; i < historyWindowSlots; ++i) {
            const HistorySlot& s = pressureHistory.slots[i];
            EXPECT_TRUE(s.pressure == 0 && s.year == 0 && s.day == 0 && s.tendency1h == 0 && s.windAlarm == 0)
                << "slot " << i << " is not empty";
        }
    }

    std::vector<uint32_t> offsets_;
};

} // namespace

TEST_F(HistoryFill, StridesFollowTheShowSetting)
{
    EXPECT_EQ(recordsPerSlot(300), 1u);
    EXPECT_EQ(recordsPerSlot(600), 2u);
    EXPECT_EQ(recordsPerSlot(900), 3u);
    EXPECT_EQ(recordsPerSlot(1800), 6u);
}

TEST_F(HistoryFill, ThreeHundredRecordsAtHalfHourSpacingFillFiftySlots)
{
    EXPECT_EQ(load(unbrokenFile(300), 1800), 50u);
    for (uint32_t i = 0; i < 50; ++i) expectSlotHoldsRecord(i, 299 - 6 * i);
    expectSlotHoldsRecord(49, 5);
    expectSlotsEmptyFrom(50);
    EXPECT_EQ(offsets_.size(), 50u);
}

TEST_F(HistoryFill, ThreeRecordsStillFillSlotZero)
{
    EXPECT_EQ(load(unbrokenFile(3), 1800), 1u);
    expectSlotHoldsRecord(0, 2);
    expectSlotsEmptyFrom(1);
}

TEST_F(HistoryFill, TwoThousandRecordsFillExactlyTheWindow)
{
    HistorySlot beyond{};
    beyond.pressure = 12345;
    pressureHistory.slots[104] = beyond;
    pressureHistory.slots[127] = beyond;
    EXPECT_EQ(load(unbrokenFile(2000), 300), 104u);
    for (uint32_t i = 0; i < 104; ++i) expectSlotHoldsRecord(i, 1999 - i);
    EXPECT_EQ(pressureHistory.slots[104].pressure, 12345);
    EXPECT_EQ(pressureHistory.slots[104].year, 0u);
    EXPECT_EQ(pressureHistory.slots[127].pressure, 12345);
}

TEST_F(HistoryFill, TenAndFifteenMinuteSpacing)
{
    EXPECT_EQ(load(unbrokenFile(100), 600), 50u);
    for (uint32_t i = 0; i < 50; ++i) expectSlotHoldsRecord(i, 99 - 2 * i);
    EXPECT_EQ(load(unbrokenFile(100), 900), 33u);
    for (uint32_t i = 0; i < 33; ++i) expectSlotHoldsRecord(i, 99 - 3 * i);
    expectSlotsEmptyFrom(33);
}

TEST_F(HistoryFill, ClearsTheWindowBeforeLoading)
{
    for (size_t i = 0; i < historyWindowSlots; ++i) pressureHistory.slots[i].pressure = 99999;
    EXPECT_EQ(load(unbrokenFile(12), 1800), 2u);
    expectSlotHoldsRecord(0, 11);
    expectSlotHoldsRecord(1, 5);
    expectSlotsEmptyFrom(2);
}

// A slot carries the wind alarm of the record it was filled from; a digit
// other than 1 is no alarm.
TEST_F(HistoryFill, SlotsCarryTheWindAlarmOfTheirRecord)
{
    std::string file = unbrokenFile(14);
    for (size_t k : {1, 5, 8, 13}) file = samples::withAlarmDigit(file, k, '1');
    file = samples::withAlarmDigit(file, 11, 'x');
    file = samples::withAlarmDigit(file, 7, ' ');
    auto alarmOf = [](uint32_t k) -> uint8_t { return k == 1 || k == 5 || k == 8 || k == 13 ? 1 : 0; };

    EXPECT_EQ(load(file, 300), 14u);
    for (uint32_t i = 0; i < 14; ++i) expectSlotHoldsRecord(i, 13 - i, alarmOf(13 - i));
    expectSlotsEmptyFrom(14);

    // Every third record: 13, 10, 7, 4.
    EXPECT_EQ(load(file, 900), 4u);
    for (uint32_t i = 0; i < 4; ++i) expectSlotHoldsRecord(i, 13 - 3 * i, alarmOf(13 - 3 * i));
    expectSlotsEmptyFrom(4);
}

TEST_F(HistoryFill, RejectedRecordsAreSkippedAndTheStrideGoesOn)
{
    // Records 11 and 9 are invalid: 12 records would make 12 slots, only 10 are valid.
    std::string file = unbrokenFile(12);
    file.replace(11 * 80, 80, samples::invalidRecord(12, minuteOf(11)));
    file.replace(9 * 80, 80, samples::invalidRecord(10, minuteOf(9)));
    EXPECT_EQ(load(file, 300), 10u);
    expectSlotHoldsRecord(0, 10);
    for (uint32_t i = 1; i < 10; ++i) expectSlotHoldsRecord(i, 9 - i);
    expectSlotsEmptyFrom(10);
    // Every record once, from the last to the first, then it stops.
    ASSERT_EQ(offsets_.size(), 12u);
    for (uint32_t i = 0; i < 12; ++i) EXPECT_EQ(offsets_[i], (11 - i) * 80);
}

TEST_F(HistoryFill, StopsWhenTheNextRecordWouldLieBeforeTheFile)
{
    // At stride 6 the last record rejected: records 53, 47, ..., 5 are taken,
    // and the next step would go to record -1.
    std::string file = unbrokenFile(60);
    file.replace(59 * 80, 80, samples::invalidRecord(60, minuteOf(59)));
    EXPECT_EQ(load(file, 1800), 9u);
    for (uint32_t i = 0; i < 9; ++i) expectSlotHoldsRecord(i, 53 - 6 * i);
    EXPECT_EQ(offsets_.size(), 10u);
    EXPECT_EQ(offsets_.back(), 5u * 80);

    // No valid record at all.
    std::string rejected;
    for (uint32_t k = 0; k < 30; ++k) rejected += samples::invalidRecord(k + 1, minuteOf(k));
    EXPECT_EQ(load(rejected, 300), 0u);
    EXPECT_EQ(offsets_.size(), 30u);
    expectSlotsEmptyFrom(0);
}

TEST_F(HistoryFill, FileOfPartialRecordsIsReadFromItsEndAndEnds)
{
    // 30 bytes more than whole records: every read starts 30 bytes into a
    // record, so nothing parses, and every position is read once.
    std::string file = unbrokenFile(10) + std::string(30, '0');
    EXPECT_EQ(load(file, 300), 0u);
    ASSERT_EQ(offsets_.size(), 10u);
    for (uint32_t i = 0; i < 10; ++i) EXPECT_EQ(offsets_[i], 830 - 80 - 80 * i);
}

TEST_F(HistoryFill, FileShorterThanOneRecordLoadsNothing)
{
    pressureHistory.slots[3].pressure = 99999;
    std::string file = samples::record(1, minuteOf(0)).substr(0, 79);
    EXPECT_EQ(load(file, 300), 0u);
    EXPECT_EQ(offsets_, std::vector<uint32_t>{0});
    expectSlotsEmptyFrom(0);
    EXPECT_EQ(load("", 1800), 0u);
    EXPECT_EQ(offsets_, std::vector<uint32_t>{0});
}

TEST_F(HistoryFill, FailedReadSkipsTheRecord)
{
    std::string file = unbrokenFile(4);
    offsets_.clear();
    uint32_t filled = fillHistoryFromRecords(
        static_cast<uint32_t>(file.size()), 300, Barograph, [&](uint32_t offset, char* bytes) -> uint32_t {
            offsets_.push_back(offset);
            if (offset == 160) return 0;
            std::memcpy(bytes, file.data() + offset, 80);
            return 80;
        });
    EXPECT_EQ(filled, 2u);
    expectSlotHoldsRecord(0, 3);
    expectSlotHoldsRecord(1, 0);
    EXPECT_EQ(offsets_, (std::vector<uint32_t>{240, 160, 0}));
}

// Other modes parse nothing: their slots take no values, whatever was parsed
// before (a chart of the data check's last record repeated would be wrong).
TEST_F(HistoryFill, OtherModesFillSlotsWithoutValues)
{
    ParsedRecord earlier;
    ASSERT_TRUE(parseRecordLine(Barograph, samples::record(1, minuteOf(7), 1).data(), earlier));
    std::string file = unbrokenFile(3);
    for (size_t k : {0, 1, 2}) file = samples::withAlarmDigit(file, k, '1');
    EXPECT_EQ(load(file, 300, Nmea), 3u);
    expectSlotsEmptyFrom(0);
}
