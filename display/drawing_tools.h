#pragma once
// Pens, brush and font shared by the screen chart and the printed chart.
// The sets are created with the main window and deleted at program end; a
// handle is null when its creation failed.
#include <windows.h>

#include "display/drawing_plan.h"

struct ScreenPens {
    HPEN gridPen;        // dotted grid and time lines
    HPEN framePen;       // frame, ticks, legend sample of the pressure
    HPEN pressurePen;    // pressure curve and its variation bars
    HPEN tendency3hPen;  // three-hour tendency
    HPEN tendency1hPen;  // one-hour tendency
    HPEN fallingPen;     // the pressure curve where it fell quickly
    HPEN weekFinePen;    // the week chart's line at every hPa
    HPEN weekStrongPen;  // and at every 10 hPa
    HBRUSH chartBrush;   // fill of the plot frame
};

struct PrinterPens {
    HPEN printGridPen, printBlack7Pen, printBlack5Pen, printBlack3Pen, printGreenPen, printBluePen, printRedPen;
    HPEN printWeekFinePen, printWeekStrongPen;
};

extern ScreenPens screenPens;
extern PrinterPens printerPens;

// The handle of a pen of either set; null while it is not made.
HPEN drawingPen(Pen pen);

// Each failed pen logs event 23, a failed brush event 25; creation goes on.
void createScreenPens();
void createPrinterPens();

// Delete every object of a set and leave its handles null.
void deleteScreenPens();
void deletePrinterPens();

// Selects a new "SYSTEM_FONT" with the given escapement (tenths of a degree)
// into dc: on a printer as high as the context's own default font, elsewhere
// at the device's default height (0). The font this routine selected into
// dc before is deleted once the new one has replaced it. Failures: event 5
// and fatal error 60 when the font cannot be created, fatal error 100 when
// it cannot be selected.
void selectSystemFont(HDC dc, int escapement);

// Puts dc's original font back and deletes the last font selectSystemFont
// created for it. Call before dc itself is deleted.
void releaseSystemFont(HDC dc);
