#pragma once
// Replays a planned page on a device context.
#include <windows.h>

#include "printing/page_steps.h"

// Pens come from the printer set of the drawing tools and fonts from
// selectSystemFont. A pen that cannot be selected raises the step's fatal
// error and drawing goes on. The context's own pen is put back at the end.
void drawPageSteps(HDC dc, const PageSteps& steps);
