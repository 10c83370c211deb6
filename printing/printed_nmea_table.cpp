#include "printing/printed_nmea_table.h"

#include <windows.h>

#include "acquisition/measurement_state.h"
#include "printing/page_drawing.h"
#include "printing/print_jobs.h"
#include "printing/printed_nmea_table_text.h"

void drawPrintedNmeaTable()
{
    TEXTMETRICA metrics = {};
    GetTextMetricsA(printerDc, &metrics);
    int pitch = printedNmeaPitch(metrics.tmHeight, metrics.tmExternalLeading);
    drawPageSteps(printerDc, printedNmeaTableSteps(printPageHeight, pitch, nmeaLineStore));
}
