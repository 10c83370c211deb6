// The screen chart as its GDI calls really are, recorded into a metafile,
// against the worked figures of a 1000 x 700 client area.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>

#include "acquisition/measurement_state.h"
#include "display/drawing_tools.h"
#include "display/pressure_chart.h"
#include "records/event_log.h"
#include "settings/monitor_settings.h"
#include "win32_test_support.h"

namespace {

const TracedPen gridPen{PS_DOT, 1, RGB(200, 200, 200)};
const TracedPen framePen{PS_SOLID, 1, RGB(0, 0, 0)};
const TracedPen pressurePen{PS_SOLID, 3, RGB(0, 0, 0)};
const TracedPen threeHourPen{PS_SOLID, 2, RGB(0, 180, 0)};
const TracedPen oneHourPen{PS_SOLID, 2, RGB(0, 0, 255)};

bool operator==(const TracedPen& a, const TracedPen& b)
{
    return a.style == b.style && a.width == b.width && a.colour == b.colour;
}

std::string show(const TracedLine& line)
{
    char text[64];
    std::snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", line.from.x, line.from.y, line.to.x, line.to.y);
    return text;
}

using Lines = std::vector<std::string>;

// The lines of one pen, without the legend samples on row 18.
Lines drawnWith(const MetafileTrace& trace, const TracedPen& pen)
{
    Lines shown;
    for (const TracedLine& line : trace.lines)
        if (line.pen == pen && !(line.from.y == 18 && line.to.y == 18)) shown.push_back(show(line));
    return shown;
}

bool contains(const Lines& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class PressureChart : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetMonitorSettings();
        monitorSettings.ERR = 1;
        monitorSettings.LANG = English;
        monitorSettings.LO = 0;
        monitorSettings.T1 = monitorSettings.T3 = 1;
        monitorSettings.DKS = 0;
        pressureHistory = PressureHistory{};
        resetDrawingTools();
        createScreenPens();
        shellSeam.logEvent = appendEventLine;
    }
    void TearDown() override
    {
        resetDrawingTools();
        resetShellSeam();
        pressureHistory = PressureHistory{};
        resetMonitorSettings();
    }
    static MetafileTrace draw(int width = 1000, int height = 700)
    {
        return MetafileTrace([=](HDC dc) { drawPressureChart(dc, width, height); });
    }
    static void fill(int slot, int32_t pressure, int32_t t1 = 0, int32_t t3 = 0, int32_t variation = 0)
    {
        pressureHistory.slots[slot].pressure = pressure;
        pressureHistory.slots[slot].tendency1h = t1;
        pressureHistory.slots[slot].tendency3h = t3;
        pressureHistory.slots[slot].variation = variation;
    }

    ScratchFolder folder_;
};

} // namespace

TEST_F(PressureChart, EmptyHistoryDrawsLegendFrameScalesGridAndTimeAxisButNoCurve)
{
    MetafileTrace trace = draw();
    ASSERT_EQ(trace.rectangles.size(), 1u);
    // Kept inclusive in the metafile: Rectangle(50, 35, 951, 666) covers 50..950 by 35..665.
    const RECT& box = trace.rectangles[0].box;
    EXPECT_EQ(std::vector<long>({box.left, box.top, box.right, box.bottom}), std::vector<long>({50, 35, 950, 665}));
    EXPECT_TRUE(trace.rectangles[0].pen == framePen);
    EXPECT_EQ(trace.rectangles[0].brushColour, RGB(245, 245, 255));

    std::map<std::string, std::pair<long, long>> at;
    for (const TracedText& text : trace.texts) at[text.text] = {text.at.x, text.at.y};
    EXPECT_EQ(trace.texts.size(), 43u);
    EXPECT_EQ(at.size(), 43u);
    using P = std::pair<long, long>;
    EXPECT_EQ(at["air pressure"], P(250, 10));
    EXPECT_EQ(at["1 hr tendency"], P(500, 10));
    EXPECT_EQ(at["3 hrs tendency"], P(750, 10));
    for (int i = 0; i <= 10; ++i) {
        char label[8];
        std::snprintf(label, sizeof label, "%4d", 950 + 10 * i);
        EXPECT_EQ(at[label], P(955, 657 - 63 * i)) << label;
    }
    EXPECT_EQ(at["-10"], P(20, 657));
    EXPECT_EQ(at["  0"], P(20, 342));
    EXPECT_EQ(at["+10"], P(20, 27));
    EXPECT_EQ(at[" -6h"], P(837, 671));  // slot 12 at x 847
    EXPECT_EQ(at["-48h"], P(109, 671));

    ASSERT_GE(trace.lines.size(), 3u);
    EXPECT_EQ(show(trace.lines[0]), "(167,18)-(240,18)");
    EXPECT_TRUE(trace.lines[0].pen == framePen);
    EXPECT_EQ(show(trace.lines[1]), "(417,18)-(490,18)");
    EXPECT_TRUE(trace.lines[1].pen == oneHourPen);
    EXPECT_EQ(show(trace.lines[2]), "(667,18)-(740,18)");
    EXPECT_TRUE(trace.lines[2].pen == threeHourPen);

    Lines grid = drawnWith(trace, gridPen);
    EXPECT_EQ(grid.size(), 19u + 8u);
    for (const char* line : {"(50,633)-(950,633)", "(50,350)-(950,350)", "(50,66)-(950,66)", "(847,665)-(847,35)"})
        EXPECT_TRUE(contains(grid, line)) << line;
    Lines frame = drawnWith(trace, framePen);
    EXPECT_EQ(frame.size(), 101u + 21u);
    EXPECT_TRUE(contains(frame, "(950,35)-(955,35)") && contains(frame, "(50,665)-(45,665)"));

    std::vector<long> rowsAt847;
    for (size_t i = 0; i < trace.pixels.size(); ++i) {
        EXPECT_EQ(trace.pixelColours[i], RGB(0, 0, 0));
        if (trace.pixels[i].x == 847) rowsAt847.push_back(trace.pixels[i].y);
    }
    EXPECT_EQ(rowsAt847, std::vector<long>({666, 667, 668, 666, 667, 668, 669, 670, 671}));
    EXPECT_EQ(trace.pixels.size(), 52u * 3 + 9 * 6);

    EXPECT_TRUE(drawnWith(trace, pressurePen).empty());
    EXPECT_TRUE(drawnWith(trace, threeHourPen).empty());
    EXPECT_TRUE(drawnWith(trace, oneHourPen).empty());
    EXPECT_FALSE(folder_.exists("monitor.err"));

    monitorSettings.LANG = German;
    EXPECT_EQ(draw().texts[0].text, "Luftdruck");
}

TEST_F(PressureChart, PressureCurveJoinsTheFilledSlots)
{
    monitorSettings.T1 = monitorSettings.T3 = 0;
    fill(0, 100000);
    fill(12, 100000);
    fill(20, 99000);
    EXPECT_EQ(drawnWith(draw(), pressurePen), Lines({"(950,350)-(947,350)", "(947,350)-(844,350)", "(844,350)-(774,413)"}));

    // Above the scale: the first move keeps its height, the point goes to the top row.
    pressureHistory = PressureHistory{};
    fill(0, 120000);
    EXPECT_EQ(drawnWith(draw(), pressurePen), Lines({"(950,-910)-(947,0)"}));
}

TEST_F(PressureChart, LoOneMovesOnlyThePressureCurveUpByHalfThePlotHeight)
{
    fill(0, 99860, 12, -20);
    fill(3, 98000, -5, 40);
    fill(50, 100300, 0, 7);
    MetafileTrace low = draw();
    monitorSettings.LO = 1;
    MetafileTrace high = draw();

    Lines moved;
    for (const TracedLine& line : low.lines)
        if (line.pen == pressurePen)
            moved.push_back(show(TracedLine{{line.from.x, line.from.y - 315}, {line.to.x, line.to.y - 315}, {}}));
    EXPECT_EQ(moved.size(), 3u);
    EXPECT_EQ(drawnWith(high, pressurePen), moved);
    EXPECT_EQ(drawnWith(high, threeHourPen), drawnWith(low, threeHourPen));
    EXPECT_EQ(drawnWith(high, oneHourPen), drawnWith(low, oneHourPen));
    EXPECT_EQ(drawnWith(high, oneHourPen).size(), 3u);
    EXPECT_EQ(high.texts[3].text, " 900");
    EXPECT_EQ(high.texts[13].text, "1000");
}

TEST_F(PressureChart, TendencyCurvesFollowT1AndT3)
{
    fill(0, 100000, -50, 100);
    fill(6, 100000);
    monitorSettings.T1 = 0;
    MetafileTrace threeHourOnly = draw();
    EXPECT_EQ(drawnWith(threeHourOnly, threeHourPen), Lines({"(950,35)-(947,35)", "(947,35)-(896,350)"}));
    EXPECT_TRUE(drawnWith(threeHourOnly, oneHourPen).empty());

    monitorSettings.T1 = 1;
    monitorSettings.T3 = 0;
    MetafileTrace oneHourOnly = draw();
    EXPECT_EQ(drawnWith(oneHourOnly, oneHourPen), Lines({"(950,508)-(947,508)", "(947,508)-(896,350)"}));
    EXPECT_TRUE(drawnWith(oneHourOnly, threeHourPen).empty());
    EXPECT_EQ(drawnWith(oneHourOnly, pressurePen).size(), 2u);
}

TEST_F(PressureChart, VariationMarksOnlyAboveTwoUnits)
{
    // A plot 1500 high: one unit of variation is half a unit of length.
    monitorSettings.T1 = monitorSettings.T3 = 0;
    monitorSettings.DKS = 1;
    fill(0, 100000, 0, 0, 4);  // 2.0: no mark
    fill(1, 100000, 0, 0, 5);  // 2.5: a bar of 2 either way
    MetafileTrace marked = draw(1000, 1570);
    EXPECT_EQ(drawnWith(marked, pressurePen), Lines({"(950,785)-(947,785)", "(947,785)-(939,785)",
                                                     "(939,785)-(939,783)", "(939,783)-(939,787)"}));
    EXPECT_EQ(marked.moves.back().y, 785);

    monitorSettings.DKS = 0;
    EXPECT_EQ(drawnWith(draw(1000, 1570), pressurePen).size(), 2u);
}

TEST_F(PressureChart, FailedPenSelectionsLogEvent22AndDrawingGoesOn)
{
    HPEN grid = drawingPen(Pen::Grid);
    HPEN threeHour = drawingPen(Pen::Tendency3h);
    drawingPen(Pen::Grid) = nullptr;
    drawingPen(Pen::Tendency3h) = nullptr;  // selected, and checked, even with T3 off
    monitorSettings.T3 = 0;
    MetafileTrace trace = draw();
    drawingPen(Pen::Grid) = grid;
    drawingPen(Pen::Tendency3h) = threeHour;

    std::string log = folder_.read("monitor.err");
    size_t count = 0;
    for (size_t at = log.find("event nr. 22 error SelectObject \r\n"); at != std::string::npos;
         at = log.find("event nr. 22", at + 1))
        ++count;
    // The grid pen once; the three-hour pen for its legend sample and its curve.
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(trace.texts.size(), 43u);
    EXPECT_TRUE(contains(drawnWith(trace, framePen), "(50,350)-(950,350)"));  // the grid in the frame pen
}
