#pragma once
// Pens, brush and font shared by the screen chart and the printed chart.
// The screen set and the printer set are created with the main window and
// deleted at program end; a handle is null when its creation failed.
#include <windows.h>

#include "display/colour_scheme.h"
#include "display/drawing_plan.h"

// Every pen's handle by Pen, by day and at night, and the brush; null while not made.
struct DrawingToolSet {
    HPEN pens[penCount];
    HPEN nightPens[penCount];
    HBRUSH chartBrush;  // fill of the plot frame
};

extern DrawingToolSet drawingTools;

inline HPEN& drawingPen(Pen pen) { return drawingTools.pens[static_cast<int>(pen)]; }
inline HPEN& nightPen(Pen pen) { return drawingTools.nightPens[static_cast<int>(pen)]; }

// Each makes its day pens, then their night pens. Each failed pen logs
// event 23, a failed brush event 25; creation goes on.
void createScreenPens();
void createPrinterPens();

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

// Deletes every pen and the brush, leaving their handles null, and releases
// every context's font, as at start.
void resetDrawingTools();
