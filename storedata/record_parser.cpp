#include "storedata/record_parser.h"

namespace {

// Nothing tests that the byte is a digit: a blank or a letter gives a value
// that the range tests catch or not.
int32_t digitAt(const char* line, int position)
{
    return static_cast<int32_t>(static_cast<signed char>(line[position])) - '0';
}

struct RangeCheck {
    int errors = 0;

    void atMost(int32_t& value, int32_t limit)
    {
        if (value > limit) {
            value = limit;
            ++errors;
        }
    }

    void atLeast(int32_t& value, int32_t limit)
    {
        if (value < limit) {
            value = limit;
            ++errors;
        }
    }

    // Compared unsigned, so a negative value is out of range as well.
    void atMostUnsigned(int32_t& value, int32_t limit)
    {
        if (static_cast<uint32_t>(value) > static_cast<uint32_t>(limit)) {
            value = limit;
            ++errors;
        }
    }
};

int32_t signedTenths(const char* line, int sign, int tens, int units, int tenths)
{
    int32_t value = 100 * digitAt(line, tens) + 10 * digitAt(line, units) + digitAt(line, tenths);
    return line[sign] == '+' ? value : -value;
}

} // namespace

bool parseRecordLine(DataMode mode, const char* line, ParsedRecord& r)
{
    if (mode != Barograph) return true;

    r.day = 10 * digitAt(line, 7) + digitAt(line, 8);
    r.month = 10 * digitAt(line, 10) + digitAt(line, 11);
    r.year = 1000 * digitAt(line, 13) + 100 * digitAt(line, 14) + 10 * digitAt(line, 15) +
             digitAt(line, 16);
    r.hour = 10 * digitAt(line, 18) + digitAt(line, 19);
    r.minute = 10 * digitAt(line, 21) + digitAt(line, 22);
    r.pressure = 100000 * digitAt(line, 24) + 10000 * digitAt(line, 25) + 1000 * digitAt(line, 26) +
                 100 * digitAt(line, 27) + 10 * digitAt(line, 29) + digitAt(line, 30);
    r.tendency1h = signedTenths(line, 36, 37, 38, 40);
    r.tendency3h = signedTenths(line, 49, 50, 51, 53);
    r.variation = 100 * digitAt(line, 62) + 10 * digitAt(line, 63) + digitAt(line, 65);
    r.windAlarm = line[77] == '1' ? 1 : 0;

    RangeCheck check;
    check.atMost(r.year, 2100);  // old records are fine, so no lower bound
    check.atMost(r.month, 12);
    check.atLeast(r.month, 1);
    check.atMost(r.day, 31);
    check.atLeast(r.day, 1);
    check.atMost(r.hour, 23);
    check.atLeast(r.hour, 0);
    check.atMost(r.minute, 59);
    check.atLeast(r.minute, 0);
    check.atMostUnsigned(r.pressure, 150000);
    // Every value the record writer can put in these fields is valid: a
    // record the program wrote must survive the check. Only bytes that are no
    // digits can reach beyond them.
    check.atMost(r.tendency1h, 999);
    check.atLeast(r.tendency1h, -999);
    check.atMost(r.tendency3h, 999);
    check.atLeast(r.tendency3h, -999);
    check.atMostUnsigned(r.variation, 999);
    return check.errors == 0;
}
