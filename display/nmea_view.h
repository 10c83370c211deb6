#pragma once
// The NMEA text view of the main window in Nmea mode.
#include <windows.h>

#include "display/colour_scheme.h"

// Draws the stored sentences, newest at the top, with dc's current font, in
// the scheme's text colours.
// outerHeight is the main window's height including title, menu and borders
// (GetWindowRect); it limits the rows. Normalises the drawn store lines in place.
void drawNmeaText(HDC dc, int outerHeight, ColourScheme scheme = ColourScheme::Day);
