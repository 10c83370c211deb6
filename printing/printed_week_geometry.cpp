#include "printing/printed_week_geometry.h"

#include "display/week_plan.h"
#include "printing/printed_chart_geometry.h"
#include "records/event_text.h"
#include "settings/ui_text.h"

namespace {

constexpr int dayLabelShift = 10;
constexpr int dayLabelGap = 30;   // beyond the frame's five-unit line
constexpr int dotLength = 10;
constexpr int scaleLabelAdvances = 5;  // four digits and a space before the frame

} // namespace

DrawingPlan printedWeekSteps(int Wd, int Hd, const TextMetrics& font, const std::vector<WeekRecord>& records,
                             int64_t nowMinute, const MonitorSettings& settings, const ChartBanner& banner)
{
    // The margins and extents of the 52-hour page, so both prints look alike.
    const PrintedChartLayout c = printedChartLayout(Wd, Hd, settings.LO);
    const int up = valueUp(c.portrait);
    const int oldSide = c.m, newSide = c.m + c.T;
    const int lowSide = up > 0 ? c.m : c.m + c.S, highSide = up > 0 ? c.m + c.S : c.m;
    ChartPlan chart{{}, c.portrait, false, font, true, Wd, Hd};

    // The heading runs along the time axis, half a margin beyond the top of the scale.
    addFont(chart, c.portrait ? 2700 : 0);
    const std::string heading = std::string(uiText(txtPrintedWeekTitle)) + "  " + weekDates(nowMinute);
    const int headingLength = static_cast<int>(heading.size()) * font.charWidth;
    addText(chart, (oldSide + newSide - headingLength) / 2, highSide + up * (c.m / 2), heading);

    const WeekPens pens{Pen::PrintWeekFine, Pen::PrintWeekStrong, Pen::PrintGrid, Pen::PrintBlack3,
                        Pen::PrintBlack5, Pen::PrintBlack5, Pen::PrintRed, 0, fatalChartCurvePen};
    const WeekFrame frame{oldSide, newSide, lowSide, highSide, oldSide - scaleLabelAdvances * font.charWidth,
                          dayLabelShift, dayLabelGap, dotLength, pens};
    planWeek(chart, frame, records, nowMinute, settings.LO, settings.LANG);

    // Inside the frame's line, which is five units wide.
    const int padding = font.lineHeight / 4;
    const int width = font.charWidth > 0 ? (c.T - 2 * padding) / font.charWidth : 0;
    planBanners(chart, bannerLines(banner, settings.LANG, width > 0 ? static_cast<size_t>(width) : 0),
                {oldSide + 3, newSide - 2, highSide, 3, padding});
    addPoint(chart, DrawingStep::PutBackPen, 0, 0);
    return chart.steps;
}
