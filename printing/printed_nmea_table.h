#pragma once
// The printed table of the stored NMEA sentences, one page.

// Draws on printerDc, on which a page has been started, for a page of
// printPageHeight device units, in the context's default font.
void drawPrintedNmeaTable();
