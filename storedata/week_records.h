#pragma once
// The records of the last seven days, as the week chart shows them. They are
// read from the end of monitor.txt back only as far as the week reaches (the
// file may hold years) and then kept up to date with each record the program
// appends, so that a paint never reads the file.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "records/record_line.h"

constexpr int64_t weekMinutes = 7 * 24 * 60;

// Minutes since 01.01.1970 00:00 UTC, and back; day 0 was a Thursday.
int64_t minuteOf(int year, int month, int day, int hour, int minute);
inline int64_t minuteOf(const UtcStamp& t) { return minuteOf(t.year, t.month, t.day, t.hour, t.minute); }
UtcStamp stampOf(int64_t minute);
// 0 Sunday .. 6 Saturday.
int weekdayOf(int64_t minute);

struct WeekRecord {
    int64_t minute;
    int32_t pressure;   // hundredths of a hPa
    uint8_t windAlarm;  // 1 when the record's cycle had a wind alarm
};

// The record of one line of monitor.txt without its line end (a carriage
// return left on it is allowed); false for a line of another length or one
// that parseRecordLine refuses.
bool weekRecordOf(const char* line, size_t length, WeekRecord& record);

// Reads up to `count` bytes at `offset` into `bytes` and answers how many it read.
using FileChunkReader = std::function<size_t(uint64_t offset, char* bytes, size_t count)>;

struct WeekRead {
    std::vector<WeekRecord> records;  // oldest first
    uint64_t bytesRead = 0;
    bool failed = false;  // a read came back short: the records are those before it
};

// Valid records read back from the end, of any date, after which the reading
// stops: two weeks of them. A clock that was reset for a while (records dated
// 2000 among those of the week) hides nothing, and the time stays bounded
// however old the file is.
constexpr unsigned weekReadBackRecords = 2 * 7 * 288;

// The records of a file of `size` bytes that lie in the week before
// `nowMinute` (later than nowMinute - weekMinutes, not later than nowMinute),
// read from the end in chunks, up to weekReadBackRecords valid records;
// records dated outside the week are passed over. A line longer than a
// record whose last 78 bytes (before its carriage return, if any) are a
// valid record is a record appended after one cut short (a power cut leaves
// its bytes as zeros): that record is taken, as the data check takes it.
// Any other run longer than a record is passed over as damage; memory stays
// one chunk and the end of one line.
WeekRead readWeekFromEnd(uint64_t size, int64_t nowMinute, const FileChunkReader& read);

// What the week chart holds, oldest first.
struct WeekHold {
    std::vector<WeekRecord> records;
    uint64_t bytesRead;  // of monitor.txt, since the reset
    unsigned reads;      // times the file was read
};

extern WeekHold weekHold;

void resetWeekHold();

// One record line that the program appended (written or kept for later),
// at `nowMinute`: put in its place by time, unless it is later than
// nowMinute; what is a week older than nowMinute is dropped.
void holdAppendedRecord(const char* line, int64_t nowMinute);
