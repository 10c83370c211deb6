#pragma once
// Where the screen chart puts things, in device units of the client area
// (origin top left, y downward), and its plan. Recomputed from the client
// size at every paint; kept free of <windows.h> so it is checked natively.
#include <cstdint>

#include "display/chart_banner.h"
#include "display/chart_plan.h"
#include "settings/monitor_settings.h"

// The frame's margins: left and right (the scales and their labels), top and
// bottom (the legend, the time labels).
constexpr int chartLeft = 50;
constexpr int chartTop = 35;

// The window's own font as the screen charts place their labels for it.
constexpr TextMetrics screenFont{16, 8};

struct ChartLayout {
    int R;   // client width
    int B;   // client height
    int yB;  // baseline, bottom edge of the plot area
    int H;   // plot height
    int W;   // plot width
    int xR;  // right edge of the plot area: slot 0, now
    int yM;  // tendency 0
    int q;   // legend column step
    int e;   // legend samples begin this far left of each word
    float labelStep;     // 10 hPa of pressure
    float tickStep;      // 1 hPa of pressure
    float tendencyStep;  // 1 hPa of tendency
    float kT;            // one unit of tendency1h / tendency3h
    float kP;            // 0.1 hPa of pressure
    float kV;            // one unit of variation
    float sx;            // horizontal slot spacing
};

ChartLayout chartLayout(int clientWidth, int clientHeight);

// Row of scale mark i for a scale step, clamped.
int scaleRow(const ChartLayout& layout, int i, float step);

// x of history slot s; curve points stand 3 units left of it.
int slotX(const ChartLayout& layout, int slot);

// y of a tendency in tenths of a hPa, before clamping.
int tendencyY(const ChartLayout& layout, int32_t tendency);

// y of a pressure in hundredths of a hPa on the scale chosen by LO, before clamping.
int pressureY(const ChartLayout& layout, uint32_t pressure, int32_t LO);

// Half-length of the variation bar, 0 when the mark is 2 units or less.
int variationMarkLength(const ChartLayout& layout, uint32_t variation);

// The plot frame in the frame pen (a failed selection logs its event), filled with the chart brush.
void planScreenFrame(ChartPlan& chart, const ChartLayout& layout);

// Where the storm warning's banners stand on a screen chart with this
// frame, and their rows in that language: the same on either view.
BannerPlace screenBannerPlace(const ChartLayout& layout);
std::vector<BannerLine> screenBannerLines(const ChartLayout& layout, const ChartBanner& banner,
                                          UiLanguage language);

// The chart of history slots 0..103 for a client area of that size: legend,
// frame, scales, grid, time axis and curves, with LO, T1, T3, DKS and LANG
// of the settings, in the screen pens and the context's own font, and the
// storm warning's banners. A failed pen selection logs its event; the pen in
// place before the grid is put back.
DrawingPlan screenChartSteps(int clientWidth, int clientHeight, const PressureHistory& history,
                             const MonitorSettings& settings, const ChartBanner& banner = ChartBanner{});

// Whether a click at (x, y) of the client area falls on a banner.
bool screenBannerHit(int clientWidth, int clientHeight, const ChartBanner& banner, UiLanguage language, int x,
                     int y);
