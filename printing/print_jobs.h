#pragma once
// The printer chosen in the print dialog and the two one-page print jobs.
#include <windows.h>
#include <commdlg.h>

#include <cstdint>

using PrintDialogFunction = BOOL(WINAPI*)(PRINTDLGA*);

struct PrintJob {
    // The chosen printer; null when there is none. Set by choosePrinter and
    // released by the job that follows it.
    HDC printerDc;
    int32_t printPageHeight;  // VERTRES of the context the dialog last returned
    PrintDialogFunction printDialog;  // found in its library when first needed
    bool commandUnderWay;             // from the dialog to the end of the job
};

extern PrintJob printJob;

// No printer, no job; the context held, if any, is not released.
void resetPrintJob();

// Shows the print dialog. 1 when it returned a device context, else 0.
int32_t choosePrinter();

// The jobs close the serial port, print one page on printerDc when there is
// one, release it and reopen the configured port silently. Only the chart
// job tells the user (and logs event 8) when there is no printer.
void printNmeaTable();
void printChart();

// One print command: the dialog, then the job. The dialog and the job's
// message boxes have no owner, so the menu stays live while they are open;
// a print command that arrives then is ignored, since a second job would
// take printerDc over from the first.
void runPrintCommand(void (*job)());

// Releases printerDc, with the fonts the drawing selected into it, and sets
// it to null; nothing when it is null. The jobs end with it; shutdown calls
// it for a context still held.
void releasePrinterDc();
