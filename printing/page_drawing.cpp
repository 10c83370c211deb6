#include "printing/page_drawing.h"

#include "display/drawing_tools.h"
#include "records/event_log.h"

namespace {

HPEN printerPen(PrinterPen pen)
{
    switch (pen) {
    case PrinterPen::Black5: return printerPens.printBlack5Pen;
    case PrinterPen::Grid: return printerPens.printGridPen;
    case PrinterPen::Black7: return printerPens.printBlack7Pen;
    case PrinterPen::Blue: return printerPens.printBluePen;
    case PrinterPen::Green: return printerPens.printGreenPen;
    case PrinterPen::Black3: return printerPens.printBlack3Pen;
    }
    return nullptr;
}

} // namespace

void drawPageSteps(HDC dc, const PageSteps& steps)
{
    HGDIOBJ originalPen = nullptr;
    for (const PageStep& step : steps) {
        switch (step.kind) {
        case PageStep::SelectPen: {
            HGDIOBJ previous = SelectObject(dc, printerPen(step.pen));
            if (!previous) fatalError(step.fatalErrorNumber);
            else if (!originalPen) originalPen = previous;
            break;
        }
        case PageStep::SelectFont:
            selectSystemFont(dc, step.escapement);
            break;
        case PageStep::MoveTo:
            MoveToEx(dc, step.x, step.y, nullptr);
            break;
        case PageStep::LineTo:
            LineTo(dc, step.x, step.y);
            break;
        case PageStep::BlackPixel:
            SetPixel(dc, step.x, step.y, RGB(0, 0, 0));
            break;
        case PageStep::Text:
            TextOutA(dc, step.x, step.y, step.text.data(), static_cast<int>(step.text.size()));
            break;
        }
    }
    // The printer pens live until program end; no context keeps one selected.
    if (originalPen) SelectObject(dc, originalPen);
}
