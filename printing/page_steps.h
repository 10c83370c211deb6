#pragma once
// A printed page as an ordered list of drawing steps. The pages are planned
// here, free of <windows.h>, so every position can be checked natively; the
// GDI side only replays the list on the printer's device context.
#include <string>
#include <vector>

// The printer pens of the drawing tools, by role.
enum class PrinterPen { Black5, Grid, Black7, Blue, Green, Black3 };

struct PageStep {
    enum Kind { SelectPen, SelectFont, MoveTo, LineTo, BlackPixel, Text };
    Kind kind = Text;
    int x = 0;
    int y = 0;
    PrinterPen pen = PrinterPen::Black5;  // SelectPen
    int fatalErrorNumber = 0;             // SelectPen: raised when the selection fails
    int escapement = 0;                   // SelectFont, tenths of a degree
    std::string text;                     // Text, drawn with exactly its own length
};

using PageSteps = std::vector<PageStep>;
