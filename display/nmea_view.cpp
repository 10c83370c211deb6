#include "display/nmea_view.h"

#include "acquisition/measurement_state.h"
#include "display/nmea_text.h"
#include "display/plan_replay.h"

void drawNmeaText(HDC dc, int outerHeight, ColourScheme scheme)
{
    const ContextColours before = useSchemeTextColours(dc, scheme);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    const int lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    const int rows = nmeaRowCount(outerHeight, lineHeight);
    for (int i = 0; i < rows && i < static_cast<int>(nmeaLineCount); ++i) {
        char* line = nmeaLineStore.lines[i];
        normaliseNmeaLine(line);
        // Lines without a sentence are blank now and keep their row empty.
        if (beginsNmeaSentence(line)) TextOutA(dc, 25, i * lineHeight, line, static_cast<int>(nmeaLineSize - 1));
    }
    restoreTextColours(dc, before);
}
