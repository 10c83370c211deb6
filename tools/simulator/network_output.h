#pragma once

#include <cstdint>

// The simulator as a gateway on 127.0.0.1 only: the sockets never reach
// beyond this machine. Each returns a descriptor, or -1 with errno set.

// A datagram socket connected to 127.0.0.1:port: each write is one datagram.
int openUdpSender(std::uint16_t port);

// A non-blocking TCP server listening on 127.0.0.1:port.
int openTcpListener(std::uint16_t port);

// The client waiting at the server, non-blocking, or -1 when none waits.
int acceptClient(int listener);
