#include "printing/printed_chart_geometry.h"

#include <cstdio>
#include <utility>

#include "display/rounding.h"
#include "records/event_text.h"

namespace {

int rounded(double value) { return static_cast<int>(roundHalfUp(value)); }

// A product of a loop index with a float factor is exact in double here (a
// 24-bit mantissa times a small integer), so double carries it as extended
// precision would.
double indexed(int index, float factor) { return static_cast<double>(index) * static_cast<double>(factor); }

// The page point of a (time, value) pair: upright x is time and y value,
// turned the other way round.
struct ChartPoint {
    int x, y;
};

ChartPoint pagePoint(const PrintedChartLayout& c, int time, int value)
{
    return c.portrait ? ChartPoint{value, time} : ChartPoint{time, value};
}

void addPen(DrawingPlan& steps, Pen pen, int fatalErrorNumber)
{
    DrawingStep step;
    step.kind = DrawingStep::SelectPen;
    step.pen = pen;
    step.fatalErrorNumber = fatalErrorNumber;
    steps.push_back(step);
}

void addFont(DrawingPlan& steps, int escapement)
{
    DrawingStep step;
    step.kind = DrawingStep::SelectFont;
    step.escapement = escapement;
    steps.push_back(step);
}

void addPoint(DrawingPlan& steps, DrawingStep::Kind kind, int x, int y)
{
    DrawingStep step;
    step.kind = kind;
    step.x = x;
    step.y = y;
    steps.push_back(step);
}

void addLine(DrawingPlan& steps, int x0, int y0, int x1, int y1)
{
    addPoint(steps, DrawingStep::MoveTo, x0, y0);
    addPoint(steps, DrawingStep::LineTo, x1, y1);
}

const char title[] = "Zudoderozezavedi Messdaten";
constexpr int upright = 0;
constexpr int turned = 2700;  // text running downward

// A text is placed by the default font's metrics and must land on the paper:
// one that would begin left of or above the page starts at its edge, one that
// would run past the right or lower edge ends there.
void addText(DrawingPlan& steps, const PrintedChartLayout& c, const TextMetrics& font, int escapement, int x, int y,
             std::string text)
{
    PrintedTextBox box = printedTextBox(x, y, static_cast<int>(text.size()), escapement, font);
    int dx = 0, dy = 0;
    if (box.right > c.Wd) dx = c.Wd - box.right;
    if (box.left + dx < 0) dx = -box.left;
    if (box.bottom > c.Hd) dy = c.Hd - box.bottom;
    if (box.top + dy < 0) dy = -box.top;
    x += dx;
    y += dy;
    DrawingStep step;
    step.kind = DrawingStep::Text;
    step.x = x;
    step.y = y;
    step.text = std::move(text);
    steps.push_back(step);
}

void drawTitle(DrawingPlan& out, const PrintedChartLayout& c, const TextMetrics& font)
{
    if (c.portrait) {
        addFont(out, turned);
        addText(out, c, font, turned, c.Wd - c.m / 2, c.Hd / 2 - 100, title);
    } else {
        addFont(out, upright);
        addText(out, c, font, upright, c.Wd / 2, c.m / 2, title);
    }
}

void drawFrameAndTicks(DrawingPlan& out, const PrintedChartLayout& c)
{
    addPen(out, Pen::PrintBlack5, fatalChartFramePen);
    addPoint(out, DrawingStep::MoveTo, c.left, c.top);
    addPoint(out, DrawingStep::LineTo, c.left, c.bottom);
    addPoint(out, DrawingStep::LineTo, c.right, c.bottom);
    addPoint(out, DrawingStep::LineTo, c.right, c.top);
    addPoint(out, DrawingStep::LineTo, c.left, c.top);

    if (c.portrait) {
        // Pressure ticks along the top edge, tendency ticks along the bottom.
        for (int j = 0; j <= 20; ++j) {
            int x = printedScalePosition(c, j, 5);
            addLine(out, x, c.top, x, c.top - 25);
        }
        for (int j = 0; j <= 20; ++j) {
            int x = printedScalePosition(c, j, 5);
            addLine(out, x, c.bottom, x, c.bottom + 25);
        }
        for (int k = 0; k <= 100; ++k) {
            int x = printedScalePosition(c, k, 1);
            addLine(out, x, c.top, x, c.top - 13);
            addLine(out, x, c.bottom, x, c.bottom + 13);
        }
    } else {
        for (int j = 0; j <= 10; ++j) {
            int y = printedScalePosition(c, j, 10);
            addLine(out, c.left, y, c.left - 25, y);
        }
        for (int j = 0; j <= 20; ++j) {
            int y = printedScalePosition(c, j, 5);
            addLine(out, c.right, y, c.right + 25, y);
        }
        for (int k = 0; k <= 100; ++k) {
            int y = printedScalePosition(c, k, 1);
            addLine(out, c.left, y, c.left - 13, y);
            addLine(out, c.right, y, c.right + 13, y);
        }
    }
}

void drawGrid(DrawingPlan& out, const PrintedChartLayout& c)
{
    addPen(out, Pen::PrintGrid, c.portrait ? fatalChartGridPenTurned : fatalChartGridPenUpright);
    for (int j = 1; j <= 19; ++j) {
        int value = printedScalePosition(c, j, 5);
        if (c.portrait) addLine(out, value, c.top, value, c.bottom);
        else addLine(out, c.left, value, c.right, value);
    }
}

void drawLabels(DrawingPlan& out, const PrintedChartLayout& c, const TextMetrics& font)
{
    int lh = font.lineHeight;
    int cw = font.charWidth;
    if (c.portrait) {
        addFont(out, turned);
        for (int j = 0; j <= 10; ++j)
            addText(out, c, font, turned, printedScalePosition(c, j, 10) + lh / 2, c.top - 5 * cw,
                    printedPressureLabel(c, j));
        for (int j = 0; j <= 20; ++j)
            addText(out, c, font, turned, printedScalePosition(c, j, 5) + lh / 2, c.bottom + 35,
                    printedTendencyLabel(c, j));
        addFont(out, upright);
    } else {
        addFont(out, upright);
        for (int j = 0; j <= 10; ++j)
            addText(out, c, font, upright, c.left - 6 * cw, printedScalePosition(c, j, 10) - lh / 2,
                    printedPressureLabel(c, j));
        for (int j = 0; j <= 20; ++j)
            addText(out, c, font, upright, c.right + 40, printedScalePosition(c, j, 5) - lh / 2,
                    printedTendencyLabel(c, j));
    }
}

enum class Curve { Pressure, Tendency1h, Tendency3h };

int curveValue(const PrintedChartLayout& c, const HistorySlot& slot, Curve curve)
{
    switch (curve) {
    case Curve::Pressure: return printedPressurePosition(c, slot.pressure);
    case Curve::Tendency1h: return printedTendencyPosition(c, slot.tendency1h);
    case Curve::Tendency3h: return printedTendencyPosition(c, slot.tendency3h);
    }
    return 0;
}

void drawCurve(DrawingPlan& out, const PrintedChartLayout& c, const PressureHistory& history, Curve curve,
               Pen pen)
{
    addPen(out, pen, fatalChartCurvePen);
    // The start stands one unit inside the newest edge, so a lone slot 0
    // still leaves a visible stroke; its value is used as computed.
    int newestEdge = c.portrait ? c.bottom : c.right;
    ChartPoint start = pagePoint(c, newestEdge - 1, curveValue(c, history.slots[0], curve));
    addPoint(out, DrawingStep::MoveTo, start.x, start.y);
    for (int i = 0; i < printedChartSlots; ++i) {
        const HistorySlot& slot = history.slots[i];
        if (slot.pressure == 0) continue;  // the line bridges empty slots
        int value = curveValue(c, slot, curve);
        if (value < 1) value = 0;
        ChartPoint p = pagePoint(c, printedSlotPosition(c, i), value);
        addPoint(out, DrawingStep::LineTo, p.x, p.y);
    }
}

void drawTimeMarks(DrawingPlan& out, const PrintedChartLayout& c, const TextMetrics& font)
{
    addPen(out, Pen::PrintBlack3, fatalChartCurvePen);
    addFont(out, c.portrait ? turned : upright);
    for (int i = 0; i <= 96; i += 12) {
        int time = printedSlotPosition(c, i);
        if (c.portrait) {
            addLine(out, c.left, time, c.left - 30, time);
            if (i != 0) addText(out, c, font, turned, c.left - 50, time - 60, printedTimeLabel(i));
        } else {
            for (int k = 1; k <= 5; ++k) addPoint(out, DrawingStep::BlackPixel, time, c.bottom + k);
            if (i != 0) addText(out, c, font, upright, time - 10, c.bottom + 12, printedTimeLabel(i));
        }
    }
}

} // namespace

PrintedChartLayout printedChartLayout(int Wd, int Hd, int32_t LO)
{
    PrintedChartLayout c{};
    c.Wd = Wd;
    c.Hd = Hd;
    c.portrait = Hd > Wd;
    c.m = (c.portrait ? Hd : Wd) / 10;
    c.left = c.m;
    c.top = c.m;
    c.right = Wd - c.m;
    c.bottom = Hd - c.m;
    c.S = c.portrait ? Wd - 2 * c.m : Hd - 2 * c.m;
    c.T = c.portrait ? Hd - 2 * c.m : Wd - 2 * c.m;
    c.u = static_cast<float>(c.S * 0.01);
    c.v = static_cast<float>(c.S * 0.001);
    c.s = static_cast<float>(c.T * (1.0 / 104));
    c.B = LO == 0 ? 9500 : 9000;
    c.centre = (c.portrait ? Wd : Hd) / 2;
    return c;
}

int printedScalePosition(const PrintedChartLayout& c, int j, int step)
{
    int offset = rounded(indexed(j, c.u) * step);
    return (c.portrait ? c.left : c.top) + offset;
}

int printedSlotPosition(const PrintedChartLayout& c, int slot)
{
    int offset = static_cast<int>(indexed(slot, c.s));
    return (c.portrait ? c.bottom : c.right) - offset;
}

int printedPressurePosition(const PrintedChartLayout& c, int32_t pressure)
{
    // Single precision throughout, each step rounded to 32 bits.
    float tenths = static_cast<float>(static_cast<uint32_t>(pressure)) * 0.1f;
    float aboveBottom = tenths - static_cast<float>(c.B);
    float P = aboveBottom * c.v;
    float position = c.portrait ? static_cast<float>(c.left) + P : static_cast<float>(c.bottom) - P;
    return rounded(position);
}

int printedTendencyPosition(const PrintedChartLayout& c, int32_t tendency)
{
    double Q = static_cast<double>(tendency) * 0.5 * static_cast<double>(c.u);
    float position;
    if (c.portrait) {
        position = static_cast<float>(c.centre + Q);
    } else {
        float roundedQ = static_cast<float>(Q);
        position = static_cast<float>(c.centre - static_cast<double>(roundedQ));
    }
    return rounded(position);
}

std::string printedPressureLabel(const PrintedChartLayout& c, int j)
{
    // Upright the scale is read from the top (highest) down; turned, from the left (lowest) up.
    int value = c.portrait ? c.B / 10 + 10 * j : c.B / 10 + 100 - 10 * j;
    char text[16];
    std::snprintf(text, sizeof text, "%4d", value);
    return text;
}

std::string printedTendencyLabel(const PrintedChartLayout& c, int j)
{
    int value = c.portrait ? j - 10 : 10 - j;
    char text[16];
    std::snprintf(text, sizeof text, value == 0 ? "%3d" : "%+3d", value);
    return text;
}

std::string printedTimeLabel(int slot)
{
    char text[16];
    std::snprintf(text, sizeof text, "%3dh", -6 * slot / 12);
    return text;
}

PrintedTextBox printedTextBox(int x, int y, int characters, int escapement, const TextMetrics& font)
{
    int length = characters * font.charWidth;
    // Turned a quarter clockwise, the glyphs' tops face right: the text
    // hangs left of its reference point and runs down from it.
    if (escapement == turned) return PrintedTextBox{x - font.lineHeight, y, x, y + length};
    return PrintedTextBox{x, y, x + length, y + font.lineHeight};
}

DrawingPlan printedChartSteps(int Wd, int Hd, const TextMetrics& font, const PressureHistory& history,
                            const MonitorSettings& settings)
{
    PrintedChartLayout c = printedChartLayout(Wd, Hd, settings.LO);
    DrawingPlan out;
    drawTitle(out, c, font);
    drawFrameAndTicks(out, c);
    drawGrid(out, c);
    drawLabels(out, c, font);
    drawCurve(out, c, history, Curve::Pressure, Pen::PrintBlack7);
    if (settings.T1 != 0) drawCurve(out, c, history, Curve::Tendency1h, Pen::PrintBlue);
    if (settings.T3 != 0) drawCurve(out, c, history, Curve::Tendency3h, Pen::PrintGreen);
    drawTimeMarks(out, c, font);
    // The printer pens live until program end; no context keeps one selected.
    addPoint(out, DrawingStep::PutBackPen, 0, 0);
    return out;
}
