#include "storedata/record_repair.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "record_samples.h"

namespace {

using samples::at;
using samples::record;

// What one run of the check gave: its counts and the records it handed on.
struct Checked {
    RecordCheck counts;
    std::string retained;
};

// The file fed in blocks of `block` bytes, the last one shorter.
Checked checkInBlocks(const std::string& file, size_t block)
{
    Checked out{};
    for (size_t at = 0; at < file.size(); at += block)
        checkRecordBlock(out.counts, file.data() + at, std::min(block, file.size() - at), out.retained);
    finishRecordCheck(out.counts);
    return out;
}

Checked check(const std::string& file) { return checkInBlocks(file, file.empty() ? 1 : file.size()); }

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

std::string listOf(const Checked& outcome) { return formatRecordingList(outcome.counts.recordings); }

} // namespace

TEST(RecordRepair, OneDayIsOneRecordingWithoutErrors)
{
    std::string file = samples::series(at(0, 0), 288, 500);
    Checked outcome = check(file);
    EXPECT_EQ(outcome.counts.written, 288u);
    EXPECT_EQ(outcome.counts.breaks, 0u);
    EXPECT_EQ(outcome.counts.errors, 0u);
    EXPECT_EQ(outcome.retained, samples::series(at(0, 0), 288, 1));
    EXPECT_EQ(listOf(outcome), "  0      0  288\n");
    EXPECT_EQ(formatCheckSummary(outcome.counts), "288 records read\n1 recordings\n0 errors found\n0 errors corrected");
}

TEST(RecordRepair, RetainedRecordIsWrittenAfreshInTheWritersLayout)
{
    // Decimal points, another record number and a damaged wind alarm digit:
    // the new line carries the values only, with commas, and the digit 0 for
    // anything but 1.
    std::string file = "123456 05.06.2007 10:00 1013.25 hPa -12.3 hPa/hr +45.6 hPa/3h 17.4 hPa/h var 1\r\n"
                       "000099 05.06.2007 10:05 0999,00 hPa +00,0 hPa/hr -00,1 hPa/3h 49,9 hPa/h var 7\r\n";
    Checked outcome = check(file);
    EXPECT_EQ(outcome.retained,
              "000001 05.06.2007 10:00 1013,25 hPa -12,3 hPa/hr +45,6 hPa/3h 17,4 hPa/h var 1\r\n"
              "000002 05.06.2007 10:05 0999,00 hPa +00,0 hPa/hr -00,1 hPa/3h 49,9 hPa/h var 0\r\n");
}

// The check keeps the wind alarm of every record it keeps, through
// renumbering and breaks; a digit that is not 1 is no alarm, and costs
// the record nothing.
TEST(RecordRepair, WindAlarmDigitsAreKept)
{
    std::string file = samples::series(at(10, 0), 12, 40) + samples::series(at(12, 0), 4, 52);
    for (size_t k : {0, 3, 4, 11, 12, 15}) file = samples::withAlarmDigit(file, k, '1');
    for (size_t k : {5, 13}) file = samples::withAlarmDigit(file, k, ' ');
    file = samples::withAlarmDigit(file, 6, 'x');
    file = samples::withAlarmDigit(file, 14, '9');
    Checked outcome = check(file);
    EXPECT_EQ(outcome.counts.written, 16u);
    EXPECT_EQ(outcome.counts.errors, 0u);
    EXPECT_EQ(outcome.counts.breaks, 1u);
    std::string expected;
    for (uint32_t k = 0; k < 12; ++k) {
        bool alarm = k == 0 || k == 3 || k == 4 || k == 11;
        expected += record(k + 1, at(10, 0) + 5 * k, alarm ? 1 : 0);
    }
    for (uint32_t k = 0; k < 4; ++k) expected += record(k + 1, at(12, 0) + 5 * k, k == 0 || k == 3 ? 1 : 0);
    EXPECT_EQ(outcome.retained, expected);
    EXPECT_EQ(listOf(outcome), "  0      0   12\n  1     12    4\n");

    // A record written straight after one cut short keeps its digit too.
    Checked afterCut = check(record(1, at(10, 0), 1) + record(2, at(10, 5)).substr(0, 30) +
                             record(3, at(10, 10), 1) + record(4, at(10, 15)));
    EXPECT_EQ(afterCut.counts.errors, 1u);
    EXPECT_EQ(afterCut.retained, record(1, at(10, 0), 1) + record(1, at(10, 10), 1) + record(2, at(10, 15)));
}

// Strong tendencies and a wide variation, as the writer writes them during a
// storm: the check keeps every record as it was.
TEST(RecordRepair, RecordsOfAStormAreAllKept)
{
    std::string file;
    const int32_t tendencies[][2] = {{750, -750}, {-750, 750}, {999, -999}, {-999, 999}, {500, -500}};
    for (uint32_t k = 0; k < 5; ++k) {
        char line[recordLineLength];
        formatRecordLine(k + 1, samples::stampAt(at(10, 0) + 5 * k), 98860, tendencies[k][0], tendencies[k][1],
                         k == 2 ? 999 : 600, k % 2, line);
        file.append(line, sizeof line);
    }
    ASSERT_NE(file.find("+75,0 hPa/hr -75,0 hPa/3h 60,0 hPa/h"), std::string::npos);
    Checked outcome = check(file);
    EXPECT_EQ(outcome.counts.errors, 0u);
    EXPECT_EQ(outcome.counts.written, 5u);
    EXPECT_EQ(outcome.retained, file);
    EXPECT_EQ(listOf(outcome), "  0      0    5\n");
}

TEST(RecordRepair, YearBelowZeroIsWrittenAsZeroSoTheLineKeepsItsLayout)
{
    // Blanks in the year pass the parser as a negative year.
    std::string file = "000001 05.06.  07 10:00 1013,25 hPa -12,3 hPa/hr +45,6 hPa/3h 17,4 hPa/h var 0\r\n";
    Checked outcome = check(file);
    EXPECT_EQ(outcome.counts.errors, 0u);
    EXPECT_EQ(outcome.retained,
              "000001 05.06.0000 10:00 1013,25 hPa -12,3 hPa/hr +45,6 hPa/3h 17,4 hPa/h var 0\r\n");
}

TEST(RecordRepair, DuplicateIsAnErrorAndDroppedWithinItsRecording)
{
    // The record five minutes after the duplicate continues the recording:
    // numbered 000001 instead, it would become 000003 in the next check.
    Checked outcome = check(recordsAt({at(10, 0), at(10, 5), at(10, 5), at(10, 10)}));
    EXPECT_EQ(outcome.counts.errors, 1u);
    EXPECT_EQ(outcome.counts.breaks, 0u);
    EXPECT_EQ(outcome.counts.written, 3u);
    EXPECT_EQ(outcome.retained, keptRecords({{1, at(10, 0)}, {2, at(10, 5)}, {3, at(10, 10)}}));
    EXPECT_EQ(listOf(outcome), "  0      0    3\n");
    EXPECT_EQ(formatCheckSummary(outcome.counts), "3 records read\n1 recordings\n1 errors found\n1 errors corrected");

    // The duplicate of a record that starts a recording, repeated.
    Checked atStart = check(recordsAt({at(10, 0), at(10, 5), at(11, 0), at(11, 0), at(11, 0), at(11, 5)}));
    EXPECT_EQ(atStart.counts.errors, 2u);
    EXPECT_EQ(atStart.counts.breaks, 1u);
    EXPECT_EQ(atStart.retained, keptRecords({{1, at(10, 0)}, {2, at(10, 5)}, {1, at(11, 0)}, {2, at(11, 5)}}));
    EXPECT_EQ(listOf(atStart), "  0      0    2\n  1      2    2\n");
}

TEST(RecordRepair, RecordOffTheRhythmIsKeptAsTheFirstOfANewRecording)
{
    Checked outcome = check(recordsAt({at(10, 0), at(10, 5), at(10, 11), at(10, 16)}));
    EXPECT_EQ(outcome.counts.errors, 0u);
    EXPECT_EQ(outcome.counts.breaks, 1u);
    EXPECT_EQ(outcome.counts.written, 4u);
    EXPECT_EQ(outcome.retained, keptRecords({{1, at(10, 0)}, {2, at(10, 5)}, {1, at(10, 11)}, {2, at(10, 16)}}));
    EXPECT_EQ(listOf(outcome), "  0      0    2\n  1      2    2\n");
    EXPECT_EQ(formatCheckSummary(outcome.counts), "4 records read\n2 recordings\n0 errors found\n0 errors corrected");

    // Back in time, and a recording of a single record between two gaps.
    Checked back = check(recordsAt({at(10, 0), at(10, 5), at(9, 0), at(12, 0), at(12, 5)}));
    EXPECT_EQ(back.counts.breaks, 2u);
    EXPECT_EQ(back.retained,
              keptRecords({{1, at(10, 0)}, {2, at(10, 5)}, {1, at(9, 0)}, {1, at(12, 0)}, {2, at(12, 5)}}));
    EXPECT_EQ(listOf(back), "  0      0    2\n  1      2    1\n  2      3    2\n");
}

TEST(RecordRepair, TwoRecordingsWithAGapKeepEveryRecord)
{
    // A day, a stop of the program for three hours, and half a day more.
    std::string first = samples::series(at(0, 0), 288, 1);
    std::string second = samples::series(at(3, 0, 1), 144, 289);
    Checked outcome = check(first + second);
    EXPECT_EQ(outcome.counts.written, 432u);
    EXPECT_EQ(outcome.counts.breaks, 1u);
    EXPECT_EQ(outcome.counts.errors, 0u);
    EXPECT_EQ(outcome.retained, first + samples::series(at(3, 0, 1), 144, 1));
    EXPECT_EQ(listOf(outcome), "  0      0  288\n  1    288  144\n");
    EXPECT_EQ(formatCheckSummary(outcome.counts), "432 records read\n2 recordings\n0 errors found\n0 errors corrected");
}

TEST(RecordRepair, MidnightAlwaysContinues)
{
    // 00:00 after 23:40 is taken as five minutes on; 00:05 follows it.
    Checked afterGap = check(recordsAt({at(23, 35), at(23, 40), at(0, 0, 1), at(0, 5, 1)}));
    EXPECT_EQ(afterGap.counts.breaks, 0u);
    EXPECT_EQ(afterGap.counts.errors, 0u);
    EXPECT_EQ(afterGap.retained,
              keptRecords({{1, at(23, 35)}, {2, at(23, 40)}, {3, at(0, 0, 1)}, {4, at(0, 5, 1)}}));
    EXPECT_EQ(listOf(afterGap), "  0      0    4\n");

    // 00:02 after 23:57 is no continuation.
    Checked offMidnight = check(recordsAt({at(23, 52), at(23, 57), at(0, 2, 1), at(0, 7, 1)}));
    EXPECT_EQ(offMidnight.counts.breaks, 1u);
    EXPECT_EQ(offMidnight.counts.errors, 0u);
    EXPECT_EQ(offMidnight.retained,
              keptRecords({{1, at(23, 52)}, {2, at(23, 57)}, {1, at(0, 2, 1)}, {2, at(0, 7, 1)}}));
    EXPECT_EQ(listOf(offMidnight), "  0      0    2\n  1      2    2\n");
}

TEST(RecordRepair, InvalidRecordInARunDropsItselfAndTheNextStartsARecording)
{
    std::string file = recordsAt({at(10, 0), at(10, 5)}) + samples::invalidRecord(3, at(10, 10)) +
                       record(4, at(10, 15)) + record(5, at(10, 20)) + record(6, at(10, 25));
    ASSERT_NE(file.find("1500,01 hPa"), std::string::npos);
    Checked outcome = check(file);
    EXPECT_EQ(outcome.counts.errors, 1u);
    EXPECT_EQ(outcome.counts.breaks, 1u);
    EXPECT_EQ(outcome.retained,
              keptRecords({{1, at(10, 0)}, {2, at(10, 5)}, {1, at(10, 15)}, {2, at(10, 20)}, {3, at(10, 25)}}));
    EXPECT_EQ(listOf(outcome), "  0      0    2\n  1      2    3\n");
}

TEST(RecordRepair, InvalidFirstRecordLeavesTheNextValidOneToStart)
{
    std::string file = samples::invalidRecord(1, at(10, 0)) + "garbage\r\n" + record(2, at(10, 5)) +
                       record(3, at(10, 10));
    Checked outcome = check(file);
    EXPECT_EQ(outcome.counts.errors, 2u);
    EXPECT_EQ(outcome.counts.breaks, 0u);
    EXPECT_EQ(outcome.retained, keptRecords({{1, at(10, 5)}, {2, at(10, 10)}}));
    EXPECT_EQ(listOf(outcome), "  0      0    2\n");
    EXPECT_EQ(formatCheckSummary(outcome.counts), "2 records read\n1 recordings\n2 errors found\n2 errors corrected");

    // The first valid record may start at any time; it is never a break.
    Checked odd = check(samples::invalidRecord(1, at(9, 0)) + recordsAt({at(13, 7), at(13, 12)}));
    EXPECT_EQ(odd.counts.breaks, 0u);
    EXPECT_EQ(odd.retained, keptRecords({{1, at(13, 7)}, {2, at(13, 12)}}));
}

TEST(RecordRepair, OnlyInvalidRecordsLeaveAnEmptyFile)
{
    std::string file = samples::invalidRecord(1, at(10, 0)) + samples::invalidRecord(2, at(10, 5));
    Checked outcome = check(file);
    EXPECT_EQ(outcome.counts.written, 0u);
    EXPECT_EQ(outcome.counts.errors, 2u);
    EXPECT_EQ(outcome.retained, "");
    EXPECT_EQ(listOf(outcome), "");
    EXPECT_EQ(formatCheckSummary(outcome.counts), "0 records read\n1 recordings\n2 errors found\n2 errors corrected");
}

TEST(RecordRepair, HundredTwentyNineRecordingsListTheFirst128)
{
    // Recording 0: 00:05 and 00:10. Then 128 times: ten minutes on (a break,
    // the first record of a new recording) and five more.
    std::vector<uint32_t> minutes{at(0, 5), at(0, 10)};
    for (int g = 1; g <= 128; ++g) {
        minutes.push_back(minutes.back() + 10);
        minutes.push_back(minutes.back() + 5);
    }
    Checked outcome = check(recordsAt(minutes));
    EXPECT_EQ(outcome.counts.breaks, 128u);
    EXPECT_EQ(outcome.counts.errors, 0u);
    EXPECT_EQ(outcome.counts.written, 258u);
    EXPECT_EQ(outcome.retained.size(), 258u * 80);
    // The last recording's records are written, though the list has no room for it.
    EXPECT_EQ(outcome.retained.substr(256 * 80),
              record(1, minutes[minutes.size() - 2]) + record(2, minutes.back()));

    std::string expected = "  0      0    2\n";
    for (unsigned i = 1; i < 128; ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "%3u %6u    2\n", i, 2 * i);
        expected += line;
    }
    EXPECT_EQ(listOf(outcome), expected);
    EXPECT_EQ(formatCheckSummary(outcome.counts), "258 records read\n129 recordings\n0 errors found\n0 errors corrected");
}

TEST(RecordRepair, EveryRecordIsExaminedBeyondThe32000th)
{
    std::string file = samples::series(at(0, 0), 32005, 1);
    file += record(32006, at(0, 0) + 5 * 32005 + 1);  // off the rhythm
    file += record(32007, at(0, 0) + 5 * 32005 + 6);
    Checked outcome = check(file);
    EXPECT_EQ(outcome.counts.written, 32007u);
    EXPECT_EQ(outcome.counts.breaks, 1u);
    EXPECT_EQ(outcome.retained.substr(0, 32005 * 80), file.substr(0, 32005 * 80));
    EXPECT_EQ(outcome.retained.substr(32005 * 80),
              record(1, at(0, 0) + 5 * 32005 + 1) + record(2, at(0, 0) + 5 * 32005 + 6));
    EXPECT_EQ(listOf(outcome), "  0      0 32005\n  1  32005    2\n");
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
    Checked expected = check(reference);
    ASSERT_EQ(expected.counts.errors, 1u);
    ASSERT_EQ(expected.counts.breaks, 1u);
    std::vector<Kept> kept;
    for (uint32_t k = 0; k < 15; ++k) kept.push_back({k + 1, minuteOf(k)});
    for (uint32_t k = 16; k < 40; ++k) kept.push_back({k - 15, minuteOf(k)});
    ASSERT_EQ(expected.retained, keptRecords(kept));
    ASSERT_EQ(listOf(expected), "  0      0   15\n  1     15   24\n");

    const std::string whole = record(16, minuteOf(15));
    struct Damage {
        const char* what;
        std::string cut;
        std::string added;
    };
    const Damage damages[] = {
        {"cut in the middle, line end kept", whole.substr(0, 40) + "\r\n", "checked by hand 12.01.\r\n"},
        {"write broke off, next record straight after", whole.substr(0, 40), "checked by hand 12.01.\r\n"},
        {"power cut: the record's bytes zeros, next record straight after", std::string(80, '\0'),
         "checked by hand 12.01.\r\n"},
        {"line end lost", whole.substr(0, 78), "x\r\n"},
        {"added line longer than a record", whole.substr(0, 10) + "\r\n", std::string(120, '-') + "\r\n"},
        {"added line of record length ended by a line feed alone", whole.substr(0, 60) + "\r\n",
         std::string(78, '=') + "\n"},
        {"added line one longer, ended by a line feed alone", whole.substr(0, 60) + "\n",
         std::string(79, '=') + "\n"},
        {"empty added line", whole.substr(0, 79) + "\r\n", "\r\n"},
    };
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.what);
        Checked outcome = check(build(d.cut, d.added));
        EXPECT_EQ(outcome.retained, expected.retained);
        EXPECT_EQ(outcome.counts.written, expected.counts.written);
        EXPECT_EQ(outcome.counts.breaks, expected.counts.breaks);
        EXPECT_EQ(outcome.counts.errors, expected.counts.errors + 1);
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
        Checked outcome = check(whole + tail);
        EXPECT_EQ(outcome.retained, whole);
        EXPECT_EQ(outcome.counts.errors, 1u);
        EXPECT_EQ(outcome.counts.written, 10u);
    }
    EXPECT_EQ(check(whole + next).counts.written, 11u);
}

// A record file whose line ends an editor or a file transfer turned into line
// feeds alone: every record is taken, and written back with both bytes.
TEST(RecordRepair, LineFeedAloneEndsALineAsWell)
{
    auto lineFeedsOnly = [](const std::string& file) {
        std::string out;
        for (char c : file)
            if (c != '\r') out += c;
        return out;
    };
    const std::string day = samples::series(at(0, 0), 288, 1);
    Checked outcome = check(lineFeedsOnly(day));
    EXPECT_EQ(outcome.counts.written, 288u);
    EXPECT_EQ(outcome.counts.errors, 0u);
    EXPECT_EQ(outcome.counts.breaks, 0u);
    EXPECT_EQ(outcome.retained, day);

    // Both kinds mixed, a record straight after one cut short, an invalid
    // record and an added line, all ended by line feeds alone.
    std::string mixed = samples::series(at(10, 0), 3, 1) + lineFeedsOnly(samples::series(at(10, 15), 3, 4)) +
                        record(7, at(10, 30)).substr(0, 30) + lineFeedsOnly(record(8, at(10, 35))) +
                        lineFeedsOnly(samples::invalidRecord(9, at(10, 40))) + "note\n" +
                        lineFeedsOnly(record(10, at(10, 45)));
    Checked repaired = check(mixed);
    EXPECT_EQ(repaired.counts.errors, 3u);
    EXPECT_EQ(repaired.counts.breaks, 2u);
    EXPECT_EQ(repaired.retained, samples::series(at(10, 0), 6, 1) + record(1, at(10, 35)) + record(1, at(10, 45)));
    EXPECT_EQ(listOf(repaired), "  0      0    6\n  1      6    1\n  2      7    1\n");

    // The last line without either byte stays an error.
    Checked unended = check(lineFeedsOnly(day) + record(289, at(0, 0, 1)).substr(0, 78));
    EXPECT_EQ(unended.counts.errors, 1u);
    EXPECT_EQ(unended.retained, day);
}

// What a check wrote, checked again, comes out byte for byte the same, with
// no error and the same recordings: repeated checks lose nothing.
TEST(RecordRepair, SecondCheckChangesNoRecord)
{
    std::string withGaps = samples::series(at(10, 0), 20, 50) + samples::series(at(13, 2), 5, 9) +
                           samples::series(at(7, 0, 1), 30, 1);
    const std::string files[] = {
        withGaps,
        recordsAt({at(10, 0), at(10, 5), at(10, 5), at(10, 10), at(10, 10), at(10, 21)}),
        recordsAt({at(23, 35), at(23, 40), at(0, 0, 1), at(0, 5, 1), at(23, 57, 1), at(0, 2, 2), at(0, 7, 2)}),
        record(1, at(10, 0)) + samples::invalidRecord(2, at(10, 5)) + record(3, at(10, 10)) + "junk\r\n" +
            record(4, at(10, 15)).substr(0, 50) + record(5, at(10, 20)),
        samples::invalidRecord(1, at(9, 0)) + recordsAt({at(13, 7), at(13, 12), at(13, 12)}),
        record(1, at(10, 0), 1) + record(2, at(10, 5)) + record(3, at(10, 10), 1) + record(4, at(10, 10), 1) +
            record(5, at(11, 0), 1) + samples::withAlarmDigit(record(6, at(11, 5)), 0, 'x'),
    };
    for (const std::string& file : files) {
        SCOPED_TRACE(file.substr(0, 80));
        Checked first = check(file);
        ASSERT_GT(first.counts.written, 0u);
        Checked second = check(first.retained);
        EXPECT_EQ(second.retained, first.retained);
        EXPECT_EQ(second.counts.errors, 0u);
        EXPECT_EQ(second.counts.breaks, first.counts.breaks);
        EXPECT_EQ(listOf(second), listOf(first));
    }
}

// The check is fed the file in blocks; a block may end anywhere: inside a
// record, between its carriage return and its line feed, inside a line far
// longer than a record. Every block size gives the result of the whole file.
TEST(RecordRepair, BlockBoundariesChangeNothing)
{
    // Wind alarm digits on records whose last bytes come in a later block.
    std::string file = samples::series(at(10, 0), 4, 1);
    file += record(5, at(10, 20), 1).substr(0, 78) + "\n";           // line feed alone
    file += record(6, at(10, 25)).substr(0, 33) + "\r\n";           // cut short
    file += std::string(300, 'x') + record(7, at(10, 35), 1);         // written after a long remnant
    file += "\r\n\n" + record(8, at(10, 45)) + record(9, at(10, 45));  // empty lines, a duplicate
    file += std::string(1000, '\r') + "\n";                         // carriage returns and one line feed
    file += record(10, at(10, 50), 1) + record(11, at(10, 55)).substr(0, 60);
    const Checked whole = check(file);
    // Worked out by hand: 10:35 is a break (10:30 is missing).
    ASSERT_EQ(whole.retained, samples::series(at(10, 0), 4, 1) + record(5, at(10, 20), 1) +
                                  record(1, at(10, 35), 1) + record(1, at(10, 45)) + record(2, at(10, 50), 1));
    ASSERT_EQ(whole.counts.errors, 7u);
    ASSERT_EQ(whole.counts.breaks, 2u);

    for (size_t block = 1; block <= 2 * recordLineLength + 3; ++block) {
        SCOPED_TRACE(block);
        Checked pieces = checkInBlocks(file, block);
        ASSERT_EQ(pieces.retained, whole.retained);
        ASSERT_EQ(pieces.counts.errors, whole.counts.errors);
        ASSERT_EQ(pieces.counts.breaks, whole.counts.breaks);
        ASSERT_EQ(listOf(pieces), listOf(whole));
    }
    // Two blocks, split at every byte.
    for (size_t split = 1; split < file.size(); ++split) {
        SCOPED_TRACE(split);
        Checked pieces{};
        checkRecordBlock(pieces.counts, file.data(), split, pieces.retained);
        checkRecordBlock(pieces.counts, file.data() + split, file.size() - split, pieces.retained);
        finishRecordCheck(pieces.counts);
        ASSERT_EQ(pieces.retained, whole.retained);
        ASSERT_EQ(pieces.counts.errors, whole.counts.errors);
    }
}

TEST(RecordRepair, LineWithoutEndForMegabytesKeepsTheRecordAtItsEnd)
{
    // Junk with no line feed in it, then a record: its end is still found,
    // whether the junk comes in one block or in many.
    std::string file = record(1, at(10, 0)) + std::string(3 << 20, '#') + record(2, at(10, 5)) + record(3, at(10, 10));
    for (size_t block : {file.size(), size_t(256 * 1024), size_t(4093)}) {
        SCOPED_TRACE(block);
        Checked outcome = checkInBlocks(file, block);
        EXPECT_EQ(outcome.counts.errors, 1u);
        EXPECT_EQ(outcome.counts.breaks, 0u);
        EXPECT_EQ(outcome.retained, samples::series(at(10, 0), 3, 1));
    }
}

TEST(RecordRepair, NoInputAtAll)
{
    Checked outcome = check("");
    EXPECT_EQ(outcome.counts.written, 0u);
    EXPECT_EQ(outcome.counts.errors, 0u);
    EXPECT_EQ(outcome.retained, "");
}
