// monitor.ini read and written through the real file functions under Wine.
#include <gtest/gtest.h>

#include <optional>

#include "app/startup.h"
#include "settings/monitor_settings.h"
#include "settings/shell_seam.h"
#include "win32_test_support.h"

namespace {

const std::string defaultText =
    "DATA=  TQ\nCOM=COM2\nSAVE=0300\nSHOW=0300\nT1=1\nT3=1\nVAR=1\nTC=0\nAD=0\nERR=1\n"
    "U=0\nSIG=0\nDKS=0\nLANG=DE\nDW=0\nAW=0\nLO=0\n";

std::string withLanguage(std::string text, const char* language)
{
    return text.replace(92, 2, language);
}

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetMonitorSettings();
        installShellSeam();
    }
    void TearDown() override
    {
        resetSeamTables();
        resetMonitorSettings();
    }

    ScratchFolder folder_;
};

BOOL WINAPI failingMoveFileExA(LPCSTR, LPCSTR, DWORD)
{
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

BOOL WINAPI failingFlushFileBuffers(HANDLE)
{
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

BOOL WINAPI failingReadFile(HANDLE, LPVOID, DWORD, LPDWORD count, LPOVERLAPPED)
{
    *count = 0;
    SetLastError(ERROR_IO_DEVICE);
    return FALSE;
}

// Another program's hold on monitor.ini for the first opens, on a clock that Sleep moves on.
int holdsLeft = 0;
ULONGLONG fakeTicks = 0;
decltype(&CreateFileA) realCreateFileA = nullptr;

HANDLE WINAPI heldCreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                              DWORD disposition, DWORD flags, HANDLE model)
{
    if (std::string(name) == "monitor.ini" && holdsLeft > 0) {
        --holdsLeft;
        SetLastError(ERROR_SHARING_VIOLATION);
        return INVALID_HANDLE_VALUE;
    }
    return realCreateFileA(name, access, share, security, disposition, flags, model);
}
decltype(&Sleep) realSleep = nullptr;
DWORD readingThread = 0;
ULONGLONG WINAPI fakeGetTickCount64() { return fakeTicks; }
// Another thread (the box answerer) sleeps for real.
VOID WINAPI fakeSleep(DWORD ms)
{
    if (GetCurrentThreadId() == readingThread) fakeTicks += ms;
    else realSleep(ms);
}

bool readWhileHeld(int holds)
{
    holdsLeft = holds, fakeTicks = 0;
    // Known before the stand-ins are in place, as another thread may call them at once.
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    realCreateFileA = reinterpret_cast<decltype(&CreateFileA)>(GetProcAddress(kernel, "CreateFileA"));
    realSleep = reinterpret_cast<decltype(&Sleep)>(GetProcAddress(kernel, "Sleep"));
    readingThread = GetCurrentThreadId();
    ImportPatch open("CreateFileA", reinterpret_cast<void*>(heldCreateFileA));
    ImportPatch clock("GetTickCount64", reinterpret_cast<void*>(fakeGetTickCount64));
    ImportPatch sleep("Sleep", reinterpret_cast<void*>(fakeSleep));
    EXPECT_TRUE(open.applied() && clock.applied() && sleep.applied());
    return readSettings();
}

} // namespace

TEST_F(SettingsFile, MissingFileIsReportedAndLeavesSettingsAlone)
{
    monitorSettings.LANG = French;
    EXPECT_FALSE(readSettings());
    EXPECT_EQ(monitorSettings.LANG, French);
    std::string log = folder_.read("monitor.err");
    EXPECT_NE(log.find("  event nr. 2 read error: file MONITOR.INI \r\n"), std::string::npos) << log;
}

// A hold is waited out for two seconds. A file held beyond them, one that
// cannot be read, and a damaged one that cannot be put aside give the
// defaults, and no write of that run touches them.
TEST_F(SettingsFile, FileHeldWithoutSharingCannotBeRead)
{
    const std::string users = withLanguage(defaultText, "EN") + "note\n";
    folder_.write("monitor.ini", users);
    BoxAnswerer answerer;
    EXPECT_TRUE(readWhileHeld(3));
    EXPECT_EQ(fakeTicks, 300u) << "three tries 100 ms apart";
    EXPECT_EQ(monitorSettings.LANG, English);
    struct Case {
        const char* name;
        std::string bytes;
        const char* patched;
        void* standIn;
        ULONGLONG waited;
        std::string event;
    } cases[] = {
        {"held", users, nullptr, nullptr, 2000, "2 read error: file MONITOR.INI "},
        {"ReadFile fails", users, "ReadFile", reinterpret_cast<void*>(failingReadFile), 0,
         "2 read error: file MONITOR.INI "},
        {"longer than 64 KB", users + std::string(65536, 'x'), nullptr, nullptr, 0,
         "2 read error: file MONITOR.INI "},
        {"damaged, no name for it", std::string(110, '\0'), "MoveFileExA", reinterpret_cast<void*>(failingMoveFileExA), 0,
         "79 error: settings file damaged, defaults used "},
    };
    for (const Case& c : cases) {
        folder_.write("monitor.ini", c.bytes);
        DeleteFileA("monitor.err");
        HANDLE holder = c.waited ? CreateFileA("monitor.ini", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                                 : INVALID_HANDLE_VALUE;
        {
            std::optional<ImportPatch> patch;
            if (c.patched) patch.emplace(c.patched, c.standIn);
            EXPECT_TRUE(readWhileHeld(0)) << c.name;
        }
        if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
        EXPECT_EQ(fakeTicks, c.waited) << c.name;
        EXPECT_EQ(monitorSettings.LANG, German) << c.name << ": the defaults";
        EXPECT_EQ(folder_.read("monitor.err").substr(16),
                  "  event nr. " + c.event + "- not written in this run, left as it is \r\n") << c.name;
        monitorSettings.LANG = French;
        writeSettingsNow();
        writeSettings();
        EXPECT_EQ(folder_.read("monitor.ini"), c.bytes) << c.name;
        EXPECT_FALSE(folder_.exists("monitor.ini.new") || folder_.exists("monitor.ini.bad")) << c.name;
    }
    EXPECT_TRUE(answerer.seen().empty()) << "the box comes once the window runs";
}

TEST_F(SettingsFile, WrittenFileIsExactlyTheTemplateText)
{
    writeSettings();
    EXPECT_EQ(folder_.read("monitor.ini"), defaultText);
    monitorSettings.COM = 4;
    monitorSettings.LANG = English;
    monitorSettings.SAVE = 0;
    writeSettings();
    std::string written = folder_.read("monitor.ini");
    EXPECT_EQ(written.size(), 110u);
    EXPECT_EQ(written.substr(10, 8), "COM=COM4");
    EXPECT_EQ(written.substr(19, 9), "SAVE=0300");
    EXPECT_EQ(written.substr(87, 7), "LANG=EN");
}

TEST_F(SettingsFile, ReadTakesTheValuesOfTheFile)
{
    std::string text = defaultText;
    text.replace(92, 2, "FR");
    text[17] = '5';
    text[108] = '1';
    folder_.write("monitor.ini", text);
    ASSERT_TRUE(readSettings());
    EXPECT_EQ(monitorSettings.LANG, French);
    EXPECT_EQ(monitorSettings.COM, 5);
    EXPECT_EQ(monitorSettings.LO, 1);
    EXPECT_FALSE(folder_.exists("monitor.err"));
}

TEST_F(SettingsFile, LongerFileIsReadOnlyForItsFirst110Bytes)
{
    folder_.write("monitor.ini", defaultText + "LANG=EN\n");
    ASSERT_TRUE(readSettings());
    EXPECT_EQ(monitorSettings.LANG, German);
}

// A write that fails anywhere leaves the old file as it was, byte for byte,
// and no new file behind it.
TEST_F(SettingsFile, AWriteThatFailsLeavesTheOldFileWhole)
{
    const std::string old = defaultText + "colour=blue\n";
    folder_.write("monitor.ini", old);
    ASSERT_TRUE(readSettings());
    monitorSettings.LANG = French;
    BoxAnswerer answerer;
    for (const auto& [function, standIn] : {std::pair<const char*, void*>{"FlushFileBuffers",
                                                                          reinterpret_cast<void*>(failingFlushFileBuffers)},
                                            {"MoveFileExA", reinterpret_cast<void*>(failingMoveFileExA)}}) {
        ImportPatch patch(function, standIn);
        ASSERT_TRUE(patch.applied());
        writeSettingsNow();
        EXPECT_EQ(folder_.read("monitor.ini"), old) << function;
        EXPECT_FALSE(folder_.exists("monitor.ini.new")) << function;
    }
    EXPECT_TRUE(answerer.seen().empty()) << "a write from a menu shows no box";
    const std::string log = folder_.read("monitor.err");
    EXPECT_EQ(log.substr(16), "  event nr. 3 write error: file MONITOR.INI \r\n") << "once per run from the menus";
    writeSettingsNow();
    EXPECT_EQ(folder_.read("monitor.ini"), withLanguage(defaultText, "FR") + "colour=blue\n");
    EXPECT_FALSE(folder_.exists("monitor.ini.new"));
}

TEST_F(SettingsFile, FileThatCannotBeCreatedIsAFatalError)
{
    CreateDirectoryA("monitor.ini", nullptr);
    BoxAnswerer answerer;
    writeSettings();
    discardQuitMessage();
    std::string log = folder_.read("monitor.err");
    size_t event3 = log.find("  event nr. 3 write error: file MONITOR.INI \r\n");
    size_t fatal1 = log.find(" fatal error nr. 001\n");
    EXPECT_NE(event3, std::string::npos) << log;
    EXPECT_NE(fatal1, std::string::npos) << log;
    EXPECT_LT(event3, fatal1);
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].caption, "Fehler");
    RemoveDirectoryA("monitor.ini");
}
