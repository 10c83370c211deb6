// The record files against real files under Wine, when a write is torn.
#include <gtest/gtest.h>

#include <string>

#include "records/record_backlog.h"
#include "acquisition/line_dispatch.h"
#include "records/event_log.h"
#include "records/record_files.h"
#include "records/record_line.h"
#include "settings/monitor_settings.h"
#include "win32_test_support.h"

namespace {

using WriteFileCall = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
WriteFileCall realWriteFile = nullptr;
int tornWrites = 0;
bool tornWriteFails = false;

// What a full disk does to one write: part of the bytes land, then it stops,
// reported either as a short success or as a failure.
BOOL WINAPI tearingWriteFile(HANDLE file, LPCVOID bytes, DWORD count, LPDWORD written, LPOVERLAPPED overlapped)
{
    if (tornWrites == 0) return realWriteFile(file, bytes, count, written, overlapped);
    --tornWrites;
    DWORD part = 0;
    realWriteFile(file, bytes, count / 2, &part, overlapped);
    if (written) *written = part;
    if (!tornWriteFails) return TRUE;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

class TornAppend : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        resetMonitorSettings();
        monitorSettings.ERR = 1;
        monitorSettings.SIG = 0;
        tornWriteFails = GetParam();
        recordFileLayer = RecordFileLayer{appendToRecordFile};
        shellSeam.logEvent = appendEventLine;
        resetRecordBacklogs();
    }
    void TearDown() override
    {
        resetRecordBacklogs();
        resetRecordFileLayer();
        resetShellSeam();
        resetMonitorSettings();
    }

    ScratchFolder folder_;
};

} // namespace

TEST_P(TornAppend, ARecordIsWrittenWholeOrNotAtAll)
{
    const std::string earlier = "earlier content\r\n";
    folder_.write("monitor.txt", earlier);
    char line[recordLineLength];
    formatBarographRecord(line);
    {
        ImportPatch patch("WriteFile", reinterpret_cast<void*>(tearingWriteFile));
        ASSERT_TRUE(patch.applied());
        realWriteFile = reinterpret_cast<WriteFileCall>(patch.original());
        tornWrites = 1;
        appendRecord(line);
    }
    EXPECT_EQ(folder_.read("monitor.txt"), earlier) << "the torn record was left behind";
    EXPECT_NE(folder_.read("monitor.err").find("  event nr. 21 error: WriteFile/ReadFile \r\n"), std::string::npos);

    // The record that did not fit is kept and goes first when the next one is due.
    appendRecord(line);
    EXPECT_EQ(folder_.read("monitor.txt"), earlier + std::string(line, recordLineLength) + std::string(line, recordLineLength));
}

TEST_P(TornAppend, AnNmeaLineIsWrittenWholeOrNotAtAll)
{
    const std::string earlier = "$GPZDA,1*00\r\n";
    const std::string next = "$GPGLL,5300.97914,N,00259.98174,W,125926,A*2B\r\n";
    folder_.write("nmea.txt", earlier);
    {
        ImportPatch patch("WriteFile", reinterpret_cast<void*>(tearingWriteFile));
        ASSERT_TRUE(patch.applied());
        realWriteFile = reinterpret_cast<WriteFileCall>(patch.original());
        tornWrites = 1;
        appendNmeaRecord(next.data(), next.size());
    }
    EXPECT_EQ(folder_.read("nmea.txt"), earlier);
    const std::string after = "$GPZDA,2*00\r\n";
    appendNmeaRecord(after.data(), after.size());
    EXPECT_EQ(folder_.read("nmea.txt"), earlier + next + after);
}

INSTANTIATE_TEST_SUITE_P(ShortOrFailed, TornAppend, ::testing::Values(false, true));
