#include "acquisition/record_bytes.h"

#include <cstring>

void formatBarographRecord(char (&line)[recordLineLength])
{
    formatRecordLine(acquisitionCounters.recordCounter, currentReading.sampleTime,
                     currentReading.pressure, currentReading.tendency1h,
                     currentReading.tendency3h, variationCycle.variation,
                     currentReading.windAlarm, line);
}

size_t formatNmeaRecord(const char* kept, size_t length, char (&bytes)[nmeaMaxLineLength + 2])
{
    if (length <= nmeaMaxLineLength) {
        std::memcpy(bytes, kept, length);
        return length;
    }
    size_t count = nmeaMaxLineLength;
    std::memcpy(bytes, kept, count);
    if (bytes[count - 1] == '\r') --count;
    bytes[count] = '\r';
    bytes[count + 1] = '\n';
    return count + 2;
}
