#pragma once
// The sound of the storm warning: it beeps, flashes the taskbar button and
// offers the acknowledgement exactly while a cause stands that the user has
// not acknowledged. A level's rise stands until acknowledged or until the
// level falls to 0; a data stop until acknowledged or until data comes
// again; the low-pressure alarm until acknowledged or until the pressure
// rose again. Acknowledging silences every cause standing at that moment, so a
// cause that ends can never leave the signal sounding for one already
// acknowledged.
#include <cstdint>

constexpr uint32_t alarmRepeatMs = 30000;
constexpr unsigned alarmBeepType = 0x30;  // MB_ICONEXCLAMATION

enum class AlarmCause { LevelRise, DataStop, LowPressure };
constexpr int alarmCauseCount = 3;

struct AlarmSignal {
    bool unacknowledged[alarmCauseCount];  // by AlarmCause
    bool sounding;           // one of them stands
    uint32_t sinceBeepMs;    // time since the last beep
    bool beepedThisTick;     // a beep sounded since the last clock reading: one per tick
    bool clockRead;
    uint32_t lastClockMs;
};

extern AlarmSignal alarmSignal;

void resetAlarmSignal();

// A level rose, or data stopped: unacknowledged, and one beep now unless
// one sounded at this tick already (the repeat after a long gap, or another
// cause found in the same poll).
void soundAlarm(AlarmCause cause);

// The user's acknowledgement of everything standing; does nothing while
// nothing is asked for.
void acknowledgeAlarm();

// The cause is gone (the level fell to 0, data came again, the pressure rose).
void endAlarmCause(AlarmCause cause);

// The clock at a timer tick, in milliseconds that wrap: a beep each time
// alarmRepeatMs have passed since the last while the alarm sounds. Called
// before anything else of the tick can sound the alarm.
void tickAlarmSignal(uint32_t nowMs);
