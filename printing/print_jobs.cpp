#include "printing/print_jobs.h"

#include <commdlg.h>

#include "acquisition/data_watch.h"
#include "acquisition/serial_port.h"
#include "display/drawing_tools.h"
#include "printing/printed_chart.h"
#include "printing/printed_nmea_table.h"
#include "records/event_log.h"
#include "settings/monitor_settings.h"
#include "settings/shell_seam.h"

PrintJob printJob = {};

void resetPrintJob() { printJob = PrintJob{}; }

namespace {

DOCINFOA documentDescription()
{
    DOCINFOA document = {};
    document.cbSize = sizeof document;
    document.lpszDocName = uiText(txtDocumentName);
    return document;
}

void showPrintError(TextId text)
{
    showShellMessage({.caption = txtPrintCaption, .text = uiText(text), .kind = MessageKind::ErrorUnowned});
}

// Silently, as the user chose the port before; one that has come back since
// the start-up probe is usable again.
void reopenSerialPort()
{
    // A network source is not closed for a print job.
    if (monitorSettings.SOURCE.kind != SourceKind::Serial) return;
    if (openSerialPort(false) == PortChange::Opened) enableShellPortItem(monitorSettings.COM);
}

// StartPage .. EndDoc of a document that the spooler accepted. A refused
// page still gets its EndPage; nothing is ever aborted.
void printPage(void (*drawPage)())
{
    if (StartPage(printJob.printerDc) > 0) drawPage();
    if (EndPage(printJob.printerDc) > 0) EndDoc(printJob.printerDc);
}

// The port is closed around the job. Only the chart job tells the user of a
// missing printer (and logs it) or of a document the spooler refused.
void runJob(void (*drawPage)(), bool tellFailures)
{
    closeSerialPort();
    if (!printJob.printerDc) {
        if (tellFailures) {
            logEvent(eventPrintError);
            showPrintError(txtPrintNoPrinter);
        }
    } else {
        DOCINFOA document = documentDescription();
        if (StartDocA(printJob.printerDc, &document) > 0) printPage(drawPage);
        else if (tellFailures) showPrintError(txtPrintRefused);
        releasePrinterDc();
    }
    restartDataClock(static_cast<uint32_t>(GetTickCount64()));
    reopenSerialPort();
}

} // namespace

int32_t choosePrinter()
{
    // The dialog library is loaded on the first print only: under Wine it
    // brings about 9 MB of further libraries into the process.
    if (!printJob.printDialog) {
        if (HMODULE library = LoadLibraryA("comdlg32.dll"))
            printJob.printDialog = reinterpret_cast<PrintDialogFunction>(
                reinterpret_cast<void*>(GetProcAddress(library, "PrintDlgA")));
    }
    PRINTDLGA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.Flags = PD_RETURNDC;
    if (printJob.printDialog) printJob.printDialog(&dialog);
    // Only the device context is used; the printer is chosen anew every time.
    if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
    printJob.printerDc = dialog.hDC;
    if (!printJob.printerDc) return 0;
    printJob.printPageHeight = GetDeviceCaps(printJob.printerDc, VERTRES);
    return 1;
}

void releasePrinterDc()
{
    if (!printJob.printerDc) return;
    releaseSystemFont(printJob.printerDc);
    DeleteDC(printJob.printerDc);
    printJob.printerDc = nullptr;
}

void printNmeaTable() { runJob(drawPrintedNmeaTable, false); }

void printChart() { runJob(drawPrintedChart, true); }

void runPrintCommand(void (*job)())
{
    if (printJob.commandUnderWay) return;
    printJob.commandUnderWay = true;
    choosePrinter();
    job();
    printJob.commandUnderWay = false;
}
