// What the shell tells and logs of the failures that the layers below answer
// rather than show: the settings file and the serial port.
#include <cstdio>

#include "acquisition/serial_port.h"
#include "app/menu_bar.h"
#include "app/startup.h"
#include "records/event_log.h"
#include "settings/settings_file.h"
#include "settings/shell_seam.h"

bool readSettings()
{
    switch (readSettingsFile()) {
    case SettingsRead::Read: return true;
    case SettingsRead::Unreadable: logEvent(eventSettingsUnreadable); return false;
    case SettingsRead::Damaged: break;
    }
    applyDefaultSettings(monitorSettings);
    writeSettings();
    logEvent(eventSettingsDamaged);
    return true;
}

void writeSettings()
{
    switch (writeSettingsFile()) {
    case SettingsWrite::Written: break;
    case SettingsWrite::NotCreated:
        logEvent(eventSettingsUnwritable);
        fatalError(fatalSettingsUnwritable);
        break;
    case SettingsWrite::ShortWrite: logEvent(eventWriteFailed); break;
    }
}

void writeSettingsNow()
{
    static bool failureLogged = false;
    if (writeSettingsFile() != SettingsWrite::Written && !failureLogged) {
        failureLogged = true;
        logEvent(eventSettingsUnwritable);
    }
}

void openConfiguredPort()
{
    switch (openSerialPort(true)) {
    case PortChange::Opened: markPortAvailable(monitorSettings.COM); break;
    case PortChange::OpenFailed: {
        char text[128];
        std::snprintf(text, sizeof text, uiText(txtPortUnavailable), portDisplayName());
        showShellMessage({.caption = txtPortCaption, .text = text, .kind = MessageKind::Error});
        logEvent(eventPortInUse);
        if (int event = portFailedEvent(monitorSettings.COM)) logEvent(event);
        break;
    }
    case PortChange::None: break;
    }
}
