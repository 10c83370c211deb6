#include "printing/printed_nmea_table.h"

#include "acquisition/measurement_state.h"
#include "display/plan_replay.h"
#include "printing/print_jobs.h"
#include "printing/printed_nmea_table_text.h"

namespace {

// A fixed-pitch font whose advance is at most `advance`: the height scaled
// from the default font first, then rescaled by what the face the platform
// substitutes really advances. Left selected; null when none could be made.
HFONT selectFittedFont(HDC dc, const TEXTMETRICA& standard, int advance)
{
    int height = printedNmeaFittedHeight(standard.tmHeight, standard.tmAveCharWidth, advance);
    HFONT fitted = nullptr;
    for (int attempt = 0; attempt < 8 && height > 0; ++attempt) {
        HFONT font = CreateFontA(height, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, FIXED_PITCH | FF_MODERN, nullptr);
        if (!font) break;
        if (!SelectObject(dc, font)) {
            DeleteObject(font);
            break;
        }
        if (fitted) DeleteObject(fitted);
        fitted = font;
        TEXTMETRICA metrics = {};
        if (!GetTextMetricsA(dc, &metrics) || metrics.tmAveCharWidth <= advance) break;
        int smaller = printedNmeaFittedHeight(height, metrics.tmAveCharWidth, advance);
        height = smaller < height ? smaller : height - 1;
    }
    return fitted;
}

} // namespace

void drawPrintedNmeaTable()
{
    drawPrintedNmeaTablePage(printJob.printerDc, GetDeviceCaps(printJob.printerDc, HORZRES), printJob.printPageHeight);
}

void drawPrintedNmeaTablePage(HDC dc, int pageWidth, int pageHeight)
{
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    HGDIOBJ own = GetCurrentObject(dc, OBJ_FONT);
    HFONT fitted = nullptr;
    if (!printedNmeaRowFits(pageWidth, metrics.tmAveCharWidth)) {
        fitted = selectFittedFont(dc, metrics, printedNmeaFittedCharWidth(pageWidth));
        // The rows are spaced by the font they are printed in.
        if (fitted) GetTextMetricsA(dc, &metrics);
    }
    int pitch = printedNmeaPitch(metrics.tmHeight, metrics.tmExternalLeading);
    replayPlan(dc, printedNmeaTableSteps(pageHeight, pitch, nmeaLineStore));
    if (fitted) {
        SelectObject(dc, own);
        DeleteObject(fitted);
    }
}
