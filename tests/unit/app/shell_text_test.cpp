#include <gtest/gtest.h>

#include "app/free_space.h"
#include "app/window_titles.h"

TEST(FreeSpace, WarnsBelowOneHundredThousandBytes)
{
    EXPECT_TRUE(freeSpaceIsLow(99999));
    EXPECT_FALSE(freeSpaceIsLow(100000));
    EXPECT_TRUE(freeSpaceIsLow(0));
    EXPECT_FALSE(freeSpaceIsLow(1ull << 40));  // far beyond 32 bits
}

TEST(WindowTitles, ModeTitlesInEachLanguage)
{
    char text[128];
    formatBarographTitle(German, '3', text, sizeof text);
    EXPECT_STREQ(text, "Zudoderozezavedi Verbindung \xFC" "ber COM3");
    formatBarographTitle(English, '8', text, sizeof text);
    EXPECT_STREQ(text, "Air pressure monitor link: COM8");
    formatBarographTitle(French, '1', text, sizeof text);
    EXPECT_STREQ(text, "Moniteur pression atmospherique COM1");
    formatNmeaTitle(German, '2', text, sizeof text);
    EXPECT_STREQ(text, "NMEA Monitor  Verbindung \xFC" "ber COM2");
    formatNmeaTitle(English, '5', text, sizeof text);
    EXPECT_STREQ(text, "NMEA monitor using COM5");
    formatNmeaTitle(French, '7', text, sizeof text);
    EXPECT_STREQ(text, "Moniteur NMEA liaison COM7");
}
