#include <windows.h>

#include <cstdio>

#include "acquisition/serial_port.h"
#include "app/menu_bar.h"
#include "app/startup.h"
#include "records/event_log.h"
#include "settings/monitor_settings.h"
#include "settings/shell_seam.h"

namespace {

void showPortUnavailable()
{
    char text[128];
    std::snprintf(text, sizeof text, uiText(txtPortUnavailable), serialPort.name);
    showShellMessage(txtPortCaption, text, MessageKind::Error);
}

} // namespace

void openConfiguredPort()
{
    switch (openSerialPort(true)) {
    case PortChange::Opened: markPortAvailable(serialPort.name[3]); break;
    case PortChange::OpenFailed:
        showPortUnavailable();
        logEvent(eventPortInUse);
        if (int event = portFailedEvent(serialPort.name[3])) logEvent(event);
        break;
    case PortChange::None: break;
    }
}
