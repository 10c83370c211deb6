#include "printing/printed_chart_geometry.h"

#include <cstring>

#include "display/rounding.h"
#include "acquisition/pressure_correction.h"
#include "records/event_text.h"
#include "settings/ui_text.h"

namespace {

int rounded(double value) { return static_cast<int>(roundHalfUp(value)); }

// A product of a loop index with a float factor is exact in double here (a
// 24-bit mantissa times a small integer), so double carries it as extended
// precision would.
double indexed(int index, float factor) { return static_cast<double>(index) * static_cast<double>(factor); }

constexpr int majorTick = 25;       // scale ticks outside the frame at every 5 or 10 units
constexpr int minorTick = 13;       // and at every unit
constexpr int curveStartInside = 1; // a curve starts this far inside the newest side, so that
                                    // a lone slot 0 still leaves a visible stroke

// What tells the turned page from the upright one, beyond the exchange of
// x and y that the plan's mapping makes.
struct PageOrientation {
    int escapement;               // of every text: upright 0, running downward 2700
    int titleShift;               // the title's time from the middle of the page (below 0: older)
    int pressureTickStep;         // major ticks of the pressure scale every so many units
    int gridPenError;             // fatal error of a failed grid pen
    int pressureLabelAdvances;    // pressure labels begin this many characters before the frame
    int tendencyLabelGap;         // tendency labels begin this far after the frame
    bool uprightFontAfterLabels;  // an upright font is selected after the labels
    bool singleTendencyOffset;    // a tendency's offset from the centre is rounded to 32 bits first
    TimeMarks timeMarks;          // every six hours: pixels below the frame, or lines left of it,
                                  // and labels
};
constexpr PageOrientation uprightPage{
    0, 0, 10, fatalChartGridPenUpright, 6, 40, false, true, {12, 96, 5, 0, false, true, -10, 12}};
constexpr PageOrientation turnedPage{
    2700, -100, 5, fatalChartGridPenTurned, 5, 35, true, false, {12, 96, 0, 30, false, true, -60, 50}};

const PageOrientation& orientation(const PrintedChartLayout& c) { return c.portrait ? turnedPage : uprightPage; }

// The frame's sides as value coordinates: at the bottom and at the top of the scales.
int lowSide(const PrintedChartLayout& c) { return valueUp(c.portrait) > 0 ? c.m : c.m + c.S; }
int highSide(const PrintedChartLayout& c) { return valueUp(c.portrait) > 0 ? c.m + c.S : c.m; }

} // namespace

PrintedChartLayout printedChartLayout(int Wd, int Hd, int32_t LO)
{
    PrintedChartLayout c{};
    c.Wd = Wd;
    c.Hd = Hd;
    c.portrait = Hd > Wd;
    const int along = c.portrait ? Hd : Wd;   // the page along the time axis
    const int across = c.portrait ? Wd : Hd;  // and along the value scales
    c.m = along / 10;
    c.left = c.m;
    c.top = c.m;
    c.right = Wd - c.m;
    c.bottom = Hd - c.m;
    c.S = across - 2 * c.m;
    c.T = along - 2 * c.m;
    c.u = static_cast<float>(c.S * 0.01);
    c.v = static_cast<float>(c.S * 0.001);
    c.s = static_cast<float>(c.T * (1.0 / historyWindowSlots));
    c.B = 10 * lowestPressureLabel(LO);
    c.centre = across / 2;
    return c;
}

int printedScalePosition(const PrintedChartLayout& c, int j, int step)
{
    return c.m + rounded(indexed(j, c.u) * step);
}

int printedSlotPosition(const PrintedChartLayout& c, int slot)
{
    return c.m + c.T - static_cast<int>(indexed(slot, c.s));
}

int printedPressurePosition(const PrintedChartLayout& c, int32_t pressure)
{
    // Single precision throughout, each step rounded to 32 bits.
    float tenths = static_cast<float>(static_cast<uint32_t>(pressure)) * 0.1f;
    float aboveBottom = tenths - static_cast<float>(c.B);
    float P = aboveBottom * c.v;
    float position = static_cast<float>(lowSide(c)) + static_cast<float>(valueUp(c.portrait)) * P;
    return rounded(position);
}

int printedTendencyPosition(const PrintedChartLayout& c, int32_t tendency)
{
    double Q = static_cast<double>(tendency) * 0.5 * static_cast<double>(c.u) * valueUp(c.portrait);
    if (orientation(c).singleTendencyOffset) Q = static_cast<float>(Q);
    float position = static_cast<float>(c.centre + Q);
    return rounded(position);
}

DrawingPlan printedChartSteps(int Wd, int Hd, const TextMetrics& font, const PressureHistory& history,
                              const MonitorSettings& settings, const ChartBanner& banner)
{
    const PrintedChartLayout c = printedChartLayout(Wd, Hd, settings.LO);
    const PageOrientation& o = orientation(c);
    const int up = valueUp(c.portrait);
    const int oldSide = c.m, newSide = c.m + c.T;
    // The marks count from the frame's top side upright, from its left side turned.
    ChartPlan chart{{}, c.portrait, up < 0, font, true, Wd, Hd};

    // The title stands half way along the page's time axis and half a margin
    // inside its edge beyond the top of the scales.
    const int pageTop = highSide(c) + up * c.m;
    addFont(chart, o.escapement);
    // The pressures drawn are corrected; the heading says by how much, and
    // starts that much older so that it still ends where the title alone does.
    std::string title = uiText(txtPrintedChartTitle);
    const std::string correction = correctionInForce(settings, settings.LANG);
    if (!correction.empty()) title += ", " + correction;
    const int longer = static_cast<int>(title.size() - std::strlen(uiText(txtPrintedChartTitle))) * font.charWidth;
    addText(chart, (c.T + 2 * c.m) / 2 + o.titleShift - longer, pageTop - up * (c.m / 2), title);

    addPen(chart, Pen::PrintBlack5, 0, fatalChartFramePen);
    const int corners[5][2] = {{c.left, c.top}, {c.left, c.bottom}, {c.right, c.bottom}, {c.right, c.top},
                               {c.left, c.top}};
    for (int n = 0; n < 5; ++n)
        chart.steps.push_back(pointStep(n ? DrawingStep::LineTo : DrawingStep::MoveTo, corners[n][0],
                                        corners[n][1]));
    const std::vector<int> tens = positions(10, [&](int j) { return printedScalePosition(c, j, 10); });
    const std::vector<int> fives = positions(20, [&](int j) { return printedScalePosition(c, j, 5); });
    const int step = o.pressureTickStep;
    planTicks(chart, positions(100 / step, [&](int j) { return printedScalePosition(c, j, step); }),
              {{oldSide, -majorTick}});
    planTicks(chart, fives, {{newSide, majorTick}});
    planTicks(chart, positions(100, [&](int j) { return printedScalePosition(c, j, 1); }),
              {{oldSide, -minorTick}, {newSide, minorTick}});

    addPen(chart, Pen::PrintGrid, 0, o.gridPenError);
    planTicks(chart, {fives.begin() + 1, fives.end() - 1}, {{oldSide, c.T}});

    addFont(chart, o.escapement);
    planLabels(chart, tens, oldSide - o.pressureLabelAdvances * font.charWidth,
               [&](int i) { return pressureLabel(i, settings.LO); });
    planLabels(chart, fives, newSide + o.tendencyLabelGap, tendencyLabel);
    if (o.uprightFontAfterLabels) addFont(chart, uprightPage.escapement);

    const std::vector<int> times =
        positions(static_cast<int>(historyWindowSlots) - 1, [&](int i) { return printedSlotPosition(c, i); });
    const int start = newSide - curveStartInside;
    addPen(chart, Pen::PrintBlack7, 0, fatalChartCurvePen);
    SlotValue pressure = [&](const HistorySlot& slot) { return printedPressurePosition(c, slot.pressure); };
    planCurve(chart, history, times, start, 0, pressure);
    planFallingStretches(chart, history, times, start, 0, pressure, Pen::PrintRed, 0, fatalChartCurvePen);
    if (settings.T1 != 0) {
        addPen(chart, Pen::PrintBlue, 0, fatalChartCurvePen);
        planCurve(chart, history, times, start, 0,
                  [&](const HistorySlot& slot) { return printedTendencyPosition(c, slot.tendency1h); });
    }
    if (settings.T3 != 0) {
        addPen(chart, Pen::PrintGreen, 0, fatalChartCurvePen);
        planCurve(chart, history, times, start, 0,
                  [&](const HistorySlot& slot) { return printedTendencyPosition(c, slot.tendency3h); });
    }

    addPen(chart, Pen::PrintBlack3, 0, fatalChartCurvePen);
    addFont(chart, o.escapement);
    planTimeMarks(chart, times, lowSide(c), highSide(c), o.timeMarks);
    // Inside the frame's line, which is five units wide.
    const int padding = font.lineHeight / 4;
    const int width = font.charWidth > 0 ? (c.T - 2 * padding) / font.charWidth : 0;
    planBanners(chart, bannerLines(banner, settings.LANG, width > 0 ? static_cast<size_t>(width) : 0),
                {oldSide + 3, newSide - 2, highSide(c), 3, padding});
    // The printer pens live until program end; no context keeps one selected.
    addPoint(chart, DrawingStep::PutBackPen, 0, 0);
    return chart.steps;
}
