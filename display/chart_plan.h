#pragma once
// What the screen chart and the printed chart are both made of: scale marks,
// labels, grid, time marks and curves, planned in time and value coordinates.
// Time runs along the history, from the frame's side at the oldest slot to
// its side at the newest; value runs along the scales. Each chart's geometry
// says where its marks and slots stand; these functions say what is drawn
// there, and the chart's mapping puts it on the device.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "acquisition/measurement_state.h"
#include "display/drawing_plan.h"

// A font as the plans see it: the height of a line and the advance of one
// character (not the widest glyph box).
struct TextMetrics {
    int lineHeight;
    int charWidth;
};

// A chart being planned, and how its coordinates reach the device: time is
// x and value y, or on a turned chart the other way round.
struct ChartPlan {
    DrawingPlan steps;
    bool turned = false;     // values grow rightward, texts run downward; else values grow upward
    bool highFirst = false;  // the marks of a scale are listed from its top down
    TextMetrics font{};      // labels are centred on their marks by half a line
    bool onPage = false;     // a text that would leave the page is moved to its edge
    int pageWidth = 0, pageHeight = 0;
};

// Device coordinates grow rightward and downward: values grow against y on
// an upright chart and along x on a turned one.
inline int valueUp(bool turned) { return turned ? 1 : -1; }

// f(0), f(1), ... f(last): positions of marks or slots.
template <typename Position>
std::vector<int> positions(int last, Position f)
{
    std::vector<int> out;
    for (int i = 0; i <= last; ++i) out.push_back(f(i));
    return out;
}

// A curve point, or a screen scale row, before the device's first row or
// column (below 1) is drawn on it; the start of a curve is not limited.
int clampToWindow(int position);

// The lowest pressure label, 950 or 900 hPa.
int lowestPressureLabel(int32_t LO);

// Label texts of mark i counted from the bottom of the scale: pressure
// i = 0..10 ("%4d"), tendency i = 0..20 ("%+3d", "  0" for zero), and the
// time label of slot s ("%+3dh" with -s/2 hours).
std::string pressureLabel(int i, int32_t LO);
std::string tendencyLabel(int i);
std::string timeLabel(int slot);

void addPoint(ChartPlan& chart, DrawingStep::Kind kind, int time, int value);
void addLine(ChartPlan& chart, int time0, int value0, int time1, int value1);
void addText(ChartPlan& chart, int time, int value, std::string text);
void addPen(ChartPlan& chart, Pen pen, int eventNumber, int fatalErrorNumber = 0);
void addFont(ChartPlan& chart, int escapement);

// At each mark, a line from the side of the frame at time `edge`, `length`
// along time (negative: toward the older slots); every side in turn.
struct Tick {
    int edge, length;
};
void planTicks(ChartPlan& chart, const std::vector<int>& marks, std::initializer_list<Tick> ticks);

// A label beginning at `time` on each mark, centred on it; `label` gives the
// text of the mark counted from the bottom of the scale.
void planLabels(ChartPlan& chart, const std::vector<int>& marks, int time,
                const std::function<std::string(int)>& label);

// Marks at slots 0, every, 2 x every, ... up to last, on the low side of the
// frame and beyond it; every slot but 0 may have a line across the frame and
// a label.
struct TimeMarks {
    int every, last;
    int pixels;      // black pixels one unit apart, outward from the low side
    int lineLength;  // or a line as long, outward
    bool across;     // a line from the low side to the high side
    bool labelled;
    int labelShift;  // the label's time from the slot's
    int labelGap;    // and its distance outward from the low side
};
void planTimeMarks(ChartPlan& chart, const std::vector<int>& slotTimes, int lowSide, int highSide,
                   const TimeMarks& marks);

using SlotValue = std::function<int(const HistorySlot&)>;

// A curve from (startTime, slot 0's value) through the value of every filled
// slot at its time plus pointShift; empty slots are bridged. With a mark
// length, a point whose length is above 0 carries a bar that long either way.
void planCurve(ChartPlan& chart, const PressureHistory& history, const std::vector<int>& slotTimes, int startTime,
               int pointShift, const SlotValue& value, const SlotValue& markLength = nullptr);

// A slot where the pressure fell quickly: a three-hour tendency that raises
// the wind alarm's level 1, or a record that carried the wind alarm.
bool fellQuickly(const HistorySlot& slot);

// The stretches of a curve planned by planCurve with the same arguments that
// end at a slot where the pressure fell quickly, drawn again in `pen`
// (selected only when there is one).
void planFallingStretches(ChartPlan& chart, const PressureHistory& history, const std::vector<int>& slotTimes,
                          int startTime, int pointShift, const SlotValue& value, Pen pen, int eventNumber,
                          int fatalErrorNumber = 0);
