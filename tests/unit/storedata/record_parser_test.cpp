#include "storedata/record_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string example =
    "000020 28.12.2003 21:00 0988,10 hPa +01,8 hPa/hr +05,2 hPa/3h 00,0 hPa/h var 0\r\n";

// The example with the bytes from `position` replaced by `text`.
std::string with(size_t position, const std::string& text)
{
    std::string line = example;
    line.replace(position, text.size(), text);
    return line;
}

// What the last parse of these tests filled in.
ParsedRecord parsedRecord;

bool parse(const std::string& line)
{
    EXPECT_EQ(line.size(), 80u);
    return parseRecordLine(Barograph, line.data(), parsedRecord);
}

class RecordParser : public ::testing::Test {
protected:
    void SetUp() override { parsedRecord = ParsedRecord{}; }
};

} // namespace

TEST_F(RecordParser, ReadsEveryFieldOfTheWritersLine)
{
    ASSERT_TRUE(parse("004711 07.03.1999 08:45 1013,25 hPa -12,3 hPa/hr +45,6 hPa/3h 17,4 hPa/h var 0\r\n"));
    EXPECT_EQ(parsedRecord.day, 7);
    EXPECT_EQ(parsedRecord.month, 3);
    EXPECT_EQ(parsedRecord.year, 1999);
    EXPECT_EQ(parsedRecord.hour, 8);
    EXPECT_EQ(parsedRecord.minute, 45);
    EXPECT_EQ(parsedRecord.pressure, 101325);
    EXPECT_EQ(parsedRecord.tendency1h, -123);
    EXPECT_EQ(parsedRecord.tendency3h, 456);
    EXPECT_EQ(parsedRecord.variation, 174);
}

TEST_F(RecordParser, DecimalCommaAndPointReadAlike)
{
    ASSERT_TRUE(parse(example));
    ParsedRecord comma = parsedRecord;
    EXPECT_EQ(comma.pressure, 98810);
    parsedRecord = ParsedRecord{};
    std::string points = with(28, ".");
    points[39] = '.';
    points[52] = '.';
    points[64] = '.';
    ASSERT_TRUE(parse(points));
    EXPECT_EQ(parsedRecord.pressure, 98810);
    EXPECT_EQ(parsedRecord.tendency1h, 18);
    EXPECT_EQ(parsedRecord.tendency3h, 52);
    EXPECT_EQ(parsedRecord.variation, 0);

    ASSERT_TRUE(parse(with(24, "0998,60")));
    EXPECT_EQ(parsedRecord.pressure, 99860);
    ASSERT_TRUE(parse(with(24, "0998.60")));
    EXPECT_EQ(parsedRecord.pressure, 99860);
}

TEST_F(RecordParser, RecordNumberAndSeparatorsAreNotRead)
{
    std::string line = example;
    for (size_t i : {0, 1, 2, 3, 4, 5, 6, 9, 12, 17, 20, 23, 31, 35, 41, 48, 54, 61, 66, 76, 77, 78, 79})
        line[i] = 'x';
    ASSERT_TRUE(parse(line));
    EXPECT_EQ(parsedRecord.day, 28);
    EXPECT_EQ(parsedRecord.minute, 0);
    EXPECT_EQ(parsedRecord.pressure, 98810);
}

// The digit is a flag the writer sets to '1'; a damaged one must not cost the
// record, so anything else reads as no alarm.
TEST_F(RecordParser, WindAlarmDigitOneIsAnAlarmAnythingElseNone)
{
    struct Case {
        const char* digit;
        uint8_t alarm;
    };
    for (const Case& c : {Case{"1", 1}, Case{"0", 0}, Case{" ", 0}, Case{"x", 0}, Case{"2", 0}, Case{"\xff", 0}}) {
        SCOPED_TRACE(c.digit);
        parsedRecord.windAlarm = 0x5a;  // shows a parse that leaves the field alone
        EXPECT_TRUE(parse(with(77, c.digit)));
        EXPECT_EQ(parsedRecord.windAlarm, c.alarm);
        EXPECT_EQ(parsedRecord.pressure, 98810);
        EXPECT_EQ(parsedRecord.variation, 0);
    }

    // The digit is the last byte read: a line of exactly 78 bytes, without
    // its line end, holds all of it.
    std::string alarm = with(77, "1");
    std::vector<char> bare(alarm.begin(), alarm.begin() + 78);
    bare.shrink_to_fit();
    parsedRecord = ParsedRecord{};
    EXPECT_TRUE(parseRecordLine(Barograph, bare.data(), parsedRecord));
    EXPECT_EQ(parsedRecord.windAlarm, 1);

    // An out-of-range field is found whatever the digit says.
    EXPECT_FALSE(parse(with(24, "1500,01").replace(77, 1, "1")));
    EXPECT_EQ(parsedRecord.windAlarm, 1);
}

// The record writer writes tendencies from -99,9 to +99,9 and variations up
// to 99,9; each of them must read back as valid, or the data check would drop
// the program's own records. Beyond them lie only bytes that are no digits.
TEST_F(RecordParser, TendenciesAreValidAcrossEverythingTheWriterWrites)
{
    struct Case {
        const char* field;
        bool valid;
        int32_t stored;
    };
    for (size_t position : {36, 49}) {
        int32_t ParsedRecord::*member = position == 36 ? &ParsedRecord::tendency1h : &ParsedRecord::tendency3h;
        for (const Case& c : {Case{"+99,9", true, 999}, Case{"-99,9", true, -999}, Case{"+50,0", true, 500},
                              Case{"-50,0", true, -500}, Case{"+49,9", true, 499}, Case{"+00,0", true, 0},
                              Case{"-00,0", true, 0}, Case{"+:0,0", false, 999}, Case{"-:0,0", false, -999},
                              Case{"+9:,0", false, 999}}) {
            SCOPED_TRACE(std::to_string(position) + " " + c.field);
            EXPECT_EQ(parse(with(position, c.field)), c.valid);
            EXPECT_EQ(parsedRecord.*member, c.stored);
        }
    }
}

TEST_F(RecordParser, RecordsOfStrongTendenciesAndWideVariationAreKept)
{
    const char* lines[] = {
        "000001 15.03.2024 10:00 0998,60 hPa +75,0 hPa/hr -75,0 hPa/3h 60,0 hPa/h var 0\r\n",
        "000002 15.03.2024 10:05 0998,60 hPa -75,0 hPa/hr +75,0 hPa/3h 60,0 hPa/h var 1\r\n",
    };
    ASSERT_TRUE(parse(lines[0]));
    EXPECT_EQ(parsedRecord.tendency1h, 750);
    EXPECT_EQ(parsedRecord.tendency3h, -750);
    EXPECT_EQ(parsedRecord.variation, 600);
    ASSERT_TRUE(parse(lines[1]));
    EXPECT_EQ(parsedRecord.tendency1h, -750);
    EXPECT_EQ(parsedRecord.tendency3h, 750);
    EXPECT_EQ(parsedRecord.variation, 600);
    EXPECT_EQ(parsedRecord.windAlarm, 1);
}

TEST_F(RecordParser, AnySignOtherThanPlusNegates)
{
    EXPECT_TRUE(parse(with(36, " 01,8")));
    EXPECT_EQ(parsedRecord.tendency1h, -18);
    EXPECT_TRUE(parse(with(49, "x05,2")));
    EXPECT_EQ(parsedRecord.tendency3h, -52);
}

TEST_F(RecordParser, YearHasAnUpperBoundOnly)
{
    EXPECT_FALSE(parse(with(13, "2101")));
    EXPECT_EQ(parsedRecord.year, 2100);
    EXPECT_TRUE(parse(with(13, "2100")));
    EXPECT_TRUE(parse(with(13, "1980")));
    EXPECT_EQ(parsedRecord.year, 1980);
    EXPECT_TRUE(parse(with(13, "0000")));
    // Blanks are not digits, but nothing tests that: the year comes out negative and passes.
    EXPECT_TRUE(parse(with(13, " 980")));
    EXPECT_EQ(parsedRecord.year, -16000 + 980);
}

TEST_F(RecordParser, DateAndTimeOutOfRangeAreCorrectedToTheBound)
{
    struct Case {
        size_t position;
        const char* field;
        int32_t ParsedRecord::*member;
        int32_t stored;
    };
    for (const Case& c : {Case{10, "00", &ParsedRecord::month, 1}, Case{10, "13", &ParsedRecord::month, 12},
                          Case{7, "00", &ParsedRecord::day, 1}, Case{7, "32", &ParsedRecord::day, 31},
                          Case{18, "24", &ParsedRecord::hour, 23}, Case{18, " 9", &ParsedRecord::hour, 0},
                          Case{21, "60", &ParsedRecord::minute, 59}, Case{21, "-1", &ParsedRecord::minute, 0}}) {
        SCOPED_TRACE(std::to_string(c.position) + " " + c.field);
        EXPECT_FALSE(parse(with(c.position, c.field)));
        EXPECT_EQ(parsedRecord.*c.member, c.stored);
    }
    EXPECT_TRUE(parse(with(7, "31.12")));
    EXPECT_TRUE(parse(with(7, "01.01")));
    EXPECT_TRUE(parse(with(18, "23:59")));
    EXPECT_TRUE(parse(with(18, "00:00")));
}

TEST_F(RecordParser, PressureAndVariationAreComparedUnsigned)
{
    EXPECT_TRUE(parse(with(24, "1500,00")));
    EXPECT_EQ(parsedRecord.pressure, 150000);
    EXPECT_FALSE(parse(with(24, "1500,01")));
    EXPECT_EQ(parsedRecord.pressure, 150000);
    // A blank in front makes the value negative, which is out of range too.
    EXPECT_FALSE(parse(with(24, " 998,60")));
    EXPECT_EQ(parsedRecord.pressure, 150000);
    EXPECT_TRUE(parse(with(24, "0000,00")));
    EXPECT_EQ(parsedRecord.pressure, 0);

    EXPECT_TRUE(parse(with(62, "49,9")));
    EXPECT_EQ(parsedRecord.variation, 499);
    EXPECT_TRUE(parse(with(62, "50,0")));
    EXPECT_EQ(parsedRecord.variation, 500);
    EXPECT_TRUE(parse(with(62, "99,9")));
    EXPECT_EQ(parsedRecord.variation, 999);
    EXPECT_FALSE(parse(with(62, "9:,0")));
    EXPECT_EQ(parsedRecord.variation, 999);
    EXPECT_FALSE(parse(with(62, " 1,0")));
    EXPECT_EQ(parsedRecord.variation, 999);
}

TEST_F(RecordParser, EveryOtherFieldIsStillReadWhenOneIsOutOfRange)
{
    EXPECT_FALSE(parse(with(7, "99.99.2200 77:77 9999,99 hPa +:9,9 hPa/hr -:9,9 hPa/3h :9,9")));
    EXPECT_EQ(parsedRecord.day, 31);
    EXPECT_EQ(parsedRecord.month, 12);
    EXPECT_EQ(parsedRecord.year, 2100);
    EXPECT_EQ(parsedRecord.hour, 23);
    EXPECT_EQ(parsedRecord.minute, 59);
    EXPECT_EQ(parsedRecord.pressure, 150000);
    EXPECT_EQ(parsedRecord.tendency1h, 999);
    EXPECT_EQ(parsedRecord.tendency3h, -999);
    EXPECT_EQ(parsedRecord.variation, 999);
}

TEST_F(RecordParser, OtherModesReadNothingAndAnswerValid)
{
    ASSERT_TRUE(parse(with(77, "1")));
    ParsedRecord before = parsedRecord;
    std::string garbage(80, '\xff');
    EXPECT_TRUE(parseRecordLine(Nmea, garbage.data(), parsedRecord));
    EXPECT_EQ(parsedRecord.pressure, before.pressure);
    EXPECT_EQ(parsedRecord.year, before.year);
    EXPECT_EQ(parsedRecord.tendency3h, before.tendency3h);
    EXPECT_EQ(parsedRecord.windAlarm, 1);
    EXPECT_FALSE(parseRecordLine(Barograph, garbage.data(), parsedRecord));
}
