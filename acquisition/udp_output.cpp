#include "acquisition/udp_output.h"

#include <winsock2.h>

#include "acquisition/winsock_use.h"
#include "records/event_text.h"
#include "settings/monitor_settings.h"
#include "settings/shell_seam.h"

UdpOutput udpOutput = {};

void resetUdpOutput() { udpOutput = UdpOutput{}; }

namespace {

bool giveUp()
{
    udpOutput.unavailable = true;
    logEvent(eventUdpUnavailable);
    return false;
}

bool haveSocket()
{
    if (udpOutput.socket) return true;
    if (udpOutput.unavailable) return false;
    if (!startWinsock()) return giveUp();
    const SOCKET made = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (made == INVALID_SOCKET) return giveUp();
    u_long nonBlocking = 1;
    ioctlsocket(made, FIONBIO, &nonBlocking);
    // A tablet is reached through the network's broadcast address.
    const BOOL broadcast = TRUE;
    setsockopt(made, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&broadcast), sizeof broadcast);
    udpOutput.socket = made;
    return true;
}

void sendTo(const UdpDestination& destination, bool& failing, const char* bytes, size_t length)
{
    if (!haveSocket()) return;
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_port = htons(destination.port);
    to.sin_addr.s_addr = htonl(destination.address);
    if (sendto(static_cast<SOCKET>(udpOutput.socket), bytes, static_cast<int>(length), 0,
               reinterpret_cast<const sockaddr*>(&to), sizeof to) != SOCKET_ERROR) {
        ++udpOutput.sent;
        failing = false;
        // The first send bound the socket: the network source knows its own datagrams by this port.
        if (udpOutput.localPort == 0) {
            sockaddr_in local = {};
            int size = sizeof local;
            if (getsockname(static_cast<SOCKET>(udpOutput.socket), reinterpret_cast<sockaddr*>(&local), &size) == 0)
                udpOutput.localPort = ntohs(local.sin_port);
        }
        return;
    }
    ++udpOutput.failed;
    if (failing) return;
    failing = true;
    logEvent(eventUdpSendFailed);
}

} // namespace

void sendUdpDatagram(const char* bytes, size_t length)
{
    sendTo(monitorSettings.SENDTO, udpOutput.failing, bytes, length);
}

void sendSignalKDatagram(const char* bytes, size_t length)
{
    sendTo(monitorSettings.SIGNALKTO, udpOutput.signalKFailing, bytes, length);
}

void closeUdpOutput()
{
    if (udpOutput.socket) closesocket(static_cast<SOCKET>(udpOutput.socket));
    resetUdpOutput();
}
