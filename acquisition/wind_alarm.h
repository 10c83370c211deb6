#pragma once
// The wind alarm's levels, from the tendencies of each accepted barograph
// sentence (tenths of a hPa). Level 1, "falling quickly", and level 2,
// "falling very rapidly", are each on or off by themselves: a level comes on
// when its raising condition has held for windAlarmRaiseRun accepted
// sentences in a row, and goes off when its holding condition has failed for
// windAlarmEndRun in a row. Lines that are not accepted are never passed in,
// so they neither count nor break a run.
#include <cstdint>

#include "records/record_line.h"

constexpr unsigned windAlarmRaiseRun = 10;
constexpr unsigned windAlarmEndRun = 600;  // ten minutes of sentences
// The user's limits (WARN, tenths of a hPa of fall): a three-hour fall of
// WARN[0] raises level 1, and the charts draw such a fall red; WARN[1] in
// three hours or WARN[2] in one raises level 2. A level holds while the fall
// stays within windHold3h (three hours) or windHold1h (one hour) of its limit.
constexpr int32_t windHold3h = 6, windHold1h = 5;

// The three-hour tendency that raises level 1 (at or below it).
int32_t windWarningTendency3h();

struct WindAlarmLevels {
    bool on[2];      // level 1, level 2
    unsigned run[2]; // sentences in a row towards switching that level
    UtcStamp raisedAt[2];  // when each level last came on, as the chart's banner says
    // The tendencies of the last sentence taken, which the banner gives: a
    // reading cleared by a mode command leaves the level, and these with it.
    int32_t tendency1h, tendency3h;
};

extern WindAlarmLevels windAlarmLevels;

// Both levels off, their runs from the start: at start and on the switch to Nmea mode.
void resetWindAlarm();

// Takes one accepted sentence's tendencies, received at `now`; answers the
// alarm level after it: 2 while level 2 is on, else 1 while level 1 is on,
// else 0.
int takeWindTendencies(int32_t tendency1h, int32_t tendency3h, const UtcStamp& now = UtcStamp{});

int windAlarmLevel();

// When the level that stands now came on.
UtcStamp windAlarmRaisedAt();
