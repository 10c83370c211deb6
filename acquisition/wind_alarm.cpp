#include "acquisition/wind_alarm.h"

WindAlarmLevels windAlarmLevels = {};

void resetWindAlarm() { windAlarmLevels = WindAlarmLevels{}; }

namespace {

// A three-hour fall of 3.6 hPa raises level 1, which holds down to 3.0; a fall
// of 6.1 hPa in three hours or 2.0 in one raises level 2, which holds down to
// 5.5 and 1.5.
bool raises(int level, int32_t t1, int32_t t3) { return level == 0 ? t3 <= windWarningTendency3h : t3 <= -61 || t1 <= -20; }
bool holds(int level, int32_t t1, int32_t t3) { return level == 0 ? t3 <= -30 : t3 <= -55 || t1 <= -15; }

} // namespace

int takeWindTendencies(int32_t tendency1h, int32_t tendency3h, const UtcStamp& now)
{
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

int windAlarmLevel() { return windAlarmLevels.on[1] ? 2 : windAlarmLevels.on[0] ? 1 : 0; }

UtcStamp windAlarmRaisedAt()
{
    int level = windAlarmLevel();
    return level == 0 ? UtcStamp{} : windAlarmLevels.raisedAt[level - 1];
}
