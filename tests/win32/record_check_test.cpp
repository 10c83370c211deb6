// The data check against real files and message boxes under Wine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "acquisition/measurement_state.h"
#include "app/shell_state.h"
#include "app/startup.h"
#include "settings/monitor_settings.h"
#include "settings/shell_seam.h"
#include "storedata/record_check.h"
#include "tests/unit/storedata/record_samples.h"
#include "win32_test_support.h"

namespace {

using samples::at;
using samples::record;

// What the program's own thread saw as each message box was created: its
// owner, and whether monitor.txt and monitor.tmp were held without sharing
// at that moment, so that a record falling due could not be appended.
struct BoxCreation {
    HWND owner;
    bool recordFileHeld;
    bool scratchFileHeld;
};
std::vector<BoxCreation> creations;

bool heldWithoutSharing(const char* name)
{
    HANDLE probe = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                               nullptr);
    if (probe == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(probe);
    return false;
}

LRESULT CALLBACK watchBoxes(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        HWND window = reinterpret_cast<HWND>(wParam);
        char className[16] = {};
        GetClassNameA(window, className, sizeof className);
        if (std::string(className) == "#32770") {
            auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
            creations.push_back(
                {create->lpcs->hwndParent, heldWithoutSharing("monitor.txt"), heldWithoutSharing("monitor.tmp")});
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Stand-ins that make one step of the check fail as on a full disk.
using WriteFileCall = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
using ReadFileCall = BOOL(WINAPI*)(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED);
using CopyFileCall = BOOL(WINAPI*)(LPCSTR, LPCSTR, BOOL);
WriteFileCall realWriteFile = nullptr;
ReadFileCall realReadFile = nullptr;
CopyFileCall realCopyFile = nullptr;
int writesToRefuse = 0;
int readsBeforeFailure = -1;
std::string copyTargetToRefuse;

// Reads go well `readsBeforeFailure` times, then fail as on a bad sector.
BOOL WINAPI failingReadFile(HANDLE file, LPVOID bytes, DWORD count, LPDWORD got, LPOVERLAPPED overlapped)
{
    if (readsBeforeFailure != 0) {
        if (readsBeforeFailure > 0) --readsBeforeFailure;
        return realReadFile(file, bytes, count, got, overlapped);
    }
    if (got) *got = 0;
    SetLastError(ERROR_CRC);
    return FALSE;
}

BOOL WINAPI refusingWriteFile(HANDLE file, LPCVOID bytes, DWORD count, LPDWORD written, LPOVERLAPPED overlapped)
{
    if (writesToRefuse == 0) return realWriteFile(file, bytes, count, written, overlapped);
    --writesToRefuse;
    // Part of the bytes land before the disk is full.
    realWriteFile(file, bytes, count / 2, written, overlapped);
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

BOOL WINAPI refusingCopyFile(LPCSTR from, LPCSTR to, BOOL failIfExists)
{
    if (copyTargetToRefuse != to) return realCopyFile(from, to, failIfExists);
    // A copy over an existing file empties it before it runs short.
    HANDLE target = CreateFileA(to, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (target != INVALID_HANDLE_VALUE) CloseHandle(target);
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

class RecordCheckFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetMonitorSettings();
        installShellSeam();
        monitorSettings.DATA = Barograph;
        monitorSettings.SHOW = 300;
        monitorSettings.ERR = 1;
        monitorSettings.LANG = German;  // the check speaks English all the same
        mainWindow = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                     nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(mainWindow, nullptr);
        pressureHistory = PressureHistory{};
        creations.clear();
        hook_ = SetWindowsHookExA(WH_CBT, watchBoxes, nullptr, GetCurrentThreadId());
        ASSERT_NE(hook_, nullptr);
    }

    void TearDown() override
    {
        UnhookWindowsHookEx(hook_);
        DestroyWindow(mainWindow);
        mainWindow = nullptr;
        resetSeamTables();
        resetMonitorSettings();
    }

    // Runs the check with every box answered; the boxes it showed. Unless
    // the test itself holds one, neither file is held while a box waits.
    std::vector<BoxAnswerer::Seen> run(unsigned expectedResult, bool fileHeldByTest = false)
    {
        BoxAnswerer answerer;
        EXPECT_EQ(checkRecordFile(), expectedResult);
        auto seen = answerer.seen();
        EXPECT_EQ(seen.size(), creations.size());
        for (const BoxCreation& c : creations) {
            EXPECT_EQ(c.owner, mainWindow);
            if (fileHeldByTest) continue;
            EXPECT_FALSE(c.recordFileHeld) << "monitor.txt held while a box waits";
            EXPECT_FALSE(c.scratchFileHeld) << "monitor.tmp held while a box waits";
        }
        return seen;
    }

    void expectOneBox(const std::vector<BoxAnswerer::Seen>& seen, const std::string& caption,
                      const std::string& text)
    {
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].caption, caption);
        EXPECT_EQ(seen[0].text, text);
    }

    bool recordFileEventLogged() const
    {
        return folder_.read("monitor.err").find("  event nr. 13 error wrinting in file MONITOR.TXT \r\n") !=
               std::string::npos;
    }

    ScratchFolder folder_;
    HHOOK hook_ = nullptr;
};

} // namespace

TEST_F(RecordCheckFiles, OneDayIsRenumberedListedBackedUpAndLoaded)
{
    const std::string old = samples::series(at(0, 0), 288, 700);
    folder_.write("monitor.txt", old);
    auto seen = run(0);
    expectOneBox(seen, "Data check", "288 records read\n1 recordings\n0 errors found\n0 errors corrected");
    EXPECT_EQ(folder_.read("monitor.txt"), samples::series(at(0, 0), 288, 1));
    EXPECT_EQ(folder_.read("monitor.bak"), old);
    EXPECT_EQ(folder_.read("datalist.txt"), "  0      0  288\n");
    EXPECT_FALSE(folder_.exists("monitor.tmp"));
    EXPECT_FALSE(folder_.exists("monitor.err"));
    // The history is reloaded from the new file, newest record in slot 0.
    EXPECT_EQ(pressureHistory.slots[0].pressure, static_cast<int32_t>(samples::pressureAt(at(23, 55))));
    EXPECT_EQ(pressureHistory.slots[103].pressure, static_cast<int32_t>(samples::pressureAt(at(23, 55) - 5 * 103)));
}

TEST_F(RecordCheckFiles, DamagedFileIsRepairedByteForByte)
{
    // Record 000016 cut short in its middle, a line added by hand after 000026,
    // and half a record at the end.
    std::string old;
    for (uint32_t k = 0; k < 40; ++k) {
        std::string line = record(k + 1, at(10, 0) + 5 * k);
        if (k == 26) old += "checked by hand 12.01.\r\n";
        old += k == 15 ? line.substr(0, 40) + "\r\n" : line;
    }
    old += record(41, at(10, 0) + 5 * 40).substr(0, 50);
    folder_.write("monitor.txt", old);

    auto seen = run(3);
    expectOneBox(seen, "Data check", "39 records read\n2 recordings\n3 errors found\n3 errors corrected");
    std::string expected;
    for (uint32_t k = 0; k < 15; ++k) expected += record(k + 1, at(10, 0) + 5 * k);
    for (uint32_t k = 16; k < 40; ++k) expected += record(k - 15, at(10, 0) + 5 * k);
    EXPECT_EQ(folder_.read("monitor.txt"), expected);
    EXPECT_EQ(folder_.read("monitor.bak"), old);
    EXPECT_EQ(folder_.read("datalist.txt"), "  0      0   15\n  1     15   24\n");
    EXPECT_FALSE(folder_.exists("monitor.tmp"));
    EXPECT_EQ(pressureHistory.slots[0].pressure, static_cast<int32_t>(samples::pressureAt(at(10, 0) + 5 * 39)));
}

TEST_F(RecordCheckFiles, DuplicateTimeIsOneErrorAndTheRecordingGoesOn)
{
    std::string old = record(1, at(10, 0)) + record(2, at(10, 5)) + record(3, at(10, 5)) + record(4, at(10, 10));
    folder_.write("monitor.txt", old);
    auto seen = run(1);
    expectOneBox(seen, "Data check", "3 records read\n1 recordings\n1 errors found\n1 errors corrected");
    EXPECT_EQ(folder_.read("monitor.txt"), samples::series(at(10, 0), 3, 1));
    EXPECT_EQ(folder_.read("datalist.txt"), "  0      0    3\n");
}

TEST_F(RecordCheckFiles, TwoRecordingsWithAGapKeepEveryRecordAndASecondCheckChangesNone)
{
    // Line feeds alone in the second recording, as an editor leaves them.
    std::string second = samples::series(at(14, 0), 10, 11);
    std::string secondLf;
    for (char c : second)
        if (c != '\r') secondLf += c;
    folder_.write("monitor.txt", samples::series(at(10, 0), 10, 1) + secondLf);
    auto seen = run(0);
    expectOneBox(seen, "Data check", "20 records read\n2 recordings\n0 errors found\n0 errors corrected");
    const std::string repaired = samples::series(at(10, 0), 10, 1) + samples::series(at(14, 0), 10, 1);
    EXPECT_EQ(folder_.read("monitor.txt"), repaired);
    EXPECT_EQ(folder_.read("datalist.txt"), "  0      0   10\n  1     10   10\n");

    creations.clear();
    seen = run(0);
    expectOneBox(seen, "Data check", "20 records read\n2 recordings\n0 errors found\n0 errors corrected");
    EXPECT_EQ(folder_.read("monitor.txt"), repaired);
    EXPECT_EQ(folder_.read("monitor.bak"), repaired);
    EXPECT_EQ(folder_.read("datalist.txt"), "  0      0   10\n  1     10   10\n");
}

// Several blocks of reading and writing: a record and a carriage return and
// line feed pair across block ends, line feeds alone in a later block, a gap.
// Wind alarm digits are kept, a blank one written as 0.
TEST_F(RecordCheckFiles, FileOfManyBlocksIsRepairedWhole)
{
    const uint32_t first = at(0, 0);
    std::string old = samples::withAlarmDigit(samples::series(first, 3000), 100, ' ');
    // A line of 65 bytes puts the carriage return of record 3276 on the last
    // byte of the first 256 KiB and its line feed on the first of the next.
    old += std::string(63, '-') + "\r\n";
    old += samples::withAlarmDigit(samples::series(first + 5 * 3000, 3000, 3001), 275, '1');
    std::string lineFeedsOnly;
    for (char c : samples::withAlarmDigit(samples::series(first + 5 * 6000, 3000, 6001), 10, '1'))
        if (c != '\r') lineFeedsOnly += c;
    old += lineFeedsOnly;
    old += samples::withAlarmDigit(samples::series(first + 5 * 9000 + 60, 3000, 1), 2999, '1');
    ASSERT_EQ(old.substr(262144 - 2, 3), "1\r\n");
    folder_.write("monitor.txt", old);

    auto seen = run(1);
    expectOneBox(seen, "Data check", "12000 records read\n2 recordings\n1 errors found\n1 errors corrected");
    std::string expected = samples::series(first, 9000);
    expected = samples::withAlarmDigit(samples::withAlarmDigit(expected, 3275, '1'), 6010, '1');
    expected += samples::withAlarmDigit(samples::series(first + 5 * 9000 + 60, 3000), 2999, '1');
    EXPECT_TRUE(folder_.read("monitor.txt") == expected) << "monitor.txt differs";
    EXPECT_EQ(folder_.read("monitor.bak"), old);
    EXPECT_EQ(folder_.read("datalist.txt"), "  0      0 9000\n  1   9000 3000\n");
    EXPECT_FALSE(folder_.exists("monitor.tmp"));
    // The history reloaded from the new file carries the newest record's alarm.
    EXPECT_EQ(pressureHistory.slots[0].windAlarm, 1);
    EXPECT_EQ(pressureHistory.slots[1].windAlarm, 0);
}

TEST_F(RecordCheckFiles, ReadFailureLeavesTheRecordFileAlone)
{
    // A failure after the first block: what was read so far must not replace the file.
    const std::string old = samples::series(at(10, 0), 8000, 9);
    folder_.write("monitor.txt", old);
    std::vector<BoxAnswerer::Seen> seen;
    {
        ImportPatch patch("ReadFile", reinterpret_cast<void*>(failingReadFile));
        ASSERT_TRUE(patch.applied());
        realReadFile = reinterpret_cast<ReadFileCall>(patch.original());
        readsBeforeFailure = 1;
        seen = run(0);
        readsBeforeFailure = -1;
    }
    expectOneBox(seen, "read data", "error reading monitor.txt");
    EXPECT_TRUE(recordFileEventLogged());
    EXPECT_EQ(folder_.read("monitor.txt"), old);
    EXPECT_FALSE(folder_.exists("monitor.tmp"));
    EXPECT_FALSE(folder_.exists("monitor.bak"));
    EXPECT_FALSE(folder_.exists("datalist.txt"));
}

TEST_F(RecordCheckFiles, ScratchFileBesideTheProgramIsNotDeleted)
{
    // Deleting by bare name would search the program's folder first.
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string beside(program);
    beside = beside.substr(0, beside.find_last_of("\\/") + 1) + "monitor.tmp";
    HANDLE other = CreateFileA(beside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE) << beside;
    CloseHandle(other);
    folder_.write("monitor.txt", samples::series(at(10, 0), 3));
    run(0);
    bool kept = GetFileAttributesA(beside.c_str()) != INVALID_FILE_ATTRIBUTES;
    DeleteFileA(beside.c_str());
    EXPECT_TRUE(kept);
    EXPECT_FALSE(folder_.exists("monitor.tmp"));
    EXPECT_EQ(folder_.read("monitor.txt"), samples::series(at(10, 0), 3));
}

TEST_F(RecordCheckFiles, ShortFileIsReportedWithBothFilesClosed)
{
    const std::string old = record(1, at(10, 0)).substr(0, 79);
    folder_.write("monitor.txt", old);
    auto seen = run(0);
    expectOneBox(seen, "Data check", "No records read\nno errors can be found");
    ASSERT_EQ(creations.size(), 1u);
    EXPECT_FALSE(creations[0].recordFileHeld);
    EXPECT_FALSE(creations[0].scratchFileHeld);
    EXPECT_EQ(folder_.read("monitor.txt"), old);
    EXPECT_TRUE(folder_.exists("monitor.tmp"));
    EXPECT_EQ(folder_.read("monitor.tmp"), "");
    EXPECT_FALSE(folder_.exists("monitor.bak"));
    EXPECT_FALSE(folder_.exists("datalist.txt"));
    EXPECT_FALSE(folder_.exists("monitor.err"));
}

TEST_F(RecordCheckFiles, MissingRecordFileLeavesAnEmptyScratchFile)
{
    folder_.write("monitor.tmp", "left over from an earlier run");
    auto seen = run(0);
    expectOneBox(seen, "read data", "error reading monitor.txt");
    EXPECT_TRUE(recordFileEventLogged());
    EXPECT_EQ(folder_.read("monitor.tmp"), "");
    EXPECT_FALSE(folder_.exists("monitor.txt"));
    EXPECT_FALSE(folder_.exists("monitor.bak"));
    EXPECT_FALSE(folder_.exists("datalist.txt"));
}

TEST_F(RecordCheckFiles, RecordFileHeldByAnotherProgramIsNotTouched)
{
    const std::string old = samples::series(at(10, 0), 5);
    folder_.write("monitor.txt", old);
    HANDLE other = CreateFileA("monitor.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    auto seen = run(0, true);
    CloseHandle(other);
    EXPECT_FALSE(creations[0].scratchFileHeld);
    expectOneBox(seen, "read data", "error reading monitor.txt");
    EXPECT_TRUE(recordFileEventLogged());
    EXPECT_EQ(folder_.read("monitor.txt"), old);
    EXPECT_FALSE(folder_.exists("monitor.bak"));
}

TEST_F(RecordCheckFiles, ScratchFileHeldByAnotherProgramStopsTheCheck)
{
    const std::string old = samples::series(at(10, 0), 5, 9);
    folder_.write("monitor.txt", old);
    folder_.write("monitor.tmp", "held");
    HANDLE other = CreateFileA("monitor.tmp", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    auto seen = run(0, true);
    CloseHandle(other);
    EXPECT_FALSE(creations[0].recordFileHeld);
    expectOneBox(seen, "write data", "error writing monitor.tmp");
    EXPECT_TRUE(recordFileEventLogged());
    EXPECT_EQ(folder_.read("monitor.txt"), old);
    EXPECT_EQ(folder_.read("monitor.tmp"), "held");
    EXPECT_FALSE(folder_.exists("monitor.bak"));
    EXPECT_FALSE(folder_.exists("datalist.txt"));
}

TEST_F(RecordCheckFiles, EarlierBackupAndListAreReplaced)
{
    folder_.write("monitor.bak", std::string(5000, 'b'));
    folder_.write("datalist.txt", std::string(500, 'd'));
    const std::string old = samples::series(at(10, 0), 3, 40);
    folder_.write("monitor.txt", old);
    run(0);
    EXPECT_EQ(folder_.read("monitor.bak"), old);
    EXPECT_EQ(folder_.read("datalist.txt"), "  0      0    3\n");
    EXPECT_EQ(folder_.read("monitor.txt"), samples::series(at(10, 0), 3, 1));
}

TEST_F(RecordCheckFiles, ShortScratchWriteLeavesTheRecordFileAlone)
{
    const std::string old = samples::series(at(10, 0), 40, 9);
    folder_.write("monitor.txt", old);
    std::vector<BoxAnswerer::Seen> seen;
    {
        ImportPatch patch("WriteFile", reinterpret_cast<void*>(refusingWriteFile));
        ASSERT_TRUE(patch.applied());
        realWriteFile = reinterpret_cast<WriteFileCall>(patch.original());
        writesToRefuse = 1;
        seen = run(0);
        writesToRefuse = 0;
    }
    expectOneBox(seen, "write data", "error writing monitor.tmp");
    EXPECT_TRUE(recordFileEventLogged());
    EXPECT_EQ(folder_.read("monitor.txt"), old);
    EXPECT_FALSE(folder_.exists("monitor.tmp"));
    EXPECT_FALSE(folder_.exists("monitor.bak"));
    EXPECT_FALSE(folder_.exists("datalist.txt"));
}

TEST_F(RecordCheckFiles, FailedBackupLeavesTheRecordFileAlone)
{
    const std::string old = samples::series(at(10, 0), 40, 9);
    folder_.write("monitor.txt", old);
    std::vector<BoxAnswerer::Seen> seen;
    {
        ImportPatch patch("CopyFileA", reinterpret_cast<void*>(refusingCopyFile));
        ASSERT_TRUE(patch.applied());
        realCopyFile = reinterpret_cast<CopyFileCall>(patch.original());
        copyTargetToRefuse = "monitor.bak";
        seen = run(0);
        copyTargetToRefuse.clear();
    }
    expectOneBox(seen, "write data", "error writing monitor.bak");
    EXPECT_TRUE(recordFileEventLogged());
    EXPECT_EQ(folder_.read("monitor.txt"), old);
    EXPECT_FALSE(folder_.exists("monitor.tmp"));
    EXPECT_FALSE(folder_.exists("datalist.txt"));
}

TEST_F(RecordCheckFiles, FailedReplacementKeepsBothCopies)
{
    const std::string old = samples::series(at(10, 0), 40, 9);
    folder_.write("monitor.txt", old);
    std::vector<BoxAnswerer::Seen> seen;
    {
        ImportPatch patch("CopyFileA", reinterpret_cast<void*>(refusingCopyFile));
        ASSERT_TRUE(patch.applied());
        realCopyFile = reinterpret_cast<CopyFileCall>(patch.original());
        copyTargetToRefuse = "monitor.txt";
        seen = run(0);
        copyTargetToRefuse.clear();
    }
    expectOneBox(seen, "write data", "error writing monitor.txt");
    EXPECT_TRUE(recordFileEventLogged());
    EXPECT_EQ(folder_.read("monitor.bak"), old);
    EXPECT_EQ(folder_.read("monitor.tmp"), samples::series(at(10, 0), 40, 1));
}
