#include "acquisition/data_watch.h"

DataWatch dataWatch = {};

void resetDataWatch() { dataWatch = DataWatch{}; }

bool noteDataTaken(const UtcStamp& now)
{
    bool ended = dataWatch.silent;
    dataWatch.lastData = now;
    dataWatch.seen = true;
    dataWatch.silent = false;
    dataWatch.silentMs = 0;
    return ended;
}

bool noteTimeWithoutData(uint32_t elapsedMs)
{
    if (!dataWatch.seen || dataWatch.silent) return false;
    // Added without overflow: past the limit is as good as at it.
    uint32_t left = silenceLimitMs - dataWatch.silentMs;
    dataWatch.silentMs = elapsedMs >= left ? silenceLimitMs : dataWatch.silentMs + elapsedMs;
    dataWatch.silent = dataWatch.silentMs >= silenceLimitMs;
    return dataWatch.silent;
}

bool noteClock(uint32_t nowMs, bool counting)
{
    uint32_t elapsed = dataWatch.clockRead ? nowMs - dataWatch.lastClockMs : 0;
    dataWatch.clockRead = true;
    dataWatch.lastClockMs = nowMs;
    return counting && noteTimeWithoutData(elapsed);
}

void restartDataClock(uint32_t nowMs)
{
    dataWatch.clockRead = true;
    dataWatch.lastClockMs = nowMs;
}
