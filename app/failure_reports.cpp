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

namespace {
// The box of a run that leaves monitor.ini as it found it, shown once the window runs.
TextId settingsKeptText = textCount;
} // namespace

bool readSettings()
{
    settingsKeptText = textCount;
    switch (readSettingsFile()) {
    case SettingsRead::Read: return true;
    case SettingsRead::Missing: logEvent(eventSettingsUnreadable); return false;
    case SettingsRead::Unreadable:
        applyDefaultSettings(monitorSettings);
        appendNotedEventLine(eventSettingsUnreadable, settingsWithheldNote);
        settingsKeptText = txtSettingsUnreadableKept;
        return true;
    case SettingsRead::DamagedKept:
        applyDefaultSettings(monitorSettings);
        appendNotedEventLine(eventSettingsDamaged, settingsWithheldNote);
        settingsKeptText = txtSettingsDamagedKept;
        return true;
    case SettingsRead::Damaged: break;
    }
    applyDefaultSettings(monitorSettings);
    writeSettings();
    logEvent(eventSettingsDamaged);
    return true;
}

void tellSettingsKept()
{
    if (settingsKeptText == textCount) return;
    showShellMessage({.caption = txtSettingsKeptCaption, .text = uiText(settingsKeptText), .kind = MessageKind::Error});
    settingsKeptText = textCount;
}

void writeSettings()
{
    switch (writeSettingsFile()) {
    case SettingsWrite::Written: break;
    case SettingsWrite::Withheld: break;  // said once at the start
    case SettingsWrite::NotCreated:
        logEvent(eventSettingsUnwritable);
        fatalError(fatalSettingsUnwritable);
        break;
    case SettingsWrite::ShortWrite:
    case SettingsWrite::TooLong: logEvent(eventWriteFailed); break;
    }
}

void writeSettingsNow()
{
    static bool failureLogged = false;
    const SettingsWrite result = writeSettingsFile();
    if (result != SettingsWrite::Written && result != SettingsWrite::Withheld && !failureLogged) {
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
