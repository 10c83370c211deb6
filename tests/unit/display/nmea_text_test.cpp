#include "display/nmea_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "acquisition/measurement_state.h"

TEST(NmeaText, RowCountFromOuterHeightAndLineHeight)
{
    EXPECT_EQ(nmeaRowCount(768, 16), 45);
    EXPECT_EQ(nmeaRowCount(783, 16), 45);  // a partial line does not count
    EXPECT_EQ(nmeaRowCount(48, 16), 0);
    EXPECT_LT(nmeaRowCount(20, 16), 0);
    EXPECT_EQ(nmeaRowCount(768, 0), 0);
}

TEST(NmeaText, ControlAndHighBytesBecomeBlanksButNotTheLastByte)
{
    char line[nmeaLineSize] = {};
    std::strcpy(line, "$GPXXX,12\xB0,\x7F\x01\r\n");
    line[nmeaLineSize - 1] = '\x01';  // would turn blank if the loop ran one too far
    normaliseNmeaLine(line);
    std::string expected = "$GPXXX,12 ,\x7F   ";
    expected.resize(nmeaLineSize - 1, ' ');
    EXPECT_EQ(std::string(line, nmeaLineSize - 1), expected);
    EXPECT_EQ(line[nmeaLineSize - 1], '\x01');
}
