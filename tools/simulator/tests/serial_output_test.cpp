#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "serial_output.h"

namespace {

struct Pipe {
    int readEnd = -1, writeEnd = -1;
    Pipe() {
        int fds[2];
        EXPECT_EQ(::pipe(fds), 0);
        readEnd = fds[0];
        writeEnd = fds[1];
        // Smallest pipe buffer, so a large write is split and meets EAGAIN.
        ::fcntl(writeEnd, F_SETPIPE_SZ, 4096);
        ::fcntl(writeEnd, F_SETFL, ::fcntl(writeEnd, F_GETFL) | O_NONBLOCK);
    }
    ~Pipe() {
        if (readEnd >= 0) ::close(readEnd);
        if (writeEnd >= 0) ::close(writeEnd);
    }
};

std::string pattern(std::size_t size) {
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>('A' + (i * 7 + i / 251) % 26);
    return s;
}

TEST(WriteFully, SlowReaderGetsEveryByteInOrder) {
    Pipe p;
    const std::string data = pattern(200000);
    std::string received;
    std::thread reader([&] {
        char chunk[700];
        for (;;) {
            const ssize_t n = ::read(p.readEnd, chunk, sizeof chunk);
            if (n <= 0) return;
            received.append(chunk, static_cast<std::size_t>(n));
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    volatile std::sig_atomic_t stop = 0;
    const WriteResult w = writeFully(p.writeEnd, data.data(), data.size(), stop);
    ::close(p.writeEnd);
    p.writeEnd = -1;
    reader.join();
    EXPECT_EQ(w.status, WriteStatus::Done);
    EXPECT_EQ(w.written, data.size());
    EXPECT_TRUE(received == data) << "received " << received.size() << " bytes";
}

TEST(WriteFully, GoneReaderIsAnErrorNotAHang) {
    std::signal(SIGPIPE, SIG_IGN);
    Pipe p;
    ::close(p.readEnd);
    p.readEnd = -1;
    volatile std::sig_atomic_t stop = 0;
    const WriteResult w = writeFully(p.writeEnd, "$PXDR\r\n", 7, stop);
    EXPECT_EQ(w.status, WriteStatus::Failed);
    EXPECT_EQ(w.error, EPIPE);
}

TEST(WriteFully, StopRequestEndsAWaitOnAFullLine) {
    Pipe p;
    const std::string data = pattern(100000);
    volatile std::sig_atomic_t stop = 0;
    std::atomic<bool> returned{false};
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        stop = 1;
        // Should the stop be ignored, drain the pipe after a while so the
        // test fails on the result instead of hanging.
        for (int i = 0; i < 200 && !returned; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ::fcntl(p.readEnd, F_SETFL, ::fcntl(p.readEnd, F_GETFL) | O_NONBLOCK);
        char sink[4096];
        while (!returned) {
            if (::read(p.readEnd, sink, sizeof sink) <= 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    const auto before = std::chrono::steady_clock::now();
    const WriteResult w = writeFully(p.writeEnd, data.data(), data.size(), stop);
    const auto waited = std::chrono::steady_clock::now() - before;
    returned = true;
    stopper.join();
    EXPECT_EQ(w.status, WriteStatus::Stopped);
    EXPECT_GT(w.written, 0u);
    EXPECT_LT(w.written, data.size());
    EXPECT_LT(waited, std::chrono::seconds(2));
}

// A pty pair stands in for the serial line.
struct PtyPair {
    int master = -1;
    std::string slavePath;
    PtyPair() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        EXPECT_GE(master, 0);
        EXPECT_EQ(::grantpt(master), 0);
        EXPECT_EQ(::unlockpt(master), 0);
        slavePath = ::ptsname(master);
    }
    ~PtyPair() {
        if (master >= 0) ::close(master);
    }
};

TEST(OpenOutput, SetsTheTtyTo4800Baud8N1RawAndPassesCrLfUnchanged) {
    PtyPair pty;
    std::string note;
    const int fd = openOutput(pty.slavePath, note);
    ASSERT_GE(fd, 0) << pty.slavePath;
    termios tio{};
    ASSERT_EQ(::tcgetattr(fd, &tio), 0);
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B4800));
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | ICRNL), 0u);
    EXPECT_NE(::fcntl(fd, F_GETFL) & O_NONBLOCK, 0);

    const std::string line = "$PXDR,0998.60,52684,+01.2,+03.5,-0300,0995.40\r\n";
    volatile std::sig_atomic_t stop = 0;
    ASSERT_EQ(writeFully(fd, line.data(), line.size(), stop).status, WriteStatus::Done);
    std::string received;
    char buffer[128];
    for (int tries = 0; tries < 50 && received.size() < line.size(); ++tries) {
        const ssize_t n = ::read(pty.master, buffer, sizeof buffer);
        if (n > 0) received.append(buffer, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(received, line);
    ::close(fd);
}

TEST(OpenOutput, ClosedOtherSideGivesEio) {
    PtyPair pty;
    std::string note;
    const int fd = openOutput(pty.slavePath, note);
    ASSERT_GE(fd, 0);
    ::close(pty.master);
    pty.master = -1;
    volatile std::sig_atomic_t stop = 0;
    const WriteResult w = writeFully(fd, "$PXDR\r\n", 7, stop);
    EXPECT_EQ(w.status, WriteStatus::Failed);
    EXPECT_EQ(w.error, EIO);
    ::close(fd);
}

TEST(OpenOutput, MissingPathFails) {
    std::string note;
    errno = 0;
    EXPECT_EQ(openOutput("/nonexistent/dev/pts/999", note), -1);
    EXPECT_EQ(errno, ENOENT);
}

}  // namespace
