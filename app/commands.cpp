#include "app/commands.h"

#include <windows.h>

#include <cstdio>

#include "acquisition/measurement_state.h"
#include "acquisition/serial_port.h"
#include "app/information_windows.h"
#include "app/menu_bar.h"
#include "app/menu_layout.h"
#include "app/shell_state.h"
#include "app/startup.h"
#include "app/window_titles.h"
#include "printing/print_jobs.h"
#include "records/event_log.h"
#include "records/record_files.h"
#include "settings/monitor_settings.h"
#include "settings/shell_seam.h"
#include "settings/ui_text.h"
#include "storedata/record_check.h"

namespace {

template <typename Flag>
void toggle(Flag& flag)
{
    flag = flag != 0 ? 0 : 1;
}

// True when the working folder no longer holds the file (a missing file is as
// good as erased). A file that stays is reported, and nothing else changes.
bool erase(RecordFile file)
{
    if (eraseRecordFile(file) != DeleteOutcome::Refused) return true;
    char text[256];
    std::snprintf(text, sizeof text, uiText(txtEraseRefused), recordFileName(file));
    showShellMessage(txtEraseRefusedCaption, text, MessageKind::Error);
    logEvent(eventEraseRefused);
    return false;
}

void selectPort(char digit)
{
    monitorSettings.COM = digit;
    // The user's choice ends any retrying of the port before it; opening
    // closes the old one.
    endPortOutage();
    openConfiguredPort();
}

void selectLanguage(UiLanguage language)
{
    monitorSettings.LANG = language;
    setBarographTitle();
    buildMenus();
    refreshMenuMarks();
    reapplyPortGreying();
}

} // namespace

void runCommand(unsigned id)
{
    bool marks = true;
    bool repaint = false;
    switch (id) {
    case cmdQuit:
        // The window is destroyed during shutdown, after the loop.
        PostQuitMessage(0);
        marks = false;
        break;
    case cmdPrintNmeaTable:
        runPrintCommand(printNmeaTable);
        marks = false;
        break;
    case cmdPrintChart:
        runPrintCommand(printChart);
        marks = false;
        break;
    case cmdCheckRecordFile: checkRecordFile(); marks = false; break;
    case cmdEraseMonitorTxt:
        if (erase(RecordFile::Monitor)) {
            logEvent(eventMonitorTxtErased);
            clearHistory();
            repaint = true;
        }
        marks = false;
        break;
    case cmdEraseNmeaTxt:
        if (erase(RecordFile::Nmea)) clearNmeaLines();
        marks = false;
        break;
    case cmdToggleT1:
        toggle(monitorSettings.T1);
        repaint = true;
        break;
    case cmdToggleT3:
        toggle(monitorSettings.T3);
        repaint = true;
        break;
    case cmdBarographMode:
        monitorSettings.DATA = Barograph;
        acquisitionCounters.recordCounter = 0;
        clearHistory();
        setBarographTitle();
        repaint = true;
        break;
    case cmdNmeaMode:
        monitorSettings.DATA = Nmea;
        acquisitionCounters.recordCounter = 0;
        clearNmeaLines();
        setNmeaTitle();
        repaint = true;
        break;
    case cmdSaveOff:
        monitorSettings.SAVE = 0;
        break;
    case cmdSaveOn:
        monitorSettings.SAVE = 300;
        break;
    case cmdToggleSig:
        toggle(monitorSettings.SIG);
        break;
    case cmdToggleErr:
        toggle(monitorSettings.ERR);
        break;
    case cmdGerman:
    case cmdEnglish:
    case cmdFrench:
        selectLanguage(id == cmdGerman ? German : id == cmdEnglish ? English : French);
        repaint = true;
        break;
    case cmdScale950:
        monitorSettings.LO = 0;
        repaint = true;
        break;
    case cmdScale900:
        monitorSettings.LO = 1;
        repaint = true;
        break;
    case cmdHelp:
        showHelp();
        marks = false;
        break;
    case cmdAbout:
        showAbout();
        marks = false;
        break;
    case cmdLinkCable:
        showLinkCable();
        marks = false;
        break;
    case cmdDataFormats:
        showDataFormats();
        marks = false;
        break;
    default:
        if (char digit = portDigitOf(id)) {
            selectPort(digit);
            break;
        }
        return;  // not a command of this window
    }
    if (marks) refreshMenuMarks();
    if (repaint) InvalidateRect(mainWindow, nullptr, TRUE);
}
