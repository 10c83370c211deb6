#include "app/menu_bar.h"

#include <windows.h>

#include "acquisition/alarm_signal.h"
#include "acquisition/serial_port.h"
#include "app/commands.h"
#include "app/menu_layout.h"
#include "app/shell_state.h"
#include "display/chart_view.h"
#include "settings/monitor_settings.h"

namespace {

const MenuBar noBar = {nullptr, {true, true, true, true, true, true, true, true}};

void mark(unsigned id, bool checked)
{
    CheckMenuItem(menuBar.handle, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

} // namespace

MenuBar menuBar = noBar;

void resetMenuBar() { menuBar = noBar; }

void buildMenus()
{
    HMENU previous = menuBar.handle;
    menuBar.handle = CreateMenu();
    for (const DropDown& dropDown : menuLayout(uiLanguage())) {
        HMENU popup = CreatePopupMenu();
        for (const MenuEntry& entry : dropDown.entries) {
            if (entry.id == 0)
                AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
            else
                AppendMenuA(popup, MF_STRING | MF_ENABLED | MF_UNCHECKED, entry.id, entry.text);
        }
        AppendMenuA(menuBar.handle, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), dropDown.title);
    }
    SetMenu(mainWindow, menuBar.handle);
    // Destroying a bar destroys its drop-downs with it.
    if (previous) DestroyMenu(previous);
}

void refreshMenuMarks()
{
    mark(cmdToggleT1, monitorSettings.T1 != 0);
    mark(cmdToggleT3, monitorSettings.T3 != 0);
    mark(cmdBarographMode, monitorSettings.DATA == Barograph);
    mark(cmdNmeaMode, monitorSettings.DATA == Nmea);
    for (char digit = '1'; digit <= '8'; ++digit) mark(portCommand(digit), monitorSettings.COM == digit);
    mark(cmdSaveOff, monitorSettings.SAVE == 0);
    mark(cmdSaveOn, monitorSettings.SAVE != 0);
    mark(cmdScale950, monitorSettings.LO == 0);
    mark(cmdScale900, monitorSettings.LO != 0);
    mark(cmdToggleSig, monitorSettings.SIG != 0);
    mark(cmdToggleErr, monitorSettings.ERR != 0);
    mark(cmdGerman, uiLanguage() == German);
    mark(cmdEnglish, uiLanguage() == English);
    mark(cmdFrench, uiLanguage() == French);
    EnableMenuItem(menuBar.handle, cmdAcknowledgeAlarm, MF_BYCOMMAND | (alarmSignal.sounding ? MF_ENABLED : MF_GRAYED));
    // The chart views and the copy belong to the pressure chart, which Nmea mode does not show.
    mark(cmdShowHours, chartView.shown == ChartKind::Hours52);
    mark(cmdShowWeek, chartView.shown == ChartKind::Week);
    const UINT chartItems = MF_BYCOMMAND | (monitorSettings.DATA == Barograph ? MF_ENABLED : MF_GRAYED);
    for (unsigned id : {cmdShowHours, cmdShowWeek, cmdCopyChart}) EnableMenuItem(menuBar.handle, id, chartItems);
}

void probePorts(char skippedDigit)
{
    char name[5] = "COM1";
    for (int i = 0; i < 8; ++i) {
        name[3] = static_cast<char>('1' + i);
        if (name[3] == skippedDigit) {
            menuBar.portAvailable[i] = true;  // open in this program: it exists
            continue;
        }
        HANDLE port = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OVERLAPPED, nullptr);
        menuBar.portAvailable[i] = port != INVALID_HANDLE_VALUE;
        if (menuBar.portAvailable[i]) CloseHandle(port);
    }
    reapplyPortGreying();
}

void reprobePorts() { probePorts(portIsOpen() ? monitorSettings.COM : 0); }

void markPortAvailable(char digit)
{
    int index = digit - '1';
    if (index < 0 || index >= 8 || menuBar.portAvailable[index]) return;
    menuBar.portAvailable[index] = true;
    reapplyPortGreying();
}

void reapplyPortGreying()
{
    for (int i = 0; i < 8; ++i)
        EnableMenuItem(menuBar.handle, portCommand(static_cast<char>('1' + i)),
                       MF_BYCOMMAND | (menuBar.portAvailable[i] ? MF_ENABLED : MF_GRAYED));
}

void destroyMenus()
{
    if (!menuBar.handle) return;
    if (IsWindow(mainWindow)) SetMenu(mainWindow, nullptr);
    DestroyMenu(menuBar.handle);
    menuBar.handle = nullptr;
}
