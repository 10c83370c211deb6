#pragma once
// The printed table of the stored NMEA sentences, one page.
#include <windows.h>

// Draws on printerDc, on which a page has been started, for a page of
// printPageHeight device units.
void drawPrintedNmeaTable();

// The same on any context with a given page size. The table is printed in
// the context's default font when a row of it fits across the page, and in
// a fixed-pitch font scaled to fit otherwise.
void drawPrintedNmeaTablePage(HDC dc, int pageWidth, int pageHeight);
