// The event log against real files under Wine.
#include <gtest/gtest.h>

#include "app/startup.h"
#include "records/event_log.h"
#include "settings/monitor_settings.h"
#include "settings/shell_seam.h"
#include "win32_test_support.h"

namespace {

class EventLogFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetMonitorSettings();
        installShellSeam();
        monitorSettings.ERR = 1;
        monitorSettings.LANG = German;
    }
    void TearDown() override
    {
        resetSeamTables();
        resetMonitorSettings();
    }

    // The log lines carry the minute; retry across a minute boundary.
    template <typename Action>
    std::string stampAround(Action action)
    {
        for (;;) {
            std::string before = localStampNow();
            action();
            if (localStampNow() == before) return before;
        }
    }

    ScratchFolder folder_;
};

} // namespace

TEST_F(EventLogFile, EventLinesAreAppendedByteForByte)
{
    folder_.write("monitor.err", "earlier line\r\n");
    std::string stamp;
    std::string expected = "earlier line\r\n";
    for (;;) {
        folder_.write("monitor.err", "earlier line\r\n");
        stamp = localStampNow();
        logEvent(eventRecordFileError);
        logEvent(90);
        logEvent(250);
        if (localStampNow() == stamp) break;
    }
    expected += stamp + "  event nr. 13 error wrinting in file MONITOR.TXT \r\n";
    expected += stamp + "  event nr. 90 \r\n";
    expected += stamp + "  event nr. 250 unknown error or event \r\n";
    EXPECT_EQ(folder_.read("monitor.err"), expected);
}

TEST_F(EventLogFile, ErrOffWritesNoEventsButFatalErrorsStill)
{
    monitorSettings.ERR = 0;
    logEvent(eventRecordFileError);
    EXPECT_FALSE(folder_.exists("monitor.err"));

    BoxAnswerer answerer;
    std::string stamp = stampAround([] { fatalError(fatalSettingsUnwritable); });
    discardQuitMessage();
    EXPECT_EQ(folder_.read("monitor.err"), stamp + " fatal error nr. 001\n");
}

TEST_F(EventLogFile, FatalErrorShowsItsBoxInTheCurrentLanguage)
{
    BoxAnswerer answerer;
    monitorSettings.LANG = English;
    std::string stampEnglish = stampAround([] { fatalError(fatalSettingsUnwritable); });
    discardQuitMessage();
    monitorSettings.LANG = French;
    std::string stampFrench = stampAround([] { fatalError(fatalFontCreateFailed); });
    discardQuitMessage();
    monitorSettings.LANG = German;
    std::string stampGerman = stampAround([] { fatalError(fatalFontSelectFailed); });
    discardQuitMessage();

    auto boxes = answerer.seen();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].caption, "error");
    EXPECT_EQ(boxes[0].text, stampEnglish + "\nerror nr. 001\nprogram end");
    EXPECT_EQ(boxes[1].caption, "erreur");
    EXPECT_EQ(boxes[1].text, stampFrench + "\nerreur nr. 060\nprogramme termine");
    EXPECT_EQ(boxes[2].caption, "Fehler");
    EXPECT_EQ(boxes[2].text, stampGerman + "\nFehler Nr. 100\nProgramm wird beendet");
    EXPECT_EQ(folder_.read("monitor.err"), stampEnglish + " fatal error nr. 001\n" + stampFrench +
                                               " fatal error nr. 060\n" + stampGerman +
                                               " fatal error nr. 100\n");
}

TEST_F(EventLogFile, FatalErrorPostsTheQuit)
{
    BoxAnswerer answerer;
    discardQuitMessage();
    fatalError(fatalChartFramePen);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
}

TEST_F(EventLogFile, LogHeldByAnotherProgramIsLeftAloneAndNotTruncated)
{
    folder_.write("monitor.err", "kept\r\n");
    HANDLE other = CreateFileA("monitor.err", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    logEvent(eventRecordFileError);
    CloseHandle(other);
    EXPECT_EQ(folder_.read("monitor.err"), "kept\r\n");
    logEvent(eventMonitorTxtErased);
    std::string log = folder_.read("monitor.err");
    EXPECT_EQ(log.substr(0, 6), "kept\r\n");
    EXPECT_NE(log.find("event nr. 12 warning: file MONITOR.TXT has been erased \r\n"), std::string::npos);
}
