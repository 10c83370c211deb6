#include "acquisition/network_source.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include "acquisition/keep_awake.h"
#include "acquisition/receive_line.h"
#include "acquisition/udp_output.h"
#include "acquisition/winsock_use.h"
#include "records/event_text.h"
#include "settings/monitor_settings.h"
#include "settings/shell_seam.h"

NetworkSource networkSource = {};

void resetNetworkSource() { networkSource = NetworkSource{}; }

namespace {

// The largest UDP datagram fits whole: a shorter buffer would cut it and lose its end.
uint8_t buffer[65536];

SOCKET held() { return static_cast<SOCKET>(networkSource.socket); }

void dropSocket()
{
    if (networkSource.socket) closesocket(held());
    networkSource.socket = 0;
    networkSource.connecting = false;
}

void setOption(SOCKET socket, int level, int name, int value)
{
    setsockopt(socket, level, name, reinterpret_cast<const char*>(&value), sizeof value);
}

// After a failed attempt or a loss: wait, then try again; never sooner.
void waitForNextAttempt(uint32_t nowMs)
{
    dropSocket();
    networkSource.state = PortState::Retrying;
    networkSource.attemptMs = nowMs;
    networkSource.waitMs = reconnectWaitMs(++networkSource.failures);
    followKeepAwake();
}

void lose(uint32_t nowMs)
{
    if (!networkSource.outageLogged) {
        logEvent(eventPortLost);
        networkSource.outageLogged = true;
    }
    // A line cut off by the loss must not be joined to the first bytes of the next connection.
    resetReceiveLine();
    waitForNextAttempt(nowMs);
}

void noteReturn()
{
    networkSource.failures = 0;
    if (!networkSource.outageLogged) return;
    logEvent(eventPortReturned);
    networkSource.outageLogged = false;
}

void learnOwnAddresses(SOCKET socket)
{
    networkSource.ownAddressCount = 0;
    INTERFACE_INFO interfaces[16];
    DWORD size = 0;
    if (WSAIoctl(socket, SIO_GET_INTERFACE_LIST, nullptr, 0, interfaces, sizeof interfaces, &size, nullptr,
                 nullptr) != 0)
        return;
    const unsigned count = static_cast<unsigned>(size / sizeof interfaces[0]);
    for (unsigned i = 0; i < count && networkSource.ownAddressCount < 16; ++i) {
        const sockaddr_in& address = interfaces[i].iiAddress.AddressIn;
        if (address.sin_family == AF_INET)
            networkSource.ownAddresses[networkSource.ownAddressCount++] = ntohl(address.sin_addr.s_addr);
    }
}

SOCKET newSocket(int type, int protocol)
{
    if (!startWinsock()) return INVALID_SOCKET;
    const SOCKET made = socket(AF_INET, type, protocol);
    if (made == INVALID_SOCKET) return made;
    u_long nonBlocking = 1;
    ioctlsocket(made, FIONBIO, &nonBlocking);
    return made;
}

PortChange bindUdp(bool reportFailure, uint32_t nowMs)
{
    const SOCKET made = newSocket(SOCK_DGRAM, IPPROTO_UDP);
    if (made == INVALID_SOCKET) {
        waitForNextAttempt(nowMs);
        return PortChange::None;
    }
    // A chart plotter on this PC may listen on the same port: a broadcast reaches both.
    setOption(made, SOL_SOCKET, SO_REUSEADDR, 1);
    // Room for the datagrams of a busy gateway between two ticks, and of a print job.
    setOption(made, SOL_SOCKET, SO_RCVBUF, 256 * 1024);
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_port = htons(monitorSettings.SOURCE.udpPort);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    networkSource.socket = made;
    if (bind(made, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        waitForNextAttempt(nowMs);
        if (!reportFailure) return PortChange::None;
        networkSource.outageLogged = true;
        return PortChange::OpenFailed;
    }
    learnOwnAddresses(made);
    networkSource.state = PortState::Open;
    followKeepAwake();
    noteReturn();
    return PortChange::Opened;
}

void connected(uint32_t nowMs)
{
    networkSource.connecting = false;
    networkSource.state = PortState::Open;
    networkSource.lastByteMs = nowMs;
    networkSource.gotBytes = false;
    followKeepAwake();
}

void startConnect(uint32_t nowMs)
{
    const SOCKET made = newSocket(SOCK_STREAM, IPPROTO_TCP);
    if (made == INVALID_SOCKET) {
        lose(nowMs);
        return;
    }
    networkSource.socket = made;
    // A peer that vanished without a word (power off) is found even while no byte is due.
    setOption(made, SOL_SOCKET, SO_KEEPALIVE, 1);
    sockaddr_in server = {};
    server.sin_family = AF_INET;
    server.sin_port = htons(monitorSettings.SOURCE.tcpPort);
    server.sin_addr.s_addr = htonl(monitorSettings.SOURCE.tcpAddress);
    networkSource.attemptMs = nowMs;
    if (connect(made, reinterpret_cast<const sockaddr*>(&server), sizeof server) == 0) {
        connected(nowMs);
        return;
    }
    if (WSAGetLastError() != WSAEWOULDBLOCK) {
        lose(nowMs);
        return;
    }
    networkSource.connecting = true;
}

// Asks, without waiting, whether the connect under way has finished.
void followConnect(uint32_t nowMs)
{
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(held(), &writable);
    FD_SET(held(), &failed);
    timeval now = {0, 0};
    if (select(0, nullptr, &writable, &failed, &now) == SOCKET_ERROR || FD_ISSET(held(), &failed)) {
        lose(nowMs);
        return;
    }
    if (FD_ISSET(held(), &writable)) {
        int error = 0, size = sizeof error;
        if (getsockopt(held(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) != 0 || error != 0)
            lose(nowMs);
        else
            connected(nowMs);
        return;
    }
    if (nowMs - networkSource.attemptMs >= tcpConnectLimitMs) lose(nowMs);
}

void attempt(uint32_t nowMs)
{
    dropSocket();
    if (monitorSettings.SOURCE.kind == SourceKind::Udp) bindUdp(false, nowMs);
    else startConnect(nowMs);
}

void readDatagrams(uint32_t nowMs)
{
    uint32_t taken = 0;
    for (unsigned datagrams = 0; datagrams < 256 && taken < networkBytesPerTick; ++datagrams) {
        sockaddr_in from = {};
        int size = sizeof from;
        const int got = recvfrom(held(), reinterpret_cast<char*>(buffer), sizeof buffer, 0,
                                 reinterpret_cast<sockaddr*>(&from), &size);
        if (got == SOCKET_ERROR) {
            const int error = WSAGetLastError();
            if (error == WSAEWOULDBLOCK) return;
            // An ICMP answer to some earlier datagram, or one cut to the buffer: the socket is fine.
            if (error == WSAECONNRESET || error == WSAEMSGSIZE) continue;
            lose(nowMs);
            return;
        }
        if (isOwnDatagram(ntohl(from.sin_addr.s_addr), ntohs(from.sin_port))) {
            ++networkSource.ownDatagramsDropped;
            continue;
        }
        taken += static_cast<uint32_t>(got);
        receiveBytes(buffer, static_cast<size_t>(got));
    }
}

void readStream(uint32_t nowMs)
{
    for (uint32_t taken = 0; taken < networkBytesPerTick;) {
        const int got = recv(held(), reinterpret_cast<char*>(buffer), sizeof buffer, 0);
        if (got == 0 || (got == SOCKET_ERROR && WSAGetLastError() != WSAEWOULDBLOCK)) {
            lose(nowMs);  // closed by the peer, or failed
            return;
        }
        if (got == SOCKET_ERROR) break;  // nothing more now
        if (!networkSource.gotBytes) {
            // Back only once data flows: a peer that accepts and closes at
            // once is one outage, and its attempts keep their slow rhythm.
            networkSource.gotBytes = true;
            noteReturn();
        }
        networkSource.lastByteMs = nowMs;
        taken += static_cast<uint32_t>(got);
        receiveBytes(buffer, static_cast<size_t>(got));
    }
    if (nowMs - networkSource.lastByteMs >= tcpIdleLimitMs) lose(nowMs);
}

} // namespace

PortChange openNetworkSource(bool reportFailure, uint32_t nowMs)
{
    dropSocket();
    resetReceiveLine();
    networkSource.failures = 0;
    networkSource.state = PortState::Retrying;
    if (monitorSettings.SOURCE.kind == SourceKind::Udp) return bindUdp(reportFailure, nowMs);
    startConnect(nowMs);
    return networkSource.state == PortState::Open ? PortChange::Opened : PortChange::None;
}

void closeNetworkSource()
{
    dropSocket();
    networkSource.state = PortState::Closed;
    networkSource.outageLogged = false;
    followKeepAwake();
}

int pollNetworkSource(uint32_t nowMs)
{
    // A box opened while a line is handled runs its own message loop, whose
    // ticks must not read into the buffer still being handled.
    static bool polling = false;
    if (polling) return 1;
    NetworkSource& source = networkSource;
    if (source.state == PortState::Retrying) {
        if (source.connecting) followConnect(nowMs);
        else if (nowMs - source.attemptMs >= source.waitMs) attempt(nowMs);
    }
    if (source.state != PortState::Open) return 1;
    polling = true;
    if (monitorSettings.SOURCE.kind == SourceKind::Udp) readDatagrams(nowMs);
    else readStream(nowMs);
    polling = false;
    return 0;
}

PortChange resumeNetworkSource(uint32_t nowMs)
{
    if (networkSource.state == PortState::Closed) return PortChange::None;
    if (networkSource.state == PortState::Open) networkSource.outageLogged = true;
    resetReceiveLine();
    networkSource.failures = 0;
    networkSource.state = PortState::Retrying;
    attempt(nowMs);
    return networkSource.state == PortState::Open ? PortChange::Opened : PortChange::None;
}

bool isOwnDatagram(uint32_t address, uint16_t port)
{
    if (udpOutput.localPort == 0 || port != udpOutput.localPort) return false;
    if (address >> 24 == 127) return true;
    for (unsigned i = 0; i < networkSource.ownAddressCount; ++i)
        if (networkSource.ownAddresses[i] == address) return true;
    return false;
}
