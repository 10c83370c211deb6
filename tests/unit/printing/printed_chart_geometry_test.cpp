#include "printing/printed_chart_geometry.h"
#include "printing/printed_week_geometry.h"
#include "acquisition/pressure_correction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "page_trace.h"

namespace {

// The default font of Wine's PostScript driver at 300 dpi, as a real printer
// context reports it (the Win32 printing tests read it back): 100 dots high
// with no leading, characters advancing 52 dots; its widest glyph box, 110
// dots, plays no part.
constexpr int lh = 100;
constexpr int cw = 52;
const TextMetrics postScriptFont{lh, cw};
// A fixed-pitch device font: ten characters an inch, 12 points high at 300 dpi.
const TextMetrics deviceFont{50, 30};

MonitorSettings settingsWith(int32_t LO, int32_t T1, int32_t T3)
{
    MonitorSettings settings{};
    settings.LO = LO;
    settings.T1 = T1;
    settings.T3 = T3;
    return settings;
}

PressureHistory emptyHistory()
{
    PressureHistory history;
    std::memset(&history, 0, sizeof history);
    return history;
}

// The y (upright) or x (turned) of major pressure tick j on the 1780-unit scale.
const int tenUnitPositions[] = {350, 528, 706, 884, 1062, 1240, 1418, 1596, 1774, 1952, 2130};

std::vector<int> fixedRange(int from, int to)
{
    std::vector<int> out;
    for (int i = from; i <= to; ++i) out.push_back(i);
    return out;
}

} // namespace

TEST(PrintedChartLayout, WorkedFiguresOfTheLandscapePage)
{
    PrintedChartLayout c = printedChartLayout(3508, 2480, 0);
    EXPECT_FALSE(c.portrait);
    EXPECT_EQ(c.m, 350);
    EXPECT_EQ((std::vector<int>{c.left, c.top, c.right, c.bottom}), (std::vector<int>{350, 350, 3158, 2130}));
    EXPECT_EQ(c.S, 1780);
    EXPECT_EQ(c.T, 2808);
    EXPECT_EQ(c.u, 17.8f);
    EXPECT_EQ(c.s, 27.0f);
    EXPECT_EQ(c.centre, 1240);
    for (int j = 0; j <= 10; ++j) EXPECT_EQ(printedScalePosition(c, j, 10), tenUnitPositions[j]) << j;
    EXPECT_EQ(printedSlotPosition(c, 0), 3158);
    EXPECT_EQ(printedSlotPosition(c, 1), 3131);
    EXPECT_EQ(printedSlotPosition(c, 103), 377);
    EXPECT_EQ(printedPressurePosition(c, 101325), 1004);
    EXPECT_EQ(printedPressurePosition(c, 95000), 2130);
    EXPECT_EQ(printedPressurePosition(c, 105000), 350);
    EXPECT_EQ(printedTendencyPosition(c, 12), 1133);
    EXPECT_EQ(printedTendencyPosition(c, 0), 1240);
    EXPECT_EQ(printedTendencyPosition(c, -12), 1347);
    EXPECT_EQ(printedTendencyPosition(c, 100), 350);   // +10 hPa at the top of the frame
    EXPECT_EQ(printedTendencyPosition(c, -100), 2130);
    // Outside the scale nothing is cut here.
    EXPECT_EQ(printedPressurePosition(c, 106000), 172);
    EXPECT_EQ(printedPressurePosition(c, 110000), -540);
    EXPECT_EQ(printedPressurePosition(c, 90000), 3020);
}

TEST(PrintedChartLayout, ThePortraitPageExchangesXAndY)
{
    PrintedChartLayout c = printedChartLayout(2480, 3508, 0);
    EXPECT_TRUE(c.portrait);
    EXPECT_EQ(c.m, 350);
    EXPECT_EQ((std::vector<int>{c.left, c.top, c.right, c.bottom}), (std::vector<int>{350, 350, 2130, 3158}));
    EXPECT_EQ(c.S, 1780);
    EXPECT_EQ(c.T, 2808);
    EXPECT_EQ(c.centre, 1240);
    for (int j = 0; j <= 10; ++j) EXPECT_EQ(printedScalePosition(c, j, 10), tenUnitPositions[j]) << j;
    EXPECT_EQ(printedSlotPosition(c, 1), 3131);
    EXPECT_EQ(printedSlotPosition(c, 103), 377);
    // Values grow rightward from the left edge.
    EXPECT_EQ(printedPressurePosition(c, 101325), 1476);
    EXPECT_EQ(printedPressurePosition(c, 95000), 350);
    EXPECT_EQ(printedPressurePosition(c, 105000), 2130);
    EXPECT_EQ(printedPressurePosition(c, 90000), -540);
    EXPECT_EQ(printedTendencyPosition(c, 12), 1347);
    EXPECT_EQ(printedTendencyPosition(c, -12), 1133);
    EXPECT_EQ(printedTendencyPosition(c, 0), 1240);
}

TEST(PrintedChartLayout, SquareAndOddPagesAndTheLowScale)
{
    PrintedChartLayout square = printedChartLayout(1000, 1000, 0);
    EXPECT_FALSE(square.portrait);
    EXPECT_EQ(square.m, 100);
    PrintedChartLayout tall = printedChartLayout(1001, 1003, 0);
    EXPECT_TRUE(tall.portrait);
    EXPECT_EQ(tall.m, 100);
    EXPECT_EQ(tall.centre, 500);  // half the width, truncated

    PrintedChartLayout low = printedChartLayout(3508, 2480, 1);
    EXPECT_EQ(low.B, 9000);
    EXPECT_EQ(printedPressurePosition(low, 95000), printedScalePosition(low, 50, 1));
    EXPECT_EQ(printedPressurePosition(low, 90000), 2130);
    EXPECT_EQ(printedPressurePosition(low, 100000), 350);
}

// Positions formed from 32-bit factors differ from double ones on some pages;
// these pin the float factors and the final rounding to 32 bits.
TEST(PrintedChartLayout, SinglePrecisionFactorsDecideTheBorderCases)
{
    PrintedChartLayout scale = printedChartLayout(1000, 710, 0);  // u = 5.1f, a little below 5.1
    EXPECT_EQ(scale.S, 510);
    EXPECT_EQ(printedScalePosition(scale, 5, 1), 100 + 25);  // 25.4999995, not 25.5

    PrintedChartLayout slots = printedChartLayout(630, 400, 0);  // s = 504/104 in float
    EXPECT_EQ(slots.right, 567);
    EXPECT_EQ(printedSlotPosition(slots, 13), 567 - 62);  // 62.99999, truncated

    // The printer's A4 page turned to landscape: each step of the pressure in
    // 32 bits puts these a unit away from where double arithmetic would.
    PrintedChartLayout a4 = printedChartLayout(3508, 2479, 0);
    EXPECT_EQ(printedPressurePosition(a4, 94362), 2242);
    EXPECT_EQ(printedPressurePosition(a4, 95638), 2016);
    EXPECT_EQ(printedPressurePosition(a4, 98724), 1466);

    // 44.4999981 plus the centre rounds to 1284.5 in 32 bits, which goes up.
    EXPECT_EQ(printedTendencyPosition(printedChartLayout(2480, 3508, 0), 5), 1285);
    EXPECT_EQ(printedTendencyPosition(printedChartLayout(3508, 2480, 0), -5), 1285);
}

TEST(PrintedChartLabels, TextsInBothLayouts)
{
    // The scale labels as the page lists them: title first, then 11 pressure and 21 tendency labels.
    PressureHistory history = emptyHistory();
    PageTrace upright(printedChartSteps(3508, 2480, postScriptFont, history, settingsWith(0, 1, 1)));
    PageTrace turned(printedChartSteps(2480, 3508, postScriptFont, history, settingsWith(0, 1, 1)));
    PageTrace uprightLow(printedChartSteps(3508, 2480, postScriptFont, history, settingsWith(1, 1, 1)));
    EXPECT_EQ(upright.texts[1 + 0].text, "1050");
    EXPECT_EQ(upright.texts[1 + 10].text, " 950");
    EXPECT_EQ(uprightLow.texts[1 + 0].text, "1000");
    EXPECT_EQ(uprightLow.texts[1 + 10].text, " 900");
    EXPECT_EQ(turned.texts[1 + 0].text, " 950");
    EXPECT_EQ(turned.texts[1 + 10].text, "1050");

    const char* downward[] = {"+10", " +9", " +1", "  0", " -1", " -9", "-10"};
    const int js[] = {0, 1, 9, 10, 11, 19, 20};
    for (int n = 0; n < 7; ++n) {
        EXPECT_EQ(upright.texts[12 + js[n]].text, downward[n]) << js[n];
        EXPECT_EQ(turned.texts[12 + 20 - js[n]].text, downward[n]) << js[n];
    }
    EXPECT_EQ(timeLabel(12), " -6h");
    EXPECT_EQ(timeLabel(24), "-12h");
    EXPECT_EQ(timeLabel(96), "-48h");
}

TEST(PrintedChartSteps, LandscapeFrameTicksGridLabelsAndMarks)
{
    PressureHistory history = emptyHistory();
    PageTrace page(printedChartSteps(3508, 2480, postScriptFont, history, settingsWith(0, 1, 1)));

    ASSERT_EQ(page.pens.size(), 6u);
    const Pen order[] = {Pen::PrintBlack5, Pen::PrintGrid, Pen::PrintBlack7,
                                Pen::PrintBlue, Pen::PrintGreen, Pen::PrintBlack3};
    const int fatal[] = {7, 9, 22, 22, 22, 22};
    for (int n = 0; n < 6; ++n) {
        EXPECT_EQ(page.pens[n].pen, order[n]) << n;
        EXPECT_EQ(page.pens[n].fatalErrorNumber, fatal[n]) << n;
    }
    EXPECT_EQ(page.fonts, (std::vector<int>{0, 0, 0}));

    std::vector<PlannedLine> black5 = page.linesWith(Pen::PrintBlack5);
    ASSERT_EQ(black5.size(), 4u + 11 + 21 + 2 * 101);
    const int frame[4][4] = {{350, 350, 350, 2130}, {350, 2130, 3158, 2130}, {3158, 2130, 3158, 350},
                             {3158, 350, 350, 350}};
    for (int n = 0; n < 4; ++n)
        EXPECT_EQ((std::vector<int>{black5[n].x0, black5[n].y0, black5[n].x1, black5[n].y1}),
                  (std::vector<int>(frame[n], frame[n] + 4)))
            << "frame side " << n;
    for (int j = 0; j <= 10; ++j) {
        const PlannedLine& tick = black5[4 + j];
        EXPECT_EQ((std::vector<int>{tick.x0, tick.y0, tick.x1, tick.y1}),
                  (std::vector<int>{350, tenUnitPositions[j], 325, tenUnitPositions[j]}));
    }
    for (int j = 0; j <= 20; ++j) {
        const PlannedLine& tick = black5[15 + j];
        EXPECT_EQ((std::vector<int>{tick.x0, tick.y0, tick.x1, tick.y1}),
                  (std::vector<int>{3158, 350 + 89 * j, 3183, 350 + 89 * j}));
    }
    // Minor ticks: unit k at 350 + R(k x 17.8f), on both sides.
    const int minorProbe[][2] = {{0, 350}, {1, 368}, {3, 403}, {50, 1240}, {99, 2112}, {100, 2130}};
    for (const auto& probe : minorProbe) {
        const PlannedLine& left = black5[36 + 2 * probe[0]];
        const PlannedLine& right = black5[37 + 2 * probe[0]];
        EXPECT_EQ((std::vector<int>{left.x0, left.y0, left.x1, left.y1}),
                  (std::vector<int>{350, probe[1], 337, probe[1]}));
        EXPECT_EQ((std::vector<int>{right.x0, right.y0, right.x1, right.y1}),
                  (std::vector<int>{3158, probe[1], 3171, probe[1]}));
    }

    std::vector<PlannedLine> grid = page.linesWith(Pen::PrintGrid);
    ASSERT_EQ(grid.size(), 19u);
    for (int j = 1; j <= 19; ++j)
        EXPECT_EQ((std::vector<int>{grid[j - 1].x0, grid[j - 1].y0, grid[j - 1].x1, grid[j - 1].y1}),
                  (std::vector<int>{350, 350 + 89 * j, 3158, 350 + 89 * j}));

    // Title, 11 pressure labels, 21 tendency labels and 8 time labels, all horizontal.
    ASSERT_EQ(page.texts.size(), 1u + 11 + 21 + 8);
    EXPECT_EQ(page.texts[0].text, "Zudoderozezavedi Messdaten");
    EXPECT_EQ((std::vector<int>{page.texts[0].x, page.texts[0].y}), (std::vector<int>{1754, 175}));
    for (const PlannedText& text : page.texts) EXPECT_EQ(text.escapement, 0) << text.text;
    for (int j = 0; j <= 10; ++j) {
        const PlannedText& label = page.texts[1 + j];
        EXPECT_EQ(label.text, pressureLabel(10 - j, 0));  // listed from the top of the scale
        EXPECT_EQ((std::vector<int>{label.x, label.y}), (std::vector<int>{350 - 6 * cw, tenUnitPositions[j] - 50}));
    }
    EXPECT_EQ(page.texts[1].text, "1050");
    for (int j = 0; j <= 20; ++j) {
        const PlannedText& label = page.texts[12 + j];
        EXPECT_EQ((std::vector<int>{label.x, label.y}), (std::vector<int>{3198, 350 + 89 * j - 50}));
    }
    EXPECT_EQ(page.texts[12].text, "+10");
    EXPECT_EQ(page.texts[22].text, "  0");
    EXPECT_EQ(page.texts[32].text, "-10");
    for (int n = 1; n <= 8; ++n) {
        const PlannedText& label = page.texts[32 + n];
        int x = 3158 - 27 * 12 * n;
        EXPECT_EQ((std::vector<int>{label.x, label.y}), (std::vector<int>{x - 10, 2142}));
        EXPECT_EQ(label.text, timeLabel(12 * n));
    }

    // Time marks: five black pixels under the frame at each of the nine marks, slot 0 included.
    ASSERT_EQ(page.pixels.size(), 45u);
    for (int mark = 0; mark < 9; ++mark)
        for (int k = 1; k <= 5; ++k) {
            const PlannedPixel& pixel = page.pixels[5 * mark + k - 1];
            EXPECT_EQ((std::vector<int>{pixel.x, pixel.y}), (std::vector<int>{3158 - 324 * mark, 2130 + k}));
        }
    // An empty history draws no curve.
    EXPECT_TRUE(page.linesWith(Pen::PrintBlack7).empty());
    EXPECT_TRUE(page.linesWith(Pen::PrintBlue).empty());
    EXPECT_TRUE(page.linesWith(Pen::PrintGreen).empty());
}

TEST(PrintedChartSteps, PortraitIsTurnedAQuarterWithTextRunningDown)
{
    PressureHistory history = emptyHistory();
    PageTrace page(printedChartSteps(2480, 3508, postScriptFont, history, settingsWith(0, 0, 0)));

    // No tendency curves with T1 and T3 off.
    ASSERT_EQ(page.pens.size(), 4u);
    EXPECT_EQ(page.pens[0].fatalErrorNumber, 7);
    EXPECT_EQ(page.pens[1].pen, Pen::PrintGrid);
    EXPECT_EQ(page.pens[1].fatalErrorNumber, 11);
    EXPECT_EQ(page.pens[2].pen, Pen::PrintBlack7);
    EXPECT_EQ(page.pens[3].pen, Pen::PrintBlack3);
    EXPECT_EQ(page.pens[3].fatalErrorNumber, 22);
    // Title turned, labels turned and back to horizontal after them, marks turned.
    EXPECT_EQ(page.fonts, (std::vector<int>{2700, 2700, 0, 2700}));
    EXPECT_EQ(page.linesWith(Pen::PrintBlack3).size(), 9u);

    std::vector<PlannedLine> black5 = page.linesWith(Pen::PrintBlack5);
    ASSERT_EQ(black5.size(), 4u + 21 + 21 + 2 * 101);
    EXPECT_EQ((std::vector<int>{black5[0].x0, black5[0].y0, black5[0].x1, black5[0].y1}),
              (std::vector<int>{350, 350, 350, 3158}));
    EXPECT_EQ((std::vector<int>{black5[1].x1, black5[1].y1, black5[2].x1, black5[2].y1, black5[3].x1, black5[3].y1}),
              (std::vector<int>{2130, 3158, 2130, 350, 350, 350}));
    for (int j = 0; j <= 20; ++j) {
        const PlannedLine& top = black5[4 + j];
        const PlannedLine& bottom = black5[25 + j];
        EXPECT_EQ((std::vector<int>{top.x0, top.y0, top.x1, top.y1}),
                  (std::vector<int>{350 + 89 * j, 350, 350 + 89 * j, 325}));
        EXPECT_EQ((std::vector<int>{bottom.x0, bottom.y0, bottom.x1, bottom.y1}),
                  (std::vector<int>{350 + 89 * j, 3158, 350 + 89 * j, 3183}));
    }
    EXPECT_EQ((std::vector<int>{black5[46 + 6].x0, black5[46 + 6].y0, black5[46 + 6].y1}),
              (std::vector<int>{403, 350, 337}));  // unit 3, top side
    EXPECT_EQ((std::vector<int>{black5[47 + 6].x0, black5[47 + 6].y0, black5[47 + 6].y1}),
              (std::vector<int>{403, 3158, 3171}));

    std::vector<PlannedLine> grid = page.linesWith(Pen::PrintGrid);
    ASSERT_EQ(grid.size(), 19u);
    for (int j = 1; j <= 19; ++j)
        EXPECT_EQ((std::vector<int>{grid[j - 1].x0, grid[j - 1].y0, grid[j - 1].x1, grid[j - 1].y1}),
                  (std::vector<int>{350 + 89 * j, 350, 350 + 89 * j, 3158}));

    ASSERT_EQ(page.texts.size(), 1u + 11 + 21 + 8);
    EXPECT_EQ(page.texts[0].text, "Zudoderozezavedi Messdaten");
    EXPECT_EQ((std::vector<int>{page.texts[0].x, page.texts[0].y, page.texts[0].escapement}),
              (std::vector<int>{2305, 1654, 2700}));
    for (int j = 0; j <= 10; ++j) {
        const PlannedText& label = page.texts[1 + j];
        EXPECT_EQ((std::vector<int>{label.x, label.y, label.escapement}),
                  (std::vector<int>{tenUnitPositions[j] + 50, 350 - 5 * cw, 2700}));
    }
    EXPECT_EQ(page.texts[1].text, " 950");
    EXPECT_EQ(page.texts[11].text, "1050");
    for (int j = 0; j <= 20; ++j) {
        const PlannedText& label = page.texts[12 + j];
        EXPECT_EQ((std::vector<int>{label.x, label.y, label.escapement}),
                  (std::vector<int>{350 + 89 * j + 50, 3193, 2700}));
    }
    EXPECT_EQ(page.texts[12].text, "-10");
    EXPECT_EQ(page.texts[22].text, "  0");
    EXPECT_EQ(page.texts[32].text, "+10");
    for (int n = 1; n <= 8; ++n) {
        const PlannedText& label = page.texts[32 + n];
        int y = 3158 - 324 * n;
        EXPECT_EQ((std::vector<int>{label.x, label.y, label.escapement}), (std::vector<int>{300, y - 60, 2700}));
        EXPECT_EQ(label.text, timeLabel(12 * n));
    }
    EXPECT_TRUE(page.pixels.empty());
}

TEST(PrintedChartSteps, PortraitTimeMarksAreShortLinesLeftOfTheFrame)
{
    PressureHistory history = emptyHistory();
    DrawingPlan steps = printedChartSteps(2480, 3508, postScriptFont, history, settingsWith(0, 0, 0));
    // The marks follow the last pen choice, printBlack3Pen.
    auto black3 = std::find_if(steps.begin(), steps.end(), [](const DrawingStep& step) {
        return step.kind == DrawingStep::SelectPen && step.pen == Pen::PrintBlack3;
    });
    ASSERT_NE(black3, steps.end());
    EXPECT_EQ(black3->fatalErrorNumber, 22);
    PageTrace page(DrawingPlan(black3, steps.end()));
    ASSERT_EQ(page.lines.size(), 9u);
    for (int mark = 0; mark < 9; ++mark) {
        int y = 3158 - 324 * mark;
        const PlannedLine& line = page.lines[mark];
        EXPECT_EQ((std::vector<int>{line.x0, line.y0, line.x1, line.y1}), (std::vector<int>{350, y, 320, y}));
    }
}

TEST(PrintedChartSteps, CurvesBridgeEmptySlotsAndLowCoordinatesBecomeZero)
{
    PressureHistory history = emptyHistory();
    history.slots[0] = HistorySlot{};
    history.slots[0].pressure = 101325;
    history.slots[0].tendency1h = 12;
    history.slots[0].tendency3h = -30;
    history.slots[1].tendency1h = 500;  // empty slot: its tendencies are not drawn either
    history.slots[2].pressure = 106000;
    history.slots[2].tendency1h = -12;
    history.slots[50].pressure = 110000;  // above the page: drawn at 0
    history.slots[50].tendency1h = 300;   // 1240 - 2670 is below 1 as well
    history.slots[103].pressure = 90000;  // below the page, kept
    history.slots[103].tendency1h = -5;
    history.slots[104].pressure = 99000;  // outside the window
    PageTrace page(printedChartSteps(3508, 2480, postScriptFont, history, settingsWith(0, 1, 1)));

    std::vector<PlannedLine> pressure = page.linesWith(Pen::PrintBlack7);
    ASSERT_EQ(pressure.size(), 4u);
    EXPECT_EQ((std::vector<int>{pressure[0].x0, pressure[0].y0, pressure[0].x1, pressure[0].y1}),
              (std::vector<int>{3157, 1004, 3158, 1004}));
    EXPECT_EQ((std::vector<int>{pressure[1].x1, pressure[1].y1}), (std::vector<int>{3104, 172}));
    EXPECT_EQ((std::vector<int>{pressure[2].x1, pressure[2].y1}), (std::vector<int>{1808, 0}));
    EXPECT_EQ((std::vector<int>{pressure[3].x1, pressure[3].y1}), (std::vector<int>{377, 3020}));

    std::vector<PlannedLine> oneHour = page.linesWith(Pen::PrintBlue);
    ASSERT_EQ(oneHour.size(), 4u);
    EXPECT_EQ((std::vector<int>{oneHour[0].x0, oneHour[0].y0, oneHour[0].x1, oneHour[0].y1}),
              (std::vector<int>{3157, 1133, 3158, 1133}));
    EXPECT_EQ((std::vector<int>{oneHour[1].x1, oneHour[1].y1, oneHour[2].x1, oneHour[2].y1, oneHour[3].x1,
                                oneHour[3].y1}),
              (std::vector<int>{3104, 1347, 1808, 0, 377, 1285}));

    std::vector<PlannedLine> threeHours = page.linesWith(Pen::PrintGreen);
    ASSERT_EQ(threeHours.size(), 4u);
    EXPECT_EQ((std::vector<int>{threeHours[0].x0, threeHours[0].y0, threeHours[0].y1}),
              (std::vector<int>{3157, 1507, 1507}));
    EXPECT_EQ(threeHours[1].y1, 1240);  // slot 2 has no three-hour tendency

    // Turned: the same curve with time up the page and values rightward.
    PageTrace turned(printedChartSteps(2480, 3508, postScriptFont, history, settingsWith(0, 0, 0)));
    std::vector<PlannedLine> turnedPressure = turned.linesWith(Pen::PrintBlack7);
    ASSERT_EQ(turnedPressure.size(), 4u);
    EXPECT_EQ((std::vector<int>{turnedPressure[0].x0, turnedPressure[0].y0, turnedPressure[0].x1,
                                turnedPressure[0].y1}),
              (std::vector<int>{1476, 3157, 1476, 3158}));
    EXPECT_EQ((std::vector<int>{turnedPressure[1].x1, turnedPressure[1].y1}), (std::vector<int>{2308, 3104}));
    EXPECT_EQ((std::vector<int>{turnedPressure[2].x1, turnedPressure[2].y1}), (std::vector<int>{3020, 1808}));
    EXPECT_EQ((std::vector<int>{turnedPressure[3].x1, turnedPressure[3].y1}), (std::vector<int>{0, 377}));
    EXPECT_TRUE(turned.linesWith(Pen::PrintBlue).empty());
    EXPECT_TRUE(turned.linesWith(Pen::PrintGreen).empty());
}

TEST(PrintedChartSteps, CurveStartsAtSlotZerosValueEvenWhenThatSlotIsEmpty)
{
    PressureHistory history = emptyHistory();
    history.slots[0].pressure = 99860;
    PageTrace lone(printedChartSteps(3508, 2480, postScriptFont, history, settingsWith(0, 1, 1)));
    // A lone slot 0 is one stroke of one device unit at the newest edge, for each curve.
    for (Pen pen : {Pen::PrintBlack7, Pen::PrintBlue, Pen::PrintGreen}) {
        std::vector<PlannedLine> curve = lone.linesWith(pen);
        ASSERT_EQ(curve.size(), 1u);
        EXPECT_EQ(curve[0].x0, 3157);
        EXPECT_EQ(curve[0].x1, 3158);
        EXPECT_EQ(curve[0].y0, curve[0].y1);
    }

    history.slots[0].pressure = 0;
    history.slots[6].pressure = 99860;
    PageTrace gap(printedChartSteps(3508, 2480, postScriptFont, history, settingsWith(0, 0, 0)));
    std::vector<PlannedLine> curve = gap.linesWith(Pen::PrintBlack7);
    ASSERT_EQ(curve.size(), 1u);
    // From the value of an empty slot 0, taken as computed (far below the page).
    PrintedChartLayout c = printedChartLayout(3508, 2480, 0);
    EXPECT_EQ((std::vector<int>{curve[0].x0, curve[0].y0}),
              (std::vector<int>{3157, printedPressurePosition(c, 0)}));
    EXPECT_EQ(printedPressurePosition(c, 0), 2130 + 16910);
    EXPECT_EQ((std::vector<int>{curve[0].x1, curve[0].y1}), (std::vector<int>{3158 - 162, printedPressurePosition(c, 99860)}));
}

TEST(PrintedChartSteps, EverySlotOfAFullHistoryIsAPoint)
{
    PressureHistory history = emptyHistory();
    for (int i = 0; i < 104; ++i) history.slots[i].pressure = 95000 + 100 * i;
    PageTrace page(printedChartSteps(3508, 2480, postScriptFont, history, settingsWith(0, 0, 0)));
    std::vector<PlannedLine> curve = page.linesWith(Pen::PrintBlack7);
    ASSERT_EQ(curve.size(), 104u);
    PrintedChartLayout c = printedChartLayout(3508, 2480, 0);
    for (int i : fixedRange(0, 103)) {
        EXPECT_EQ(curve[i].x1, 3158 - 27 * i) << i;
        EXPECT_EQ(curve[i].y1, printedPressurePosition(c, 95000 + 100 * i)) << i;
    }
    EXPECT_EQ(curve[103].y1, 297);  // 1030 tenths above 950 hPa: 2130 - 1833.4
}

TEST(PrintedChartSteps, LowScaleLabelsAndTextLengths)
{
    PressureHistory history = emptyHistory();
    PageTrace page(printedChartSteps(3508, 2480, postScriptFont, history, settingsWith(1, 1, 1)));
    EXPECT_EQ(page.texts[1].text, "1000");
    EXPECT_EQ(page.texts[6].text, " 950");
    EXPECT_EQ(page.texts[11].text, " 900");
    EXPECT_EQ(page.texts[0].text.size(), 26u);
    for (int n = 1; n <= 11; ++n) EXPECT_EQ(page.texts[n].text.size(), 4u);
    for (int n = 12; n <= 32; ++n) EXPECT_EQ(page.texts[n].text.size(), 3u);
    for (int n = 33; n <= 40; ++n) EXPECT_EQ(page.texts[n].text.size(), 4u);
}

namespace {

// The paper a planned text covers: upright it extends right of and below its
// reference point; turned to run downward, its glyphs' tops face right, so it
// hangs left of the point and runs down from it.
struct Covered {
    int left, top, right, bottom;
};

Covered coveredBy(const PlannedText& text, const TextMetrics& font)
{
    int length = static_cast<int>(text.text.size()) * font.charWidth;
    if (text.escapement == 2700) return {text.x - font.lineHeight, text.y, text.x, text.y + length};
    return {text.x, text.y, text.x + length, text.y + font.lineHeight};
}

// A font whose advance is as wide as the widest glyph box of the printer's
// font: what placed the pressure labels beyond the page edge.
const TextMetrics glyphBoxFont{100, 110};

} // namespace

TEST(PrintedChartSteps, EveryTextLiesOnThePageInBothLayouts)
{
    PressureHistory history = emptyHistory();
    // A4 as worked and as the printer reports it, US letter, a square page
    // and A5, at 300 dpi, each both ways round.
    const std::vector<std::vector<int>> pages = {{3508, 2480}, {2480, 3508}, {3508, 2479}, {2479, 3508},
                                                 {3300, 2550}, {2550, 3300}, {2480, 2480}, {2480, 1748},
                                                 {1748, 2480}};
    // The wide font's title (26 x 110) is longer than 2480: not on the last three.
    const std::pair<TextMetrics, size_t> fonts[] = {{postScriptFont, pages.size()},
                                                    {deviceFont, pages.size()},
                                                    {glyphBoxFont, 6}};
    for (const auto& [font, pageCount] : fonts)
        for (size_t n = 0; n < pageCount; ++n)
            for (int32_t LO : {0, 1}) {
                const std::vector<int>& page = pages[n];
                PageTrace trace(printedChartSteps(page[0], page[1], font, history, settingsWith(LO, 1, 1)));
                ASSERT_EQ(trace.texts.size(), 41u);
                for (const PlannedText& text : trace.texts) {
                    Covered box = coveredBy(text, font);
                    std::string where = "'" + text.text + "' on " + std::to_string(page[0]) + "x" +
                                        std::to_string(page[1]) + " cw " + std::to_string(font.charWidth);
                    EXPECT_GE(box.left, 0) << where;
                    EXPECT_GE(box.top, 0) << where;
                    EXPECT_LE(box.right, page[0]) << where;
                    EXPECT_LE(box.bottom, page[1]) << where;
                }
            }
}

TEST(PrintedChartSteps, TheHeadingNamesTheCorrectionInForceAndStaysOnThePage)
{
    PressureHistory history = emptyHistory();
    MonitorSettings settings = settingsWith(0, 1, 1);
    settings.OFFSET = 12, settings.HEIGHT = 372;
    for (int turned = 0; turned < 2; ++turned) {
        PageTrace page(turned ? printedChartSteps(2480, 3508, postScriptFont, history, settings)
                              : printedChartSteps(3508, 2480, postScriptFont, history, settings));
        EXPECT_EQ(page.texts[0].text, "Zudoderozezavedi Messdaten, Korrektur +1,2 hPa, 372 m");
        Covered box = coveredBy(page.texts[0], postScriptFont);
        EXPECT_GE(std::min(box.left, box.top), 0) << turned;
        EXPECT_LE(box.right, turned ? 2480 : 3508) << turned;
        EXPECT_LE(box.bottom, turned ? 3508 : 2480) << turned;
    }
    EXPECT_EQ(correctionInForce(settings, English), "correction +1.2 hPa, 372 m");
    EXPECT_EQ(correctionInForce(settings, French), "correction +1,2 hPa, 372 m");
    settings.OFFSET = 0, settings.HEIGHT = 0;
    EXPECT_EQ(PageTrace(printedChartSteps(3508, 2480, postScriptFont, history, settings)).texts[0].text,
              "Zudoderozezavedi Messdaten");
}

TEST(PrintedChartSteps, PressureLabelsStandInTheMarginByTheCharacterAdvance)
{
    PressureHistory history = emptyHistory();
    // The printer's 300 dpi page, as its context reports it, in both shapes.
    PageTrace upright(printedChartSteps(3508, 2479, postScriptFont, history, settingsWith(0, 1, 1)));
    PageTrace turned(printedChartSteps(2479, 3508, postScriptFont, history, settingsWith(0, 1, 1)));
    PageTrace uprightDevice(printedChartSteps(3508, 2480, deviceFont, history, settingsWith(0, 1, 1)));
    PageTrace turnedDevice(printedChartSteps(2480, 3508, deviceFont, history, settingsWith(0, 1, 1)));
    for (int j = 0; j <= 10; ++j) {
        // Four digits and a gap between the page edge and the ticks at 325.
        EXPECT_EQ(upright.texts[1 + j].x, 350 - 6 * 52) << j;
        EXPECT_EQ(turned.texts[1 + j].y, 350 - 5 * 52) << j;
        // A fixed-pitch device font: where the layout always put them.
        EXPECT_EQ(uprightDevice.texts[1 + j].x, 170) << j;
        EXPECT_EQ(uprightDevice.texts[1 + j].y, tenUnitPositions[j] - 25) << j;
        EXPECT_EQ(turnedDevice.texts[1 + j].x, tenUnitPositions[j] + 25) << j;
        EXPECT_EQ(turnedDevice.texts[1 + j].y, 200) << j;
    }
    // Nothing else follows the advance: the tendency and time labels and the
    // title stand where the line height alone puts them.
    for (int j = 0; j <= 20; ++j) {
        EXPECT_EQ((std::vector<int>{uprightDevice.texts[12 + j].x, uprightDevice.texts[12 + j].y}),
                  (std::vector<int>{3198, 350 + 89 * j - 25}));
        EXPECT_EQ((std::vector<int>{turnedDevice.texts[12 + j].x, turnedDevice.texts[12 + j].y}),
                  (std::vector<int>{350 + 89 * j + 25, 3193}));
    }
    EXPECT_EQ((std::vector<int>{uprightDevice.texts[0].x, uprightDevice.texts[0].y}), (std::vector<int>{1754, 175}));
    EXPECT_EQ((std::vector<int>{turnedDevice.texts[0].x, turnedDevice.texts[0].y}), (std::vector<int>{2305, 1654}));
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ((std::vector<int>{uprightDevice.texts[32 + n].x, uprightDevice.texts[32 + n].y}),
                  (std::vector<int>{3158 - 324 * n - 10, 2142}));
        EXPECT_EQ((std::vector<int>{turnedDevice.texts[32 + n].x, turnedDevice.texts[32 + n].y}),
                  (std::vector<int>{300, 3158 - 324 * n - 60}));
    }
}

TEST(PrintedChartSteps, ATextThatWouldLeaveThePageIsMovedToItsEdge)
{
    PressureHistory history = emptyHistory();
    PageTrace upright(printedChartSteps(3508, 2480, glyphBoxFont, history, settingsWith(0, 1, 1)));
    PageTrace turned(printedChartSteps(2480, 3508, glyphBoxFont, history, settingsWith(0, 1, 1)));
    for (int j = 0; j <= 10; ++j) {
        // 350 - 6 x 110 would begin at -310, and 350 - 5 x 110 at -200.
        EXPECT_EQ((std::vector<int>{upright.texts[1 + j].x, upright.texts[1 + j].y}),
                  (std::vector<int>{0, tenUnitPositions[j] - 50}));
        EXPECT_EQ((std::vector<int>{turned.texts[1 + j].x, turned.texts[1 + j].y}),
                  (std::vector<int>{tenUnitPositions[j] + 50, 0}));
    }
    // Three such characters after 3198 (upright) or 3193 (turned) would run
    // past the edge at 3508: they end there instead.
    for (int j = 0; j <= 20; ++j) {
        EXPECT_EQ((std::vector<int>{upright.texts[12 + j].x, upright.texts[12 + j].y}),
                  (std::vector<int>{3508 - 330, 350 + 89 * j - 50}));
        EXPECT_EQ((std::vector<int>{turned.texts[12 + j].x, turned.texts[12 + j].y}),
                  (std::vector<int>{350 + 89 * j + 50, 3508 - 330}));
    }
    // The curves keep their own rule: only a coordinate below 1 becomes 0.
    history.slots[0].pressure = 90000;
    history.slots[1].pressure = 110000;
    PageTrace curves(printedChartSteps(3508, 2480, glyphBoxFont, history, settingsWith(0, 0, 0)));
    std::vector<PlannedLine> pressure = curves.linesWith(Pen::PrintBlack7);
    ASSERT_EQ(pressure.size(), 2u);
    EXPECT_EQ(pressure[0].y1, 3020);
    EXPECT_EQ(pressure[1].y1, 0);
}

TEST(PrintedChartSteps, TheStormWarningBannersStandInsideTheFrameOnBothPages)
{
    ChartBanner banner;
    banner.alarmLevel = 2;
    banner.tendency1h = -25;
    banner.tendency3h = -65;
    banner.raisedAt = UtcStamp{2026, 12, 9, 14, 5};
    banner.noData = true;
    banner.lastData = UtcStamp{2026, 12, 9, 15, 47};
    MonitorSettings settings = settingsWith(0, 1, 1);
    settings.LANG = French;
    for (bool turned : {false, true}) {
        SCOPED_TRACE(turned ? "turned" : "upright");
        const int Wd = turned ? 2480 : 3508, Hd = turned ? 3508 : 2480;
        const PrintedChartLayout c = printedChartLayout(Wd, Hd, 0);
        PageTrace page(printedChartSteps(Wd, Hd, postScriptFont, emptyHistory(), settings, banner));
        // 2756 units of plot take 53 characters: the gale alarm's words and its
        // figures on a row each, then the grey one.
        ASSERT_EQ(page.boxes.size(), 3u);
        EXPECT_EQ(page.boxes[0].colour, bannerRed);
        EXPECT_EQ(page.boxes[1].colour, bannerRed);
        EXPECT_EQ(page.boxes[2].colour, bannerGrey);
        std::vector<PlannedText> rows;
        for (const PlannedText& text : page.texts)
            if (text.coloured) rows.push_back(text);
        ASSERT_EQ(rows.size(), 3u);
        EXPECT_EQ(rows[0].text, "Alarme coup de vent : pression en chute tres rapide");
        EXPECT_EQ(rows[1].text, "-2.5 hPa/hr  -6.5 hPa/3hrs  depuis 14:05 UTC");
        EXPECT_EQ(rows[2].text, "Pas de donnees depuis 15:47 UTC");
        EXPECT_EQ(rows[0].colour, 0xFFFFFFu);
        EXPECT_EQ(rows[2].colour, 0u);
        for (size_t n = 0; n < 3; ++n) {
            const PlannedBox& box = page.boxes[n];
            // Inside the frame, whose line is five units wide, the first row at its high side.
            EXPECT_GT(box.left, c.left);
            EXPECT_GT(box.top, c.top);
            EXPECT_LT(box.right, c.right);
            EXPECT_LT(box.bottom, c.bottom);
            if (n == 0) {
                EXPECT_EQ(turned ? c.right - box.right : box.top - c.top, 3);
            }
            // Rows follow each other inward without a gap, each a line of text deep or more.
            if (n > 0) {
                EXPECT_EQ(turned ? page.boxes[n - 1].left : page.boxes[n - 1].bottom, turned ? box.right : box.top);
            }
            EXPECT_GE(turned ? box.right - box.left : box.bottom - box.top, lh);
            Covered text = coveredBy(rows[n], postScriptFont);
            EXPECT_EQ(rows[n].escapement, turned ? 2700 : 0);
            EXPECT_GE(text.left, box.left);
            EXPECT_GE(text.top, box.top);
            EXPECT_LE(text.right, box.right);
            EXPECT_LE(text.bottom, box.bottom);
        }
    }
    // No banner without an alarm or a silence.
    PageTrace quiet(printedChartSteps(3508, 2480, postScriptFont, emptyHistory(), settings));
    EXPECT_TRUE(quiet.boxes.empty());
}

TEST(PrintedChartSteps, WhereThePressureFellQuicklyTheCurveIsRed)
{
    PressureHistory history = emptyHistory();
    for (int s : {0, 1, 2, 4, 6}) history.slots[s].pressure = 100000 - 50 * s;
    history.slots[1].tendency3h = -36;  // the threshold: red
    history.slots[2].tendency3h = -35;  // short of it
    history.slots[6].windAlarm = 1;     // a record that carried the alarm
    PageTrace page(printedChartSteps(3508, 2480, postScriptFont, history, settingsWith(0, 0, 0)));
    std::vector<PlannedLine> black = page.linesWith(Pen::PrintBlack7);
    std::vector<PlannedLine> red = page.linesWith(Pen::PrintRed);
    ASSERT_EQ(black.size(), 5u);
    ASSERT_EQ(red.size(), 2u);
    // Each red stretch is the black one that reaches its slot, drawn again.
    for (auto [r, b] : {std::pair<int, int>{0, 1}, {1, 4}})
        EXPECT_EQ((std::vector<int>{red[r].x0, red[r].y0, red[r].x1, red[r].y1}),
                  (std::vector<int>{black[b].x0, black[b].y0, black[b].x1, black[b].y1}));
    history.slots[1].tendency3h = 0;
    history.slots[6].windAlarm = 0;
    PageTrace calm(printedChartSteps(3508, 2480, postScriptFont, history, settingsWith(0, 0, 0)));
    EXPECT_TRUE(calm.linesWith(Pen::PrintRed).empty());
    for (const PlannedPenChoice& pen : calm.pens) EXPECT_NE(pen.pen, Pen::PrintRed) << "no red pen is chosen";
}

namespace {

// Wednesday 05.06.2024 12:00 UTC, and records every five minutes of its last
// two days, with a wind alarm in the last hour.
const int64_t june5 = minuteOf(2024, 6, 5, 12, 0);

std::vector<WeekRecord> lastTwoDays()
{
    std::vector<WeekRecord> out;
    for (int64_t m = june5 - 2 * 1440; m <= june5; m += 5)
        out.push_back({m, 99000 + static_cast<int32_t>(june5 - m), static_cast<uint8_t>(m > june5 - 60)});
    return out;
}

} // namespace

TEST(PrintedWeekSteps, OneBarogramPageWithHeadingDatesAndEveryLabelOnThePageEitherWayRound)
{
    const std::vector<std::string> days = {"Do 30.05.", "Fr 31.05.", "Sa 01.06.", "So 02.06.",
                                           "Mo 03.06.", "Di 04.06.", "Mi 05.06."};
    for (const std::vector<int>& page : {std::vector<int>{3508, 2480}, std::vector<int>{2480, 3508},
                                         std::vector<int>{2550, 3300}})
        for (const TextMetrics& font : {postScriptFont, deviceFont}) {
            const bool turned = page[1] > page[0];
            PageTrace trace(printedWeekSteps(page[0], page[1], font, lastTwoDays(), june5, settingsWith(0, 1, 1)));
            std::vector<std::string> texts;
            for (const PlannedText& text : trace.texts) {
                texts.push_back(text.text);
                // Every text in the font selected for the page, at the printer's default height.
                EXPECT_EQ(text.escapement, turned ? 2700 : 0);
                Covered box = coveredBy(text, font);
                EXPECT_GE(box.left, 0) << text.text;
                EXPECT_GE(box.top, 0) << text.text;
                EXPECT_LE(box.right, page[0]) << text.text;
                EXPECT_LE(box.bottom, page[1]) << text.text;
            }
            // A day of the page is T / 7 long: 401 dots on A4, 377 on letter. The
            // PostScript font's label (9 x 52) is longer and takes two rows.
            const PrintedChartLayout c = printedChartLayout(page[0], page[1], 0);
            const bool twoRows = 10 * font.charWidth > c.T / 7;
            std::vector<std::string> expected = {"Barogramm  29.05.2024 - 05.06.2024"};
            for (int i = 0; i <= 10; ++i) expected.push_back(pressureLabel(i, 0));
            // The newest day began 12 hours before the frame's end: a label that
            // would run past that end gives the weekday alone.
            const int newestLine = c.m + static_cast<int>(c.T * int64_t(156 * 60) / weekMinutes);
            const int widest = twoRows ? 6 : 9;
            const bool newestFits = newestLine + 10 + widest * font.charWidth <= c.m + c.T;
            for (const std::string& day : days) {
                if (&day == &days.back() && !newestFits) expected.push_back(day.substr(0, 2));
                else if (!twoRows) expected.push_back(day);
                else expected.insert(expected.end(), {day.substr(0, 2), day.substr(3)});
            }
            EXPECT_EQ(texts, expected) << page[0] << "x" << page[1];
            EXPECT_EQ(twoRows, font.charWidth == postScriptFont.charWidth);
            // The day labels outside the frame on the low side of the scale, in
            // time order, none running into the next.
            std::vector<Covered> labels;
            for (const PlannedText& text : trace.texts) {
                Covered box = coveredBy(text, font);
                if (turned ? box.right <= c.m : box.top >= c.m + c.S) labels.push_back(box);
            }
            ASSERT_EQ(labels.size(), (twoRows ? 14u : 7u) - (newestFits ? 0 : twoRows ? 1 : 0));
            for (size_t n = twoRows ? 2 : 1; n < labels.size(); ++n) {
                const Covered& before = labels[n - (twoRows ? 2 : 1)];
                if (turned) EXPECT_LT(before.bottom, labels[n].top) << n;
                else EXPECT_LT(before.right, labels[n].left) << n;
            }
            // The curve in black, its last hour in red; no tendency pens on this page.
            EXPECT_EQ(trace.linesWith(Pen::PrintRed).size(), 12u);
            EXPECT_GT(trace.linesWith(Pen::PrintBlack5).size(), 500u);
            EXPECT_TRUE(trace.linesWith(Pen::PrintBlue).empty() && trace.linesWith(Pen::PrintGreen).empty());
            EXPECT_EQ(trace.linesWith(Pen::PrintWeekFine).size(), 90u);
            EXPECT_EQ(trace.linesWith(Pen::PrintWeekStrong).size(), 9u);
        }
}

TEST(PrintedWeekSteps, TheNewestRecordStandsAtTheNewSideOfTheFrame)
{
    for (const std::vector<int>& page : {std::vector<int>{3508, 2480}, std::vector<int>{2480, 3508}}) {
        const PrintedChartLayout c = printedChartLayout(page[0], page[1], 0);
        PageTrace trace(printedWeekSteps(page[0], page[1], postScriptFont, lastTwoDays(), june5, settingsWith(0, 0, 0)));
        std::vector<PlannedLine> curve = trace.linesWith(Pen::PrintRed);
        ASSERT_FALSE(curve.empty());
        const PlannedLine& last = curve.back();
        // 990.00 hPa at the present minute: 40 of the 100 hPa above the scale's bottom.
        if (page[1] > page[0]) {
            EXPECT_EQ(last.y1, c.m + c.T);
            EXPECT_EQ(last.x1, c.m + (c.S * 40 + 50) / 100);
        } else {
            EXPECT_EQ(last.x1, c.m + c.T);
            EXPECT_EQ(last.y1, c.m + c.S - (c.S * 40 + 50) / 100);
        }
    }
}
