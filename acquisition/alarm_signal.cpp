#include "acquisition/alarm_signal.h"

#include "acquisition/data_watch.h"
#include "acquisition/wind_alarm.h"
#include "settings/shell_seam.h"

AlarmSignal alarmSignal = {};

void resetAlarmSignal() { alarmSignal = AlarmSignal{}; }

namespace {

void setSounding(bool sounding)
{
    alarmSignal.sounding = sounding;
    alarmSignal.sinceBeepMs = 0;
    showShellAlarmSignal(sounding);
}

} // namespace

void soundAlarm()
{
    setSounding(true);
    shellBeep(alarmBeepType);
}

void acknowledgeAlarm()
{
    if (alarmSignal.sounding) setSounding(false);
}

void settleAlarm()
{
    if (windAlarmLevel() == 0 && !dataWatch.silent) acknowledgeAlarm();
}

void tickAlarmSignal(uint32_t nowMs)
{
    uint32_t elapsed = alarmSignal.clockRead ? nowMs - alarmSignal.lastClockMs : 0;
    alarmSignal.clockRead = true;
    alarmSignal.lastClockMs = nowMs;
    if (!alarmSignal.sounding) return;
    // A long gap (the PC slept) gives one beep, not one for every period missed.
    alarmSignal.sinceBeepMs = elapsed >= alarmRepeatMs ? alarmRepeatMs : alarmSignal.sinceBeepMs + elapsed;
    if (alarmSignal.sinceBeepMs < alarmRepeatMs) return;
    alarmSignal.sinceBeepMs -= alarmRepeatMs;
    shellBeep(alarmBeepType);
}
