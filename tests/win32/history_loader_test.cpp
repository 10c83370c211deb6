// The history loader against real files under Wine.
#include <gtest/gtest.h>

#include "acquisition/measurement_state.h"
#include "app/shell_state.h"
#include "app/startup.h"
#include "settings/monitor_settings.h"
#include "settings/shell_seam.h"
#include "storedata/history_loader.h"
#include "tests/unit/storedata/record_samples.h"
#include "win32_test_support.h"

namespace {

int erases = 0;
int paints = 0;

LRESULT CALLBACK countingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND) {
        ++erases;
        return 1;
    }
    if (message == WM_PAINT) {
        ++paints;
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

uint32_t minuteOf(uint32_t k) { return 60 + 5 * k; }

class HistoryLoaderFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetMonitorSettings();
        installShellSeam();
        monitorSettings.DATA = Barograph;
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = countingProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "HistoryLoaderTestWindow";
        RegisterClassA(&windowClass);
        mainWindow = CreateWindowExA(0, "HistoryLoaderTestWindow", "chart", WS_OVERLAPPEDWINDOW, 0, 0, 300,
                                     200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(mainWindow, nullptr);
        ShowWindow(mainWindow, SW_SHOWNOACTIVATE);
        UpdateWindow(mainWindow);
        pressureHistory = PressureHistory{};
        erases = paints = 0;
    }

    void TearDown() override
    {
        DestroyWindow(mainWindow);
        mainWindow = nullptr;
        resetSeamTables();
        resetMonitorSettings();
    }

    // Runs the paint that the loader asked for, if any.
    void repaint() { UpdateWindow(mainWindow); }

    void writeRecords(uint32_t count, const std::string& extra = "")
    {
        folder_.write("monitor.txt", samples::series(minuteOf(0), count) + extra);
    }

    static int32_t pressureOfRecord(uint32_t k) { return static_cast<int32_t>(samples::pressureAt(minuteOf(k))); }

    ScratchFolder folder_;
};

} // namespace

TEST_F(HistoryLoaderFile, LoadsEverySixthRecordBackFromTheEndAndRepaints)
{
    monitorSettings.SHOW = 1800;
    writeRecords(300);
    EXPECT_TRUE(loadHistory());
    for (uint32_t i = 0; i < 50; ++i)
        EXPECT_EQ(pressureHistory.slots[i].pressure, pressureOfRecord(299 - 6 * i)) << "slot " << i;
    EXPECT_EQ(pressureHistory.slots[50].pressure, 0);
    UtcStamp newest = samples::stampAt(minuteOf(299));
    EXPECT_EQ(pressureHistory.slots[0].day, newest.day);
    EXPECT_EQ(pressureHistory.slots[0].hour, newest.hour);
    EXPECT_EQ(pressureHistory.slots[0].minute, newest.minute);
    repaint();
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(erases, 1);
    // The file is closed again: another program may take it whole.
    HANDLE other = CreateFileA("monitor.txt", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(other, INVALID_HANDLE_VALUE);
    CloseHandle(other);
}

TEST_F(HistoryLoaderFile, EveryRecordAtFiveMinuteSpacingWithItsWindAlarm)
{
    monitorSettings.SHOW = 300;
    std::string file = samples::series(minuteOf(0), 2000);
    for (size_t k : {1999, 1950, 1896, 1000}) file = samples::withAlarmDigit(file, k, '1');
    file = samples::withAlarmDigit(file, 1998, 'x');
    folder_.write("monitor.txt", file);
    EXPECT_TRUE(loadHistory());
    for (uint32_t i = 0; i < 104; ++i) {
        uint32_t k = 1999 - i;
        EXPECT_EQ(pressureHistory.slots[i].pressure, pressureOfRecord(k)) << "slot " << i;
        EXPECT_EQ(pressureHistory.slots[i].windAlarm, k == 1999 || k == 1950 || k == 1896 ? 1 : 0) << "slot " << i;
    }
}

TEST_F(HistoryLoaderFile, MissingOrHeldFileLeavesTheHistoryAlone)
{
    monitorSettings.SHOW = 300;
    pressureHistory.slots[5].pressure = 99860;
    EXPECT_FALSE(loadHistory());
    EXPECT_EQ(pressureHistory.slots[5].pressure, 99860);

    writeRecords(10);
    HANDLE other = CreateFileA("monitor.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(loadHistory());
    CloseHandle(other);
    EXPECT_EQ(pressureHistory.slots[5].pressure, 99860);
    repaint();
    EXPECT_EQ(paints, 0);

    EXPECT_TRUE(loadHistory());
    EXPECT_EQ(pressureHistory.slots[5].pressure, pressureOfRecord(4));
}

TEST_F(HistoryLoaderFile, RejectedRecordsAndALooseTailStillEnd)
{
    // The last records are invalid and the file ends in half a record: the
    // loader runs out of file before it finds enough valid records, and stops.
    monitorSettings.SHOW = 300;
    std::string file = samples::series(minuteOf(0), 8);
    for (uint32_t k = 8; k < 12; ++k) file += samples::invalidRecord(k + 1, minuteOf(k));
    folder_.write("monitor.txt", file);
    EXPECT_TRUE(loadHistory());
    for (uint32_t i = 0; i < 8; ++i) EXPECT_EQ(pressureHistory.slots[i].pressure, pressureOfRecord(7 - i));
    EXPECT_EQ(pressureHistory.slots[8].pressure, 0);

    folder_.write("monitor.txt", file + "000013 01.01.2024 02:");
    EXPECT_TRUE(loadHistory());
    EXPECT_EQ(pressureHistory.slots[0].pressure, 0);
}

TEST_F(HistoryLoaderFile, FileShorterThanARecordClearsAndRepaints)
{
    monitorSettings.SHOW = 300;
    pressureHistory.slots[0].pressure = 99860;
    folder_.write("monitor.txt", samples::record(1, minuteOf(0)).substr(0, 79));
    EXPECT_TRUE(loadHistory());
    EXPECT_EQ(pressureHistory.slots[0].pressure, 0);
    repaint();
    EXPECT_EQ(paints, 1);
}
