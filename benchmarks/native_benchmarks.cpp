// Benchmarks of the byte-level code, built without sanitizers (preset "bench").
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "acquisition/barograph_parser.h"
#include "acquisition/line_dispatch.h"
#include "acquisition/measurement_state.h"
#include "acquisition/receive_line.h"
#include "acquisition/signalk_delta.h"
#include "records/record_line.h"
#include "settings/monitor_settings.h"
#include "storedata/record_parser.h"
#include "storedata/record_repair.h"
#include "storedata/week_records.h"

namespace {

const char sentence[] = "$PXDR,0998.60,52684,+01.2,+03.5,-0300,0995.40\r\n";
const char second[] = "$WIXDR,P,0.9986,B\r\n";

UtcStamp clock() { return UtcStamp{2026, 12, 8, 16, 5}; }
void record(const char*) {}
void nmeaLine(const char*, size_t) {}

// Records five minutes apart, as a day of recording writes them.
std::string recordFile(uint32_t count)
{
    std::string file;
    file.reserve(size_t(count) * recordLineLength);
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t minutes = i * 5;
        uint32_t days = minutes / 1440;
        UtcStamp time{2026, 1, static_cast<uint8_t>(1 + days % 28), static_cast<uint8_t>(minutes / 60 % 24),
                      static_cast<uint8_t>(minutes % 60)};
        char line[recordLineLength];
        formatRecordLine(i + 1, time, 99000 + i % 2000, int32_t(i % 50) - 25, int32_t(i % 90) - 45, i % 40, 0,
                         line);
        file.append(line, sizeof line);
    }
    return file;
}

void BM_ParseBarographSentence(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(parseBarographSentence(sentence, sizeof sentence - 1));
}
BENCHMARK(BM_ParseBarographSentence);

void BM_LineAssemblyPerByte(benchmark::State& state)
{
    monitorSettings.DATA = Barograph;
    monitorSettings.SAVE = 300;
    receiverFrontEnd = {clock, record, nmeaLine};
    std::string stream = std::string(sentence) + second;
    resetReceiveLine();
    for (auto _ : state)
        receiveBytes(reinterpret_cast<const uint8_t*>(stream.data()), stream.size());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(stream.size()));
}
BENCHMARK(BM_LineAssemblyPerByte);

void BM_StoreHistoryAndTendencies(benchmark::State& state)
{
    clearHistory();
    for (size_t i = 0; i < historyWindowSlots; ++i) pressureHistory.slots[i].pressure = 99000 + int32_t(i);
    currentReading.pressure = 99860;
    currentReading.pressureThen = 99540;
    uint32_t minutes = 0;
    for (auto _ : state) {
        currentReading.minutesAgo = minutes;
        minutes = (minutes + 30) % 3121;
        storeHistoryPressures();
        computeTendencies();
        benchmark::DoNotOptimize(historyChanged());
    }
}
BENCHMARK(BM_StoreHistoryAndTendencies);

void BM_FormatRecordLine(benchmark::State& state)
{
    char line[recordLineLength];
    UtcStamp time{2003, 12, 28, 21, 0};
    for (auto _ : state) {
        formatRecordLine(20, time, 98810, 18, 52, 0, 0, line);
        benchmark::DoNotOptimize(line);
    }
}
BENCHMARK(BM_FormatRecordLine);

// The Signal K deltas of a reading and of a standing notification with an umlaut.
void BM_FormatSignalKDeltas(benchmark::State& state)
{
    const DeltaTime at{2026, 12, 11, 12, 0, 5, 250};
    const Notification storm{"environment.outside.pressure.storm", NotificationState::Warn, true,
                             "Sturmwarnung: Luftdruck f\xE4llt schnell  -0.5 hPa/Std  -4.0 hPa/3Std  seit 11:50 UTC"};
    for (auto _ : state) {
        benchmark::DoNotOptimize(pressureDelta(100530, at));
        benchmark::DoNotOptimize(notificationDelta(storm, at));
    }
}
BENCHMARK(BM_FormatSignalKDeltas);

void BM_ParseRecordLine(benchmark::State& state)
{
    const char line[] = "000020 28.12.2003 21:00 0988,10 hPa +01,8 hPa/hr +05,2 hPa/3h 00,0 hPa/h var 0\r\n";
    ParsedRecord record;
    for (auto _ : state) benchmark::DoNotOptimize(parseRecordLine(Barograph, line, record));
}
BENCHMARK(BM_ParseRecordLine);

void BM_CheckRecordBytes32000(benchmark::State& state)
{
    std::string file = recordFile(32000);
    std::string retained;
    for (auto _ : state) {
        // In the blocks the data check reads.
        RecordCheck check{};
        for (size_t at = 0; at < file.size(); at += 256 * 1024) {
            retained.clear();
            checkRecordBlock(check, file.data() + at, std::min<size_t>(256 * 1024, file.size() - at), retained);
        }
        finishRecordCheck(check);
        benchmark::DoNotOptimize(check.written);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}
BENCHMARK(BM_CheckRecordBytes32000)->Unit(benchmark::kMillisecond);

// The week read back from a ten-year monitor.txt in memory, the last record
// now: arg 1 with its line feeds, arg 0 with each of them a blank (the whole
// file is read as damage). The win32 benchmark times the same from disk.
void BM_WeekFromTenYears(benchmark::State& state)
{
    constexpr int64_t count = 1051200;
    const int64_t now = minuteOf(2026, 12, 10, 12, 0);
    std::string file;
    file.reserve(size_t(count) * recordLineLength);
    for (int64_t i = 0; i < count; ++i) {
        char line[recordLineLength];
        formatRecordLine(uint32_t(i % 999999 + 1), stampOf(now - 5 * (count - 1 - i)), 99000 + int32_t(i % 2000),
                         int32_t(i % 50) - 25, int32_t(i % 90) - 45, uint32_t(i % 40), 0, line);
        if (state.range(0) == 0) line[recordLineLength - 1] = ' ';
        file.append(line, sizeof line);
    }
    const FileChunkReader reader = [&file](uint64_t offset, char* bytes, size_t wanted) {
        std::memcpy(bytes, file.data() + offset, wanted);
        return wanted;
    };
    WeekRead read;
    for (auto _ : state) {
        read = readWeekFromEnd(file.size(), now, reader);
        benchmark::DoNotOptimize(read.records.data());
    }
    state.counters["records"] = double(read.records.size());
    state.counters["bytesRead"] = double(read.bytesRead);
}
BENCHMARK(BM_WeekFromTenYears)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
