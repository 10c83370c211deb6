#include "storedata/record_repair.h"

#include <cstdio>
#include <string_view>

#include "records/record_line.h"
#include "storedata/record_parser.h"

namespace {

class Checker {
public:
    explicit Checker(RecordCheckOutcome& outcome) : out_(outcome) {}

    // An 80-byte line that has to pass the parser first.
    void line(const char* bytes)
    {
        if (parseRecordLine(Barograph, bytes))
            takeParsed();
        else
            ++out_.errors;
    }

    void damaged() { ++out_.errors; }

    // The record just parsed, valid: continue, break or duplicate.
    void takeParsed()
    {
        int32_t cur = 60 * parsedRecord.hour + parsedRecord.minute;
        // Without a previous record there is no rhythm yet; a record at
        // midnight always continues, whatever came before.
        int32_t delta = (!started_ || cur == 0) ? 5 : cur - prev_;
        started_ = true;
        if (delta != 5) {
            ++out_.breaks;
            closeRecording();
        } else {
            write();
            ++run_;
            ++out_.written;
        }
        if (delta == 0) ++out_.errors;
        prev_ = cur;
    }

    void closeRecording()
    {
        RecordingEntry* entries = out_.recordings.entries;
        if (k_ < recordingListSize) {
            entries[k_].length = run_;
            ++k_;
            if (k_ < recordingListSize) entries[k_].start = out_.written;
        }
        run_ = 0;
    }

private:
    void write()
    {
        const ParsedRecord& r = parsedRecord;
        // The parser sets no lower bound on the year; a negative one (blanks in
        // the field) is written as 0000 so that the line keeps its layout.
        UtcStamp stamp{static_cast<uint16_t>(r.year < 0 ? 0 : r.year), static_cast<uint8_t>(r.month),
                       static_cast<uint8_t>(r.day), static_cast<uint8_t>(r.hour),
                       static_cast<uint8_t>(r.minute)};
        char text[recordLineLength];
        formatRecordLine(run_ + 1, stamp, static_cast<uint32_t>(r.pressure), r.tendency1h,
                         r.tendency3h, static_cast<uint32_t>(r.variation), 0, text);
        out_.retained.append(text, sizeof text);
    }

    RecordCheckOutcome& out_;
    uint32_t run_ = 0;
    size_t k_ = 0;
    bool started_ = false;
    int32_t prev_ = 0;
};

} // namespace

RecordCheckOutcome checkRecordBytes(const char* bytes, size_t size)
{
    RecordCheckOutcome outcome{};
    Checker checker(outcome);
    const std::string_view file(bytes, size);
    size_t start = 0;
    while (start < size) {
        size_t lineEnd = file.find("\r\n", start);
        if (lineEnd == std::string_view::npos) {
            // A last record without its line end, or one cut short.
            checker.damaged();
            break;
        }
        size_t next = lineEnd + 2;
        size_t length = next - start;
        if (length == recordLineLength) {
            checker.line(bytes + start);
        } else if (length > recordLineLength &&
                   parseRecordLine(Barograph, bytes + next - recordLineLength)) {
            checker.damaged();
            checker.takeParsed();
        } else {
            checker.damaged();
        }
        start = next;
    }
    checker.closeRecording();
    return outcome;
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

std::string formatCheckSummary(const RecordCheckOutcome& outcome)
{
    char text[160];
    int n = std::snprintf(text, sizeof text,
                          "%lu records read\n%u recordings\n%u errors found\n%u errors corrected",
                          static_cast<unsigned long>(outcome.written), outcome.breaks + 1,
                          outcome.errors, outcome.errors);
    return std::string(text, static_cast<size_t>(n));
}
