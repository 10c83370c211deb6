#include "storedata/week_records.h"

#include <algorithm>
#include <cstring>

#include "storedata/record_parser.h"

WeekHold weekHold = {};

void resetWeekHold() { weekHold = WeekHold{}; }

namespace {

constexpr size_t chunkBytes = 64 * 1024;
constexpr size_t recordTextLength = recordLineLength - 2;  // without "\r\n"

// Days since 01.01.1970 of a proleptic Gregorian date (month 1..12).
int64_t daysFromCivil(int64_t y, int m, int d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int64_t floorDiv(int64_t a, int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

bool byMinute(const WeekRecord& a, const WeekRecord& b) { return a.minute < b.minute; }

// Where the line ending at `end` starts: just after the last line feed
// before it, or 0. A record's own feed is near; a long run without one is
// searched with memchr, so that a file without line feeds reads at speed.
size_t lineStartBefore(const char* bytes, size_t end)
{
    const size_t near = end > recordLineLength + 1 ? end - recordLineLength - 1 : 0;
    for (size_t i = end; i > near; --i)
        if (bytes[i - 1] == '\n') return i;
    size_t start = 0;
    for (const char* p = bytes; (p = static_cast<const char*>(std::memchr(p, '\n', bytes + near - p))); ++p)
        start = static_cast<size_t>(p - bytes) + 1;
    return start;
}

} // namespace

int64_t minuteOf(int year, int month, int day, int hour, int minute)
{
    return (daysFromCivil(year, month, day) * 24 + hour) * 60 + minute;
}

UtcStamp stampOf(int64_t minute)
{
    const int64_t days = floorDiv(minute, 1440);
    const int64_t inDay = minute - days * 1440;
    const int64_t z = days + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const int64_t m = mp < 10 ? mp + 3 : mp - 9;
    const int64_t y = yoe + era * 400 + (m <= 2);
    return UtcStamp{static_cast<uint16_t>(y), static_cast<uint8_t>(m), static_cast<uint8_t>(d),
                    static_cast<uint8_t>(inDay / 60), static_cast<uint8_t>(inDay % 60)};
}

int weekdayOf(int64_t minute) { return static_cast<int>((floorDiv(minute, 1440) % 7 + 11) % 7); }

bool weekRecordOf(const char* line, size_t length, WeekRecord& record)
{
    if (length > 0 && line[length - 1] == '\r') --length;
    if (length != recordTextLength) return false;
    ParsedRecord parsed{};
    if (!parseRecordLine(Barograph, line, parsed)) return false;
    record.minute = minuteOf(parsed.year, parsed.month, parsed.day, parsed.hour, parsed.minute);
    record.pressure = parsed.pressure;
    record.windAlarm = parsed.windAlarm;
    return true;
}

WeekRead readWeekFromEnd(uint64_t size, int64_t nowMinute, const FileChunkReader& read)
{
    WeekRead out;
    const int64_t oldest = nowMinute - weekMinutes;  // not in the week
    // One line at a time, gathered from its end towards its start. Only its
    // last bytes are kept, so neither memory nor time depends on where the
    // file's line feeds are.
    char line[recordLineLength];
    uint64_t lineLength = 0;  // of the whole line
    size_t kept = 0;          // its last bytes, at the end of `line`
    unsigned validRead = 0;
    auto finishLine = [&] {
        const char* end = line + recordLineLength;
        uint64_t length = lineLength;
        if (length > 0 && end[-1] == '\r') {
            --end;
            --length;
        }
        WeekRecord record{};
        // A longer line ends in a record when its front is a cut record.
        if (length >= recordTextLength && weekRecordOf(end - recordTextLength, recordTextLength, record)) {
            ++validRead;
            if (record.minute > oldest && record.minute <= nowMinute) out.records.push_back(record);
        }
        lineLength = 0;
        kept = 0;
    };
    auto gather = [&](const char* bytes, size_t count) {
        lineLength += count;
        const size_t take = std::min(count, recordLineLength - kept);
        std::memcpy(line + recordLineLength - kept - take, bytes + count - take, take);
        kept += take;
    };
    std::vector<char> chunk(static_cast<size_t>(std::min<uint64_t>(chunkBytes, size)));
    uint64_t position = size;
    while (position > 0 && validRead < weekReadBackRecords) {
        const size_t count = static_cast<size_t>(std::min<uint64_t>(chunkBytes, position));
        position -= count;
        const size_t got = read(position, chunk.data(), count);
        out.bytesRead += got;
        if (got != count) {
            out.failed = true;
            break;
        }
        // Each line ends at a line feed; the text after the file's last one
        // is a line as well. The start of the chunk's first line may lie in
        // the chunk before.
        size_t end = count;
        while (end > 0 && validRead < weekReadBackRecords) {
            const size_t feed = lineStartBefore(chunk.data(), end);
            gather(chunk.data() + feed, end - feed);
            if (feed == 0) break;
            finishLine();
            end = feed - 1;
        }
    }
    if (position == 0 && validRead < weekReadBackRecords && !out.failed && lineLength > 0) finishLine();
    std::reverse(out.records.begin(), out.records.end());
    // A clock set back leaves a record out of order; the chart draws in time order.
    std::stable_sort(out.records.begin(), out.records.end(), byMinute);
    return out;
}

void holdAppendedRecord(const char* line, int64_t nowMinute)
{
    WeekRecord record{};
    if (!weekRecordOf(line, recordTextLength, record)) return;
    // A record from a clock that ran fast is not drawn and pushes nothing out.
    if (record.minute > nowMinute) return;
    std::vector<WeekRecord>& held = weekHold.records;
    held.insert(std::upper_bound(held.begin(), held.end(), record, byMinute), record);
    const int64_t oldest = nowMinute - weekMinutes;
    held.erase(held.begin(), std::find_if(held.begin(), held.end(),
                                          [&](const WeekRecord& r) { return r.minute > oldest; }));
}
