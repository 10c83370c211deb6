// monitor.ini read and written through the real file functions under Wine.
#include <gtest/gtest.h>

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

} // namespace

TEST_F(SettingsFile, MissingFileIsReportedAndLeavesSettingsAlone)
{
    monitorSettings.LANG = French;
    EXPECT_FALSE(readSettings());
    EXPECT_EQ(monitorSettings.LANG, French);
    std::string log = folder_.read("monitor.err");
    EXPECT_NE(log.find("  event nr. 2 read error: file MONITOR.INI \r\n"), std::string::npos) << log;
}

TEST_F(SettingsFile, FileHeldWithoutSharingCannotBeRead)
{
    folder_.write("monitor.ini", defaultText);
    HANDLE other = CreateFileA("monitor.ini", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(readSettings());
    CloseHandle(other);
    EXPECT_TRUE(readSettings());
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
