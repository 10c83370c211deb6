#pragma once
// Replays a drawing plan on any device context: a window's, a printer's, an
// enhanced metafile's.
#include <windows.h>

#include "display/colour_scheme.h"
#include "display/drawing_plan.h"

// Pens come from the sets of the drawing tools, fonts from selectSystemFont.
// A pen that cannot be selected logs the step's event or raises its fatal
// error, and drawing goes on. PutBackPen selects the pen that the selection
// marked keepsReplacedPen replaced (even when that selection failed), or
// else the context's own pen, once any selection has worked.
// Every colour of the plan is drawn as the scheme gives it: the pens, the
// brush, the fills, the texts and the single pixels. At night the context's
// text and background colours are the night's while the plan is drawn.
void replayPlan(HDC dc, const DrawingPlan& plan, ColourScheme scheme = ColourScheme::Day);

// Gives dc the scheme's colours for the texts drawn in the context's own
// and for the gaps of dotted pens (by day it leaves them); returns what
// restoreTextColours puts back.
struct ContextColours {
    COLORREF text, background;
};
ContextColours useSchemeTextColours(HDC dc, ColourScheme scheme);
void restoreTextColours(HDC dc, const ContextColours& colours);
