#include "acquisition/line_dispatch.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const UtcStamp at1605{2026, 7, 9, 16, 5};

std::string barographTitle(UiLanguage language, uint32_t counter, const UtcStamp& time,
                           uint32_t pressure, int32_t t1, int32_t t3, uint32_t minutesAgo)
{
    char title[liveTitleSize];
    size_t n = formatLiveBarographTitle(language, counter, time, pressure, t1, t3, minutesAgo, title);
    EXPECT_EQ(n, std::string(title).size());
    return std::string(title, n);
}

std::string nmeaTitle(UiLanguage language, uint32_t counter)
{
    char title[liveTitleSize];
    size_t n = formatNmeaCountTitle(language, counter, title);
    EXPECT_EQ(n, std::string(title).size());
    return std::string(title, n);
}

} // namespace

TEST(LiveTitles, BarographTitleInEachLanguage)
{
    EXPECT_EQ(barographTitle(German, 42, at1605, 99860, 12, 35, 300),
              "Zudoderozezavedi 42 16:05  998.6 hPa +1.2 hPa/Std +3.5 hPa/3Std (- 5h)");
    EXPECT_EQ(barographTitle(English, 42, at1605, 99860, 12, 35, 300),
              "Air pressure monitor 42 16:05  998.6 hPa +1.2 hPa/hr +3.5 hPa/3hrs (- 5hr)");
    EXPECT_EQ(barographTitle(French, 42, at1605, 99860, 12, 35, 300),
              "Pression atmospherique 42 16:05  998.6 hPa +1.2 hPa/hr +3.5 hPa/3hrs (- 5hr)");
}

TEST(LiveTitles, BarographTitleAtTheEndsOfTheRanges)
{
    EXPECT_EQ(barographTitle(German, 999999, UtcStamp{2026, 1, 1, 0, 0}, 150000, -999, 999, 3120),
              "Zudoderozezavedi 999999 00:00 1500.0 hPa -99.9 hPa/Std +99.9 hPa/3Std (- 52h)");
    // Zero tendencies keep their sign; 59 minutes are 0 whole hours.
    EXPECT_EQ(barographTitle(English, 0, UtcStamp{2026, 1, 1, 23, 59}, 0, 0, -27, 59),
              "Air pressure monitor 0 23:59    0.0 hPa +0.0 hPa/hr -2.7 hPa/3hrs (- 0hr)");
}

TEST(LiveTitles, NmeaCountTitleInEachLanguage)
{
    EXPECT_EQ(nmeaTitle(German, 7), "7 NMEA - Datens\xE4" "tze ");
    EXPECT_EQ(nmeaTitle(English, 7), "7 NMEA - records ");
    EXPECT_EQ(nmeaTitle(French, 4000000000u), "4000000000 NMEA ");
}
