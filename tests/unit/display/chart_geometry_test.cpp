#include "display/chart_geometry.h"

#include <gtest/gtest.h>

#include "display/rounding.h"
#include "../printing/page_trace.h"

TEST(RoundHalfUp, HalvesGoUpAlsoBelowZero)
{
    EXPECT_EQ(roundHalfUp(2.5), 3.0);
    EXPECT_EQ(roundHalfUp(2.499), 2.0);
    EXPECT_EQ(roundHalfUp(-2.5), -2.0);
    EXPECT_EQ(roundHalfUp(-2.6), -3.0);
    EXPECT_EQ(roundHalfUp(-0.4), 0.0);
    // The largest double below one half; adding 0.5 would round it up.
    EXPECT_EQ(roundHalfUp(0.49999999999999994), 0.0);
}

TEST(ChartGeometry, WorkedFiguresFor1000By700)
{
    ChartLayout c = chartLayout(1000, 700);
    EXPECT_EQ(c.yB, 665);
    EXPECT_EQ(c.H, 630);
    EXPECT_EQ(c.W, 900);
    EXPECT_EQ(c.xR, 950);
    EXPECT_EQ(c.yM, 350);
    EXPECT_EQ(c.q, 250);
    EXPECT_EQ(c.e, 83);
    for (int i = 0; i <= 10; ++i) EXPECT_EQ(scaleRow(c, i, c.labelStep) - 8, 657 - 63 * i) << i;
    EXPECT_EQ(scaleRow(c, 10, c.tendencyStep), 350);
    EXPECT_EQ(scaleRow(c, 20, c.tendencyStep), 35);
    EXPECT_EQ(slotX(c, 0), 950);
    EXPECT_EQ(slotX(c, 12), 847);
    EXPECT_EQ(slotX(c, 103), 950 - 892);  // 103 x 8.663... reaches the left edge
    EXPECT_EQ(pressureY(c, 100000, 0), 350);
    EXPECT_EQ(tendencyY(c, 0), 350);
    EXPECT_EQ(tendencyY(c, 100), 35);    // +10 hPa at the top
    EXPECT_EQ(tendencyY(c, -50), 508);   // 507.5 rounds down the screen
}

TEST(ChartGeometry, LoMovesOnlyThePressureByHalfThePlotHeight)
{
    ChartLayout c = chartLayout(1000, 700);
    for (uint32_t pressure : {95000u, 99860u, 100000u, 104000u})
        EXPECT_EQ(pressureY(c, pressure, 0) - pressureY(c, pressure, 1), c.H / 2) << pressure;
    EXPECT_EQ(pressureY(c, 90000, 1), 665);
    EXPECT_EQ(pressureLabel(0, 0), " 950");
    EXPECT_EQ(pressureLabel(10, 0), "1050");
    EXPECT_EQ(pressureLabel(0, 7), " 900");
    EXPECT_EQ(pressureLabel(10, 1), "1000");
}

TEST(ChartGeometry, PositionsAboveTheWindowClampToItsTopRowOnly)
{
    ChartLayout c = chartLayout(1000, 700);
    EXPECT_EQ(tendencyLabel(0), "-10");
    EXPECT_EQ(tendencyLabel(10), "  0");
    EXPECT_EQ(timeLabel(12), " -6h");
    EXPECT_LT(pressureY(c, 120000, 0), 0);
    EXPECT_EQ(clampToWindow(pressureY(c, 120000, 0)), 0);
    EXPECT_EQ(clampToWindow(0), 0);
    EXPECT_EQ(clampToWindow(1), 1);
    EXPECT_EQ(clampToWindow(2000), 2000);
    EXPECT_EQ(tendencyY(c, 200), -280);
}

TEST(ChartGeometry, VariationMarksLongerThanTwoUnitsOnly)
{
    ChartLayout c = chartLayout(1000, 1570);  // H 1500: one variation unit is 0.5
    EXPECT_EQ(variationMarkLength(c, 4), 0);   // exactly 2.0
    EXPECT_EQ(variationMarkLength(c, 5), 2);   // 2.5
    EXPECT_EQ(variationMarkLength(c, 9990), 4995);
    EXPECT_EQ(variationMarkLength(chartLayout(1000, 700), 10), 2);  // 2.1
    EXPECT_EQ(variationMarkLength(chartLayout(1000, 700), 9), 0);   // 1.89
}

TEST(ChartBanners, TextsInEachLanguageAndTheirRows)
{
    ChartBanner banner;
    banner.alarmLevel = 1;
    banner.tendency1h = -12;
    banner.tendency3h = -38;
    banner.raisedAt = UtcStamp{2026, 12, 9, 4, 5};
    std::vector<BannerLine> rows = bannerLines(banner, German, 200);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text, "Sturmwarnung: Luftdruck f\xE4llt schnell  -1.2 hPa/Std  -3.8 hPa/3Std  seit 04:05 UTC");
    EXPECT_EQ(rows[0].fill, bannerAmber);
    std::string english = "Wind warning: pressure falling quickly  -1.2 hPa/hr  -3.8 hPa/3hrs  since 04:05 UTC";
    EXPECT_EQ(bannerLines(banner, English, english.size())[0].text, english);
    // One character less and the figures take a row of their own.
    rows = bannerLines(banner, English, english.size() - 1);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text, "Wind warning: pressure falling quickly");
    EXPECT_EQ(rows[1].text, "-1.2 hPa/hr  -3.8 hPa/3hrs  since 04:05 UTC");

    banner.alarmLevel = 2;
    banner.noData = true;
    banner.lastData = UtcStamp{2026, 12, 9, 23, 59};
    rows = bannerLines(banner, French, 200);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text,
              "Alarme coup de vent : pression en chute tres rapide  -1.2 hPa/hr  -3.8 hPa/3hrs  depuis 04:05 UTC");
    EXPECT_EQ(rows[0].fill, bannerRed);
    EXPECT_EQ(rows[1].text, "Pas de donnees depuis 23:59 UTC");
    EXPECT_EQ(rows[1].fill, bannerGrey);
    banner.alarmLevel = 0;
    rows = bannerLines(banner, German, 200);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text, "Keine Daten seit 23:59 UTC");
    EXPECT_TRUE(bannerLines(ChartBanner{}, German, 200).empty());
}

TEST(ChartBanners, OnTheScreenAcrossTheTopOfThePlotAndWhereAClickTakesThem)
{
    PressureHistory history{};
    MonitorSettings settings{};
    settings.LANG = English;
    ChartBanner banner;
    banner.alarmLevel = 2;
    banner.noData = true;
    PageTrace screen(screenChartSteps(1000, 700, history, settings, banner));
    // 900 units of plot take 111 characters: a row for the alarm, one for the silence.
    ASSERT_EQ(screen.boxes.size(), 2u);
    EXPECT_EQ((std::vector<int>{screen.boxes[0].left, screen.boxes[0].top, screen.boxes[0].right,
                                screen.boxes[0].bottom}),
              (std::vector<int>{51, 36, 950, 60}));
    EXPECT_EQ(screen.boxes[1].top, 60);
    EXPECT_EQ(screen.boxes[1].bottom, 84);
    EXPECT_EQ(screen.boxes[1].colour, bannerGrey);
    for (int y : {35, 59, 83}) EXPECT_TRUE(screenBannerHit(1000, 700, banner, English, 500, y)) << y;
    for (auto [x, y] : {std::pair<int, int>{500, 34}, {500, 84}, {50, 40}, {950, 40}})
        EXPECT_FALSE(screenBannerHit(1000, 700, banner, English, x, y)) << x << "," << y;
    EXPECT_FALSE(screenBannerHit(1000, 700, ChartBanner{}, English, 500, 40));
    EXPECT_TRUE(PageTrace(screenChartSteps(1000, 700, history, settings)).boxes.empty());
}
