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
    static const char* const texts[] = {
        "Fehler: Schnittstelle %s steht nicht zur Verf\xFCgung !",
        "error: port %s not available !",
        "porte serielle %s pas disponible !",
    };
    static const char* const captions[] = {"serielle Schnittstelle", "Com port error",
                                           "erreur porte serielle"};
    char text[128];
    std::snprintf(text, sizeof text, texts[uiLanguage()], serialPort.name);
    showShellMessage(text, captions[uiLanguage()], MessageKind::Error);
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
