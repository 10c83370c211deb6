// The network source's sockets under Wine, on 127.0.0.1, with the clock given by the test.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <vector>

#include "acquisition/network_source.h"
#include "acquisition/receive_line.h"
#include "acquisition/udp_output.h"
#include "acquisition/winsock_use.h"
#include "records/event_text.h"
#include "settings/monitor_settings.h"
#include "settings/shell_seam.h"
#include "win32_test_support.h"

namespace {

std::vector<int> events;
int startups = 0, cleanups = 0;

// Winsock's rule, which Wine does not keep: no socket before WSAStartup, and
// one WSACleanup for each start.
using SocketCall = SOCKET(WSAAPI*)(int, int, int);
using StartCall = int(WSAAPI*)(WORD, LPWSADATA);
using CleanupCall = int(WSAAPI*)();
ImportPatch* socketPatch = nullptr;
ImportPatch* startPatch = nullptr;
ImportPatch* cleanupPatch = nullptr;

SOCKET WSAAPI socketAfterStart(int family, int type, int protocol)
{
    if (startups <= cleanups) {
        WSASetLastError(WSANOTINITIALISED);
        return INVALID_SOCKET;
    }
    return reinterpret_cast<SocketCall>(socketPatch->original())(family, type, protocol);
}

int WSAAPI countedStart(WORD version, LPWSADATA data)
{
    ++startups;
    return reinterpret_cast<StartCall>(startPatch->original())(version, data);
}

int WSAAPI countedCleanup()
{
    ++cleanups;
    return reinterpret_cast<CleanupCall>(cleanupPatch->original())();
}

class NetworkSourceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetMonitorSettings();
        resetReceiveLine();
        resetNetworkSource();
        events.clear();
        shellSeam.logEvent = [](int number) { events.push_back(number); };
        socketPatch = new ImportPatch("socket", reinterpret_cast<void*>(socketAfterStart));
        startPatch = new ImportPatch("WSAStartup", reinterpret_cast<void*>(countedStart));
        cleanupPatch = new ImportPatch("WSACleanup", reinterpret_cast<void*>(countedCleanup));
        ASSERT_TRUE(socketPatch->applied() && startPatch->applied() && cleanupPatch->applied());
        startups = cleanups = 0;
    }

    void TearDown() override
    {
        closeNetworkSource();
        closeUdpOutput();
        endWinsock();
        delete socketPatch, delete startPatch, delete cleanupPatch;
        resetShellSeam();
        resetMonitorSettings();
    }
};

} // namespace

TEST_F(NetworkSourceTest, APeerThatClosesAtOnceAThousandTimesIsOneLossAndAnIdleConnectionIsLostAfterAMinute)
{
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
    // Polls with the clock standing until the connection is up (or lost again).
    auto pollUntil = [&](uint32_t now, auto done) {
        for (int i = 0; i < 5000 && !done(); ++i) {
            pollNetworkSource(now);
            Sleep(1);
        }
        return done();
    };

    uint32_t now = 1000;
    openNetworkSource(true, now);
    std::vector<uint32_t> waits;
    const DWORD handlesBefore = [] { DWORD n = 0; GetProcessHandleCount(GetCurrentProcess(), &n); return n; }();
    for (int round = 0; round < 1000; ++round) {
        SOCKET peer = acceptOne();
        ASSERT_NE(peer, INVALID_SOCKET) << "round " << round;
        closesocket(peer);
        ASSERT_TRUE(pollUntil(now, [] { return networkSource.state == PortState::Retrying && !networkSource.connecting; }))
            << "round " << round;
        waits.push_back(networkSource.waitMs);
        // Not one attempt before the wait is over.
        pollNetworkSource(now + networkSource.waitMs - 1);
        ASSERT_FALSE(networkSource.connecting);
        now += networkSource.waitMs;
        pollNetworkSource(now);
    }
    DWORD handlesAfter = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
    EXPECT_LT(handlesAfter, handlesBefore + 10) << "a socket left behind in each round";
    EXPECT_EQ(std::vector<uint32_t>(waits.begin(), waits.begin() + 5),
              (std::vector<uint32_t>{1000, 2000, 4000, 5000, 5000}));
    EXPECT_EQ(waits.back(), 5000u);
    EXPECT_EQ(events, std::vector<int>{eventPortLost}) << "one loss, and no return without data";

    // Data ends the outage; a minute without a byte loses the connection again.
    SOCKET peer = acceptOne();
    ASSERT_NE(peer, INVALID_SOCKET);
    ASSERT_TRUE(pollUntil(now, [] { return networkSource.state == PortState::Open; }));
    send(peer, "$GPZDA,1*00\r\n", 13, 0);
    ASSERT_TRUE(pollUntil(now, [] { return networkSource.gotBytes; }));
    EXPECT_EQ(events, (std::vector<int>{eventPortLost, eventPortReturned}));
    pollNetworkSource(now + tcpIdleLimitMs - 1);
    EXPECT_EQ(networkSource.state, PortState::Open);
    pollNetworkSource(now + tcpIdleLimitMs);
    EXPECT_EQ(networkSource.state, PortState::Retrying);
    EXPECT_EQ(networkSource.waitMs, 1000u) << "after data the rhythm starts again at one second";
    EXPECT_EQ(events, (std::vector<int>{eventPortLost, eventPortReturned, eventPortLost}));
    closesocket(peer);
    closesocket(server);
    WSACleanup();
}
