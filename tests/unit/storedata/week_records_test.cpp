#include "storedata/week_records.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "record_samples.h"

namespace {

// Minutes since 1970 of the sample files' zero, 01.01.2024 00:00.
const int64_t sampleZero = minuteOf(2024, 1, 1, 0, 0);

// A file in memory, read as the loader reads monitor.txt; counts what it gave.
struct MemoryFile {
    std::string bytes;
    size_t failAfter = SIZE_MAX;  // bytes given before reads fail
    uint64_t given = 0;

    FileChunkReader reader()
    {
        return [this](uint64_t offset, char* out, size_t count) -> size_t {
            if (given + count > failAfter) return 0;
            if (offset > bytes.size()) return 0;
            size_t n = std::min<size_t>(count, bytes.size() - offset);
            std::memcpy(out, bytes.data() + offset, n);
            given += n;
            return n;
        };
    }
};

WeekRead readAt(MemoryFile& file, int64_t nowMinute)
{
    return readWeekFromEnd(file.bytes.size(), nowMinute, file.reader());
}

} // namespace

TEST(WeekMinutes, CountFromTheEpochAcrossLeapDaysAndYearEnds)
{
    EXPECT_EQ(minuteOf(1970, 1, 1, 0, 0), 0);
    EXPECT_EQ(weekdayOf(0), 4);  // a Thursday
    EXPECT_EQ(minuteOf(2024, 3, 1, 0, 0) - minuteOf(2024, 2, 28, 0, 0), 2 * 1440);
    EXPECT_EQ(minuteOf(2023, 3, 1, 0, 0) - minuteOf(2023, 2, 28, 0, 0), 1440);
    EXPECT_EQ(minuteOf(2025, 1, 1, 0, 0) - minuteOf(2024, 12, 31, 23, 59), 1);
    EXPECT_EQ(weekdayOf(minuteOf(2025, 1, 1, 12, 0)), 3);  // a Wednesday
    EXPECT_EQ(weekdayOf(minuteOf(2024, 6, 2, 23, 59)), 0);  // a Sunday
    for (int64_t m : {int64_t(0), minuteOf(2000, 2, 29, 13, 7), minuteOf(2100, 12, 31, 23, 59), int64_t(-1)}) {
        UtcStamp t = stampOf(m);
        EXPECT_EQ(minuteOf(t), m) << m;
    }
    UtcStamp t = stampOf(minuteOf(2024, 2, 29, 6, 45));
    EXPECT_EQ((std::vector<int>{t.year, t.month, t.day, t.hour, t.minute}), (std::vector<int>{2024, 2, 29, 6, 45}));
}

TEST(WeekRecordLine, TakesTheTimePressureAndWindAlarmOfAValidLineOnly)
{
    std::string line = samples::record(7, samples::at(21, 35, 3), 1);
    WeekRecord r{};
    ASSERT_TRUE(weekRecordOf(line.data(), 79, r));  // with its carriage return
    EXPECT_EQ(r.minute, sampleZero + samples::at(21, 35, 3));
    EXPECT_EQ(r.pressure, static_cast<int32_t>(samples::pressureAt(samples::at(21, 35, 3))));
    EXPECT_EQ(r.windAlarm, 1);
    EXPECT_TRUE(weekRecordOf(line.data(), 78, r));  // ended by a line feed alone
    EXPECT_FALSE(weekRecordOf(line.data(), 77, r)) << "a short line";
    EXPECT_FALSE(weekRecordOf((line + line).data(), 158, r)) << "two records without a line feed";
    std::string bad = samples::invalidRecord(8, samples::at(21, 40, 3));
    EXPECT_FALSE(weekRecordOf(bad.data(), 78, r));
}

TEST(WeekFromTheEnd, TakesTheRecordsOfTheWeekOldestFirstAndStopsWhereTheWeekBegins)
{
    // Thirty days, every five minutes: 8640 records, 691200 bytes.
    MemoryFile file{samples::series(0, 30 * 288)};
    const int64_t now = sampleZero + 30 * 1440 - 5;  // the last record's minute
    WeekRead read = readAt(file, now);
    ASSERT_FALSE(read.failed);
    ASSERT_EQ(read.records.size(), 7u * 288);
    EXPECT_EQ(read.records.front().minute, now - weekMinutes + 5);
    EXPECT_EQ(read.records.back().minute, now);
    for (size_t k = 1; k < read.records.size(); ++k)
        ASSERT_EQ(read.records[k].minute - read.records[k - 1].minute, 5) << k;
    // Two weeks of records and at most one chunk more, never the whole file.
    EXPECT_GE(read.bytesRead, uint64_t{weekReadBackRecords} * 80);
    EXPECT_LE(read.bytesRead, uint64_t{weekReadBackRecords} * 80 + 64 * 1024);
    EXPECT_EQ(read.bytesRead, file.given);
}

TEST(WeekFromTheEnd, PassesOverInvalidLinesRecordsAfterNowAndALastLineWithoutLineEnd)
{
    std::string bytes = samples::series(0, 10);
    bytes += "garbage\r\n";
    bytes += samples::invalidRecord(11, 50);
    bytes += "\r\n\r\n";
    bytes += samples::record(12, 55, 1);
    bytes += samples::record(13, 60);
    bytes += samples::record(14, 70).substr(0, 78);  // the program stopped before its line end
    MemoryFile file{bytes};
    WeekRead read = readAt(file, sampleZero + 65);  // the 70-minute record is after now
    ASSERT_EQ(read.records.size(), 12u);
    EXPECT_EQ(read.records[10].minute, sampleZero + 55);
    EXPECT_EQ(read.records[10].windAlarm, 1);
    EXPECT_EQ(read.records[11].minute, sampleZero + 60);
    read = readAt(file, sampleZero + 70);
    EXPECT_EQ(read.records.back().minute, sampleZero + 70);
}

// A record dated outside the week among those inside it (a clock that ran
// behind for a while, one reset for an hour at sea, a damaged year) hides
// nothing; the reading ends after two weeks of valid records of any date.
TEST(WeekFromTheEnd, TwoWeeksOfRecordsOfAnyDateAreReadBack)
{
    const int64_t now = sampleZero + 14 * 1440 - 5;
    auto withYear2000 = [](std::string line) { return line.replace(13, 4, "2000"); };
    // Four days of good records with 3, then 13, dated 01.01.2000 among them.
    for (uint32_t stray : {3u, 13u}) {
        std::string bytes = samples::series(10 * 1440, 2 * 288);
        for (uint32_t k = 0; k < stray; ++k) bytes += withYear2000(samples::record(600 + k, 12 * 1440 + 5 * k));
        bytes += samples::series(12 * 1440 + 5 * stray, 2 * 288 - stray, 603);
        MemoryFile reset{bytes};
        EXPECT_EQ(readAt(reset, now).records.size(), 4u * 288 - stray) << stray;
    }

    // A clock behind for longer than a day: the reading ends at the two weeks' last record.
    const int64_t later = sampleZero + 30 * 1440 - 5;
    for (uint32_t behind : {weekReadBackRecords - 289, weekReadBackRecords - 288}) {
        std::string bytes = samples::series(25 * 1440, 288);
        bytes += samples::series(0, behind, 1000);
        bytes += samples::series(29 * 1440, 288, 5000);
        MemoryFile longer{bytes};
        WeekRead read = readAt(longer, later);
        EXPECT_EQ(read.records.size(), behind == weekReadBackRecords - 289 ? 289u : 288u) << behind;
        EXPECT_LT(read.bytesRead, bytes.size());
    }
}

// A power cut during an append leaves the record's 80 bytes as zeros, and
// the next record follows them on the same line: that record is read, also
// when the line runs across two chunks.
TEST(WeekFromTheEnd, ARecordAppendedAfterOneCutShortIsTaken)
{
    std::string bytes = samples::series(0, 10);
    bytes += std::string(80, '\0') + samples::record(12, 55);
    bytes += samples::record(13, 60);
    MemoryFile file{bytes};
    WeekRead read = readAt(file, sampleZero + 65);
    ASSERT_EQ(read.records.size(), 12u);
    EXPECT_EQ(read.records[10].minute, sampleZero + 55);
    EXPECT_EQ(read.records[10].pressure, static_cast<int32_t>(samples::pressureAt(55)));

    // The chunk read first begins inside the record after the zeros.
    std::string across = std::string(100, '\0') + samples::record(1, 10) + samples::series(20, 819, 2);
    ASSERT_EQ(across.size() - 64 * 1024, 164u);
    MemoryFile split{across};
    read = readAt(split, sampleZero + 1440 * 3);
    ASSERT_EQ(read.records.size(), 820u);
    EXPECT_EQ(read.records[0].minute, sampleZero + 10);
}

// A file without line feeds (a copy gone wrong) costs one pass at most and
// no more memory than a chunk; records beside such a run are read.
TEST(WeekFromTheEnd, ARunWithoutLineFeedsIsPassedOverAsDamage)
{
    std::string bytes = samples::series(0, 100);
    bytes += std::string(200 * 1024, 'x') + "\r\n";
    bytes += samples::series(500, 100, 101);
    MemoryFile file{bytes};
    WeekRead read = readAt(file, sampleZero + 1440);
    EXPECT_EQ(read.records.size(), 200u);
    EXPECT_EQ(read.bytesRead, bytes.size());
    // Damage on a line of its own, a record, and one with a byte of damage
    // before it: the record at the end of a longer line is taken.
    MemoryFile joined{std::string(81, 'y') + "\n" + samples::record(1, 10) + "z" + samples::record(2, 15) +
                      std::string(90, 'y') + samples::record(3, 20).substr(0, 70) + "\r\n"};
    read = readAt(joined, sampleZero + 1440);
    ASSERT_EQ(read.records.size(), 2u);
    EXPECT_EQ(read.records[0].minute, sampleZero + 10);
    EXPECT_EQ(read.records[1].minute, sampleZero + 15);
    MemoryFile none{std::string(3 * 64 * 1024 + 7, 'x')};
    EXPECT_TRUE(readAt(none, sampleZero).records.empty());
}

TEST(WeekFromTheEnd, AFileOfOneRecordAndAnEmptyFile)
{
    MemoryFile one{samples::record(1, samples::at(12, 0, 2))};
    WeekRead read = readAt(one, sampleZero + samples::at(12, 0, 4));
    ASSERT_EQ(read.records.size(), 1u);
    EXPECT_EQ(read.records[0].minute, sampleZero + samples::at(12, 0, 2));
    // The same record eight days before now is not in the week.
    EXPECT_TRUE(readAt(one, sampleZero + samples::at(12, 0, 10)).records.empty());
    MemoryFile empty{};
    read = readAt(empty, sampleZero);
    EXPECT_TRUE(read.records.empty());
    EXPECT_EQ(read.bytesRead, 0u);
}

TEST(WeekFromTheEnd, AReadThatFailsKeepsTheRecordsReadBeforeIt)
{
    MemoryFile file{samples::series(0, 6 * 288)};  // 138240 bytes: three chunks from the end
    file.failAfter = 64 * 1024;
    WeekRead read = readAt(file, sampleZero + 6 * 1440);
    EXPECT_TRUE(read.failed);
    // The last chunk's whole lines: 65536 bytes hold 819 and the end of one more.
    ASSERT_EQ(read.records.size(), 819u);
    EXPECT_EQ(read.records.back().minute, sampleZero + 6 * 1440 - 5);
}

TEST(WeekHoldOfAppendedRecords, JoinInTimeOrderAndDropWhatLeftTheWeekOfThePresentMinute)
{
    resetWeekHold();
    weekHold.records = {{sampleZero + 100, 100000, 0}, {sampleZero + 200, 100100, 0}};
    holdAppendedRecord(samples::record(3, 300, 1).data(), sampleZero + 300);
    ASSERT_EQ(weekHold.records.size(), 3u);
    EXPECT_EQ(weekHold.records.back().minute, sampleZero + 300);
    EXPECT_EQ(weekHold.records.back().windAlarm, 1);
    holdAppendedRecord(samples::record(4, 150).data(), sampleZero + 305);  // a clock set back
    ASSERT_EQ(weekHold.records.size(), 4u);
    EXPECT_EQ(weekHold.records[1].minute, sampleZero + 150);
    holdAppendedRecord(samples::invalidRecord(5, 400).data(), sampleZero + 400);
    EXPECT_EQ(weekHold.records.size(), 4u) << "an invalid line is not held";
    // A clock two days fast, then a week fast: neither record is held, and
    // neither pushes a day out of the week.
    holdAppendedRecord(samples::record(6, 310 + 2 * 1440).data(), sampleZero + 310);
    holdAppendedRecord(samples::record(7, 310 + weekMinutes).data(), sampleZero + 310);
    ASSERT_EQ(weekHold.records.size(), 4u);
    EXPECT_EQ(weekHold.records.back().minute, sampleZero + 300);
    // A week after the second record: everything up to it has left the week.
    holdAppendedRecord(samples::record(8, 200 + weekMinutes).data(), sampleZero + 200 + weekMinutes);
    ASSERT_EQ(weekHold.records.size(), 2u);
    EXPECT_EQ(weekHold.records.front().minute, sampleZero + 300);
    EXPECT_EQ(weekHold.bytesRead, 0u) << "appending reads nothing";
    resetWeekHold();
}
