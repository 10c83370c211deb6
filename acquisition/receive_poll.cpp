#include "acquisition/receive_poll.h"

#include <windows.h>

#include "acquisition/line_dispatch.h"
#include "acquisition/network_source.h"
#include "acquisition/receive_line.h"
#include "acquisition/receive_source.h"
#include "acquisition/serial_port.h"
#include "records/event_log.h"
#include "settings/monitor_settings.h"
#include "settings/shell_seam.h"

namespace {

constexpr DWORD maxBytesPerTick = 512;
constexpr DWORD stoppingErrors = CE_RXOVER | CE_OVERRUN | CE_FRAME | CE_IOE;
// Errors that lose or damage bytes of the line being received.
constexpr DWORD damagingErrors = CE_RXOVER | CE_OVERRUN | CE_FRAME;

int pollSerialPort()
{
    if (!portIsOpen()) {
        // A port the start-up probe greyed is usable again.
        if (retrySerialPort() == PortChange::Opened) enableShellPortItem(monitorSettings.COM);
        return 1;
    }
    DWORD errors = 0;
    COMSTAT status = {};
    if (!ClearCommError(serialPort.handle, &errors, &status)) {
        loseSerialPort();
        return 1;
    }
    if (errors & damagingErrors) discardReceiveLine();
    // The bytes stay in the driver and are taken on the next tick.
    if (errors & stoppingErrors) return 1;
    DWORD wanted = status.cbInQue;
    if (wanted == 0) return 0;
    if (wanted > maxBytesPerTick) wanted = maxBytesPerTick;

    // One read for what the driver reported; the time-outs make it return at once.
    uint8_t bytes[maxBytesPerTick];
    DWORD got = 0;
    OVERLAPPED overlapped = {};
    BOOL done = ReadFile(serialPort.handle, bytes, wanted, &got, &overlapped);
    // The request must be finished before `overlapped` goes out of scope.
    if (!done && GetLastError() == ERROR_IO_PENDING)
        done = GetOverlappedResult(serialPort.handle, &overlapped, &got, TRUE);
    if (!done) {
        // With these time-outs a read of buffered bytes fails only when the
        // device has gone away.
        loseSerialPort();
        return 1;
    }
    if (got <= wanted) receiveBytes(bytes, got);
    return 0;
}

} // namespace

int pollReceiver()
{
    // A lost or missing source counts towards a silence; a print job's closed port does not.
    const uint32_t nowMs = static_cast<uint32_t>(GetTickCount64());
    startReceiverTick(nowMs, receiveSourceCounting());
    return networkSourceChosen() ? pollNetworkSource(nowMs) : pollSerialPort();
}
