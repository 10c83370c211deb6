#include "acquisition/wind_alarm.h"

#include "settings/monitor_settings.h"

WindAlarmLevels windAlarmLevels = {};

void resetWindAlarm() { windAlarmLevels = WindAlarmLevels{}; }

namespace {

// With the default limits a three-hour fall of 3.6 hPa raises level 1, which
// holds down to 3.0; a fall of 6.1 hPa in three hours or 2.0 in one raises
// level 2, which holds down to 5.5 and 1.5.
bool fallen(int level, int32_t t1, int32_t t3, int32_t slack3h, int32_t slack1h)
{
    const uint8_t* warn = monitorSettings.WARN;
    if (level == 0) return t3 <= -(warn[0] - slack3h);
    return t3 <= -(warn[1] - slack3h) || t1 <= -(warn[2] - slack1h);
}
bool raises(int level, int32_t t1, int32_t t3) { return fallen(level, t1, t3, 0, 0); }
bool holds(int level, int32_t t1, int32_t t3) { return fallen(level, t1, t3, windHold3h, windHold1h); }

} // namespace

int takeWindTendencies(int32_t tendency1h, int32_t tendency3h, const UtcStamp& now)
{
    windAlarmLevels.tendency1h = tendency1h;
    windAlarmLevels.tendency3h = tendency3h;
    for (int level = 0; level < 2; ++level) {
        bool& on = windAlarmLevels.on[level];
        unsigned& run = windAlarmLevels.run[level];
        // Off, a run of raising sentences; on, a run of sentences that do not hold it.
        bool towardsSwitch = on ? !holds(level, tendency1h, tendency3h) : raises(level, tendency1h, tendency3h);
        run = towardsSwitch ? run + 1 : 0;
        if (run < (on ? windAlarmEndRun : windAlarmRaiseRun)) continue;
        on = !on;
        run = 0;
        if (on) windAlarmLevels.raisedAt[level] = now;
    }
    return windAlarmLevel();
}

int32_t windWarningTendency3h() { return -int32_t(monitorSettings.WARN[0]); }

int windAlarmLevel() { return windAlarmLevels.on[1] ? 2 : windAlarmLevels.on[0] ? 1 : 0; }

UtcStamp windAlarmRaisedAt()
{
    int level = windAlarmLevel();
    return level == 0 ? UtcStamp{} : windAlarmLevels.raisedAt[level - 1];
}
