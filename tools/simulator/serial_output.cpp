#include "serial_output.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

WriteResult writeFully(int fd, const char* data, std::size_t size, const volatile std::sig_atomic_t& stop) {
    WriteResult result;
    while (result.written < size) {
        const ssize_t n = ::write(fd, data + result.written, size - result.written);
        if (n > 0) {
            result.written += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
            result.status = WriteStatus::Failed;
            result.error = errno;
            return result;
        }
        if (stop) {
            result.status = WriteStatus::Stopped;
            return result;
        }
        if (n < 0 && errno == EINTR) continue;
        // Full: wait for room, but wake now and then to notice a stop request.
        pollfd p{fd, POLLOUT, 0};
        ::poll(&p, 1, 200);
    }
    return result;
}

bool configureSerialLine(int fd) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) return false;
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;  // CLOCAL: no modem lines, so no carrier wait
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);  // CR LF must go out unchanged
    if (::cfsetispeed(&tio, B4800) != 0 || ::cfsetospeed(&tio, B4800) != 0) return false;
    return ::tcsetattr(fd, TCSANOW, &tio) == 0;
}

int openOutput(const std::string& path, std::string& note) {
    note.clear();
    // Non-blocking so neither the open (a serial port waiting for carrier)
    // nor a full buffer can keep us from seeing SIGINT/SIGTERM.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    if (::isatty(fd) && !configureSerialLine(fd)) {
        // A pty has no line speed and some kernels refuse the request; the
        // bytes pass regardless, so this is only worth a remark.
        note = std::string("line settings not applied: ") + std::strerror(errno);
    }
    return fd;
}
