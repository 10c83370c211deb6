#pragma once
// Replays a drawing plan on any device context: a window's, a printer's, an
// enhanced metafile's.
#include <windows.h>

#include "display/drawing_plan.h"

// Pens come from the sets of the drawing tools, fonts from selectSystemFont.
// A pen that cannot be selected logs the step's event or raises its fatal
// error, and drawing goes on. PutBackPen selects the pen that the selection
// marked keepsReplacedPen replaced (even when that selection failed), or
// else the context's own pen, once any selection has worked.
void replayPlan(HDC dc, const DrawingPlan& plan);
