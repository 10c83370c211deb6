#include "acquisition/nmea_output.h"

#include <cstdio>
#include <cstring>

#include "acquisition/measurement_state.h"

uint8_t nmeaChecksum(const char* sentence, size_t length)
{
    uint8_t sum = 0;
    for (size_t i = sentence[0] == '$' ? 1 : 0; i < length && sentence[i] != '*'; ++i)
        sum ^= static_cast<uint8_t>(sentence[i]);
    return sum;
}

namespace {

// Appends "*hh\r\n" to the sentence that begins at `start`.
size_t endSentence(char* datagram, size_t start, size_t end)
{
    const unsigned sum = nmeaChecksum(datagram + start, end - start);
    return end + static_cast<size_t>(std::snprintf(datagram + end, pressureDatagramSize - end, "*%02X\r\n", sum));
}

} // namespace

size_t formatPressureDatagram(uint32_t pressure, char (&datagram)[pressureDatagramSize])
{
    // Hundredths of a hPa are bar to five decimals; inHg = hPa x 0.0295300,
    // to four decimals in integers: hundredths x 2.953 ten-thousandths.
    const uint32_t inHg = static_cast<uint32_t>((uint64_t(pressure) * 2953 + 500) / 1000);
    char bar[16];
    std::snprintf(bar, sizeof bar, "%u.%05u", pressure / 100000, pressure % 100000);
    size_t length = static_cast<size_t>(std::snprintf(datagram, sizeof datagram,
                                                      "$WIMDA,%u.%04u,I,%s,B,,C,,C,,,,C,,T,,M,,N,,M", inHg / 10000,
                                                      inHg % 10000, bar));
    length = endSentence(datagram, 0, length);
    const size_t second = length;
    length += static_cast<size_t>(
        std::snprintf(datagram + length, sizeof datagram - length, "$WIXDR,P,%s,B,Barometer", bar));
    return endSentence(datagram, second, length);
}

size_t formatNmeaDatagram(const char* line, size_t length, char (&datagram)[nmeaSentenceLimit])
{
    // The line end as received: a line feed, alone or after a carriage return.
    if (length > 0 && line[length - 1] == '\n') --length;
    if (length > 0 && line[length - 1] == '\r') --length;
    if (length == 0 || length > nmeaSentenceLimit - 2 || !beginsNmeaSentence(line)) return 0;
    for (size_t i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        if (byte < 0x20 || byte == 0x7F) return 0;
    }
    std::memcpy(datagram, line, length);
    datagram[length] = '\r';
    datagram[length + 1] = '\n';
    return length + 2;
}
