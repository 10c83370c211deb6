#pragma once
// The chart as shown, onto the clipboard for a word processor or a mail.
#include <windows.h>

// Puts the chart that the window shows (either view, with its banner), on a
// white ground the size of the client area and in day colours also at night,
// on the clipboard as an enhanced metafile and as a bitmap. True when the
// clipboard took at least one.
bool copyChartToClipboard(HWND window);
