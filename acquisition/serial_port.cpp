#include "acquisition/serial_port.h"

#include <cstdio>
#include <cstring>

#include "acquisition/keep_awake.h"
#include "acquisition/receive_line.h"
#include "records/event_log.h"
#include "settings/monitor_settings.h"

namespace {

const SerialPort closedPort = {INVALID_HANDLE_VALUE, PortState::Closed, "\\\\.\\COM2", false, 0, false};

void configurePort()
{
    DCB current;
    std::memset(&current, 0, sizeof current);
    current.DCBlength = sizeof current;
    DCB control = serialLineControl(GetCommState(serialPort.handle, &current) ? &current : nullptr);
    // A refusal leaves the driver's own settings in force; the port is still read.
    if (!SetCommState(serialPort.handle, &control)) logEvent(eventSetCommStateFailed);

    COMMTIMEOUTS timeouts = {};
    timeouts.ReadIntervalTimeout = MAXDWORD;  // with zero totals: return at once with what is buffered
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = 5000;
    SetCommTimeouts(serialPort.handle, &timeouts);
}

void closeHandle()
{
    if (serialPort.handle != INVALID_HANDLE_VALUE) CloseHandle(serialPort.handle);
    serialPort.handle = INVALID_HANDLE_VALUE;
    serialPort.state = PortState::Closed;
}

} // namespace

SerialPort serialPort = closedPort;

void resetSerialPort() { serialPort = closedPort; }

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

PortChange openSerialPort(bool reportFailure)
{
    // A handle still held (a port chosen while a print job's box was open)
    // would make this open fail against the program itself.
    closeSerialPort();
    // A line cut off when the old port closed (device unplugged, another port
    // chosen, a print job) must not be joined to the first bytes that arrive
    // next: the joined line can pass the header test and give a false reading.
    resetReceiveLine();
    std::snprintf(serialPort.name, sizeof serialPort.name, "\\\\.\\COM%u", unsigned(monitorSettings.COM));
    serialPort.handle = CreateFileA(serialPort.name, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OVERLAPPED, nullptr);
    if (serialPort.handle == INVALID_HANDLE_VALUE) {
        // Tried again silently, so that an adapter plugged in later is found.
        serialPort.state = PortState::Retrying;
        serialPort.pollsSinceAttempt = 0;
        if (reportFailure) serialPort.outageLogged = true;
        followKeepAwake();
        return PortChange::OpenFailed;
    }

    configurePort();
    serialPort.state = PortState::Open;
    followKeepAwake();
    if (serialPort.outageLogged) {
        logEvent(eventPortReturned);
        serialPort.outageLogged = false;
    }
    return PortChange::Opened;
}

void closeSerialPort()
{
    closeHandle();
    followKeepAwake();
}

void endPortOutage()
{
    if (serialPort.state == PortState::Retrying) serialPort.state = PortState::Closed;
    serialPort.outageLogged = false;
}

void loseSerialPort()
{
    if (!serialPort.outageLogged) {
        logEvent(eventPortLost);
        serialPort.outageLogged = true;
    }
    closeSerialPort();
    serialPort.state = PortState::Retrying;
    serialPort.pollsSinceAttempt = 0;
}

PortChange retrySerialPort()
{
    if (serialPort.state != PortState::Retrying) return PortChange::None;
    if (++serialPort.pollsSinceAttempt < portRetryPolls) return PortChange::None;
    serialPort.pollsSinceAttempt = 0;
    return openSerialPort(false);
}

PortChange resumeSerialPort()
{
    if (serialPort.state != PortState::Open) return PortChange::None;
    closeSerialPort();
    serialPort.outageLogged = true;
    serialPort.state = PortState::Retrying;
    serialPort.pollsSinceAttempt = portRetryPolls - 1;
    return retrySerialPort();
}

bool takeWake(WPARAM event)
{
    if (event == PBT_APMSUSPEND) serialPort.wakeTaken = false;
    const bool wake =
        event == PBT_APMRESUMEAUTOMATIC || (event == PBT_APMRESUMESUSPEND && !serialPort.wakeTaken);
    if (wake) serialPort.wakeTaken = true;
    return wake;
}

PortChange followPowerEvent(WPARAM event) { return takeWake(event) ? resumeSerialPort() : PortChange::None; }
