#include "display/pressure_chart.h"

#include <cstring>
#include <string>

#include "acquisition/measurement_state.h"
#include "display/chart_geometry.h"
#include "display/drawing_tools.h"
#include "records/event_log.h"
#include "settings/monitor_settings.h"

namespace {

// A failed pen selection is reported and drawing goes on with the pen the
// context holds.
HGDIOBJ selectPen(HDC dc, HPEN pen)
{
    HGDIOBJ previous = SelectObject(dc, pen);
    if (!previous) logEvent(eventSelectObjectFailed);
    return previous;
}

void text(HDC dc, int x, int y, const std::string& s)
{
    TextOutA(dc, x, y, s.c_str(), static_cast<int>(s.size()));
}

void line(HDC dc, int x0, int y0, int x1, int y1)
{
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

uint32_t slotPressure(int s) { return static_cast<uint32_t>(pressureHistory.slots[s].pressure); }

void drawLegend(HDC dc, const ChartLayout& c)
{
    for (int column = 1; column <= 3; ++column)
        text(dc, column * c.q, 10, legendWord(uiLanguage(), column));
    const HPEN samples[3] = {screenPens.framePen, screenPens.tendency1hPen, screenPens.tendency3hPen};
    for (int column = 1; column <= 3; ++column) {
        selectPen(dc, samples[column - 1]);
        line(dc, column * c.q - c.e, 18, column * c.q - 10, 18);
    }
}

void drawScales(HDC dc, const ChartLayout& c)
{
    for (int i = 0; i <= 10; ++i)
        text(dc, c.R - 45, scaleRow(c, i, c.labelStep) - 8, pressureLabel(i, monitorSettings.LO));
    for (int i = 0; i <= 100; ++i) {
        int y = scaleRow(c, i, c.tickStep);
        line(dc, c.xR, y, c.R - 45, y);
    }
    for (int i = 0; i <= 20; ++i)
        text(dc, 20, scaleRow(c, i, c.tendencyStep) - 8, tendencyLabel(i));
    for (int i = 0; i <= 20; ++i) {
        int y = scaleRow(c, i, c.tendencyStep);
        line(dc, chartLeft, y, 45, y);
    }
}

void drawGridAndTimeAxis(HDC dc, const ChartLayout& c)
{
    for (int i = 1; i <= 19; ++i) {
        int y = scaleRow(c, i, c.tendencyStep);
        line(dc, chartLeft, y, c.xR, y);
    }
    const COLORREF black = RGB(0, 0, 0);
    for (int s = 0; s <= 102; s += 2) {
        int x = slotX(c, s);
        for (int k = 1; k <= 3; ++k) SetPixel(dc, x, c.yB + k, black);
    }
    for (int s = 0; s <= 96; s += 12) {
        int x = slotX(c, s);
        for (int k = 1; k <= 6; ++k) SetPixel(dc, x, c.yB + k, black);
        if (s == 0) continue;
        line(dc, x, c.yB, x, c.yB - c.H);
        text(dc, x - 10, c.yB + 6, timeLabel(s));
    }
}

// Empty slots leave no point: the curve joins the filled slots on either side.
void drawTendencyCurve(HDC dc, const ChartLayout& c, int32_t HistorySlot::*tendency)
{
    MoveToEx(dc, c.xR, tendencyY(c, pressureHistory.slots[0].*tendency), nullptr);
    for (int s = 0; s < chartSlots; ++s) {
        if (slotPressure(s) == 0) continue;
        LineTo(dc, slotX(c, s) - 3, clampToWindow(tendencyY(c, pressureHistory.slots[s].*tendency)));
    }
}

void drawPressureCurve(HDC dc, const ChartLayout& c)
{
    const int32_t LO = monitorSettings.LO;
    MoveToEx(dc, c.xR, pressureY(c, slotPressure(0), LO), nullptr);
    for (int s = 0; s < chartSlots; ++s) {
        if (slotPressure(s) == 0) continue;
        int x = slotX(c, s) - 3;
        int y = clampToWindow(pressureY(c, slotPressure(s), LO));
        LineTo(dc, x, y);
        if (!monitorSettings.DKS) continue;
        int d = variationMarkLength(c, static_cast<uint32_t>(pressureHistory.slots[s].variation));
        if (d == 0) continue;
        LineTo(dc, x, y - d);
        LineTo(dc, x, y + d);
        MoveToEx(dc, x, y, nullptr);
    }
}

} // namespace

void drawPressureChart(HDC dc, int clientWidth, int clientHeight)
{
    const ChartLayout c = chartLayout(clientWidth, clientHeight);
    drawLegend(dc, c);

    selectPen(dc, screenPens.framePen);
    SelectObject(dc, screenPens.chartBrush);
    Rectangle(dc, chartLeft, chartTop, c.R - 49, c.B - 34);
    drawScales(dc, c);

    HGDIOBJ penBeforeGrid = selectPen(dc, screenPens.gridPen);
    drawGridAndTimeAxis(dc, c);

    // The selections are made (and checked) whether or not a curve is shown.
    selectPen(dc, screenPens.tendency3hPen);
    if (monitorSettings.T3) drawTendencyCurve(dc, c, &HistorySlot::tendency3h);
    selectPen(dc, screenPens.tendency1hPen);
    if (monitorSettings.T1) drawTendencyCurve(dc, c, &HistorySlot::tendency1h);
    selectPen(dc, screenPens.pressurePen);
    drawPressureCurve(dc, c);

    SelectObject(dc, penBeforeGrid);
}
