#include <windows.h>

#include "acquisition/measurement_state.h"
#include "acquisition/receive_line.h"
#include "acquisition/serial_port.h"
#include "app/menu_bar.h"
#include "app/shell_state.h"
#include "app/startup.h"
#include "app/window_titles.h"
#include "display/drawing_tools.h"
#include "printing/print_jobs.h"
#include "records/event_log.h"
#include "settings/monitor_settings.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR, int)
{
    screenWidth = GetSystemMetrics(SM_CXFULLSCREEN);
    screenHeight = GetSystemMetrics(SM_CYFULLSCREEN);
    resetReceiveLine();
    resetMeasurementState();
    instanceHandle = instance;
    installShellSeam();

    if (!previousInstance && !registerMainWindowClass()) {
        logEvent(eventRegisterClassFailed);
        return 255;
    }
    if (!createMainWindow()) {
        logEvent(eventOpenWindowFailed);
        return 255;
    }
    if (!readSettings()) {
        applyDefaultSettings(monitorSettings);
        writeSettings();
        logEvent(eventSettingsMissing);
    }
    // Shown once the settings are known: a window in night colours is never white.
    if (monitorSettings.NIGHT) followColourScheme();
    ShowWindow(mainWindow, SW_SHOWMAXIMIZED);
    UpdateWindow(mainWindow);
    setBarographTitle();
    buildMenus();
    checkFreeDiskSpace();
    probePorts();
    refreshMenuMarks();
    openConfiguredPort();

    SetTimer(mainWindow, timerIdentifier, timerPeriodMs, nullptr);
    // With the timer running, so that recording goes on while the box waits for someone to read it.
    tellSettingsKept();

    MSG message = {};
    BOOL got;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) != 0) {
        if (got == -1) break;  // an invalid call; nothing more will arrive
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }

    finishRun();
    resetDrawingTools();
    destroyMenus();
    // A quit command leaves the window in place; a closed window is gone already.
    if (IsWindow(mainWindow)) DestroyWindow(mainWindow);
    return static_cast<int>(message.wParam);
}
