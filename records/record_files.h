#pragma once
// Appending to the record files monitor.txt and nmea.txt. A line that the
// file does not take (held by another program, a full disk) is kept in
// memory and appended, in order, as soon as the file takes it.
#include <cstddef>

// Puts the real files and the event log beneath the record backlogs.
void installRecordFileLayer();

// Appends the 80-byte record of the current reading to monitor.txt.
void appendRecord();

// Appends the bytes of one received NMEA line to nmea.txt.
void appendNmeaRecord(const char* bytes, size_t length);

// At the end of the program: one more try; what remains is logged.
void writeKeptRecordsAtEnd();
