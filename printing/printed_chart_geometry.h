#pragma once
// Where the printed pressure chart puts things, in device units of the
// printer page (origin top left, y downward), and its plan. The time axis
// takes the longer side of the page: a page at least as wide as it is high
// carries the chart upright; a taller page carries it turned a quarter turn,
// time running up the long side and values growing rightward.
#include <cstdint>

#include "display/chart_banner.h"
#include "display/chart_plan.h"
#include "settings/monitor_settings.h"

struct PrintedChartLayout {
    int Wd, Hd;       // page width and height
    bool portrait;    // Hd > Wd: the chart is turned
    int m;            // margin, a tenth of the longer side
    int left, top, right, bottom;  // frame
    int S;            // extent of the value scales
    int T;            // extent of the time axis
    float u;          // one unit of the 100-unit value scale
    float v;          // a tenth of a hPa of pressure
    float s;          // one history slot
    int B;            // scale bottom, tenths of a hPa
    int centre;       // tendency zero line
};

PrintedChartLayout printedChartLayout(int Wd, int Hd, int32_t LO);

// Value coordinate (y upright, x turned) of scale unit j x step, from the
// frame's top (upright) or left side (turned).
int printedScalePosition(const PrintedChartLayout& layout, int j, int step);

// Time coordinate (x upright, y turned) of history slot i.
int printedSlotPosition(const PrintedChartLayout& layout, int slot);

// Value coordinate of a pressure in hundredths of a hPa, and of a tendency
// in tenths of a hPa; not limited to the frame or the page.
int printedPressurePosition(const PrintedChartLayout& layout, int32_t pressure);
int printedTendencyPosition(const PrintedChartLayout& layout, int32_t tendency);

// The whole page in the printer pens and a "SYSTEM_FONT" whose escapement
// follows the layout: title, frame, ticks, grid, labels, curves (T1, T3)
// and time marks, and the storm warning's banners across the top of the
// frame. A failed pen selection raises its fatal error; the context's own
// pen is put back. Every text is kept on the page; the curves are not.
DrawingPlan printedChartSteps(int Wd, int Hd, const TextMetrics& font, const PressureHistory& history,
                              const MonitorSettings& settings, const ChartBanner& banner = ChartBanner{});
