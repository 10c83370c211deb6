#pragma once
// Datagrams to the navigation software over UDP, to the SENDTO setting, and
// the Signal K deltas to SIGNALKTO, through the one socket. A send never holds
// up the window: the socket does not block, each datagram is one sendto, and
// a failure is counted and dropped.
#include <cstddef>
#include <cstdint>

struct UdpOutput {
    uintptr_t socket;  // 0 until the first datagram makes it
    uint16_t localPort;  // the port it sends from, once a send has given it one; 0 before
    bool unavailable;  // Winsock or the socket could not be had (event 77): not tried again this run
    bool failing;      // the last send of readings failed (event 78 logged)
    bool signalKFailing;  // the same for the Signal K server, which may be down while the plotter is not
    unsigned sent, failed;
};

extern UdpOutput udpOutput;

// Forgets the socket without closing it, as at start.
void resetUdpOutput();

void sendUdpDatagram(const char* bytes, size_t length);

void sendSignalKDatagram(const char* bytes, size_t length);

// Closes the socket, at the end of the run (Winsock is ended after it).
void closeUdpOutput();
