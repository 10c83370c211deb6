// What the shell tells and logs of the failures that the layers below answer
// rather than show: the settings file and the serial port.
#include <cstdio>

#include "acquisition/receive_source.h"
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

namespace {

// A UDP port held by another program: a box once for this choice, event 1;
// it is tried again silently. A TCP server that does not answer is a loss.
void openNetworkSourceTellingFailure()
{
    if (openReceiveSource(true) != PortChange::OpenFailed) return;
    char text[512];
    std::snprintf(text, sizeof text, uiText(txtUdpPortHeld), unsigned(monitorSettings.SOURCE.udpPort));
    showShellMessage({.caption = txtNetworkCaption, .text = text, .kind = MessageKind::Error});
    logEvent(eventPortInUse);
}

} // namespace

void openConfiguredPort()
{
    if (networkSourceChosen()) {
        openNetworkSourceTellingFailure();
        return;
    }
    switch (openReceiveSource(true)) {
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
