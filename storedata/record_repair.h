#pragma once
// The data check's decisions over the bytes of monitor.txt, without file access.
#include <cstddef>
#include <cstdint>
#include <string>

constexpr size_t recordingListSize = 128;

struct RecordingEntry {
    uint32_t start;   // records of the new file before this recording's first one
    uint32_t length;  // records of this recording in the new file
};

struct RecordingList {
    RecordingEntry entries[recordingListSize];
};

// The longest end of a line the check has to keep while the line goes on in
// the next block: a record without its line end, and a carriage return.
constexpr size_t lineTailCapacity = 79;

// One run of the check, fed the file block by block. Start from a
// value-initialised RecordCheck{}; the counts are final after finishRecordCheck.
struct RecordCheck {
    RecordingList recordings;  // the first 128 recordings
    uint32_t written;          // records handed on
    uint32_t breaks;           // times the five-minute rhythm broke
    uint32_t errors;           // invalid, duplicate and damaged records

    // Between blocks: the end of the line begun in an earlier block, the
    // length of that whole line so far, and the recording under way.
    char lineTail[lineTailCapacity];
    size_t lineLength;
    uint32_t run;
    uint32_t listed;
    bool started;
    int32_t prev;
};

// Keeps every valid record, renumbered from 000001 in each recording, and
// appends each one kept to `retained` as a fresh 80-byte line ended by
// carriage return and line feed. A record that does not follow the previous
// valid one by five minutes starts a new recording (a record at 00:00 always
// follows; the first valid record starts the first recording); one with the
// previous one's time is a duplicate: an error, dropped, and no break. So a
// second check of what a check wrote keeps every record as it is.
//
// The file is taken as lines, each ended by a line feed with or without a
// carriage return before it, so a damaged line costs only itself:
// - a line of 78 bytes before its line end is a record; an invalid one is an error;
// - a longer line whose last 78 bytes are a valid record is a record written
//   straight after one cut short: its front is one error, its end a record;
// - any other line, and bytes after the last line end, are one error.
// Errors leave the rhythm's previous time where it was.
//
// A block may end anywhere, inside a line or between its carriage return
// and line feed; the result is the same as for the whole file in one block.
void checkRecordBlock(RecordCheck& check, const char* bytes, size_t size, std::string& retained);

// Ends the run after the last block: counts an unended last line and closes
// the last recording.
void finishRecordCheck(RecordCheck& check);

// The lines of datalist.txt: "%3u %6lu %4lu\n" (index, start, length) for each
// entry with records; a longer field widens its line and keeps the line feed.
std::string formatRecordingList(const RecordingList& recordings);

// The text of the final message box.
std::string formatCheckSummary(const RecordCheck& check);
