#include "acquisition/barograph_parser.h"

#include "acquisition/measurement_state.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

const char exampleSentence[] = "$PXDR,0998.60,52684,+01.2,+03.5,-0300,0995.40\r\n";

// The line is copied into a buffer of exactly its length, so a read past the
// end shows under the address sanitizer.
int parse(const std::string& line)
{
    std::unique_ptr<char[]> exact(new char[line.size() ? line.size() : 1]);
    std::memcpy(exact.get(), line.data(), line.size());
    return parseBarographSentence(exact.get(), line.size());
}

std::string withField(std::string line, size_t position, const std::string& field)
{
    line.replace(position, field.size(), field);
    return line;
}

class BarographParser : public ::testing::Test {
protected:
    void SetUp() override { currentReading = CurrentReading{}; }
};

} // namespace

TEST_F(BarographParser, ExampleSentencesGiveTheirFields)
{
    EXPECT_EQ(parse(exampleSentence), 0);
    EXPECT_EQ(currentReading.pressure, 99860u);
    EXPECT_EQ(currentReading.converterValue, 52684u);
    EXPECT_EQ(currentReading.tendency1h, 12);
    EXPECT_EQ(currentReading.tendency3h, 35);
    EXPECT_EQ(currentReading.minutesAgo, 300u);
    EXPECT_EQ(currentReading.pressureThen, 99540u);

    EXPECT_EQ(parse("$PXDR,1013.25,40000,-02.7,-10.4,-3119,1020.00\r\n"), 0);
    EXPECT_EQ(currentReading.pressure, 101325u);
    EXPECT_EQ(currentReading.converterValue, 40000u);
    EXPECT_EQ(currentReading.tendency1h, -27);
    EXPECT_EQ(currentReading.tendency3h, -104);
    EXPECT_EQ(currentReading.minutesAgo, 3119u);
    EXPECT_EQ(currentReading.pressureThen, 102000u);
}

TEST_F(BarographParser, HeaderMismatchesAreCountedAndStoreNothing)
{
    ASSERT_EQ(parse(exampleSentence), 0);
    const CurrentReading before = currentReading;

    EXPECT_EQ(parse("$WIXDR,P,0.9986,B\r\n"), 4);
    EXPECT_EQ(parse("$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n"), 4);
    EXPECT_EQ(parse("$pxdr,1013.25,40000,-02.7,-10.4,-3119,1020.00\r\n"), 4);
    EXPECT_EQ(parse("#PXDR,1013.25,40000,-02.7,-10.4,-3119,1020.00\r\n"), 1);
    EXPECT_EQ(parse("$PXDQ,1013.25,40000,-02.7,-10.4,-3119,1020.00\r\n"), 1);
    EXPECT_EQ(parse("abcde,1013.25\r\n"), 5);
    // Header positions past the line's end count as zero bytes.
    EXPECT_EQ(parse("$P\n"), 3);
    EXPECT_EQ(parse("\n"), 5);
    EXPECT_EQ(parse(""), 5);

    EXPECT_EQ(std::memcmp(&before, &currentReading, sizeof before), 0);
}

TEST_F(BarographParser, MinuteCounterIgnoresItsSignAndIsLimited)
{
    EXPECT_EQ(parse(withField(exampleSentence, 32, "-9999")), 0);
    EXPECT_EQ(currentReading.minutesAgo, 3120u);
    EXPECT_EQ(parse(withField(exampleSentence, 32, "+0300")), 0);
    EXPECT_EQ(currentReading.minutesAgo, 300u);
    EXPECT_EQ(parse(withField(exampleSentence, 32, "-3120")), 0);
    EXPECT_EQ(currentReading.minutesAgo, 3120u);
    EXPECT_EQ(parse(withField(exampleSentence, 32, "-3121")), 0);
    EXPECT_EQ(currentReading.minutesAgo, 3120u);
    // A blank makes the sum negative; compared unsigned it is over the limit.
    EXPECT_EQ(parse(withField(exampleSentence, 32, "- 000")), 0);
    EXPECT_EQ(currentReading.minutesAgo, 3120u);
}

TEST_F(BarographParser, PressuresAreLimitedTo150000)
{
    EXPECT_EQ(parse(withField(exampleSentence, 6, "1600.00")), 0);
    EXPECT_EQ(currentReading.pressure, 150000u);
    EXPECT_EQ(parse(withField(exampleSentence, 6, "1500.00")), 0);
    EXPECT_EQ(currentReading.pressure, 150000u);
    EXPECT_EQ(parse(withField(exampleSentence, 6, "1500.01")), 0);
    EXPECT_EQ(currentReading.pressure, 150000u);
    EXPECT_EQ(parse(withField(exampleSentence, 6, "0000.00")), 0);
    EXPECT_EQ(currentReading.pressure, 0u);
    // A leading blank gives a negative sum, which is limited as well.
    EXPECT_EQ(parse(withField(exampleSentence, 6, " 998.60")), 0);
    EXPECT_EQ(currentReading.pressure, 150000u);

    EXPECT_EQ(parse(withField(exampleSentence, 38, "1600.00")), 0);
    EXPECT_EQ(currentReading.pressureThen, 150000u);
    EXPECT_EQ(currentReading.pressure, 99860u);
}

TEST_F(BarographParser, PositionsAreReadWithoutLookingAtSeparators)
{
    // The points and commas are not read: other characters there change nothing.
    EXPECT_EQ(parse("$PXDRx0998x60x52684x+01x2x+03x5x-0300x0995x40\r\n"), 0);
    EXPECT_EQ(currentReading.pressure, 99860u);
    EXPECT_EQ(currentReading.converterValue, 52684u);
    EXPECT_EQ(currentReading.tendency1h, 12);
    EXPECT_EQ(currentReading.tendency3h, 35);
    EXPECT_EQ(currentReading.minutesAgo, 300u);
    EXPECT_EQ(currentReading.pressureThen, 99540u);
}

TEST_F(BarographParser, TendencySignsAndLimits)
{
    EXPECT_EQ(parse(withField(withField(exampleSentence, 20, "+99.9"), 26, "-99.9")), 0);
    EXPECT_EQ(currentReading.tendency1h, 999);
    EXPECT_EQ(currentReading.tendency3h, -999);
    // Any sign character other than '-' counts as positive.
    EXPECT_EQ(parse(withField(withField(exampleSentence, 20, " 01.2"), 26, "x03.5")), 0);
    EXPECT_EQ(currentReading.tendency1h, 12);
    EXPECT_EQ(currentReading.tendency3h, 35);
    EXPECT_EQ(parse(withField(exampleSentence, 20, "-00.0")), 0);
    EXPECT_EQ(currentReading.tendency1h, 0);
    // Only non-digits can pass the limits.
    EXPECT_EQ(parse(withField(withField(exampleSentence, 20, "+~~.~"), 26, "-~~.~")), 0);
    EXPECT_EQ(currentReading.tendency1h, 999);
    EXPECT_EQ(currentReading.tendency3h, -999);
    EXPECT_EQ(parse(withField(withField(exampleSentence, 20, "+  . "), 26, "-  . ")), 0);
    EXPECT_EQ(currentReading.tendency1h, -999);
    EXPECT_EQ(currentReading.tendency3h, 999);
}

TEST_F(BarographParser, NonDigitsCountTheirSignedDistanceFromZero)
{
    // Blanks count -16 each; the converter value has no limit and keeps the
    // negative sum as an unsigned number.
    EXPECT_EQ(parse(withField(exampleSentence, 14, "   00")), 0);
    EXPECT_EQ(currentReading.converterValue, static_cast<uint32_t>(-16 * 11100));
    // A byte above 127 is a negative signed 8-bit character: 0xB0 is -80,
    // so its distance from '0' is -128.
    EXPECT_EQ(parse(withField(exampleSentence, 14, "5268\xB0")), 0);
    EXPECT_EQ(currentReading.converterValue, 52680u - 128u);
    EXPECT_EQ(parse(withField(exampleSentence, 14, "99999")), 0);
    EXPECT_EQ(currentReading.converterValue, 99999u);
}

TEST_F(BarographParser, CutSentenceReadsZeroBytesPastItsEnd)
{
    // Cut after the minute counter: the earlier pressure comes from the line
    // end and zero bytes, whatever the buffer held there before.
    const std::string cut = "$PXDR,0998.60,52684,+01.2,+03.5,-0300\r\n";
    EXPECT_EQ(parse(cut), 0);
    EXPECT_EQ(currentReading.pressure, 99860u);
    EXPECT_EQ(currentReading.minutesAgo, 300u);
    EXPECT_EQ(currentReading.pressureThen, 150000u);

    // Same bytes in a buffer that still holds an older, complete sentence
    // behind the line: the result must not depend on those bytes.
    char buffer[sizeof exampleSentence];
    std::memcpy(buffer, exampleSentence, sizeof exampleSentence);
    std::memcpy(buffer, cut.data(), cut.size());
    currentReading = CurrentReading{};
    EXPECT_EQ(parseBarographSentence(buffer, cut.size()), 0);
    EXPECT_EQ(currentReading.pressureThen, 150000u);

    // Cut inside the tendency: its missing decimal reads as a zero byte (-48).
    EXPECT_EQ(parse("$PXDR,0998.60,52684,+01."), 0);
    EXPECT_EQ(currentReading.tendency1h, 10 - 48);
    // Wholly missing: zero bytes, no '-', so -48 x 111 limited to -999.
    EXPECT_EQ(currentReading.tendency3h, -999);
    EXPECT_EQ(currentReading.minutesAgo, 3120u);
    EXPECT_EQ(currentReading.pressureThen, 150000u);
}
