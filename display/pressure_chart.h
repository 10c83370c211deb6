#pragma once
// The pressure chart of the main window in Barograph mode.
#include <windows.h>

// Draws the chart of history slots 0..103 into dc for a client area of the
// given size (the window procedure passes the main window's GetClientRect).
// Reads monitorSettings (LO, T1, T3, DKS, LANG) and the screen pens.
void drawPressureChart(HDC dc, int clientWidth, int clientHeight);
