#include "storedata/week_records.h"

#include <algorithm>
#include <string>

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
    std::string pending;  // the front of the file read so far that is not split into lines yet
    uint64_t position = size;
    bool reachedOlder = false;
    auto take = [&](const char* line, size_t length) {
        WeekRecord record{};
        if (!weekRecordOf(line, length, record)) return;
        if (record.minute <= oldest) reachedOlder = true;
        else if (record.minute <= nowMinute) out.records.push_back(record);
    };
    while (position > 0 && !reachedOlder) {
        const size_t count = static_cast<size_t>(std::min<uint64_t>(chunkBytes, position));
        position -= count;
        std::string chunk(count, '\0');
        const size_t got = read(position, &chunk[0], count);
        out.bytesRead += got;
        if (got != count) {
            out.failed = true;
            break;
        }
        pending.insert(0, chunk);
        // Each line ends at a line feed; the text after the file's last one
        // is a line as well. The text before the first line feed read so far
        // may begin in the chunk before, and waits for it.
        size_t end = pending.size();
        while (end > 0 && !reachedOlder) {
            const size_t feed = pending.rfind('\n', end - 1);
            if (feed == std::string::npos) break;
            take(pending.data() + feed + 1, end - feed - 1);
            end = feed;
        }
        pending.resize(end);
    }
    if (position == 0 && !reachedOlder && !out.failed && !pending.empty()) take(pending.data(), pending.size());
    std::reverse(out.records.begin(), out.records.end());
    // A clock set back leaves a record out of order; the chart draws in time order.
    std::stable_sort(out.records.begin(), out.records.end(), byMinute);
    return out;
}

void holdAppendedRecord(const char* line)
{
    WeekRecord record{};
    if (!weekRecordOf(line, recordTextLength, record)) return;
    std::vector<WeekRecord>& held = weekHold.records;
    held.insert(std::upper_bound(held.begin(), held.end(), record, byMinute), record);
    const int64_t oldest = held.back().minute - weekMinutes;
    held.erase(held.begin(), std::find_if(held.begin(), held.end(),
                                          [&](const WeekRecord& r) { return r.minute > oldest; }));
}
