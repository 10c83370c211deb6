#pragma once
// Where the screen chart puts things, in device units of the client area
// (origin top left, y downward). Recomputed from the client size at every
// paint; kept free of <windows.h> so it is checked natively.
#include <cstdint>
#include <string>

#include "settings/monitor_settings.h"

constexpr int chartLeft = 50;
constexpr int chartTop = 35;
constexpr int chartSlots = 104;  // slots 0..103 of the history

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

// Positions above the window are drawn on its top row; nothing limits them below.
int clampToWindow(int y);

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

// The lowest pressure label, 950 or 900 hPa.
int lowestPressureLabel(int32_t LO);

// Legend word of column 1 (pressure), 2 (one-hour) or 3 (three-hour tendency).
const char* legendWord(UiLanguage language, int column);

// Pressure label i = 0..10 ("%4d"), tendency label i = 0..20 ("%+3d", "  0"
// for zero) and time label of slot s ("%+3dh" with -s/2 hours).
std::string pressureLabel(int i, int32_t LO);
std::string tendencyLabel(int i);
std::string timeLabel(int slot);
