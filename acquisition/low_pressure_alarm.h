#pragma once
// The alarm of a pressure below the user's limit (LOW, whole hPa; 0 off).
// It comes on after lowAlarmRaiseRun accepted sentences in a row below the
// limit and ends after lowAlarmEndRun in a row at or above the limit plus
// lowAlarmEasing; like the wind alarm's levels it counts accepted sentences
// only, and ends with the switch to Nmea mode.
#include <cstdint>

constexpr unsigned lowAlarmRaiseRun = 10, lowAlarmEndRun = 600;
constexpr uint32_t lowAlarmEasing = 100;  // hundredths of a hPa above the limit

struct LowPressureAlarm {
    bool on;
    unsigned run;    // sentences in a row towards switching
    uint16_t limit;  // the limit it was raised at, hPa, as the banner names it
};

extern LowPressureAlarm lowPressureAlarm;

// Off, the run from the start: at start, on the switch to Nmea mode, and when the limit changes.
void resetLowPressureAlarm();

enum class LowAlarmChange { None, Raised, Ended };

// Takes one accepted sentence's (corrected) pressure against `limit`.
LowAlarmChange takeLowPressure(uint32_t pressure, uint16_t limit);
