#include "display/nmea_text.h"

#include "acquisition/measurement_state.h"

int nmeaRowCount(int outerHeight, int lineHeight)
{
    // A font without height would make every row the same; show nothing then.
    if (lineHeight <= 0) return 0;
    return outerHeight / lineHeight - 3;
}

void normaliseNmeaLine(char* line)
{
    for (size_t i = 0; i + 1 < nmeaLineSize; ++i) {
        unsigned char byte = static_cast<unsigned char>(line[i]);
        if (byte < 0x20 || byte > 0x7F) line[i] = ' ';
    }
}
