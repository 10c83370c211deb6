#include "printing/print_jobs.h"

#include <commdlg.h>

#include "acquisition/serial_port.h"
#include "display/drawing_tools.h"
#include "printing/printed_chart.h"
#include "printing/printed_nmea_table.h"
#include "records/event_log.h"
#include "settings/monitor_settings.h"
#include "settings/shell_seam.h"

HDC printerDc = nullptr;
int32_t printPageHeight = 0;
PrintDialogFunction printDialog = nullptr;

namespace {

// From the dialog to the end of the job.
bool printCommandUnderWay = false;


DOCINFOA documentDescription()
{
    DOCINFOA document = {};
    document.cbSize = sizeof document;
    document.lpszDocName = uiText(txtDocumentName);
    return document;
}

enum class PrintFailure { NoPrinter, RefusedDocument };

void showPrintError(PrintFailure failure)
{
    showShellMessage(failure == PrintFailure::NoPrinter ? txtPrintNoPrinter : txtPrintRefused, txtPrintCaption,
                     MessageKind::ErrorUnowned);
}

// Silently, as the user chose the port before; one that has come back since
// the start-up probe is usable again.
void reopenSerialPort()
{
    if (openSerialPort(false) == PortChange::Opened) enableShellPortItem(monitorSettings.COM);
}

// StartPage .. EndDoc of a document that the spooler accepted. A refused
// page still gets its EndPage; nothing is ever aborted.
void printPage(void (*drawPage)())
{
    if (StartPage(printerDc) > 0) drawPage();
    if (EndPage(printerDc) > 0) EndDoc(printerDc);
}

} // namespace

int32_t choosePrinter()
{
    // The dialog library is loaded on the first print only: under Wine it
    // brings about 9 MB of further libraries into the process.
    if (!printDialog) {
        if (HMODULE library = LoadLibraryA("comdlg32.dll"))
            printDialog = reinterpret_cast<PrintDialogFunction>(
                reinterpret_cast<void*>(GetProcAddress(library, "PrintDlgA")));
    }
    PRINTDLGA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.Flags = PD_RETURNDC;
    if (printDialog) printDialog(&dialog);
    // Only the device context is used; the printer is chosen anew every time.
    if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
    printerDc = dialog.hDC;
    if (!printerDc) return 0;
    printPageHeight = GetDeviceCaps(printerDc, VERTRES);
    return 1;
}

void releasePrinterDc()
{
    if (!printerDc) return;
    releaseSystemFont(printerDc);
    DeleteDC(printerDc);
    printerDc = nullptr;
}

void printNmeaTable()
{
    closeSerialPort();
    if (printerDc) {
        DOCINFOA document = documentDescription();
        if (StartDocA(printerDc, &document) > 0) printPage(drawPrintedNmeaTable);
        releasePrinterDc();
    }
    reopenSerialPort();
}

void runPrintCommand(void (*job)())
{
    if (printCommandUnderWay) return;
    printCommandUnderWay = true;
    choosePrinter();
    job();
    printCommandUnderWay = false;
}

void printChart()
{
    closeSerialPort();
    if (!printerDc) {
        logEvent(eventPrintError);
        showPrintError(PrintFailure::NoPrinter);
    } else {
        DOCINFOA document = documentDescription();
        if (StartDocA(printerDc, &document) > 0) printPage(drawPrintedChart);
        else showPrintError(PrintFailure::RefusedDocument);
        releasePrinterDc();
    }
    reopenSerialPort();
}
