#include "acquisition/serial_port.h"

#include <cstdio>
#include <cstring>

#include "acquisition/receive_line.h"
#include "app/shell_state.h"
#include "records/event_log.h"
#include "settings/monitor_settings.h"

HANDLE portHandle = INVALID_HANDLE_VALUE;
uint8_t portOpen = 0;
char portName[5] = "COM2";

namespace {

// Never filled from the driver: every member not set below stays zero.
DCB portControl;
DWORD queuedBytes;

void showPortMessage()
{
    static const char* const texts[] = {
        "Fehler: Schnittstelle %s steht nicht zur Verf\xFCgung !",
        "error: port %s not available !",
        "porte serielle %s pas disponible !",
    };
    static const char* const captions[] = {"serielle Schnittstelle", "Com port error",
                                           "erreur porte serielle"};
    char text[128];
    std::snprintf(text, sizeof text, texts[uiLanguage()], portName);
    MessageBoxA(mainWindow, text, captions[uiLanguage()], MB_ICONERROR);
}

} // namespace

void openSerialPort(bool showErrors)
{
    portOpen = 0;
    // A line cut off when the old port closed (device unplugged, another port
    // chosen, a print job) must not be joined to the first bytes that arrive
    // next: the joined line can pass the header test and give a false reading.
    resetReceiveLine();
    portName[3] = monitorSettings.COM;
    portName[4] = '\0';
    portHandle = CreateFileA(portName, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED,
                             nullptr);
    if (portHandle == INVALID_HANDLE_VALUE) {
        if (!showErrors) return;
        showPortMessage();
        logEvent(1);
        int digit = portName[3] - '0';
        if (digit >= 1 && digit <= 4) logEvent(13 + digit);
        return;
    }

    std::memset(&portControl, 0, sizeof portControl);
    portControl.BaudRate = 4800;
    portControl.ByteSize = 8;
    portControl.Parity = NOPARITY;
    portControl.StopBits = ONESTOPBIT;
    portControl.fDtrControl = DTR_CONTROL_DISABLE;
    portControl.fRtsControl = RTS_CONTROL_ENABLE;
    // A refusal leaves the driver's own settings in force; the port is still read.
    if (!SetCommState(portHandle, &portControl)) logEvent(64);

    COMMTIMEOUTS timeouts = {};
    timeouts.ReadIntervalTimeout = MAXDWORD;  // with zero totals: return at once with what is buffered
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = 5000;
    SetCommTimeouts(portHandle, &timeouts);

    queuedBytes = 0;
    portOpen = 1;
}

void closeSerialPort()
{
    if (portHandle != INVALID_HANDLE_VALUE) CloseHandle(portHandle);
    portHandle = INVALID_HANDLE_VALUE;
}
