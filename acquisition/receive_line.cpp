#include "acquisition/receive_line.h"

#include "acquisition/line_dispatch.h"

ReceiveLine receiveLine = {};

namespace {

constexpr uint8_t lineFeed = 10;

} // namespace

void receiveByte(uint8_t byte)
{
    if (receiveLine.discarding) {
        if (byte == lineFeed) receiveLine.discarding = false;
        return;
    }
    receiveLine.bytes[receiveLine.length++] = static_cast<char>(byte);
    if (byte == lineFeed) {
        size_t length = receiveLine.length;
        // Emptied before dispatching so the line is never handled twice.
        receiveLine.length = 0;
        dispatchLine(receiveLine.bytes, length);
        return;
    }
    if (receiveLine.length == receiveLineCapacity) {
        // Dropped whole: a part of it could be taken for a sentence.
        receiveLine.length = 0;
        receiveLine.discarding = true;
    }
}

void receiveBytes(const uint8_t* bytes, size_t count)
{
    for (size_t i = 0; i < count; ++i) receiveByte(bytes[i]);
}

void resetReceiveLine()
{
    receiveLine.length = 0;
    receiveLine.discarding = false;
}

void discardReceiveLine()
{
    receiveLine.length = 0;
    receiveLine.discarding = true;
}
