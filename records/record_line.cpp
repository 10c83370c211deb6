#include "records/record_line.h"

#include <cstring>

namespace {

struct LineWriter {
    char* out;

    // `width` decimal digits with leading zeros; `value` already fits.
    void digits(uint32_t value, int width)
    {
        for (int i = width - 1; i >= 0; --i) {
            out[i] = static_cast<char>('0' + value % 10);
            value /= 10;
        }
        out += width;
    }

    void text(const char* s)
    {
        size_t n = std::strlen(s);
        std::memcpy(out, s, n);
        out += n;
    }

    void byte(char c) { *out++ = c; }

    // A value in units of its last digit: `whole` digits, a decimal comma,
    // then `fraction` (1 or 2) digits.
    void decimal(uint32_t value, int whole, int fraction)
    {
        uint32_t scale = fraction == 1 ? 10 : 100;
        digits(value / scale, whole);
        byte(',');
        digits(value % scale, fraction);
    }
};

uint32_t atMost(uint32_t value, uint32_t limit) { return value > limit ? limit : value; }

// Sign, two digits, decimal comma, one digit: tenths from -999 to +999.
void writeTendency(LineWriter& w, int32_t tenths)
{
    if (tenths > 999) tenths = 999;
    if (tenths < -999) tenths = -999;
    // Zero is "+00,0", as the sign flag of the format writes it.
    w.byte(tenths < 0 ? '-' : '+');
    uint32_t magnitude = static_cast<uint32_t>(tenths < 0 ? -tenths : tenths);
    w.decimal(magnitude, 2, 1);
}

} // namespace

void formatRecordLine(uint32_t recordNumber, const UtcStamp& time, uint32_t pressure,
                      int32_t tendency1h, int32_t tendency3h, uint32_t variation,
                      uint8_t windAlarm, char (&line)[recordLineLength])
{
    LineWriter w{line};
    w.digits(atMost(recordNumber, sixDigitLimit), 6);
    w.byte(' ');
    w.digits(atMost(time.day, 99), 2);
    w.byte('.');
    w.digits(atMost(time.month, 99), 2);
    w.byte('.');
    w.digits(atMost(time.year, 9999), 4);
    w.byte(' ');
    w.digits(atMost(time.hour, 99), 2);
    w.byte(':');
    w.digits(atMost(time.minute, 99), 2);
    w.byte(' ');

    // Four integer digits hold 9999,99 hPa, far above the parser's limit.
    w.decimal(atMost(pressure, sixDigitLimit), 4, 2);
    w.text(" hPa ");
    writeTendency(w, tendency1h);
    w.text(" hPa/hr ");
    writeTendency(w, tendency3h);
    w.text(" hPa/3h ");

    w.decimal(atMost(variation, 999), 2, 1);
    w.text(" hPa/h var ");
    // A flag: anything set is 1.
    w.byte(windAlarm != 0 ? '1' : '0');
    w.byte('\r');
    w.byte('\n');
}
