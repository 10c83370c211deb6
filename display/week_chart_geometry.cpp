#include "display/week_chart_geometry.h"

#include "display/chart_geometry.h"
#include "display/week_plan.h"
#include "records/event_text.h"
#include "settings/ui_text.h"

namespace {

constexpr int headingY = 10;      // in the row of the 52-hour chart's legend
constexpr int scaleLabelGap = 6;  // between a pressure label's end and the frame
constexpr int dayLabelShift = 3;
constexpr int dayLabelGap = 6;
constexpr int dotLength = 2;

} // namespace

DrawingPlan screenWeekSteps(int clientWidth, int clientHeight, const std::vector<WeekRecord>& records,
                            int64_t nowMinute, const MonitorSettings& settings, const ChartBanner& banner)
{
    const ChartLayout c = chartLayout(clientWidth, clientHeight);
    ChartPlan chart;
    chart.font = screenFont;

    addText(chart, chartLeft, headingY,
            std::string(uiText(txtItemWeekView, settings.LANG)) + "   " + weekDates(nowMinute));
    planScreenFrame(chart, c);

    const WeekPens pens{Pen::WeekFine, Pen::WeekStrong, Pen::Grid, Pen::Frame, Pen::Frame, Pen::Pressure,
                        Pen::PressureFalling, eventSelectObjectFailed, 0};
    const WeekFrame frame{chartLeft, c.xR, c.yB, chartTop,
                          chartLeft - scaleLabelGap - 4 * screenFont.charWidth,
                          dayLabelShift, dayLabelGap, dotLength, pens};
    planWeek(chart, frame, records, nowMinute, settings.LO, settings.LANG);
    planBanners(chart, screenBannerLines(c, banner, settings.LANG), screenBannerPlace(c));
    addPoint(chart, DrawingStep::PutBackPen, 0, 0);
    return chart.steps;
}
