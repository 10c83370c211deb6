#pragma once
// The record files monitor.txt and nmea.txt, as the rest of the program
// reaches them. A line that the file does not take (held by another program,
// a full disk) is kept in memory and appended, in order, as soon as the file
// takes it.
#include <cstddef>

#include "records/record_backlog.h"
#include "records/working_files.h"

// One append to the real file, whole or not at all: what the shell puts
// beneath the record backlogs.
AppendFailure appendToRecordFile(const char* name, const char* bytes, size_t count);

// Appends one 80-byte record line to monitor.txt.
void appendRecord(const char* line);

// Told of every line appendRecord takes, whether the file took it at once or
// keeps it for later: the week chart holds it instead of reading the file
// again. The shell fills it at start; null tells no one.
struct RecordWatch {
    void (*recordAppended)(const char* line);
};

extern RecordWatch recordWatch;

void resetRecordWatch();

// Appends the bytes of one received NMEA line to nmea.txt.
void appendNmeaRecord(const char* bytes, size_t length);

// On every timer tick: now and then one more try for the lines kept.
void retryKeptRecords();

enum class RecordFile { Monitor, Nmea };

const char* recordFileName(RecordFile file);

// Deletes the file from the working folder; the lines kept for it go with
// it unless the file stays (Refused).
DeleteOutcome eraseRecordFile(RecordFile file);

// At the end of the program: one more try; what remains is logged.
void writeKeptRecordsAtEnd();
