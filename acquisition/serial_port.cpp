#include "acquisition/serial_port.h"

#include <cstdio>
#include <cstring>

#include "acquisition/receive_line.h"
#include "app/menu_bar.h"
#include "app/shell_state.h"
#include "records/event_log.h"
#include "settings/monitor_settings.h"

HANDLE portHandle = INVALID_HANDLE_VALUE;
uint8_t portOpen = 0;
char portName[5] = "COM2";

namespace {

DWORD queuedBytes;
// The configured port is to be opened again as soon as it is there.
bool retrying = false;
// An outage was reported (a loss, or a failed open with its box); its end is
// reported too.
bool outageLogged = false;
unsigned pollsSinceAttempt = 0;

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

void configurePort()
{
    DCB current;
    std::memset(&current, 0, sizeof current);
    current.DCBlength = sizeof current;
    DCB control = serialLineControl(GetCommState(portHandle, &current) ? &current : nullptr);
    // A refusal leaves the driver's own settings in force; the port is still read.
    if (!SetCommState(portHandle, &control)) logEvent(eventSetCommStateFailed);

    COMMTIMEOUTS timeouts = {};
    timeouts.ReadIntervalTimeout = MAXDWORD;  // with zero totals: return at once with what is buffered
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = 5000;
    SetCommTimeouts(portHandle, &timeouts);
}

} // namespace

DCB serialLineControl(const DCB* current)
{
    DCB control;
    if (current)
        control = *current;
    else
        std::memset(&control, 0, sizeof control);
    // Every member the line depends on is set: drivers keep whatever the last
    // program left, and Windows refuses a block whose XON and XOFF characters
    // are equal, or one without binary mode.
    control.DCBlength = sizeof control;
    control.BaudRate = 4800;
    control.ByteSize = 8;
    control.Parity = NOPARITY;
    control.StopBits = ONESTOPBIT;
    control.fBinary = 1;
    control.fParity = 0;
    control.fOutxCtsFlow = 0;
    control.fOutxDsrFlow = 0;
    control.fDtrControl = DTR_CONTROL_DISABLE;
    control.fDsrSensitivity = 0;
    control.fOutX = 0;
    control.fInX = 0;
    control.fErrorChar = 0;
    control.fNull = 0;
    control.fRtsControl = RTS_CONTROL_ENABLE;
    // Left on, one line error would make every later read fail.
    control.fAbortOnError = 0;
    control.XonChar = 0x11;
    control.XoffChar = 0x13;
    return control;
}

void openSerialPort(bool showErrors)
{
    // A handle still held (a port chosen while a print job's box was open)
    // would make this open fail against the program itself.
    closeSerialPort();
    // A line cut off when the old port closed (device unplugged, another port
    // chosen, a print job) must not be joined to the first bytes that arrive
    // next: the joined line can pass the header test and give a false reading.
    resetReceiveLine();
    portName[3] = monitorSettings.COM;
    portName[4] = '\0';
    portHandle = CreateFileA(portName, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED,
                             nullptr);
    if (portHandle == INVALID_HANDLE_VALUE) {
        // Tried again silently, so that an adapter plugged in later is found.
        retrying = true;
        pollsSinceAttempt = 0;
        if (!showErrors) return;
        showPortMessage();
        logEvent(eventPortInUse);
        if (int event = portFailedEvent(portName[3])) logEvent(event);
        outageLogged = true;
        return;
    }

    configurePort();
    queuedBytes = 0;
    portOpen = 1;
    retrying = false;
    if (outageLogged) {
        logEvent(eventPortReturned);
        outageLogged = false;
    }
    markPortAvailable(portName[3]);
}

void closeSerialPort()
{
    if (portHandle != INVALID_HANDLE_VALUE) CloseHandle(portHandle);
    portHandle = INVALID_HANDLE_VALUE;
    portOpen = 0;
    retrying = false;
}

void endPortOutage()
{
    retrying = false;
    outageLogged = false;
}

void loseSerialPort()
{
    if (!outageLogged) {
        logEvent(eventPortLost);
        outageLogged = true;
    }
    closeSerialPort();
    retrying = true;
    pollsSinceAttempt = 0;
}

void retrySerialPort()
{
    if (!retrying) return;
    if (++pollsSinceAttempt < portRetryPolls) return;
    pollsSinceAttempt = 0;
    openSerialPort(false);
}
