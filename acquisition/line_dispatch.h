#pragma once
// What happens to one complete received line, by data mode: a barograph
// sentence updates the reading, title, history and five-minute cycle; an
// NMEA sentence goes into the line store and nmea.txt.
#include <cstddef>

#include "acquisition/measurement_state.h"

// The clock and the record files as the dispatch sees them (the window is
// reached through the shell seam). The Win32 layer fills it, tests fill it
// with fakes; a null entry is skipped (utcNow: sampleTime keeps its value).
struct ReceiverFrontEnd {
    UtcStamp (*utcNow)();
    // The 80-byte record, formatted right after recordCounter advanced.
    void (*appendBarographRecord)(const char* line);
    // The bytes to append to nmea.txt for the line just stored.
    void (*appendNmeaLine)(const char* bytes, size_t length);
};

extern ReceiverFrontEnd receiverFrontEnd;

// Sentences per five-minute cycle.
constexpr uint32_t sentencesPerCycle = 300;

// Handles one complete line, its line feed included.
void dispatchLine(const char* line, size_t length);
