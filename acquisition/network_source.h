#pragma once
// The boat's network as the source of the lines: a UDP port listened on (on
// every interface, shared with other programs, broadcasts taken), or a TCP
// server connected to. Read on the timer's ticks without ever blocking; the
// bytes go to the same line reader as the serial port's.
#include <cstdint>

#include "acquisition/serial_port.h"

struct NetworkSource {
    uintptr_t socket;      // 0 while none is held
    // Open: bound (UDP) or connected (TCP). Retrying: waiting for the next
    // attempt, or (TCP) connecting. Closed: not chosen, or at the end.
    PortState state;
    bool connecting;
    // A loss or a failed start was reported: the return is logged (event 66).
    bool outageLogged;
    // Attempts that failed since data last came; they set the wait before the next.
    unsigned failures;
    uint32_t attemptMs;    // when the last attempt started, or the connection was lost
    uint32_t waitMs;       // the wait from then to the next attempt
    uint32_t lastByteMs;   // TCP: when the connection last delivered a byte
    bool gotBytes;         // TCP: this connection has delivered bytes
    // This PC's IPv4 addresses besides the loopback ones, as the UDP socket was bound.
    uint32_t ownAddresses[16];
    unsigned ownAddressCount;
    unsigned ownDatagramsDropped;
};

extern NetworkSource networkSource;

// Nothing held, nothing reported; a socket held is not closed.
void resetNetworkSource();

// A TCP connection without a byte for this long is taken for dead.
constexpr uint32_t tcpIdleLimitMs = 60000;
// A connect that has not finished by then failed (a gateway gone from the network).
constexpr uint32_t tcpConnectLimitMs = 10000;
// Bytes taken in one tick at most: a busy gateway (AIS) sends far more than a
// serial line, and what is left waits in the system's buffer.
constexpr uint32_t networkBytesPerTick = 256 * 1024;

// The wait before the next attempt after `failures` failed ones: 1, 2, 4,
// then 5 seconds.
constexpr uint32_t reconnectWaitMs(unsigned failures)
{
    return failures <= 1 ? 1000 : failures == 2 ? 2000 : failures == 3 ? 4000 : 5000;
}

// Opens the source of the SOURCE setting, with a fresh receive line; a socket
// held is closed first. A UDP port that cannot be bound answers OpenFailed
// when `reportFailure` (the caller tells the user and logs event 1) and is
// tried again in the rhythm of a lost connection, as is a TCP server that
// does not answer. A TCP connect usually finishes on a later tick.
PortChange openNetworkSource(bool reportFailure, uint32_t nowMs);

// Closes the socket: Closed.
void closeNetworkSource();

// One tick: the next attempt when it is due, the end of a connect, then up
// to networkBytesPerTick bytes into the line reader. A closed or failed
// connection, or a TCP connection idle for tcpIdleLimitMs, is lost: event 19
// once per outage, and connected again after the wait. Returns 1 when
// nothing could be read (not open), else 0.
int pollNetworkSource(uint32_t nowMs);

// The PC woke from sleep: the socket is closed and the source opened again
// at once; its return is logged (event 66), no loss is.
PortChange resumeNetworkSource(uint32_t nowMs);

// True for a datagram's sender that is this program's own UDP output: this
// PC, from the port the output sends from.
bool isOwnDatagram(uint32_t address, uint16_t port);
