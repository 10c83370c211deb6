#pragma once
// The rows of the printed NMEA table, free of <windows.h>: a heading, two
// empty rows, then one stored sentence per row, newest first, on one page.
#include <string>

#include "acquisition/measurement_state.h"
#include "display/drawing_plan.h"

constexpr int printedRowLength = 91;  // characters of a printed row
constexpr int printedRowIndent = 20;  // device units left of every row

// Whether a row of characters of that advance fits on a page that wide.
bool printedNmeaRowFits(int pageWidth, int charWidth);

// When it does not, the table takes a fixed-pitch font of this advance, which
// leaves the indent free at the right edge as well, and of this height,
// scaled from the default font's height and advance.
int printedNmeaFittedCharWidth(int pageWidth);
int printedNmeaFittedHeight(int defaultHeight, int defaultCharWidth, int fittedCharWidth);

// Row pitch: the default font's line height and two units of spacing.
int printedNmeaPitch(long tmHeight, long tmExternalLeading);

// Rows that fit below the heading with two pitches free at the bottom; 10
// when the pitch is 0. Zero or less prints the heading alone.
int printedNmeaRows(int pageHeight, int pitch);

// A stored line as printed: up to its first zero byte, control and high
// bytes shown as blanks, padded with blanks or cut to 91 characters.
std::string printedNmeaRowText(const char* line);

// The heading "NMEA Daten" at (20, 0), then every stored line that begins
// with '$' or '!' at (20, 3 x pitch + i x pitch) for i below rows and 127.
DrawingPlan printedNmeaTableSteps(int pageHeight, int pitch, const NmeaLineStore& store);
