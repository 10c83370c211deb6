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

struct RecordCheckOutcome {
    std::string retained;      // the new monitor.txt, 80 bytes per record
    RecordingList recordings;  // the first 128 recordings
    uint32_t written;          // records in `retained`
    uint32_t breaks;           // times the five-minute rhythm broke
    uint32_t errors;           // invalid, duplicate and damaged records
};

// Keeps every valid record that follows the previous valid one by five
// minutes (a record at 00:00 always does; the first valid record starts the
// first recording), renumbered from 000001 in each recording.
//
// The file is taken as lines ended by carriage return and line feed, so a
// damaged line costs only itself:
// - a line of 80 bytes is a record; an invalid one is an error;
// - a longer line whose last 80 bytes are a valid record is a record written
//   straight after one cut short: its front is one error, its end a record;
// - any other line, and bytes after the last line end, are one error.
// Errors leave the rhythm's previous time where it was.
RecordCheckOutcome checkRecordBytes(const char* bytes, size_t size);

// The lines of datalist.txt: "%3u %6lu %4lu\n" (index, start, length) for each
// entry with records; a longer field widens its line and keeps the line feed.
std::string formatRecordingList(const RecordingList& recordings);

// The text of the final message box.
std::string formatCheckSummary(const RecordCheckOutcome& outcome);
