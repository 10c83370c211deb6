#include "acquisition/receive_source.h"

#include "acquisition/network_source.h"
#include "settings/monitor_settings.h"

namespace {

uint32_t tickNow() { return static_cast<uint32_t>(GetTickCount64()); }

} // namespace

bool networkSourceChosen() { return monitorSettings.SOURCE.kind != SourceKind::Serial; }

PortChange openReceiveSource(bool reportFailure)
{
    if (!networkSourceChosen()) {
        closeNetworkSource();
        return openSerialPort(reportFailure);
    }
    closeSerialPort();
    endPortOutage();
    return openNetworkSource(reportFailure, tickNow());
}

void closeReceiveSource()
{
    closeSerialPort();
    closeNetworkSource();
}

bool receiveSourceOpen()
{
    return networkSourceChosen() ? networkSource.state == PortState::Open : portIsOpen();
}

bool receiveSourceCounting()
{
    return (networkSourceChosen() ? networkSource.state : serialPort.state) != PortState::Closed;
}

PortChange followSourcePowerEvent(WPARAM event)
{
    if (!takeWake(event)) return PortChange::None;
    return networkSourceChosen() ? resumeNetworkSource(tickNow()) : resumeSerialPort();
}
