#include "printing/printed_chart.h"

#include "acquisition/measurement_state.h"
#include "display/chart_view.h"
#include "display/plan_replay.h"
#include "printing/print_jobs.h"
#include "printing/printed_chart_geometry.h"
#include "printing/printed_week_geometry.h"
#include "settings/monitor_settings.h"
#include "storedata/week_loader.h"
#include "storedata/week_records.h"

void drawPrintedChart()
{
    drawPrintedChartPage(printJob.printerDc, GetDeviceCaps(printJob.printerDc, HORZRES), GetDeviceCaps(printJob.printerDc, VERTRES));
}

void drawPrintedChartPage(HDC dc, int pageWidth, int pageHeight)
{
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    TextMetrics font;
    font.lineHeight = static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading);
    // The advance: for a fixed-pitch device font it is the pitch, as is the
    // widest glyph box; for a scalable font the box is about twice as wide.
    font.charWidth = static_cast<int>(metrics.tmAveCharWidth);
    // The chart that the window shows.
    if (chartView.shown == ChartKind::Week)
        replayPlan(dc, printedWeekSteps(pageWidth, pageHeight, font, weekHold.records, presentUtcMinute(),
                                        monitorSettings, currentChartBanner()));
    else
        replayPlan(dc, printedChartSteps(pageWidth, pageHeight, font, pressureHistory, monitorSettings,
                                         currentChartBanner()));
}
