#include "printing/printed_chart.h"

#include "acquisition/measurement_state.h"
#include "printing/page_drawing.h"
#include "printing/print_jobs.h"
#include "printing/printed_chart_geometry.h"
#include "settings/monitor_settings.h"

void drawPrintedChart()
{
    drawPrintedChartPage(printerDc, GetDeviceCaps(printerDc, HORZRES), GetDeviceCaps(printerDc, VERTRES));
}

void drawPrintedChartPage(HDC dc, int pageWidth, int pageHeight)
{
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    int lineHeight = static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading);
    int charWidth = static_cast<int>(metrics.tmMaxCharWidth);
    drawPageSteps(dc, printedChartSteps(pageWidth, pageHeight, lineHeight, charWidth, pressureHistory,
                                        monitorSettings));
}
