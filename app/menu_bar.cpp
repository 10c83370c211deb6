#include "app/menu_bar.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "acquisition/alarm_signal.h"
#include "acquisition/receive_source.h"
#include "acquisition/serial_port.h"
#include "app/commands.h"
#include "app/menu_layout.h"
#include "app/night_menus.h"
#include "app/shell_state.h"
#include "display/chart_view.h"
#include "settings/monitor_settings.h"
#include "settings/ui_text.h"

namespace {

const MenuBar noBar = {nullptr, {true, true, true, true, true, true, true, true}, {}};

void mark(unsigned id, bool checked)
{
    CheckMenuItem(menuBar.handle, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

// "... (port 10110)" with the configured port.
std::string udpItemText(const char* format)
{
    char text[80];
    std::snprintf(text, sizeof text, format, unsigned(monitorSettings.SENDTO.port));
    return text;
}

// The items of the ports from COM9 on, after COM8's, in ascending order: a
// listed port's, enabled, and the configured port's, greyed when unlisted.
void placeHighPortItems()
{
    HMENU setup = nullptr;
    int after = -1;
    for (int i = 0; !setup && i < GetMenuItemCount(menuBar.handle); ++i) {
        HMENU popup = GetSubMenu(menuBar.handle, i);
        for (int k = 0; popup && k < GetMenuItemCount(popup); ++k)
            if (GetMenuItemID(popup, k) == cmdPortCom8) setup = popup, after = k;
    }
    if (!setup) return;
    for (unsigned port = 9; port <= highestPort; ++port) DeleteMenu(setup, portCommand(port), MF_BYCOMMAND);
    for (unsigned port = 9; port <= highestPort; ++port) {
        const bool listed = menuBar.listed.test(port);
        if (!listed && port != monitorSettings.COM) continue;
        char text[64];
        std::snprintf(text, sizeof text, uiText(txtItemComFormat), port);
        InsertMenuA(setup, static_cast<UINT>(++after),
                    MF_BYPOSITION | MF_STRING | (listed ? MF_ENABLED : MF_GRAYED) |
                        (port == monitorSettings.COM && !networkSourceChosen() ? MF_CHECKED : MF_UNCHECKED),
                    portCommand(port), text);
    }
    // A network source is named after the ports, greyed: the Options dialog chooses it.
    DeleteMenu(setup, cmdNetworkSource, MF_BYCOMMAND);
    if (networkSourceChosen())
        InsertMenuA(setup, static_cast<UINT>(++after), MF_BYPOSITION | MF_STRING | MF_GRAYED, cmdNetworkSource,
                    networkItemText(uiLanguage()).c_str());
    // New items are drawn as the others are.
    followMenuColours();
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
            else if (entry.id == cmdToggleUdp)
                AppendMenuA(popup, MF_STRING | MF_ENABLED | MF_UNCHECKED, entry.id, udpItemText(entry.text).c_str());
            else
                AppendMenuA(popup, MF_STRING | MF_ENABLED | MF_UNCHECKED, entry.id, entry.text);
        }
        AppendMenuA(menuBar.handle, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), dropDown.title);
    }
    followMenuColours();
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
    for (unsigned port = 1; port <= highestPort; ++port)
        mark(portCommand(port), monitorSettings.COM == port && !networkSourceChosen());
    mark(cmdToggleUdp, monitorSettings.SEND != 0);
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
    // Night colours are the window's in either mode: never greyed.
    mark(cmdNightColours, monitorSettings.NIGHT != 0);
    const UINT chartItems = MF_BYCOMMAND | (monitorSettings.DATA == Barograph ? MF_ENABLED : MF_GRAYED);
    for (unsigned id : {cmdShowHours, cmdShowWeek, cmdCopyChart}) EnableMenuItem(menuBar.handle, id, chartItems);
}

void probePorts(unsigned skippedPort, bool trustList)
{
    menuBar.listed = listedPorts();
    for (unsigned port = 1; port <= 8; ++port) {
        bool& available = menuBar.portAvailable[port - 1];
        // Open in this program, or listed: it exists.
        available = port == skippedPort || (trustList && menuBar.listed.test(port));
        if (available) continue;
        char name[12];
        std::snprintf(name, sizeof name, "\\\\.\\COM%u", port);
        HANDLE handle = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OVERLAPPED, nullptr);
        available = handle != INVALID_HANDLE_VALUE;
        if (available) CloseHandle(handle);
    }
    reapplyPortGreying();
}

void reprobePorts() { probePorts(portIsOpen() ? monitorSettings.COM : 0, true); }

void markPortAvailable(unsigned port)
{
    if (port >= 1 && port <= 8) {
        if (menuBar.portAvailable[port - 1]) return;
        menuBar.portAvailable[port - 1] = true;
    } else if (port <= highestPort) {
        if (menuBar.listed.test(port)) return;
        menuBar.listed.set(port);
    }
    reapplyPortGreying();
}

void reapplyPortGreying()
{
    for (unsigned port = 1; port <= 8; ++port)
        EnableMenuItem(menuBar.handle, portCommand(port),
                       MF_BYCOMMAND | (menuBar.portAvailable[port - 1] ? MF_ENABLED : MF_GRAYED));
    placeHighPortItems();
}

void destroyMenus()
{
    if (!menuBar.handle) return;
    if (IsWindow(mainWindow)) SetMenu(mainWindow, nullptr);
    DestroyMenu(menuBar.handle);
    menuBar.handle = nullptr;
}
