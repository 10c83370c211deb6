// The wind alarm's levels over runs of accepted sentences.
#include "acquisition/wind_alarm.h"

#include <gtest/gtest.h>

#include "settings/monitor_settings.h"

namespace {

class WindAlarm : public ::testing::Test {
protected:
    void SetUp() override { resetWindAlarm(); }
    void TearDown() override { resetWindAlarm(); }

    // `count` sentences with these tendencies (tenths of a hPa); the level after the last.
    static int feed(unsigned count, int32_t t3, int32_t t1 = 0)
    {
        int level = windAlarmLevel();
        for (unsigned i = 0; i < count; ++i) level = takeWindTendencies(t1, t3);
        return level;
    }

    // Raises level 1 with a fall of 3.8 hPa in three hours.
    static void raiseLevelOne() { ASSERT_EQ(feed(windAlarmRaiseRun, -38), 1); }
};

} // namespace

TEST_F(WindAlarm, ALevelComesOnAtTheTenthSentenceOfARunAndNotBefore)
{
    EXPECT_EQ(feed(9, -36), 0) << "nine sentences at the threshold";
    EXPECT_EQ(feed(1, -35), 0) << "one sentence short of it breaks the run";
    EXPECT_EQ(feed(9, -36), 0);
    EXPECT_EQ(feed(1, -36), 1) << "the tenth in a row";
}

TEST_F(WindAlarm, ASingleSteepSentenceAmongSteadyOnesRaisesNothing)
{
    for (int round = 0; round < 50; ++round) {
        EXPECT_EQ(feed(1, -99, -99), 0);
        EXPECT_EQ(feed(5, 0), 0);
    }
}

TEST_F(WindAlarm, LevelOneHoldsWhileTheFallIsThreeHectopascalsAndEndsAfterTenMinutesBelow)
{
    raiseLevelOne();
    EXPECT_EQ(feed(5000, -33), 1) << "eased to -3.3: still held";
    EXPECT_EQ(feed(5000, -30), 1) << "-3.0 still holds";
    EXPECT_EQ(feed(599, -29), 1) << "599 sentences at -2.9";
    EXPECT_EQ(feed(1, -29), 0) << "ended at the 600th";

    // A holding sentence inside the run starts the count of the ending again.
    raiseLevelOne();
    EXPECT_EQ(feed(599, 0), 1);
    EXPECT_EQ(feed(1, -30), 1);
    EXPECT_EQ(feed(599, 0), 1);
    EXPECT_EQ(feed(1, 0), 0);
}

TEST_F(WindAlarm, TheUsersLimitsRaiseAndHoldEachLevelAsTheDefaultsDo)
{
    monitorSettings.WARN[0] = 25, monitorSettings.WARN[1] = 40, monitorSettings.WARN[2] = 12;
    EXPECT_EQ(feed(windAlarmRaiseRun, -24), 0);
    EXPECT_EQ(feed(windAlarmRaiseRun, -25), 1);
    EXPECT_EQ(windWarningTendency3h(), -25) << "the charts' red stretches follow the warning";
    EXPECT_EQ(feed(5000, -19), 1) << "held 0.6 hPa below its limit";
    EXPECT_EQ(feed(windAlarmEndRun, -18), 0);
    EXPECT_EQ(feed(windAlarmRaiseRun, 0, -12), 2) << "a one-hour fall of 1.2";
    EXPECT_EQ(feed(5000, 0, -7), 2) << "held 0.5 hPa below it";
    EXPECT_EQ(feed(windAlarmEndRun, 0, -6), 0);
    EXPECT_EQ(feed(windAlarmRaiseRun, -40), 2);
    EXPECT_EQ(feed(windAlarmEndRun, -33), 1) << "below 3.4 the gale eases, 3.3 still warns";
    resetMonitorSettings();
}

TEST_F(WindAlarm, LevelTwoByEitherRuleAndOnTopOfLevelOne)
{
    // The hourly rule alone: the three-hour tendency raises nothing.
    EXPECT_EQ(feed(9, 0, -20), 0);
    EXPECT_EQ(feed(1, 0, -20), 2);
    EXPECT_FALSE(windAlarmLevels.on[0]);
    EXPECT_EQ(feed(599, 0, -14), 2) << "held while the hour's fall is 1.5 or more";
    EXPECT_EQ(feed(599, 0, -15), 2);
    EXPECT_EQ(feed(599, 0, -14), 2);
    EXPECT_EQ(feed(1, 0, -14), 0);

    // The three-hour rule: level 1 first, then 2, each ending by itself.
    raiseLevelOne();
    EXPECT_EQ(feed(9, -61), 1);
    EXPECT_EQ(feed(1, -61), 2);
    EXPECT_EQ(feed(600, -55), 2) << "-5.5 holds level 2";
    EXPECT_EQ(feed(600, -40), 1) << "level 2 ended, level 1 stands";
    EXPECT_EQ(feed(600, -20), 0);
}

TEST_F(WindAlarm, ResetTurnsBothLevelsOffAndStartsTheirRunsAgain)
{
    EXPECT_EQ(feed(10, -70), 2);
    EXPECT_TRUE(windAlarmLevels.on[0]);
    resetWindAlarm();
    EXPECT_EQ(windAlarmLevel(), 0);
    EXPECT_EQ(feed(5, -70), 0);
    resetWindAlarm();
    EXPECT_EQ(feed(9, -70), 0) << "the five before the reset do not count";
}

TEST_F(WindAlarm, EachLevelKeepsTheTimeItCameOn)
{
    const UtcStamp first{2026, 12, 9, 3, 10}, second{2026, 12, 9, 3, 11}, third{2026, 12, 9, 5, 0};
    for (int i = 0; i < 9; ++i) takeWindTendencies(0, -40, first);
    takeWindTendencies(0, -40, second);
    EXPECT_EQ(windAlarmRaisedAt().minute, 11) << "the tenth sentence raised it";
    for (int i = 0; i < 10; ++i) takeWindTendencies(0, -70, third);
    EXPECT_EQ(windAlarmLevel(), 2);
    EXPECT_EQ(windAlarmRaisedAt().hour, 5);
    // Level 2 ends, level 1 has stood since its own raise.
    for (int i = 0; i < 600; ++i) takeWindTendencies(0, -40, third);
    EXPECT_EQ(windAlarmLevel(), 1);
    EXPECT_EQ(windAlarmRaisedAt().hour, 3);
    EXPECT_EQ(windAlarmRaisedAt().minute, 11);
}
