#pragma once
// The printed pressure chart, one page: the 52 hours or the week, as the
// window shows.
#include <windows.h>

// Draws on printerDc, on which a page has been started, with the page size
// the context reports.
void drawPrintedChart();

// The same on any context with a given page size; the line height and
// character width come from the context's default font, read before any
// font is selected.
void drawPrintedChartPage(HDC dc, int pageWidth, int pageHeight);
