#pragma once
// The bytes the record files get for what was received.
#include <cstddef>

#include "acquisition/measurement_state.h"
#include "records/record_line.h"

// The record of the current state: recordCounter, sampleTime, the reading's
// pressure, tendencies and wind alarm, and the cycle's variation.
void formatBarographRecord(char (&line)[recordLineLength]);

// The bytes nmea.txt gets for a received line of `length` bytes whose first
// bytes the line store kept: the line as received, or, for a line longer
// than the store keeps, its start with a line end of its own, so that the
// next line starts afresh. A cut right after the line's own carriage return
// keeps it. Returns the count.
size_t formatNmeaRecord(const char* kept, size_t length, char (&bytes)[nmeaMaxLineLength + 2]);
