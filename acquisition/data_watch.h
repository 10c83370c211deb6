#pragma once
// Whether data stopped: once a line has been taken in this run (an accepted
// sentence, or a stored NMEA line), a minute without one is reported once,
// and so is the next line that comes.
#include <cstdint>

#include "records/record_line.h"

constexpr uint32_t silenceLimitMs = 60000;

struct DataWatch {
    bool seen;           // a line was taken in this run
    bool silent;         // the silence was reported
    uint32_t silentMs;   // time counted since the last line
    bool clockRead;
    uint32_t lastClockMs;
    UtcStamp lastData;   // when the last line was taken
};

extern DataWatch dataWatch;

void resetDataWatch();

// A line was taken at `now`. True when it ends a reported silence.
bool noteDataTaken(const UtcStamp& now = UtcStamp{});

// Time that counts towards a silence. True once, when it reaches the limit.
bool noteTimeWithoutData(uint32_t elapsedMs);

// A print job held the port closed without a tick: the time until the next
// tick counts from now, so that a long job is no silence.
void restartDataClock(uint32_t nowMs);

// The clock at a timer tick, in milliseconds that wrap; the time since the
// last tick counts unless `counting` is false (a print job holds the port
// closed). True once, when a silence reaches the limit.
bool noteClock(uint32_t nowMs, bool counting);
