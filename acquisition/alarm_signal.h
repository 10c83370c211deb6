#pragma once
// The sound of the storm warning: when the wind alarm's level rises or data
// stops, the program beeps at once and every alarmRepeatMs, and the shell
// flashes the taskbar button and offers the acknowledgement, until the user
// acknowledges. A rise to level 2 or a new silence sounds it again; once
// nothing stands (no alarm level, data coming) it falls silent by itself.
#include <cstdint>

constexpr uint32_t alarmRepeatMs = 30000;
constexpr unsigned alarmBeepType = 0x30;  // MB_ICONEXCLAMATION

struct AlarmSignal {
    bool sounding;         // raised and not yet acknowledged
    uint32_t sinceBeepMs;  // time since the last beep
    bool clockRead;
    uint32_t lastClockMs;
};

extern AlarmSignal alarmSignal;

void resetAlarmSignal();

// A rise of the level or a silence: unacknowledged, one beep now.
void soundAlarm();

// The user's acknowledgement; does nothing while none is asked for.
void acknowledgeAlarm();

// Ends an unacknowledged alarm whose cause is gone.
void settleAlarm();

// The clock at a timer tick, in milliseconds that wrap: a beep each time
// alarmRepeatMs have passed since the last while the alarm sounds.
void tickAlarmSignal(uint32_t nowMs);
