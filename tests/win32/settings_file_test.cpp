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

BOOL WINAPI failingReadFile(HANDLE, LPVOID, DWORD, LPDWORD count, LPOVERLAPPED)
{
    if (count) *count = 0;
    SetLastError(ERROR_IO_DEVICE);
    return FALSE;
}

// Another program's hold on monitor.ini, on a clock that Sleep moves on.
int sharingViolationsLeft = 0;  // below 0: for good
int monitorIniOpens = 0;
ULONGLONG fakeTicks = 0;
decltype(&CreateFileA) realCreateFileA = nullptr;

HANDLE WINAPI heldCreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                              DWORD disposition, DWORD flags, HANDLE model)
{
    if (std::string(name) == "monitor.ini") {
        ++monitorIniOpens;
        if (sharingViolationsLeft != 0) {
            if (sharingViolationsLeft > 0) --sharingViolationsLeft;
            SetLastError(ERROR_SHARING_VIOLATION);
            return INVALID_HANDLE_VALUE;
        }
    }
    return realCreateFileA(name, access, share, security, disposition, flags, model);
}
ULONGLONG WINAPI fakeGetTickCount64() { return fakeTicks; }
VOID WINAPI fakeSleep(DWORD ms) { fakeTicks += ms; }

// Opens and reads monitor.ini with the hold in place for `violations` opens.
bool readWhileHeld(int violations)
{
    sharingViolationsLeft = violations;
    monitorIniOpens = 0;
    fakeTicks = 1000000;
    ImportPatch open("CreateFileA", reinterpret_cast<void*>(heldCreateFileA));
    realCreateFileA = reinterpret_cast<decltype(&CreateFileA)>(open.original());
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

// A reader beside the program is no hold; a hold that ends within two seconds is waited out.
TEST_F(SettingsFile, AnotherReaderOrAShortHoldDoesNotKeepTheFileFromTheProgram)
{
    folder_.write("monitor.ini", withLanguage(defaultText, "EN"));
    HANDLE reader = CreateFileA("monitor.ini", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(readSettings());
    CloseHandle(reader);
    EXPECT_EQ(monitorSettings.LANG, English);

    monitorSettings.LANG = German;
    EXPECT_TRUE(readWhileHeld(3));
    EXPECT_EQ(monitorIniOpens, 4);
    EXPECT_EQ(fakeTicks, 1000300u);
    EXPECT_EQ(monitorSettings.LANG, English);
    EXPECT_FALSE(folder_.exists("monitor.err"));
    monitorSettings.LANG = French;
    writeSettings();
    EXPECT_EQ(folder_.read("monitor.ini"), withLanguage(defaultText, "FR"));
}

// A file that is there but cannot be read whole gives the defaults for the
// run, and no write of the run touches it: the user's bytes stay.
TEST_F(SettingsFile, AFileThatCannotBeReadIsNeverWrittenInThatRun)
{
    const std::string old = withLanguage(defaultText, "EN") + "OFFSET=+1.2\nnote\n";
    struct Case {
        const char* name;
        std::string bytes;
        bool (*read)();
    };
    const Case cases[] = {
        {"held for good", old, [] { return readWhileHeld(-1); }},
        {"held without sharing", old, [] {
             HANDLE holder = CreateFileA("monitor.ini", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
             const bool read = readWhileHeld(0);
             CloseHandle(holder);
             return read;
         }},
        {"a failing ReadFile", old, [] {
             ImportPatch patch("ReadFile", reinterpret_cast<void*>(failingReadFile));
             return readSettings();
         }},
        {"longer than 64 KB", old + std::string(65536 - old.size(), 'x') + "\n", readSettings},
    };
    for (const Case& c : cases) {
        folder_.write("monitor.ini", c.bytes);
        DeleteFileA("monitor.err");
        monitorSettings.LANG = French;
        EXPECT_TRUE(c.read()) << c.name;
        if (std::string(c.name) == "held for good") {
            EXPECT_EQ(fakeTicks, 1000000u + 2000u) << "two seconds waited";
            EXPECT_EQ(monitorIniOpens, 21);
        }
        EXPECT_EQ(monitorSettings.LANG, German) << c.name << ": the defaults";
        EXPECT_EQ(monitorSettings.OFFSET, 0) << c.name;
        EXPECT_EQ(folder_.read("monitor.err").substr(16),
                  "  event nr. 2 read error: file MONITOR.INI - not written in this run, left as it is \r\n")
            << c.name;
        monitorSettings.LANG = English;
        writeSettingsNow();
        writeSettings();
        EXPECT_EQ(folder_.read("monitor.ini"), c.bytes) << c.name;
        EXPECT_FALSE(folder_.exists("monitor.ini.new")) << c.name;
        EXPECT_EQ(folder_.read("monitor.err").find("event nr. 3"), std::string::npos) << c.name;
    }
    // Said once in a box, in the language of the defaults, as the start shows it.
    monitorSettings.LANG = German;
    BoxAnswerer answerer;
    tellSettingsKept();
    tellSettingsKept();
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].caption, "Einstellungen");
    EXPECT_EQ(answerer.seen()[0].text.rfind("Die Einstellungen in monitor.ini k\xF6nnen nicht gelesen werden", 0), 0u);
    // The next start reads it.
    folder_.write("monitor.ini", old);
    EXPECT_TRUE(readSettings());
    EXPECT_EQ(monitorSettings.OFFSET, 12);
    writeSettings();
    EXPECT_EQ(folder_.read("monitor.ini"), old);
}

// Every damaged file is kept: where no name of monitor.ini.bad .. .bad9 can
// be had, the damaged file stays where it is and the run does not write it.
TEST_F(SettingsFile, ADamagedFileThatCannotBePutAsideStaysAndIsNotWritten)
{
    const std::string zeros(110, '\0');
    folder_.write("monitor.ini", zeros);
    {
        ImportPatch patch("MoveFileExA", reinterpret_cast<void*>(failingMoveFileExA));
        ASSERT_TRUE(patch.applied());
        EXPECT_TRUE(readSettings());
    }
    for (const char* name : {"monitor.ini.bad", "monitor.ini.bad9"}) EXPECT_FALSE(folder_.exists(name)) << name;
    writeSettings();
    EXPECT_EQ(folder_.read("monitor.ini"), zeros);
    EXPECT_EQ(folder_.read("monitor.err").substr(16), "  event nr. 79 error: settings file damaged, defaults used "
                                                      "- not written in this run, left as it is \r\n");
    BoxAnswerer answerer;
    tellSettingsKept();
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].text.rfind("monitor.ini ist keine Einstellungsdatei mehr", 0), 0u);

    // With the nine names taken, by files that stay as they were.
    folder_.write("monitor.ini.bad", "1");
    for (char n = '2'; n <= '9'; ++n) folder_.write((std::string("monitor.ini.bad") + n).c_str(), std::string(1, n));
    EXPECT_TRUE(readSettings());
    writeSettings();
    EXPECT_EQ(folder_.read("monitor.ini"), zeros);
    EXPECT_EQ(folder_.read("monitor.ini.bad"), "1");
    EXPECT_EQ(folder_.read("monitor.ini.bad9"), "9");
    DeleteFileA("monitor.ini.bad5");
    EXPECT_TRUE(readSettings());
    EXPECT_EQ(folder_.read("monitor.ini.bad5"), zeros) << "the first free name";
    EXPECT_EQ(folder_.read("monitor.ini"), defaultText);
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
