#include "acquisition/alarm_signal.h"

#include "settings/shell_seam.h"

AlarmSignal alarmSignal = {};

void resetAlarmSignal() { alarmSignal = AlarmSignal{}; }

namespace {

bool& unacknowledged(AlarmCause cause) { return alarmSignal.unacknowledged[static_cast<int>(cause)]; }

// Sounding follows the causes; the shell hears only of a change.
void followCauses()
{
    bool sounding = false;
    for (bool standing : alarmSignal.unacknowledged) sounding = sounding || standing;
    if (sounding == alarmSignal.sounding) return;
    alarmSignal.sounding = sounding;
    alarmSignal.sinceBeepMs = 0;
    showShellAlarmSignal(sounding);
}

} // namespace

void soundAlarm(AlarmCause cause)
{
    unacknowledged(cause) = true;
    followCauses();
    // After a long gap the tick may have beeped for a cause already standing,
    // and a data stop and a level rise can both be found in one poll.
    if (alarmSignal.beepedThisTick) return;
    alarmSignal.sinceBeepMs = 0;
    alarmSignal.beepedThisTick = true;
    shellBeep(alarmBeepType);
}

void acknowledgeAlarm()
{
    for (bool& standing : alarmSignal.unacknowledged) standing = false;
    followCauses();
}

void endAlarmCause(AlarmCause cause)
{
    unacknowledged(cause) = false;
    followCauses();
}

void tickAlarmSignal(uint32_t nowMs)
{
    uint32_t elapsed = alarmSignal.clockRead ? nowMs - alarmSignal.lastClockMs : 0;
    alarmSignal.clockRead = true;
    alarmSignal.lastClockMs = nowMs;
    alarmSignal.beepedThisTick = false;
    if (!alarmSignal.sounding) return;
    // A long gap (the PC slept) gives one beep, not one for every period missed.
    alarmSignal.sinceBeepMs = elapsed >= alarmRepeatMs ? alarmRepeatMs : alarmSignal.sinceBeepMs + elapsed;
    if (alarmSignal.sinceBeepMs < alarmRepeatMs) return;
    alarmSignal.sinceBeepMs -= alarmRepeatMs;
    alarmSignal.beepedThisTick = true;
    shellBeep(alarmBeepType);
}
