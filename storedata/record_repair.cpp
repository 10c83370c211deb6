#include "storedata/record_repair.h"

#include <cstdio>
#include <cstring>

#include "records/record_line.h"
#include "settings/ui_text.h"
#include "storedata/record_parser.h"

namespace {

// A record without its line end.
constexpr size_t recordText = recordLineLength - 2;

void closeRecording(RecordCheck& check)
{
    RecordingEntry* entries = check.recordings.entries;
    if (check.listed < recordingListSize) {
        entries[check.listed].length = check.run;
        ++check.listed;
        if (check.listed < recordingListSize) entries[check.listed].start = check.written;
    }
    check.run = 0;
}

void writeParsed(const RecordCheck& check, const ParsedRecord& r, std::string& retained)
{
    // The parser sets no lower bound on the year; a negative one (blanks in
    // the field) is written as 0000 so that the line keeps its layout.
    UtcStamp stamp{static_cast<uint16_t>(r.year < 0 ? 0 : r.year), static_cast<uint8_t>(r.month),
                   static_cast<uint8_t>(r.day), static_cast<uint8_t>(r.hour), static_cast<uint8_t>(r.minute)};
    char text[recordLineLength];
    formatRecordLine(check.run + 1, stamp, static_cast<uint32_t>(r.pressure), r.tendency1h, r.tendency3h,
                     static_cast<uint32_t>(r.variation), r.windAlarm, text);
    retained.append(text, sizeof text);
}

// The record just parsed, valid: it continues its recording, starts a new
// one, or repeats the time of the one before.
void takeParsed(RecordCheck& check, const ParsedRecord& record, std::string& retained)
{
    int32_t cur = 60 * record.hour + record.minute;
    // Without a previous record there is no rhythm yet; a record at
    // midnight always continues, whatever came before.
    int32_t delta = (!check.started || cur == 0) ? 5 : cur - check.prev;
    check.started = true;
    if (delta == 0) {
        // The same time again: the record before stands for it. Not a break,
        // or a second check would number the records after it on instead.
        ++check.errors;
        return;
    }
    if (delta != 5) {
        ++check.breaks;
        closeRecording(check);
    }
    writeParsed(check, record, retained);
    ++check.run;
    ++check.written;
    check.prev = cur;
}

// One whole line without its line feed: `length` bytes ending just before
// `end`, of which at least the last min(length, lineTailCapacity) are there.
void takeLine(RecordCheck& check, const char* end, size_t length, std::string& retained)
{
    if (length > 0 && end[-1] == '\r') {
        --end;
        --length;
    }
    ParsedRecord record;
    if (length == recordText) {
        if (parseRecordLine(Barograph, end - recordText, record))
            takeParsed(check, record, retained);
        else
            ++check.errors;
    } else if (length > recordText && parseRecordLine(Barograph, end - recordText, record)) {
        ++check.errors;
        takeParsed(check, record, retained);
    } else {
        ++check.errors;
    }
}

// Adds `size` bytes to the unended line; only its last bytes are kept, so a
// line without end of any length costs no more memory.
void keepLineTail(RecordCheck& check, const char* bytes, size_t size)
{
    if (size >= lineTailCapacity) {
        std::memcpy(check.lineTail, bytes + size - lineTailCapacity, lineTailCapacity);
    } else {
        size_t kept = check.lineLength < lineTailCapacity ? check.lineLength : lineTailCapacity;
        size_t stay = kept < lineTailCapacity - size ? kept : lineTailCapacity - size;
        std::memmove(check.lineTail, check.lineTail + kept - stay, stay);
        std::memcpy(check.lineTail + stay, bytes, size);
    }
    check.lineLength += size;
}

} // namespace

void checkRecordBlock(RecordCheck& check, const char* bytes, size_t size, std::string& retained)
{
    const char* at = bytes;
    const char* const end = bytes + size;
    while (at < end) {
        const char* lineFeed = static_cast<const char*>(std::memchr(at, '\n', static_cast<size_t>(end - at)));
        if (lineFeed == nullptr) {
            keepLineTail(check, at, static_cast<size_t>(end - at));
            return;
        }
        size_t length = static_cast<size_t>(lineFeed - at);
        if (check.lineLength == 0) {
            takeLine(check, lineFeed, length, retained);
        } else {
            // The line began in an earlier block.
            keepLineTail(check, at, length);
            size_t kept = check.lineLength < lineTailCapacity ? check.lineLength : lineTailCapacity;
            takeLine(check, check.lineTail + kept, check.lineLength, retained);
            check.lineLength = 0;
        }
        at = lineFeed + 1;
    }
}

void finishRecordCheck(RecordCheck& check)
{
    // A last record without its line end, or one cut short.
    if (check.lineLength > 0) {
        ++check.errors;
        check.lineLength = 0;
    }
    closeRecording(check);
}

std::string formatRecordingList(const RecordingList& recordings)
{
    std::string list;
    for (size_t i = 0; i < recordingListSize; ++i) {
        const RecordingEntry& entry = recordings.entries[i];
        if (entry.length == 0) continue;
        char line[64];
        int n = std::snprintf(line, sizeof line, "%3u %6lu %4lu\n", static_cast<unsigned>(i),
                              static_cast<unsigned long>(entry.start),
                              static_cast<unsigned long>(entry.length));
        list.append(line, static_cast<size_t>(n));
    }
    return list;
}

std::string formatCheckSummary(const RecordCheck& check)
{
    char text[160];
    int n = std::snprintf(text, sizeof text, uiText(txtCheckSummary), static_cast<unsigned long>(check.written),
                          check.breaks + 1, check.errors, check.errors);
    return std::string(text, static_cast<size_t>(n));
}
