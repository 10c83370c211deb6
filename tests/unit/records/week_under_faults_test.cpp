// A week of barograph sentences through the receive path and the record
// writer, with the faults of the long runs' schedule: the adapter pulled and
// plugged back, monitor.txt held by another program, a full disk, line noise
// and framing errors, print jobs. Every record that the sentences received
// must give is checked byte for byte, in order, numbered without a gap.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "acquisition/line_dispatch.h"
#include "acquisition/measurement_state.h"
#include "acquisition/receive_line.h"
#include "acquisition/wind_alarm.h"
#include "records/event_text.h"
#include "records/record_backlog.h"
#include "records/record_line.h"
#include "settings/monitor_settings.h"
#include "settings/shell_seam.h"

namespace {

struct Fault {
    long second;
    std::string kind;
    long seconds;
};

std::vector<Fault> readSchedule(const char* name)
{
    std::ifstream file(std::string(MONITOR_FAULTS_DIR) + "/" + name);
    std::vector<Fault> faults;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        Fault fault;
        if (fields >> fault.second >> fault.kind >> fault.seconds) faults.push_back(fault);
    }
    return faults;
}

// The disk and the other programs as the record writer meets them.
struct RecordDisk {
    std::string monitorTxt;
    bool held = false;
    bool full = false;
    size_t room = 0;  // bytes a full disk still takes
    std::vector<int> events;
};

RecordDisk* disk = nullptr;

AppendFailure appendToDisk(const char*, const char* bytes, size_t count)
{
    if (disk->held) return AppendFailure::Open;
    if (disk->full) {
        if (count > disk->room) return AppendFailure::Write;
        disk->room -= count;
    }
    disk->monitorTxt.append(bytes, count);
    return AppendFailure::None;
}

// The record writer's events. The wind alarm's come by the same route and
// are no concern of the disk's.
void logToDisk(int number)
{
    if (number == eventWindWarning || number == eventGaleAlarm || number == eventWindAlarmEnded) return;
    disk->events.push_back(number);
}

UtcStamp clockNow;
UtcStamp readClock() { return clockNow; }

// The program's own record writer: the line of this cycle, through the backlog.
void appendThroughWriter(const char* line) { appendThroughBacklog(recordBacklogs.monitor, line, recordLineLength); }

// A small generator, so the week is the same on every run.
struct Random {
    uint64_t state;
    uint32_t next(uint32_t bound)
    {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<uint32_t>((state >> 33) % bound);
    }
};

struct Reading {
    uint32_t pressure, converter;
    int32_t t1, t3;
    uint32_t minutes, then;
};

std::string tenths(int32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%c%02d.%d", value < 0 ? '-' : '+', std::abs(value) / 10,
                  std::abs(value) % 10);
    return text;
}

std::string sentenceOf(const Reading& r)
{
    char text[80];
    std::snprintf(text, sizeof text, "$PXDR,%04u.%02u,%05u,%s,%s,-%04u,%04u.%02u\r\n", r.pressure / 100,
                  r.pressure % 100, r.converter, tenths(r.t1).c_str(), tenths(r.t3).c_str(), r.minutes,
                  r.then / 100, r.then % 100);
    return text;
}

const std::string wixdr = "$WIXDR,P,0.9986,B\r\n";

// What the sentences received must give, worked out apart from the program.
struct ExpectedRecords {
    uint32_t lastConverter = 0;
    uint32_t accepted = 0;
    uint32_t maximum = 0, minimum = 65535;
    std::string bytes;
    int count = 0;

    void fold(uint32_t converter)
    {
        if (converter > maximum) maximum = converter;
        if (converter < minimum) minimum = converter;
    }
    // The wind alarm by its published rules: a level switches on after 10
    // raising sentences in a row and off after 600 in a row that fail to hold it.
    bool levelOn[2] = {};
    int levelRun[2] = {};
    bool alarmInCycle = false;

    void followAlarm(int32_t t1, int32_t t3)
    {
        const bool raising[2] = {t3 <= -36, t3 <= -61 || t1 <= -20};
        const bool holding[2] = {t3 <= -30, t3 <= -55 || t1 <= -15};
        for (int level = 0; level < 2; ++level) {
            levelRun[level] = (levelOn[level] ? !holding[level] : raising[level]) ? levelRun[level] + 1 : 0;
            if (levelRun[level] < (levelOn[level] ? 600 : 10)) continue;
            levelOn[level] = !levelOn[level];
            levelRun[level] = 0;
        }
        alarmInCycle = alarmInCycle || levelOn[0] || levelOn[1];
    }
    void acceptedLine(const Reading& r, const UtcStamp& at)
    {
        lastConverter = r.converter;
        fold(r.converter);
        followAlarm(r.t1, r.t3);
        if (++accepted < sentencesPerCycle) return;
        uint32_t spread = maximum - minimum;
        char line[recordLineLength];
        formatRecordLine(static_cast<uint32_t>(++count), at, r.pressure, r.t1, r.t3,
                         spread > 999 ? 999 : spread, alarmInCycle ? 1 : 0, line);
        bytes.append(line, recordLineLength);
        accepted = 0;
        maximum = 0;
        minimum = 65535;
        alarmInCycle = false;
    }
    // A rejected line folds the last accepted value in again.
    void rejectedLine() { fold(lastConverter); }
};

class WeekUnderFaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        disk = &disk_;
        resetMonitorSettings();
        resetMeasurementState();
        resetReceiveLine();
        resetRecordBacklogs();
        resetWindAlarm();
        recordFileLayer = RecordFileLayer{appendToDisk};
        receiverFrontEnd = ReceiverFrontEnd{readClock, appendThroughWriter, nullptr, nullptr, nullptr, nullptr};
        shellSeam.logEvent = logToDisk;
    }
    void TearDown() override
    {
        receiverFrontEnd = ReceiverFrontEnd{};
        recordFileLayer = RecordFileLayer{};
        resetShellSeam();
        resetRecordBacklogs();
        resetReceiveLine();
        resetMonitorSettings();
        disk = nullptr;
    }

    static void feed(const std::string& bytes)
    {
        receiveBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }

    // One second of the stream: the program's five ticks and the device's two sentences.
    void second(long at, const Reading& reading, bool received)
    {
        long minutes = at / 60;
        clockNow = UtcStamp{2026, 12, static_cast<uint8_t>(1 + minutes / 1440),
                            static_cast<uint8_t>(minutes / 60 % 24), static_cast<uint8_t>(minutes % 60)};
        if (received) {
            feed(sentenceOf(reading));
            expected_.acceptedLine(reading, clockNow);
            feed(wixdr);
            expected_.rejectedLine();
        }
        for (int tick = 0; tick < 5; ++tick) retryBacklogsOnTick();
    }

    Reading nextReading()
    {
        Reading& r = reading_;
        r.pressure = 95000 + (r.pressure - 95000 + 9000 + random_.next(7) - 3) % 9000;
        r.converter = 40000 + random_.next(20000);
        r.t1 = static_cast<int32_t>(random_.next(301)) - 150;
        r.t3 = static_cast<int32_t>(random_.next(601)) - 300;
        r.minutes = (r.minutes + 30) % 3150;
        r.then = 95000 + random_.next(9000);
        return r;
    }

    RecordDisk disk_;
    ExpectedRecords expected_;
    Random random_{20261208};
    Reading reading_{100000, 50000, 0, 0, 0, 100000};
};

} // namespace

TEST_F(WeekUnderFaults, EveryRecordOfTheWeekIsWrittenExactlyInOrder)
{
    const std::vector<Fault> day = readSchedule("day.txt");
    ASSERT_GE(day.size(), 5u) << "no fault schedule at " << MONITOR_FAULTS_DIR;
    std::vector<Fault> week;
    for (long d = 0; d < 7; ++d)
        for (Fault fault : day) {
            fault.second += d * 86400;
            week.push_back(fault);
        }

    const int recordsOfAWeek = 7 * 288;
    size_t next = 0;
    long unpluggedUntil = -1;
    long heldUntil = -1;
    long fullUntil = -1;
    int faultsPlayed = 0;
    long at = 0;
    for (; expected_.count < recordsOfAWeek; ++at) {
        ASSERT_LT(at, 8 * 86400L) << "the week does not end";
        Reading reading = nextReading();
        while (next < week.size() && week[next].second == at) {
            const Fault& fault = week[next++];
            ++faultsPlayed;
            if (fault.kind == "unplug") {
                // Half a sentence, then the port is gone; reopening starts a fresh line.
                feed(sentenceOf(reading).substr(0, 20));
                resetReceiveLine();
                unpluggedUntil = at + fault.seconds;
            } else if (fault.kind == "hold") {
                disk_.held = true;
                heldUntil = at + fault.seconds;
            } else if (fault.kind == "full") {
                disk_.full = true;
                disk_.room = 40;  // half a record
                fullUntil = at + fault.seconds;
            } else if (fault.kind == "noise") {
                for (int k = 0; k < 20; ++k) {
                    std::string junk;
                    size_t length = 1 + random_.next(300);
                    while (junk.size() < length) {
                        char byte = static_cast<char>(random_.next(256));
                        if (byte != '\n') junk += byte;
                    }
                    if (junk[0] == '$') junk[0] = '#';
                    feed(junk + "\r\n");
                    expected_.rejectedLine();
                }
                // A framing error in the middle of a sentence: that sentence is dropped.
                std::string damaged = sentenceOf(nextReading());
                feed(damaged.substr(0, 25));
                discardReceiveLine();
                feed(damaged.substr(25));
            } else if (fault.kind == "print") {
                // The port is closed for the job and opened again; the stream waited.
                resetReceiveLine();
            } else {
                FAIL() << "unknown fault " << fault.kind;
            }
        }
        if (at == heldUntil) disk_.held = false;
        if (at == fullUntil) disk_.full = false;
        second(at, reading, at >= unpluggedUntil);
    }
    // Time for the last retry.
    for (int s = 0; s < 4; ++s) second(at + s, reading_, false);

    EXPECT_EQ(faultsPlayed, static_cast<int>(week.size()));
    ASSERT_EQ(disk_.monitorTxt.size(), static_cast<size_t>(recordsOfAWeek) * recordLineLength);
    EXPECT_EQ(disk_.monitorTxt.substr(0, 80), expected_.bytes.substr(0, 80));
    EXPECT_TRUE(disk_.monitorTxt == expected_.bytes) << "a record differs from what its sentences give";
    EXPECT_EQ(acquisitionCounters.recordCounter, static_cast<uint32_t>(recordsOfAWeek));
    EXPECT_TRUE(recordBacklogs.monitor.lines.empty());

    // One event when a stretch of refusals begins and one when it ends.
    int holds = 0, fulls = 0;
    for (const Fault& fault : week) {
        holds += fault.kind == "hold";
        fulls += fault.kind == "full";
    }
    int opens = 0, writes = 0, caughtUp = 0, other = 0;
    for (int number : disk_.events) {
        opens += number == 13;
        writes += number == 21;
        caughtUp += number == eventRecordsCaughtUp;
        other += number != 13 && number != 21 && number != eventRecordsCaughtUp;
    }
    EXPECT_EQ(opens, holds);
    EXPECT_EQ(writes, fulls);
    EXPECT_EQ(caughtUp, holds + fulls);
    EXPECT_EQ(other, 0);
}
