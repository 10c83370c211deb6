// The storm warning's sound, taskbar flash and acknowledgement through the
// real main window, menu bar and shell seam, with MessageBeep and
// FlashWindowEx replaced so that the test hears and sees every call.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "acquisition/alarm_signal.h"
#include "acquisition/data_watch.h"
#include "acquisition/line_dispatch.h"
#include "acquisition/measurement_state.h"
#include "acquisition/receive_poll.h"
#include "acquisition/serial_port.h"
#include "acquisition/wind_alarm.h"
#include "app/menu_bar.h"
#include "app/menu_layout.h"
#include "app/shell_state.h"
#include "app/startup.h"
#include "display/chart_geometry.h"
#include "display/drawing_tools.h"
#include "printing/print_jobs.h"
#include "settings/monitor_settings.h"
#include "settings/shell_seam.h"
#include "win32_test_support.h"

namespace {

std::vector<UINT> beeps;
std::vector<DWORD> flashes;
std::vector<std::string> misuse;  // calls that break a rule of the documentation

BOOL WINAPI recordingMessageBeep(UINT type)
{
    beeps.push_back(type);
    return TRUE;
}

// Windows wants cbSize set to the structure's size and a window to flash;
// Wine looks at neither.
BOOL WINAPI checkingFlashWindowEx(PFLASHWINFO info)
{
    if (!info || info->cbSize != sizeof(FLASHWINFO)) misuse.push_back("cbSize");
    else if (!IsWindow(info->hwnd)) misuse.push_back("hwnd");
    else flashes.push_back(info->dwFlags);
    return TRUE;
}

ULONGLONG fakeTicks = 0;
ULONGLONG WINAPI fakeGetTickCount64() { return fakeTicks; }

void feedSentences(int count, const char* t1, const char* t3)
{
    char line[64];
    std::snprintf(line, sizeof line, "$PXDR,1005.00,40000,%s,%s,-0030,1007.00\r\n", t1, t3);
    for (int i = 0; i < count; ++i) dispatchLine(line, std::strlen(line));
}

class StormWarning : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetMonitorSettings();
        resetMeasurementState();
        resetWindAlarm();
        resetDataWatch();
        resetAlarmSignal();
        beeps.clear();
        flashes.clear();
        misuse.clear();
        ASSERT_TRUE(openRealMainWindow());
        beep_ = new ImportPatch("MessageBeep", reinterpret_cast<void*>(recordingMessageBeep));
        flash_ = new ImportPatch("FlashWindowEx", reinterpret_cast<void*>(checkingFlashWindowEx));
        ASSERT_TRUE(beep_->applied());
        ASSERT_TRUE(flash_->applied());
    }

    void TearDown() override
    {
        delete beep_;
        delete flash_;
        closeRealMainWindow();
        resetAlarmSignal();
        resetWindAlarm();
        resetDataWatch();
        resetMonitorSettings();
    }

    static bool itemEnabled()
    {
        UINT state = GetMenuState(menuBar.handle, cmdAcknowledgeAlarm, MF_BYCOMMAND);
        EXPECT_NE(state, static_cast<UINT>(-1)) << "the item exists";
        return !(state & (MF_GRAYED | MF_DISABLED));
    }

    // The timer ticks of the receiver, every 200 ms from `from` up to `to`.
    static void tick(uint32_t from, uint32_t to)
    {
        for (uint32_t t = from; t <= to; t += 200) tickAlarmSignal(t);
    }

    ImportPatch* beep_ = nullptr;
    ImportPatch* flash_ = nullptr;
    ScratchFolder folder_;  // the alarm's events go to its monitor.err
};

} // namespace

TEST_F(StormWarning, BeepsAtTheRiseAndEveryThirtySecondsUntilAcknowledgedAndAgainAtLevelTwo)
{
    EXPECT_FALSE(itemEnabled()) << "nothing to acknowledge at start";
    tick(0, 0);
    feedSentences(9, "-00.5", "-03.8");
    EXPECT_TRUE(beeps.empty());
    feedSentences(1, "-00.5", "-03.8");
    EXPECT_EQ(beeps, (std::vector<UINT>{MB_ICONEXCLAMATION})) << "at the rise";
    EXPECT_EQ(flashes, (std::vector<DWORD>{FLASHW_TRAY | FLASHW_TIMER}));
    EXPECT_TRUE(itemEnabled());

    tick(200, 29800);
    EXPECT_EQ(beeps.size(), 1u);
    tick(30000, 30000);
    EXPECT_EQ(beeps.size(), 2u) << "30 s on";
    tick(30200, 60000);
    EXPECT_EQ(beeps.size(), 3u) << "and 60 s";

    // A click below the banner is no acknowledgement; Escape is.
    SendMessageA(mainWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(400, 300));
    EXPECT_TRUE(alarmSignal.sounding);
    SendMessageA(mainWindow, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(alarmSignal.sounding);
    EXPECT_EQ(flashes.back(), static_cast<DWORD>(FLASHW_STOP));
    EXPECT_FALSE(itemEnabled());
    tick(60200, 240000);
    EXPECT_EQ(beeps.size(), 3u) << "silent after the acknowledgement";

    // The rise to level 2 sounds again, and a click on the banner silences it.
    feedSentences(10, "-02.1", "-03.8");
    EXPECT_EQ(windAlarmLevel(), 2);
    EXPECT_EQ(beeps.size(), 4u);
    EXPECT_TRUE(itemEnabled());
    tick(240200, 270000);
    EXPECT_EQ(beeps.size(), 5u);
    RECT client;
    GetClientRect(mainWindow, &client);
    ASSERT_TRUE(screenBannerHit(client.right, client.bottom, currentChartBanner(), monitorSettings.LANG,
                                client.right / 2, chartTop + 5));
    SendMessageA(mainWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.right / 2, chartTop + 5));
    EXPECT_FALSE(itemEnabled());
    tick(270200, 400000);
    EXPECT_EQ(beeps.size(), 5u);

    // Data stopping sounds it once more; the menu command acknowledges it.
    ASSERT_FALSE(noteClock(0, true));
    ASSERT_TRUE(noteClock(60000, true));
    soundAlarm(AlarmCause::DataStop);  // as the receiver does on that answer
    EXPECT_EQ(beeps.size(), 6u);
    EXPECT_TRUE(itemEnabled());
    SendMessageA(mainWindow, WM_COMMAND, cmdAcknowledgeAlarm, 0);
    EXPECT_FALSE(itemEnabled());
    EXPECT_TRUE(misuse.empty()) << misuse.front();
}

TEST_F(StormWarning, TheItemFollowsTheAlarmThroughALanguageChange)
{
    feedSentences(10, "-00.5", "-03.8");
    ASSERT_TRUE(itemEnabled());
    // A new language builds a new menu bar: the item must stay enabled on it.
    SendMessageA(mainWindow, WM_COMMAND, cmdFrench, 0);
    EXPECT_TRUE(itemEnabled());
    SendMessageA(mainWindow, WM_COMMAND, cmdAcknowledgeAlarm, 0);
    SendMessageA(mainWindow, WM_COMMAND, cmdEnglish, 0);
    EXPECT_FALSE(itemEnabled());
    // Switching to Nmea mode ends the alarm: nothing is left to acknowledge.
    feedSentences(10, "-02.5", "-03.8");
    ASSERT_TRUE(itemEnabled());
    SendMessageA(mainWindow, WM_COMMAND, cmdNmeaMode, 0);
    EXPECT_FALSE(itemEnabled());
    EXPECT_EQ(flashes.back(), static_cast<DWORD>(FLASHW_STOP));
}

// Through the receiver's own ticks, with the clock in the test's hand: a data
// gap after an acknowledgement, a PC that slept, and a print job that held
// the port closed for two minutes.
TEST_F(StormWarning, TheReceiversTicksSoundOnlyForWhatWasNotAcknowledged)
{
    ImportPatch clock("GetTickCount64", reinterpret_cast<void*>(fakeGetTickCount64));
    ASSERT_TRUE(clock.applied());
    monitorSettings.COM = 8;
    serialPort.state = PortState::Retrying;  // a missing port counts towards a silence
    auto pollFor = [](ULONGLONG ms) {
        for (ULONGLONG end = fakeTicks + ms; fakeTicks < end; fakeTicks += 200) {
            serialPort.pollsSinceAttempt = 0;  // no attempt to open a real port
            pollReceiver();
        }
    };
    fakeTicks = 1000;
    pollFor(200);
    feedSentences(10, "-00.5", "-03.8");
    ASSERT_EQ(beeps.size(), 1u);
    SendMessageA(mainWindow, WM_COMMAND, cmdAcknowledgeAlarm, 0);
    // A minute without data sounds; data again ends it, the level stays acknowledged.
    pollFor(60200);
    ASSERT_TRUE(dataWatch.silent);
    EXPECT_EQ(beeps.size(), 2u);
    EXPECT_TRUE(itemEnabled());
    feedSentences(1, "-00.5", "-03.8");
    EXPECT_FALSE(itemEnabled());
    pollFor(40000);
    EXPECT_EQ(beeps.size(), 2u) << "no beep for an acknowledged level";
    EXPECT_EQ(flashes.back(), static_cast<DWORD>(FLASHW_STOP));

    // Level 2 sounding when the PC sleeps ten minutes: it wakes to one beep.
    feedSentences(10, "-02.5", "-03.8");
    ASSERT_EQ(beeps.size(), 3u);
    fakeTicks += 600000;
    pollFor(200);
    ASSERT_TRUE(dataWatch.silent);
    EXPECT_EQ(beeps.size(), 4u);
    SendMessageA(mainWindow, WM_COMMAND, cmdAcknowledgeAlarm, 0);
    feedSentences(1, "-02.5", "-03.8");

    // A print job of two minutes is no silence.
    pollFor(1000);
    fakeTicks += 120000;
    printJob.printerDc = nullptr;
    printNmeaTable();
    serialPort.state = PortState::Retrying;
    pollFor(1000);
    EXPECT_FALSE(dataWatch.silent);
    EXPECT_EQ(beeps.size(), 4u);
    EXPECT_FALSE(itemEnabled());
    closeSerialPort();
    resetSerialPort();
}
