#pragma once
// Appending to the record files monitor.txt and nmea.txt.
#include <cstddef>

// Appends the 80-byte record of the current reading to monitor.txt.
void appendRecord();

// Appends one received NMEA line to nmea.txt.
void appendNmeaRecord(const char* bytes, size_t length);
