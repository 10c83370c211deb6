#include "acquisition/low_pressure_alarm.h"

LowPressureAlarm lowPressureAlarm = {};

void resetLowPressureAlarm() { lowPressureAlarm = LowPressureAlarm{}; }

LowAlarmChange takeLowPressure(uint32_t pressure, uint16_t limit)
{
    LowPressureAlarm& alarm = lowPressureAlarm;
    if (limit == 0) return LowAlarmChange::None;
    const uint32_t below = limit * 100u;
    const bool towardsSwitch = alarm.on ? pressure >= below + lowAlarmEasing : pressure < below;
    alarm.run = towardsSwitch ? alarm.run + 1 : 0;
    if (alarm.run < (alarm.on ? lowAlarmEndRun : lowAlarmRaiseRun)) return LowAlarmChange::None;
    alarm.on = !alarm.on;
    alarm.run = 0;
    alarm.limit = alarm.on ? limit : 0;
    return alarm.on ? LowAlarmChange::Raised : LowAlarmChange::Ended;
}
