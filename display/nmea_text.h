#pragma once
// The byte-level part of the NMEA text view, free of <windows.h>.
#include <cstddef>

// Rows the view fills: three fewer than the window's outer height holds in
// lines of lineHeight. Zero or less shows nothing.
int nmeaRowCount(int outerHeight, int lineHeight);

// Replaces, in place, every byte below 0x20 or above 0x7F among the first 127
// bytes of a 128-byte store line by a blank; the terminating last byte is left alone.
void normaliseNmeaLine(char* line);
