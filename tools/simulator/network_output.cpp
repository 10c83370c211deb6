#include "network_output.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

sockaddr_in loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

int failed(int fd) {
    ::close(fd);
    return -1;
}

bool nonBlocking(int fd) { return fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK) == 0; }

}  // namespace

int openUdpSender(std::uint16_t port) {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0) return -1;
    const sockaddr_in to = loopback(port);
    if (connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0 || !nonBlocking(fd)) return failed(fd);
    return fd;
}

int openTcpListener(std::uint16_t port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return -1;
    // Started again at once after a stop, the port is free despite the old connection's TIME_WAIT.
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const sockaddr_in at = loopback(port);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&at), sizeof at) != 0 || listen(fd, 1) != 0 || !nonBlocking(fd))
        return failed(fd);
    return fd;
}

int acceptClient(int listener) {
    const int fd = accept(listener, nullptr, nullptr);
    if (fd < 0) return -1;
    if (!nonBlocking(fd)) return failed(fd);
    return fd;
}
