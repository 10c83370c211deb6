// The network source's sockets under Wine, on 127.0.0.1, with the clock given by the test.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <vector>

#include "acquisition/network_source.h"
#include "acquisition/udp_output.h"
#include "acquisition/winsock_use.h"
#include "records/event_text.h"
#include "settings/monitor_settings.h"
#include "settings/shell_seam.h"
#include "win32_test_support.h"

namespace {

std::vector<int> events;
int startups = 0, cleanups = 0;
ImportPatch *socketPatch, *startPatch, *cleanupPatch;

// Winsock's rule, which Wine does not keep: no socket before WSAStartup; one WSACleanup per start.
SOCKET WSAAPI socketAfterStart(int family, int type, int protocol)
{
    if (startups <= cleanups) {
        WSASetLastError(WSANOTINITIALISED);
        return INVALID_SOCKET;
    }
    return reinterpret_cast<decltype(&socket)>(socketPatch->original())(family, type, protocol);
}
int WSAAPI countedStart(WORD version, LPWSADATA data)
{
    ++startups;
    return reinterpret_cast<decltype(&WSAStartup)>(startPatch->original())(version, data);
}
int WSAAPI countedCleanup()
{
    ++cleanups;
    return reinterpret_cast<decltype(&WSACleanup)>(cleanupPatch->original())();
}

DWORD handleCount()
{
    DWORD count = 0;
    GetProcessHandleCount(GetCurrentProcess(), &count);
    return count;
}

} // namespace

TEST(NetworkSource, APeerThatClosesAtOnceAThousandTimesIsOneLossAndAnIdleConnectionIsLostAfterAMinute)
{
    resetMonitorSettings();
    resetNetworkSource();
    shellSeam.logEvent = [](int number) { events.push_back(number); };
    socketPatch = new ImportPatch("socket", reinterpret_cast<void*>(socketAfterStart));
    startPatch = new ImportPatch("WSAStartup", reinterpret_cast<void*>(countedStart));
    cleanupPatch = new ImportPatch("WSACleanup", reinterpret_cast<void*>(countedCleanup));
    ASSERT_TRUE(socketPatch->applied() && startPatch->applied() && cleanupPatch->applied());

    // The UDP output and the source share one start of Winsock, made before their first socket.
    monitorSettings.SOURCE = {SourceKind::Udp, 0, 0, 0};  // port 0: the system picks one
    EXPECT_EQ(openNetworkSource(true, 0), PortChange::Opened);
    sendUdpDatagram("x\n", 2);
    EXPECT_EQ(udpOutput.sent, 1u);
    closeNetworkSource();
    closeUdpOutput();
    endWinsock();
    EXPECT_EQ(startups, 1);
    EXPECT_EQ(cleanups, 1);

    // The test's own server, with a start of its own.
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    SOCKET server = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    ASSERT_EQ(bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(server, 4), 0);
    getsockname(server, reinterpret_cast<sockaddr*>(&address), &size);
    monitorSettings.SOURCE = {SourceKind::Tcp, 0, INADDR_LOOPBACK, ntohs(address.sin_port)};
    auto acceptOne = [&] {
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(server, &ready);
        timeval limit = {5, 0};
        return select(0, &ready, nullptr, nullptr, &limit) == 1 ? accept(server, nullptr, nullptr) : INVALID_SOCKET;
    };
    // Polls, the clock standing, until `done`.
    auto pollUntil = [](uint32_t now, bool (*done)()) {
        for (int i = 0; i < 5000 && !done(); ++i, Sleep(1)) pollNetworkSource(now);
        return done();
    };
    auto waiting = [] { return networkSource.state == PortState::Retrying && !networkSource.connecting; };

    uint32_t now = 1000;
    openNetworkSource(true, now);
    std::vector<uint32_t> waits;
    const DWORD handlesBefore = handleCount();
    for (int round = 0; round < 1000; ++round) {
        SOCKET peer = acceptOne();
        ASSERT_NE(peer, INVALID_SOCKET) << "round " << round;
        closesocket(peer);
        ASSERT_TRUE(pollUntil(now, waiting)) << "round " << round;
        waits.push_back(networkSource.waitMs);
        pollNetworkSource(now + networkSource.waitMs - 1);
        ASSERT_FALSE(networkSource.connecting) << "an attempt before the wait was over";
        now += networkSource.waitMs;
        pollNetworkSource(now);
    }
    EXPECT_LT(handleCount(), handlesBefore + 10) << "a socket left behind in each round";
    EXPECT_EQ(std::vector<uint32_t>(waits.begin(), waits.begin() + 5), (std::vector<uint32_t>{1000, 2000, 4000, 5000, 5000}));
    EXPECT_EQ(waits.back(), 5000u);
    EXPECT_EQ(events, std::vector<int>{eventPortLost}) << "one loss, and no return without data";

    // Data ends the outage; a minute without a byte loses the connection again, tried after a second.
    SOCKET peer = acceptOne();
    ASSERT_TRUE(pollUntil(now, [] { return networkSource.state == PortState::Open; }));
    send(peer, "$GPZDA,1*00\r\n", 13, 0);
    ASSERT_TRUE(pollUntil(now, [] { return networkSource.gotBytes; }));
    pollNetworkSource(now + tcpIdleLimitMs - 1);
    EXPECT_EQ(networkSource.state, PortState::Open);
    pollNetworkSource(now + tcpIdleLimitMs);
    EXPECT_TRUE(waiting() && networkSource.waitMs == 1000u);
    EXPECT_EQ(events, (std::vector<int>{eventPortLost, eventPortReturned, eventPortLost}));

    closesocket(peer);
    closesocket(server);
    WSACleanup();
    closeNetworkSource();
    delete socketPatch, delete startPatch, delete cleanupPatch;
    resetShellSeam();
    resetMonitorSettings();
}
