#pragma once
// Where the printed pressure chart puts things, in device units of the
// printer page (origin top left, y downward). A page at least as wide as it
// is high carries the chart upright; a taller page carries it turned a
// quarter turn, time running up the long side and values growing rightward.
#include <cstdint>
#include <string>

#include "acquisition/measurement_state.h"
#include "display/drawing_plan.h"
#include "settings/monitor_settings.h"

constexpr int printedChartSlots = 104;  // slots 0..103 of the history

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

// Value coordinate (y upright, x turned) of scale unit j x step.
int printedScalePosition(const PrintedChartLayout& layout, int j, int step);

// Time coordinate (x upright, y turned) of history slot i.
int printedSlotPosition(const PrintedChartLayout& layout, int slot);

// Value coordinate of a pressure in hundredths of a hPa, and of a tendency
// in tenths of a hPa; not limited to the frame or the page.
int printedPressurePosition(const PrintedChartLayout& layout, int32_t pressure);
int printedTendencyPosition(const PrintedChartLayout& layout, int32_t tendency);

// Label texts: pressure label j = 0..10 ("%4d", in the order the scale is
// laid out on the page), tendency label j = 0..20 ("%+3d", "  0" for zero)
// and time label of slot i ("%3dh", -6 hours per 12 slots).
std::string printedPressureLabel(const PrintedChartLayout& layout, int j);
std::string printedTendencyLabel(const PrintedChartLayout& layout, int j);
std::string printedTimeLabel(int slot);

// The printer's default font as the layout sees it: the height of a line
// (tmHeight + tmExternalLeading) and the advance of one character. The
// advance, not the widest glyph box, is what places four digits in a margin.
struct TextMetrics {
    int lineHeight;
    int charWidth;
};

// The page area a text of that many characters covers in that font, drawn
// upright (escapement 0) or running downward (2700) from (x, y).
struct PrintedTextBox {
    int left, top, right, bottom;
};
PrintedTextBox printedTextBox(int x, int y, int characters, int escapement, const TextMetrics& font);

// The whole page: title, frame, ticks, grid, labels, curves and time marks.
// Every text is kept on the page; the curves are not.
DrawingPlan printedChartSteps(int Wd, int Hd, const TextMetrics& font, const PressureHistory& history,
                            const MonitorSettings& settings);
