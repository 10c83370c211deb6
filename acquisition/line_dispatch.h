#pragma once
// What happens to one complete received line, by data mode: a barograph
// sentence updates the reading, title, history and five-minute cycle; an
// NMEA sentence goes into the line store and nmea.txt.
#include <cstddef>

#include "acquisition/measurement_state.h"
#include "acquisition/signalk_delta.h"
#include "records/record_line.h"
#include "settings/monitor_settings.h"

// The clock and the record files as the dispatch sees them (the window and
// the event log are reached through the shell seam). The shell fills it at
// start, tests fill it with fakes; a null entry is skipped (utcNow:
// sampleTime keeps its value).
struct ReceiverFrontEnd {
    UtcStamp (*utcNow)();
    // The 80-byte record, formatted right after recordCounter advanced.
    void (*appendBarographRecord)(const char* line);
    // The bytes to append to nmea.txt for the line just stored.
    void (*appendNmeaLine)(const char* bytes, size_t length);
    // One UDP datagram to the navigation software, while sending is on.
    void (*sendDatagram)(const char* bytes, size_t length);
    // One Signal K delta to the server, and the moment it carries.
    void (*sendSignalKDatagram)(const char* bytes, size_t length);
    DeltaTime (*deltaTimeNow)();
};

extern ReceiverFrontEnd receiverFrontEnd;
inline void resetReceiverFrontEnd() { receiverFrontEnd = ReceiverFrontEnd{}; }

// Sentences per five-minute cycle.
constexpr uint32_t sentencesPerCycle = 300;

// The start of a receiver tick, before its bytes are taken: the alarm's
// repeat, then the data watch, which may find a silence (event 74). The
// clock in milliseconds that wrap; `counting` false while a print job holds
// the port closed. At most one beep sounds in a tick, whatever it finds.
void startReceiverTick(uint32_t nowMs, bool counting);

// Handles one complete line, its line feed included.
void dispatchLine(const char* line, size_t length);

// The record of the current state: recordCounter, sampleTime, the reading's
// pressure, tendencies and wind alarm, and the cycle's variation.
void formatBarographRecord(char (&line)[recordLineLength]);

// The bytes nmea.txt gets for a received line of `length` bytes whose first
// bytes the line store kept: the line as received, or, for a line longer
// than the store keeps, its start with a line end of its own, so that the
// next line starts afresh. A cut right after the line's own carriage return
// keeps it. Returns the count.
size_t formatNmeaRecord(const char* kept, size_t length, char (&bytes)[nmeaMaxLineLength + 2]);

// The window titles the dispatch writes, in the user's language.
constexpr size_t liveTitleSize = 160;

// Barograph mode: counter, UTC time, pressure, both tendencies and the age of
// the stored pressure in whole hours. Returns the title's length.
size_t formatLiveBarographTitle(UiLanguage language, uint32_t sentenceCounter,
                                const UtcStamp& time, uint32_t pressure, int32_t tendency1h,
                                int32_t tendency3h, uint32_t minutesAgo,
                                char (&title)[liveTitleSize]);

// Nmea mode: the number of NMEA lines stored so far. Returns the title's length.
size_t formatNmeaCountTitle(UiLanguage language, uint32_t nmeaLineCounter,
                            char (&title)[liveTitleSize]);
