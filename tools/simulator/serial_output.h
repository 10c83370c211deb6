#pragma once

#include <csignal>
#include <cstddef>
#include <string>

// POSIX side of the simulator: opening the line and writing whole buffers.

enum class WriteStatus { Done, Stopped, Failed };

struct WriteResult {
    WriteStatus status = WriteStatus::Done;
    int error = 0;          // errno when Failed
    std::size_t written = 0;
};

// Writes all `size` bytes, coping with partial writes, EINTR and EAGAIN (it
// waits in poll() for room). Returns Stopped as soon as `stop` is set while it
// waits, and Failed with the errno of any other write error (EIO, EPIPE, ...).
WriteResult writeFully(int fd, const char* data, std::size_t size, const volatile std::sig_atomic_t& stop);

// Opens `path` for non-blocking writing without making it our controlling
// terminal; a tty is set to 4800 baud 8N1 raw. Returns the descriptor, or -1
// with errno set. `note` receives a remark when the line settings did not take.
int openOutput(const std::string& path, std::string& note);

// The termios part of openOutput, for a descriptor already open. Returns
// false (errno set) when the settings were refused.
bool configureSerialLine(int fd);
