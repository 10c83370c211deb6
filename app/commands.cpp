#include "app/commands.h"

#include <windows.h>

#include <cstdio>

#include "acquisition/alarm_signal.h"
#include "acquisition/keep_awake.h"
#include "acquisition/low_pressure_alarm.h"
#include "acquisition/measurement_state.h"
#include "acquisition/serial_port.h"
#include "acquisition/wind_alarm.h"
#include "app/chart_copy.h"
#include "app/information_windows.h"
#include "app/menu_bar.h"
#include "app/menu_layout.h"
#include "app/options_dialog.h"
#include "app/startup.h"
#include "app/shell_state.h"
#include "app/window_titles.h"
#include "display/chart_view.h"
#include "printing/print_jobs.h"
#include "records/event_log.h"
#include "records/record_files.h"
#include "settings/monitor_settings.h"
#include "settings/settings_lines.h"
#include "settings/shell_seam.h"
#include "settings/ui_text.h"
#include "storedata/record_check.h"
#include "storedata/week_loader.h"
#include "storedata/week_records.h"

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
    showShellMessage({.caption = txtEraseRefusedCaption, .text = text, .kind = MessageKind::Error});
    logEvent(eventEraseRefused);
    return false;
}

void selectPort(unsigned port)
{
    const bool fromNetwork = monitorSettings.SOURCE.kind != SourceKind::Serial;
    monitorSettings.COM = static_cast<uint16_t>(port);
    settingSetFromProgram(SettingsLine::Port);
    // A port item chooses the serial port, whatever the source was.
    monitorSettings.SOURCE.kind = SourceKind::Serial;
    settingSetFromProgram(SettingsLine::Source);
    // The user's choice ends any retrying of the port before it; opening
    // closes the old one.
    endPortOutage();
    openConfiguredPort();
    if (!fromNetwork) return;
    setModeTitle();
    reapplyPortGreying();  // the network's item goes
}

void selectLanguage(UiLanguage language)
{
    monitorSettings.LANG = language;
    setBarographTitle();
    buildMenus();
    refreshMenuMarks();
    reapplyPortGreying();
}

void eraseMonitorTxt()
{
    if (!erase(RecordFile::Monitor)) return;
    logEvent(eventMonitorTxtErased);
    clearHistory();
    weekHold.records.clear();
    repaintShell();
}

void selectMode(DataMode mode)
{
    monitorSettings.DATA = mode;
    acquisitionCounters.recordCounter = 0;
    startFreshCycle();
    // The reading from before the switch is hours old by the next sentence.
    clearReading();
    if (mode == Barograph) {
        clearHistory();
        setBarographTitle();
    } else {
        clearNmeaLines();
        setNmeaTitle();
        // The alarm follows barograph sentences only: it ends with them.
        if (windAlarmLevel() != 0) logEvent(eventWindAlarmEnded);
        resetWindAlarm();
        endAlarmCause(AlarmCause::LevelRise);
        if (lowPressureAlarm.on) logEvent(eventLowPressureEnded);
        resetLowPressureAlarm();
        endAlarmCause(AlarmCause::LowPressure);
    }
}

// The views and the copy are the pressure chart's; in Nmea mode their items
// are grey, and a command sent all the same does nothing.
void showChart(ChartKind kind)
{
    if (monitorSettings.DATA != Barograph) return;
    chartView.shown = kind;
    // Read once here; from now on each appended record is added to what is held.
    if (kind == ChartKind::Week) loadWeek(presentUtcMinute());
}

void copyChart()
{
    if (monitorSettings.DATA == Barograph) copyChartToClipboard(mainWindow);
}

// The window's colours follow at once, the title bar's where Windows draws
// it; the menus are built anew in the scheme, so that by day they are the
// system's exactly as at start.
void toggleNightColours()
{
    toggle(monitorSettings.NIGHT);
    settingSetFromProgram(SettingsLine::Night);
    followColourScheme();
    buildMenus();
    reapplyPortGreying();
}

// What a command does besides its action: refresh the check marks, repaint,
// write the settings it changed at once.
constexpr unsigned marks = 1, repaint = 2, save = 4;

struct Command {
    unsigned id;
    unsigned after;
    void (*run)();
};

const Command commands[] = {
    // The window is destroyed during shutdown, after the loop.
    {cmdQuit, 0, [] { PostQuitMessage(0); }},
    {cmdPrintNmeaTable, 0, [] { runPrintCommand(printNmeaTable); }},
    {cmdPrintChart, 0, [] { runPrintCommand(printChart); }},
    {cmdCheckRecordFile, 0, [] { checkRecordFile(); }},
    {cmdEraseMonitorTxt, 0, eraseMonitorTxt},
    {cmdEraseNmeaTxt, 0, [] { if (erase(RecordFile::Nmea)) clearNmeaLines(); }},
    {cmdCopyChart, 0, copyChart},
    {cmdToggleT1, marks | repaint | save, [] { toggle(monitorSettings.T1); }},
    {cmdToggleT3, marks | repaint | save, [] { toggle(monitorSettings.T3); }},
    {cmdShowHours, marks | repaint, [] { showChart(ChartKind::Hours52); }},
    {cmdShowWeek, marks | repaint, [] { showChart(ChartKind::Week); }},
    {cmdNightColours, marks | repaint | save, toggleNightColours},
    {cmdAcknowledgeAlarm, marks, acknowledgeAlarm},
    {cmdBarographMode, marks | repaint | save, [] { selectMode(Barograph); }},
    {cmdNmeaMode, marks | repaint | save, [] { selectMode(Nmea); }},
    {cmdSaveOff, marks, [] { monitorSettings.SAVE = 0; followKeepAwake(); }},
    {cmdSaveOn, marks, [] { monitorSettings.SAVE = 300; followKeepAwake(); }},
    {cmdToggleSig, marks | save, [] { toggle(monitorSettings.SIG); }},
    {cmdToggleErr, marks | save, [] { toggle(monitorSettings.ERR); }},
    {cmdToggleUdp, marks | save, [] {
         toggle(monitorSettings.SEND);
         settingSetFromProgram(SettingsLine::Send);
     }},
    {cmdOptions, marks | repaint, showOptionsDialog},
    {cmdGerman, marks | repaint | save, [] { selectLanguage(German); }},
    {cmdEnglish, marks | repaint | save, [] { selectLanguage(English); }},
    {cmdFrench, marks | repaint | save, [] { selectLanguage(French); }},
    {cmdScale950, marks | repaint | save, [] { monitorSettings.LO = 0; }},
    {cmdScale900, marks | repaint | save, [] { monitorSettings.LO = 1; }},
    {cmdHelp, 0, [] { showInformation(txtHelpText, txtHelpCaption); }},
    {cmdAbout, 0, [] { showInformation(txtAboutFormat, txtAboutCaption); }},
    {cmdLinkCable, 0, [] { showInformation(txtLinkCableText, txtLinkCableCaption); }},
    {cmdDataFormats, 0, [] { showInformation(txtDataFormatsText, txtDataFormatsCaption); }},
};

} // namespace

void runCommand(unsigned id)
{
    unsigned after = marks | save;
    if (unsigned port = portOfCommand(id)) {
        selectPort(port);
    } else {
        const Command* command = nullptr;
        for (const Command& candidate : commands)
            if (candidate.id == id) command = &candidate;
        if (!command) return;  // not a command of this window
        command->run();
        after = command->after;
    }
    if (after & marks) refreshMenuMarks();
    if (after & repaint) repaintShell();
    if (after & save) writeSettingsNow();
}
