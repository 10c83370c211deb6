// The record files against real files under Wine, when a write is torn.
#include <gtest/gtest.h>

#include <string>

#include "acquisition/measurement_state.h"
#include "acquisition/signalk_output.h"
#include "acquisition/udp_output.h"
#include "acquisition/winsock_use.h"
#include "app/startup.h"
#include "records/event_text.h"
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

// Sending readings over UDP never stands in the way of recording: a send that
// fails is logged once until one succeeds again (for each destination), and a
// socket that cannot be made once per run.
namespace {

int sendAttempts = 0;

int WINAPI failingSendto(uintptr_t, const char*, int, int, const void*, int)
{
    ++sendAttempts;
    return -1;  // SOCKET_ERROR
}

uintptr_t WINAPI refusedSocket(int, int, int) { return ~uintptr_t(0); }  // INVALID_SOCKET

// A Signal K server that refuses while the plotter takes every reading: sends
// counted by the destination's port (network order in the address's bytes 2, 3).
int readingsSent = 0, signalKRefused = 0;
int WINAPI refusingSignalK(uintptr_t, const char* bytes, int length, int, const void* to, int)
{
    const auto* address = static_cast<const unsigned char*>(to);
    if ((address[2] << 8 | address[3]) != 10119) return ++readingsSent, length;
    ++signalKRefused;
    return bytes[0] == '{' ? -1 : length;
}

int loggedTimes(const std::string& log, int number)
{
    const std::string tag = "event nr. " + std::to_string(number) + " ";
    int count = 0;
    for (size_t at = log.find(tag); at != std::string::npos; at = log.find(tag, at + 1)) ++count;
    return count;
}

} // namespace

TEST(UdpOutput, FailingSendsAreLoggedOnceAndRecordingGoesOn)
{
    ScratchFolder folder;
    resetMonitorSettings();
    resetMeasurementState();
    resetUdpOutput();
    installShellSeam();
    monitorSettings.SEND = 1;
    const std::string sentence = "$PXDR,1005.00,40000,-00.5,-00.8,-0030,1007.00\r\n";
    auto feed = [&](int count) {
        for (int i = 0; i < count; ++i) dispatchLine(sentence.data(), sentence.size());
    };
    {
        ImportPatch send("sendto", reinterpret_cast<void*>(failingSendto));
        ASSERT_TRUE(send.applied());
        feed(300);
    }
    EXPECT_EQ(sendAttempts, 300);
    EXPECT_EQ(folder.read("monitor.txt").size(), 80u) << "the cycle's record is written";
    EXPECT_EQ(loggedTimes(folder.read("monitor.err"), eventUdpSendFailed), 1);
    feed(1);  // a send to 127.0.0.1 that succeeds, nobody listening
    EXPECT_EQ(udpOutput.sent, 1u);
    {
        ImportPatch send("sendto", reinterpret_cast<void*>(failingSendto));
        feed(5);
    }
    EXPECT_EQ(loggedTimes(folder.read("monitor.err"), eventUdpSendFailed), 2) << "failing again after a success";
    closeUdpOutput();
    {
        ImportPatch socketCall("socket", reinterpret_cast<void*>(refusedSocket));
        ASSERT_TRUE(socketCall.applied());
        feed(294);
    }
    EXPECT_EQ(loggedTimes(folder.read("monitor.err"), eventUdpUnavailable), 1);
    EXPECT_EQ(folder.read("monitor.txt").size(), 160u);
    closeUdpOutput();

    // The Signal K server has its own failure, logged once, beside readings that still go.
    monitorSettings.SIGNALK = 1;
    resetSignalKOutput();
    {
        ImportPatch send("sendto", reinterpret_cast<void*>(refusingSignalK));
        feed(20);
        followSignalKAlarms();
    }
    EXPECT_EQ(readingsSent, 20);
    EXPECT_EQ(signalKRefused, 20 + 3) << "each pressure, and the three notifications' first normal";
    EXPECT_EQ(loggedTimes(folder.read("monitor.err"), eventUdpSendFailed), 3);
    closeUdpOutput();
    resetSignalKOutput();
    endWinsock();
    resetSeamTables();
    resetMonitorSettings();
    resetMeasurementState();
}
