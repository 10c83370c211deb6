#pragma once
// A chart or a printed page as an ordered list of drawing steps. The plans are
// made free of <windows.h>, so every position is checked natively; the Win32
// side only replays the list on a device context.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The pens of the drawing tools: the screen set, then the printer set. The
// week chart's hPa lines are fine, its 10 hPa lines strong. How each is made
// is a row of the drawing tools' table, which must follow this order.
enum class Pen {
    Grid, Frame, Pressure, Tendency3h, Tendency1h, PressureFalling, WeekFine, WeekStrong,
    PrintGrid, PrintBlack7, PrintBlack5, PrintBlack3, PrintGreen, PrintBlue, PrintRed, PrintWeekFine,
    PrintWeekStrong, Count  // not a pen: how many there are
};
constexpr int penCount = static_cast<int>(Pen::Count);

struct DrawingStep {
    enum Kind {
        MoveTo, LineTo, BlackPixel, Text, SelectPen, PutBackPen, SelectFont, SelectChartBrush, Rectangle,
        FillBox,       // x, y, right, bottom filled with colour, no outline
        ColouredText,  // a Text in colour on what is beneath it
    };
    Kind kind = Text;
    int x = 0, y = 0;               // Rectangle: its top left corner
    std::string text;               // Text, drawn with exactly its own length
    Pen pen = Pen::Frame;           // SelectPen
    int eventNumber = 0;            // SelectPen: logged when the selection fails; drawing goes on
    int fatalErrorNumber = 0;       // SelectPen: raised when the selection fails; drawing goes on
    bool keepsReplacedPen = false;  // SelectPen: the pen PutBackPen puts back is the one this replaced
    int escapement = 0;             // SelectFont, tenths of a degree
    int right = 0, bottom = 0;      // Rectangle, FillBox: the edges it stops short of
    uint32_t colour = 0;            // FillBox, ColouredText: 0xRRGGBB
};

using DrawingPlan = std::vector<DrawingStep>;

inline DrawingStep pointStep(DrawingStep::Kind kind, int x, int y, std::string text = {})
{
    DrawingStep step;
    step.kind = kind;
    step.x = x;
    step.y = y;
    step.text = std::move(text);
    return step;
}
