#pragma once
// The pressure chart of the main window in Barograph mode: the 52 hours or
// the week, whichever chartView shows.
#include <windows.h>

#include "display/colour_scheme.h"
#include "display/drawing_plan.h"

// The plan of the chart shown, for a client area of the given size: the
// window, the printer and the clipboard draw the same. Reads the history or
// the week's records, monitorSettings (LO, T1, T3, DKS, LANG), the banner
// state and, for the week, the clock; never the record file.
DrawingPlan shownChartSteps(int clientWidth, int clientHeight);

// Draws that chart into dc in the scheme's colours (the window procedure
// passes the main window's GetClientRect and its scheme).
void drawPressureChart(HDC dc, int clientWidth, int clientHeight, ColourScheme scheme = ColourScheme::Day);
