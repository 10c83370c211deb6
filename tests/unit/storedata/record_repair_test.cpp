#include "storedata/record_repair.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "record_samples.h"

namespace {

using samples::at;
using samples::record;

RecordCheckOutcome check(const std::string& file) { return checkRecordBytes(file.data(), file.size()); }

// Records at the given times (minutes), numbered 1, 2, ... in file order.
std::string recordsAt(const std::vector<uint32_t>& minutes)
{
    std::string file;
    for (size_t i = 0; i < minutes.size(); ++i) file += record(static_cast<uint32_t>(i + 1), minutes[i]);
    return file;
}

struct Kept {
    uint32_t number;
    uint32_t minutes;
};

std::string keptRecords(const std::vector<Kept>& kept)
{
    std::string file;
    for (const Kept& k : kept) file += record(k.number, k.minutes);
    return file;
}

std::string listOf(const RecordCheckOutcome& outcome) { return formatRecordingList(outcome.recordings); }

} // namespace

TEST(RecordRepair, OneDayIsOneRecordingWithoutErrors)
{
    std::string file = samples::series(at(0, 0), 288, 500);
    RecordCheckOutcome outcome = check(file);
    EXPECT_EQ(outcome.written, 288u);
    EXPECT_EQ(outcome.breaks, 0u);
    EXPECT_EQ(outcome.errors, 0u);
    EXPECT_EQ(outcome.retained, samples::series(at(0, 0), 288, 1));
    EXPECT_EQ(listOf(outcome), "  0      0  288\n");
    EXPECT_EQ(formatCheckSummary(outcome), "288 records read\n1 recordings\n0 errors found\n0 errors corrected");
}

TEST(RecordRepair, RetainedRecordIsWrittenAfreshInTheWritersLayout)
{
    // Decimal points, another record number and a wind alarm digit: the new
    // line carries the values only, with commas and the digit 0.
    std::string file = "123456 05.06.2007 10:00 1013.25 hPa -12.3 hPa/hr +45.6 hPa/3h 17.4 hPa/h var 1\r\n"
                       "000099 05.06.2007 10:05 0999,00 hPa +00,0 hPa/hr -00,1 hPa/3h 49,9 hPa/h var 0\r\n";
    RecordCheckOutcome outcome = check(file);
    EXPECT_EQ(outcome.retained,
              "000001 05.06.2007 10:00 1013,25 hPa -12,3 hPa/hr +45,6 hPa/3h 17,4 hPa/h var 0\r\n"
              "000002 05.06.2007 10:05 0999,00 hPa +00,0 hPa/hr -00,1 hPa/3h 49,9 hPa/h var 0\r\n");
}

TEST(RecordRepair, YearBelowZeroIsWrittenAsZeroSoTheLineKeepsItsLayout)
{
    // Blanks in the year pass the parser as a negative year.
    std::string file = "000001 05.06.  07 10:00 1013,25 hPa -12,3 hPa/hr +45,6 hPa/3h 17,4 hPa/h var 0\r\n";
    RecordCheckOutcome outcome = check(file);
    EXPECT_EQ(outcome.errors, 0u);
    EXPECT_EQ(outcome.retained,
              "000001 05.06.0000 10:00 1013,25 hPa -12,3 hPa/hr +45,6 hPa/3h 17,4 hPa/h var 0\r\n");
}

TEST(RecordRepair, DuplicateIsAnErrorAndBreaksTheRhythm)
{
    RecordCheckOutcome outcome = check(recordsAt({at(10, 0), at(10, 5), at(10, 5), at(10, 10)}));
    EXPECT_EQ(outcome.errors, 1u);
    EXPECT_EQ(outcome.breaks, 1u);
    EXPECT_EQ(outcome.written, 3u);
    EXPECT_EQ(outcome.retained, keptRecords({{1, at(10, 0)}, {2, at(10, 5)}, {1, at(10, 10)}}));
    EXPECT_EQ(listOf(outcome), "  0      0    2\n  1      2    1\n");
    EXPECT_EQ(formatCheckSummary(outcome), "3 records read\n2 recordings\n1 errors found\n1 errors corrected");
}

TEST(RecordRepair, RecordOffTheRhythmStartsANewRecordingAndIsDropped)
{
    RecordCheckOutcome outcome = check(recordsAt({at(10, 0), at(10, 5), at(10, 11), at(10, 16)}));
    EXPECT_EQ(outcome.errors, 0u);
    EXPECT_EQ(outcome.breaks, 1u);
    EXPECT_EQ(outcome.retained, keptRecords({{1, at(10, 0)}, {2, at(10, 5)}, {1, at(10, 16)}}));
    EXPECT_EQ(listOf(outcome), "  0      0    2\n  1      2    1\n");
}

TEST(RecordRepair, MidnightAlwaysContinues)
{
    // 00:00 after 23:40 is taken as five minutes on; 00:05 follows it.
    RecordCheckOutcome afterGap = check(recordsAt({at(23, 35), at(23, 40), at(0, 0, 1), at(0, 5, 1)}));
    EXPECT_EQ(afterGap.breaks, 0u);
    EXPECT_EQ(afterGap.errors, 0u);
    EXPECT_EQ(afterGap.retained,
              keptRecords({{1, at(23, 35)}, {2, at(23, 40)}, {3, at(0, 0, 1)}, {4, at(0, 5, 1)}}));
    EXPECT_EQ(listOf(afterGap), "  0      0    4\n");

    // 00:02 after 23:57 is no continuation.
    RecordCheckOutcome offMidnight = check(recordsAt({at(23, 52), at(23, 57), at(0, 2, 1), at(0, 7, 1)}));
    EXPECT_EQ(offMidnight.breaks, 1u);
    EXPECT_EQ(offMidnight.errors, 0u);
    EXPECT_EQ(offMidnight.retained, keptRecords({{1, at(23, 52)}, {2, at(23, 57)}, {1, at(0, 7, 1)}}));
    EXPECT_EQ(listOf(offMidnight), "  0      0    2\n  1      2    1\n");
}

TEST(RecordRepair, InvalidRecordInARunDropsItselfAndBreaksTheNext)
{
    std::string file = recordsAt({at(10, 0), at(10, 5)}) + samples::invalidRecord(3, at(10, 10)) +
                       record(4, at(10, 15)) + record(5, at(10, 20)) + record(6, at(10, 25));
    ASSERT_NE(file.find("+50,0 hPa/hr"), std::string::npos);
    RecordCheckOutcome outcome = check(file);
    EXPECT_EQ(outcome.errors, 1u);
    EXPECT_EQ(outcome.breaks, 1u);
    EXPECT_EQ(outcome.retained,
              keptRecords({{1, at(10, 0)}, {2, at(10, 5)}, {1, at(10, 20)}, {2, at(10, 25)}}));
    EXPECT_EQ(listOf(outcome), "  0      0    2\n  1      2    2\n");
}

TEST(RecordRepair, InvalidFirstRecordLeavesTheNextValidOneToStart)
{
    std::string file = samples::invalidRecord(1, at(10, 0)) + "garbage\r\n" + record(2, at(10, 5)) +
                       record(3, at(10, 10));
    RecordCheckOutcome outcome = check(file);
    EXPECT_EQ(outcome.errors, 2u);
    EXPECT_EQ(outcome.breaks, 0u);
    EXPECT_EQ(outcome.retained, keptRecords({{1, at(10, 5)}, {2, at(10, 10)}}));
    EXPECT_EQ(listOf(outcome), "  0      0    2\n");
    EXPECT_EQ(formatCheckSummary(outcome), "2 records read\n1 recordings\n2 errors found\n2 errors corrected");

    // The first valid record may start at any time; it is never a break.
    RecordCheckOutcome odd = check(samples::invalidRecord(1, at(9, 0)) + recordsAt({at(13, 7), at(13, 12)}));
    EXPECT_EQ(odd.breaks, 0u);
    EXPECT_EQ(odd.retained, keptRecords({{1, at(13, 7)}, {2, at(13, 12)}}));
}

TEST(RecordRepair, OnlyInvalidRecordsLeaveAnEmptyFile)
{
    std::string file = samples::invalidRecord(1, at(10, 0)) + samples::invalidRecord(2, at(10, 5));
    RecordCheckOutcome outcome = check(file);
    EXPECT_EQ(outcome.written, 0u);
    EXPECT_EQ(outcome.errors, 2u);
    EXPECT_EQ(outcome.retained, "");
    EXPECT_EQ(listOf(outcome), "");
    EXPECT_EQ(formatCheckSummary(outcome), "0 records read\n1 recordings\n2 errors found\n2 errors corrected");
}

TEST(RecordRepair, HundredTwentyNineRecordingsListTheFirst128)
{
    // Recording 0: 00:05 and 00:10. Then 128 times: ten minutes on (a break,
    // dropped) and five more (written, the only record of its recording).
    std::vector<uint32_t> minutes{at(0, 5), at(0, 10)};
    for (int g = 1; g <= 128; ++g) {
        minutes.push_back(minutes.back() + 10);
        minutes.push_back(minutes.back() + 5);
    }
    RecordCheckOutcome outcome = check(recordsAt(minutes));
    EXPECT_EQ(outcome.breaks, 128u);
    EXPECT_EQ(outcome.errors, 0u);
    EXPECT_EQ(outcome.written, 130u);
    EXPECT_EQ(outcome.retained.size(), 130u * 80);
    // The last recording's record is written, though the list has no room for it.
    EXPECT_EQ(outcome.retained.substr(129 * 80), record(1, minutes.back()));

    std::string expected = "  0      0    2\n";
    for (unsigned i = 1; i < 128; ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "%3u %6u    1\n", i, i + 1);
        expected += line;
    }
    EXPECT_EQ(listOf(outcome), expected);
    EXPECT_EQ(formatCheckSummary(outcome), "130 records read\n129 recordings\n0 errors found\n0 errors corrected");
}

TEST(RecordRepair, EveryRecordIsExaminedBeyondThe32000th)
{
    std::string file = samples::series(at(0, 0), 32005, 1);
    file += record(32006, at(0, 0) + 5 * 32005 + 1);  // off the rhythm
    file += record(32007, at(0, 0) + 5 * 32005 + 6);
    RecordCheckOutcome outcome = check(file);
    EXPECT_EQ(outcome.written, 32006u);
    EXPECT_EQ(outcome.breaks, 1u);
    EXPECT_EQ(outcome.retained.substr(0, 32005 * 80), file.substr(0, 32005 * 80));
    EXPECT_EQ(outcome.retained.substr(32005 * 80), record(1, at(0, 0) + 5 * 32005 + 6));
    EXPECT_EQ(listOf(outcome), "  0      0 32005\n  1  32005    1\n");
}

TEST(RecordRepair, LongRecordingKeepsItsLineFeedInTheList)
{
    RecordingList list{};
    list.entries[0] = {0, 12345};
    list.entries[2] = {1234567, 9999};
    list.entries[127] = {5, 1};
    EXPECT_EQ(formatRecordingList(list), "  0      0 12345\n  2 1234567 9999\n127      5    1\n");
}

// A record cut short and a line added by hand cost only themselves: the file
// comes out as if the cut record were a whole invalid one and the added line
// were absent; each counts one error.
TEST(RecordRepair, DamagedLinesCostOnlyThemselves)
{
    const uint32_t first = at(10, 0);
    auto minuteOf = [&](uint32_t k) { return first + 5 * k; };
    auto build = [&](const std::string& cut, const std::string& added) {
        std::string file;
        for (uint32_t k = 0; k < 40; ++k) {
            if (k == 26) file += added;
            file += k == 15 ? cut : record(k + 1, minuteOf(k));
        }
        return file;
    };
    const std::string reference = build(samples::invalidRecord(16, minuteOf(15)), "");
    RecordCheckOutcome expected = check(reference);
    ASSERT_EQ(expected.errors, 1u);
    ASSERT_EQ(expected.breaks, 1u);
    std::vector<Kept> kept;
    for (uint32_t k = 0; k < 15; ++k) kept.push_back({k + 1, minuteOf(k)});
    for (uint32_t k = 17; k < 40; ++k) kept.push_back({k - 16, minuteOf(k)});
    ASSERT_EQ(expected.retained, keptRecords(kept));
    ASSERT_EQ(listOf(expected), "  0      0   15\n  1     15   23\n");

    const std::string whole = record(16, minuteOf(15));
    struct Damage {
        const char* what;
        std::string cut;
        std::string added;
    };
    const Damage damages[] = {
        {"cut in the middle, line end kept", whole.substr(0, 40) + "\r\n", "checked by hand 12.01.\r\n"},
        {"write broke off, next record straight after", whole.substr(0, 40), "checked by hand 12.01.\r\n"},
        {"line end lost", whole.substr(0, 78), "x\r\n"},
        {"added line longer than a record", whole.substr(0, 10) + "\r\n", std::string(120, '-') + "\r\n"},
        {"added line of record length ended by a line feed alone", whole.substr(0, 60) + "\r\n",
         std::string(79, '=') + "\n"},
        {"empty added line", whole.substr(0, 79) + "\r\n", "\r\n"},
    };
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.what);
        RecordCheckOutcome outcome = check(build(d.cut, d.added));
        EXPECT_EQ(outcome.retained, expected.retained);
        EXPECT_EQ(outcome.written, expected.written);
        EXPECT_EQ(outcome.breaks, expected.breaks);
        EXPECT_EQ(outcome.errors, expected.errors + 1);
        EXPECT_EQ(listOf(outcome), listOf(expected));
    }
}

TEST(RecordRepair, BytesAfterTheLastLineEndAreOneError)
{
    std::string whole = samples::series(at(8, 0), 10);
    std::string next = record(11, at(8, 50));
    std::string unended = next.substr(0, 78) + "  ";
    for (const std::string& tail : {next.substr(0, 1), next.substr(0, 50), next.substr(0, 78),
                                    next.substr(0, 79), unended}) {
        SCOPED_TRACE(tail.size());
        RecordCheckOutcome outcome = check(whole + tail);
        EXPECT_EQ(outcome.retained, whole);
        EXPECT_EQ(outcome.errors, 1u);
        EXPECT_EQ(outcome.written, 10u);
    }
    EXPECT_EQ(check(whole + next).written, 11u);
}

TEST(RecordRepair, NoInputAtAll)
{
    RecordCheckOutcome outcome = check("");
    EXPECT_EQ(outcome.written, 0u);
    EXPECT_EQ(outcome.errors, 0u);
    EXPECT_EQ(outcome.retained, "");
}
