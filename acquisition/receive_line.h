#pragma once
// Assembles received bytes into lines. Each line feed completes a line,
// which is dispatched at once; the bytes after it begin the next line.
#include <cstddef>
#include <cstdint>

// Longest line kept, its line feed included. At 4800 baud a sentence is
// under 100 bytes, so a line this long is noise or a device without line ends.
constexpr size_t receiveLineCapacity = 1024;

struct ReceiveLine {
    char bytes[receiveLineCapacity];
    size_t length;
    // Set when the line outgrew the buffer: the rest up to the next line
    // feed belongs to the dropped line and is discarded.
    bool discarding;
};

extern ReceiveLine receiveLine;

void receiveByte(uint8_t byte);
void receiveBytes(const uint8_t* bytes, size_t count);

// Empties the line and ends any discarding; at start-up.
void resetReceiveLine();

// Drops the line being received and every byte up to the next line feed: the
// driver reported bytes lost or damaged, so this line must not be taken.
void discardReceiveLine();
