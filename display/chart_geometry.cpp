#include "display/chart_geometry.h"

#include "display/rounding.h"
#include "records/event_text.h"
#include "settings/ui_text.h"

// The scale steps and factors are single-precision floats and the products are
// formed in float before they are widened for rounding; positions therefore
// come out the same on every paint and on every compiler.

ChartLayout chartLayout(int clientWidth, int clientHeight)
{
    ChartLayout c{};
    c.R = clientWidth;
    c.B = clientHeight;
    c.yB = c.B - chartTop;
    c.H = c.B - 2 * chartTop;
    c.W = c.R - 2 * chartLeft;
    c.xR = c.R - chartLeft;
    c.yM = c.yB - c.H / 2;
    c.q = c.R / 4;
    c.e = c.R / 12;
    c.labelStep = static_cast<float>(c.H * 0.1);
    c.tickStep = static_cast<float>(c.H * 0.01);
    c.tendencyStep = static_cast<float>(c.H * 0.05);
    c.kT = static_cast<float>(c.H * 0.005);
    c.kP = static_cast<float>(c.H * 0.001);
    c.kV = static_cast<float>(c.H * (1.0 / 3000.0));
    c.sx = static_cast<float>(c.W + 1) / static_cast<float>(historyWindowSlots);
    return c;
}

int scaleRow(const ChartLayout& layout, int i, float step)
{
    float offset = static_cast<float>(i) * step;
    return clampToWindow(layout.yB - static_cast<int>(roundHalfUp(offset)));
}

int slotX(const ChartLayout& layout, int slot)
{
    float offset = static_cast<float>(slot) * layout.sx;
    return layout.xR - static_cast<int>(offset);
}

int tendencyY(const ChartLayout& layout, int32_t tendency)
{
    float y = static_cast<float>(layout.yM) - static_cast<float>(tendency) * layout.kT;
    return static_cast<int>(roundHalfUp(y));
}

int pressureY(const ChartLayout& layout, uint32_t pressure, int32_t LO)
{
    float base = static_cast<float>(10 * lowestPressureLabel(LO));  // tenths of a hPa
    float tenths = static_cast<float>(pressure * 0.1);
    float above = tenths - base;
    float v = above * layout.kP;
    float y = static_cast<float>(layout.yB) - v;
    return static_cast<int>(roundHalfUp(y));
}

int variationMarkLength(const ChartLayout& layout, uint32_t variation)
{
    float d = static_cast<float>(variation) * layout.kV;
    return d > 2.0f ? static_cast<int>(d) : 0;
}

namespace {

constexpr int legendTextY = 10;     // the legend's words
constexpr int legendSampleY = 18;   // the samples of their pens, ending this far before each word:
constexpr int legendSampleGap = 10;
constexpr int tickLength = 5;       // scale ticks outside the frame; the pressure labels follow them
constexpr int tendencyLabelX = 20;  // left end of the tendency labels
constexpr int curvePointShift = -3; // curve points stand left of their slot
constexpr int bannerPadding = 4;    // around a banner's text
// Three pixels below the frame at every hour, six at every six hours, which
// also carry a grid line and a label 10 units left of the slot and 6 below.
constexpr TimeMarks hourMarks{2, 102, 3, 0, false, false, 0, 0};
constexpr TimeMarks sixHourMarks{12, 96, 6, 0, true, true, -10, 6};

} // namespace

void planScreenFrame(ChartPlan& chart, const ChartLayout& c)
{
    addPen(chart, Pen::Frame, eventSelectObjectFailed);
    addPoint(chart, DrawingStep::SelectChartBrush, 0, 0);
    addPoint(chart, DrawingStep::Rectangle, chartLeft, chartTop);
    chart.steps.back().right = c.xR + 1;  // the rectangle stops short of these
    chart.steps.back().bottom = c.yB + 1;
}

// The banners stand inside the frame's top line, across the plot.
BannerPlace screenBannerPlace(const ChartLayout& c) { return {chartLeft + 1, c.xR, chartTop, 1, bannerPadding}; }

std::vector<BannerLine> screenBannerLines(const ChartLayout& c, const ChartBanner& banner, UiLanguage language)
{
    int width = (c.xR - chartLeft - 2 * bannerPadding) / screenFont.charWidth;
    return bannerLines(banner, language, width > 0 ? static_cast<size_t>(width) : 0);
}

bool screenBannerHit(int clientWidth, int clientHeight, const ChartBanner& banner, UiLanguage language, int x,
                     int y)
{
    const ChartLayout c = chartLayout(clientWidth, clientHeight);
    ChartPlan chart;
    chart.font = screenFont;
    const BannerPlace place = screenBannerPlace(c);
    int depth = bannerDepth(chart, place, screenBannerLines(c, banner, language).size());
    return depth > 0 && x >= place.oldSide && x < place.newSide && y >= chartTop && y < chartTop + depth;
}

DrawingPlan screenChartSteps(int clientWidth, int clientHeight, const PressureHistory& history,
                             const MonitorSettings& settings, const ChartBanner& banner)
{
    const ChartLayout c = chartLayout(clientWidth, clientHeight);
    ChartPlan chart;
    chart.font = screenFont;

    const TextId legend[3] = {txtLegendPressure, txtLegendTendency1h, txtLegendTendency3h};
    for (int column = 1; column <= 3; ++column)
        addText(chart, column * c.q, legendTextY, uiText(legend[column - 1], settings.LANG));
    const Pen samples[3] = {Pen::Frame, Pen::Tendency1h, Pen::Tendency3h};
    for (int column = 1; column <= 3; ++column) {
        addPen(chart, samples[column - 1], eventSelectObjectFailed);
        addLine(chart, column * c.q - c.e, legendSampleY, column * c.q - legendSampleGap, legendSampleY);
    }

    planScreenFrame(chart, c);

    const std::vector<int> tens = positions(10, [&](int i) { return scaleRow(c, i, c.labelStep); });
    const std::vector<int> fives = positions(20, [&](int i) { return scaleRow(c, i, c.tendencyStep); });
    planLabels(chart, tens, c.xR + tickLength, [&](int i) { return pressureLabel(i, settings.LO); });
    planTicks(chart, positions(100, [&](int i) { return scaleRow(c, i, c.tickStep); }), {{c.xR, tickLength}});
    planLabels(chart, fives, tendencyLabelX, tendencyLabel);
    planTicks(chart, fives, {{chartLeft, -tickLength}});

    addPen(chart, Pen::Grid, eventSelectObjectFailed);
    chart.steps.back().keepsReplacedPen = true;
    planTicks(chart, {fives.begin() + 1, fives.end() - 1}, {{chartLeft, c.xR - chartLeft}});
    const std::vector<int> times =
        positions(static_cast<int>(historyWindowSlots) - 1, [&](int s) { return slotX(c, s); });
    planTimeMarks(chart, times, c.yB, c.yB - c.H, hourMarks);
    planTimeMarks(chart, times, c.yB, c.yB - c.H, sixHourMarks);

    // The pens are selected, and checked, whether or not their curve is shown.
    addPen(chart, Pen::Tendency3h, eventSelectObjectFailed);
    if (settings.T3)
        planCurve(chart, history, times, c.xR, curvePointShift,
                  [&](const HistorySlot& slot) { return tendencyY(c, slot.tendency3h); });
    addPen(chart, Pen::Tendency1h, eventSelectObjectFailed);
    if (settings.T1)
        planCurve(chart, history, times, c.xR, curvePointShift,
                  [&](const HistorySlot& slot) { return tendencyY(c, slot.tendency1h); });
    addPen(chart, Pen::Pressure, eventSelectObjectFailed);
    SlotValue variationMarks = [&](const HistorySlot& slot) {
        return variationMarkLength(c, static_cast<uint32_t>(slot.variation));
    };
    SlotValue pressure = [&](const HistorySlot& slot) {
        return pressureY(c, static_cast<uint32_t>(slot.pressure), settings.LO);
    };
    planCurve(chart, history, times, c.xR, curvePointShift, pressure, settings.DKS ? variationMarks : nullptr);
    planFallingStretches(chart, history, times, c.xR, curvePointShift, pressure, Pen::PressureFalling,
                         eventSelectObjectFailed);
    planBanners(chart, screenBannerLines(c, banner, settings.LANG), screenBannerPlace(c));
    addPoint(chart, DrawingStep::PutBackPen, 0, 0);
    return chart.steps;
}
