#include "display/chart_plan.h"

#include <cstdio>

#include "acquisition/wind_alarm.h"

int clampToWindow(int position) { return position < 1 ? 0 : position; }

int lowestPressureLabel(int32_t LO) { return LO == 0 ? 950 : 900; }

std::string pressureLabel(int i, int32_t LO)
{
    char text[16];
    std::snprintf(text, sizeof text, "%4d", lowestPressureLabel(LO) + 10 * i);
    return text;
}

std::string tendencyLabel(int i)
{
    int v = i - 10;
    if (v == 0) return "  0";
    char text[16];
    std::snprintf(text, sizeof text, "%+3d", v);
    return text;
}

std::string timeLabel(int slot)
{
    char text[16];
    std::snprintf(text, sizeof text, "%+3dh", -slot / 2);
    return text;
}

void addPoint(ChartPlan& chart, DrawingStep::Kind kind, int time, int value)
{
    chart.steps.push_back(chart.turned ? pointStep(kind, value, time) : pointStep(kind, time, value));
}

void addLine(ChartPlan& chart, int time0, int value0, int time1, int value1)
{
    addPoint(chart, DrawingStep::MoveTo, time0, value0);
    addPoint(chart, DrawingStep::LineTo, time1, value1);
}

// On a page a text is placed by the default font's metrics and must land on
// the paper: one that would begin left of or above the page starts at its
// edge, one that would run past the right or lower edge ends there. A turned
// text's glyphs face right: it hangs left of its point and runs down from it.
void addText(ChartPlan& chart, int time, int value, std::string text)
{
    addPoint(chart, DrawingStep::Text, time, value);
    DrawingStep& step = chart.steps.back();
    step.text = std::move(text);
    if (!chart.onPage) return;
    int length = static_cast<int>(step.text.size()) * chart.font.charWidth;
    int left = chart.turned ? step.x - chart.font.lineHeight : step.x;
    int right = chart.turned ? step.x : step.x + length;
    int bottom = chart.turned ? step.y + length : step.y + chart.font.lineHeight;
    int dx = 0, dy = 0;
    if (right > chart.pageWidth) dx = chart.pageWidth - right;
    if (left + dx < 0) dx = -left;
    if (bottom > chart.pageHeight) dy = chart.pageHeight - bottom;
    if (step.y + dy < 0) dy = -step.y;
    step.x += dx;
    step.y += dy;
}

void addPen(ChartPlan& chart, Pen pen, int eventNumber, int fatalErrorNumber)
{
    DrawingStep step;
    step.kind = DrawingStep::SelectPen;
    step.pen = pen;
    step.eventNumber = eventNumber;
    step.fatalErrorNumber = fatalErrorNumber;
    chart.steps.push_back(step);
}

void addFont(ChartPlan& chart, int escapement)
{
    DrawingStep step;
    step.kind = DrawingStep::SelectFont;
    step.escapement = escapement;
    chart.steps.push_back(step);
}

void planTicks(ChartPlan& chart, const std::vector<int>& marks, std::initializer_list<Tick> ticks)
{
    for (int mark : marks)
        for (const Tick& tick : ticks) addLine(chart, tick.edge, mark, tick.edge + tick.length, mark);
}

void planLabels(ChartPlan& chart, const std::vector<int>& marks, int time,
                const std::function<std::string(int)>& label)
{
    int count = static_cast<int>(marks.size());
    for (int i = 0; i < count; ++i)
        addText(chart, time, marks[i] + valueUp(chart.turned) * (chart.font.lineHeight / 2),
                label(chart.highFirst ? count - 1 - i : i));
}

void planTimeMarks(ChartPlan& chart, const std::vector<int>& slotTimes, int lowSide, int highSide,
                   const TimeMarks& marks)
{
    int outward = -valueUp(chart.turned);
    for (int slot = 0; slot <= marks.last; slot += marks.every) {
        int time = slotTimes[slot];
        for (int k = 1; k <= marks.pixels; ++k) addPoint(chart, DrawingStep::BlackPixel, time, lowSide + outward * k);
        if (marks.lineLength) addLine(chart, time, lowSide, time, lowSide + outward * marks.lineLength);
        if (slot == 0) continue;
        if (marks.across) addLine(chart, time, lowSide, time, highSide);
        if (marks.labelled)
            addText(chart, time + marks.labelShift, lowSide + outward * marks.labelGap, timeLabel(slot));
    }
}

void planCurve(ChartPlan& chart, const PressureHistory& history, const std::vector<int>& slotTimes, int startTime,
               int pointShift, const SlotValue& value, const SlotValue& markLength)
{
    addPoint(chart, DrawingStep::MoveTo, startTime, value(history.slots[0]));
    for (size_t s = 0; s < historyWindowSlots; ++s) {
        const HistorySlot& slot = history.slots[s];
        if (slot.pressure == 0) continue;
        int time = slotTimes[s] + pointShift;
        int at = clampToWindow(value(slot));
        addPoint(chart, DrawingStep::LineTo, time, at);
        int length = markLength ? markLength(slot) : 0;
        if (length == 0) continue;
        addPoint(chart, DrawingStep::LineTo, time, at - length);
        addPoint(chart, DrawingStep::LineTo, time, at + length);
        addPoint(chart, DrawingStep::MoveTo, time, at);
    }
}

bool fellQuickly(const HistorySlot& slot) { return slot.tendency3h <= windWarningTendency3h() || slot.windAlarm == 1; }

void planFallingStretches(ChartPlan& chart, const PressureHistory& history, const std::vector<int>& slotTimes,
                          int startTime, int pointShift, const SlotValue& value, Pen pen, int eventNumber,
                          int fatalErrorNumber)
{
    bool penSelected = false;
    int time0 = startTime, value0 = value(history.slots[0]);
    for (size_t s = 0; s < historyWindowSlots; ++s) {
        const HistorySlot& slot = history.slots[s];
        if (slot.pressure == 0) continue;
        int time = slotTimes[s] + pointShift;
        int at = clampToWindow(value(slot));
        if (fellQuickly(slot)) {
            if (!penSelected) addPen(chart, pen, eventNumber, fatalErrorNumber);
            penSelected = true;
            addLine(chart, time0, value0, time, at);
        }
        time0 = time;
        value0 = at;
    }
}
