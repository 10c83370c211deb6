// Timings of the Win32 work under Wine: the full chart into a 1920 x 1080
// memory DC, the data check of a 32000-record monitor.txt on disk,
// loadHistory, and the week chart over a ten-year monitor.txt. Prints the
// median of many runs of each.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "acquisition/measurement_state.h"
#include "app/commands.h"
#include "app/menu_layout.h"
#include "app/shell_state.h"
#include "app/startup.h"
#include "display/chart_view.h"
#include "display/drawing_tools.h"
#include "display/pressure_chart.h"
#include "records/record_line.h"
#include "settings/monitor_settings.h"
#include "storedata/history_loader.h"
#include "records/record_files.h"
#include "storedata/record_check.h"
#include "storedata/week_loader.h"
#include "storedata/week_records.h"

namespace {

double nowMs()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * double(counter.QuadPart) / double(frequency.QuadPart);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void writeRecordFile(const char* name, uint32_t count)
{
    std::string file;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t minutes = i * 5;
        UtcStamp time{2026, 1, static_cast<uint8_t>(1 + minutes / 1440 % 28), static_cast<uint8_t>(minutes / 60 % 24),
                      static_cast<uint8_t>(minutes % 60)};
        char line[recordLineLength];
        formatRecordLine(i + 1, time, 99000 + i % 2000, int32_t(i % 50) - 25, int32_t(i % 90) - 45, i % 40, 0, line);
        file.append(line, sizeof line);
    }
    HANDLE out = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(out, file.data(), DWORD(file.size()), &written, nullptr);
    CloseHandle(out);
}

void fillHistory();

double residentMiB()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return double(counters.WorkingSetSize) / (1024.0 * 1024.0);
}

// Ten years of records, one every five minutes, the last one now; without
// `lineFeeds`, each line feed is a blank (a copy that lost them).
void writeTenYears(const char* name, int64_t nowMinute, bool lineFeeds = true)
{
    constexpr int64_t count = 1051200;
    HANDLE out = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string block;
    for (int64_t i = 0; i < count; ++i) {
        int64_t minute = nowMinute - 5 * (count - 1 - i);
        char line[recordLineLength];
        formatRecordLine(uint32_t(i % 999999 + 1), stampOf(minute), 99000 + int32_t(i % 2000), int32_t(i % 50) - 25,
                         int32_t(i % 90) - 45, uint32_t(i % 40), uint8_t(i % 500 < 20), line);
        if (!lineFeeds) line[recordLineLength - 1] = ' ';
        block.append(line, sizeof line);
        if (block.size() >= (1u << 20) || i == count - 1) {
            DWORD written = 0;
            WriteFile(out, block.data(), DWORD(block.size()), &written, nullptr);
            block.clear();
        }
    }
    CloseHandle(out);
}

void weekChartBenchmarks(HDC memory)
{
    monitorSettings.DATA = Barograph;
    const int64_t now = presentUtcMinute();
    writeTenYears("monitor.txt", now);

    // Choosing the week: the command (which reads the file's end) and the
    // paint that follows it, median of 15, with the resident memory before
    // and after the first.
    auto chooseWeek = [&](const char* file) {
        std::vector<double> chooses;
        double before = 0, after = 0;
        for (int i = 0; i < 15; ++i) {
            runCommand(cmdShowHours);
            resetWeekHold();
            drawPressureChart(memory, 1920, 1080);
            if (i == 0) before = residentMiB();
            double start = nowMs();
            runCommand(cmdShowWeek);
            drawPressureChart(memory, 1920, 1080);
            GdiFlush();
            chooses.push_back(nowMs() - start);
            if (i == 0) after = residentMiB();
        }
        std::printf("week chosen over a ten-year monitor.txt%s (%zu records in the week, %llu bytes read), command "
                    "to painted chart 1920x1080: median %.2f ms; resident %.1f MiB before, %.1f MiB after the first\n",
                    file, weekHold.records.size(), static_cast<unsigned long long>(weekHold.bytesRead),
                    median(chooses), before, after);
    };
    chooseWeek("");
    // The same ten years without a line feed: all of it is read, as damage.
    writeTenYears("monitor.txt", now, false);
    chooseWeek(" without line feeds");
    writeTenYears("monitor.txt", now);
    runCommand(cmdShowHours);
    runCommand(cmdShowWeek);

    // A repaint of the week beside one of the 52 hours.
    std::vector<double> weekDraws, hourDraws;
    for (int i = 0; i < 200; ++i) {
        double start = nowMs();
        drawPressureChart(memory, 1920, 1080);
        GdiFlush();
        weekDraws.push_back(nowMs() - start);
    }
    chartView.shown = ChartKind::Hours52;
    fillHistory();
    for (int i = 0; i < 200; ++i) {
        double start = nowMs();
        drawPressureChart(memory, 1920, 1080);
        GdiFlush();
        hourDraws.push_back(nowMs() - start);
    }
    std::printf("repaint 1920x1080: week median %.3f ms, 52 hours median %.3f ms (%.2f times)\n",
                median(weekDraws), median(hourDraws), median(weekDraws) / median(hourDraws));

    // A record appended while the week is shown reads nothing back.
    runCommand(cmdShowWeek);
    unsigned reads = weekHold.reads;
    uint64_t bytes = weekHold.bytesRead;
    size_t held = weekHold.records.size();
    char line[recordLineLength];
    const int64_t appendedAt = presentUtcMinute();
    formatRecordLine(1, stampOf(appendedAt), 99500, 0, 0, 0, 0, line);
    double start = nowMs();
    appendRecord(line);
    double appendMs = nowMs() - start;
    std::printf("record appended while the week is shown: %.3f ms, file reads %u -> %u, bytes read %llu -> %llu, "
                "records held %zu -> %zu, newest is the new one: %s\n", appendMs, reads,
                weekHold.reads, static_cast<unsigned long long>(bytes),
                static_cast<unsigned long long>(weekHold.bytesRead), held, weekHold.records.size(),
                weekHold.records.back().minute == appendedAt ? "yes" : "no");
    runCommand(cmdShowHours);
}

void fillHistory()
{
    for (size_t i = 0; i < historyWindowSlots; ++i) {
        pressureHistory.slots[i].pressure = 100000 + int32_t((i * 37) % 1500) - 700;
        pressureHistory.slots[i].variation = int32_t(i % 40) * 10;
    }
    computeTendencies();
}

// Answers the data check's final box and notes when it appeared.
volatile double boxSeenAt = 0;
volatile LONG answering = 1;

DWORD WINAPI answerBoxes(void*)
{
    while (answering) {
        HWND box = FindWindowA("#32770", nullptr);
        if (box && IsWindowVisible(box)) {
            if (boxSeenAt == 0) boxSeenAt = nowMs();
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
        Sleep(0);
    }
    return 0;
}

} // namespace

int main()
{
    // A window of our own, so repaints the code asks for stay in it.
    mainWindow = CreateWindowExA(0, "STATIC", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr,
                                 nullptr, nullptr);
    monitorSettings.T1 = 1;
    monitorSettings.T3 = 1;
    monitorSettings.DKS = 1;
    monitorSettings.ERR = 0;
    // The data check's boxes and the week's appended records go through the shell.
    installShellSeam();
    createScreenPens();

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 1920, 1080);
    SelectObject(memory, bitmap);
    fillHistory();
    std::vector<double> draws;
    for (int i = 0; i < 300; ++i) {
        PatBlt(memory, 0, 0, 1920, 1080, WHITENESS);
        double start = nowMs();
        drawPressureChart(memory, 1920, 1080);
        GdiFlush();
        draws.push_back(nowMs() - start);
    }
    std::printf("full chart 1920x1080: median %.3f ms over %zu draws\n", median(draws), draws.size());

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "monitor-bench";
    CreateDirectoryA(folder.c_str(), nullptr);
    SetCurrentDirectoryA(folder.c_str());

    std::vector<double> loads;
    writeRecordFile("monitor.txt", 2000);
    for (uint32_t show : {300u, 1800u}) {
        monitorSettings.SHOW = show;
        loads.clear();
        for (int i = 0; i < 200; ++i) {
            double start = nowMs();
            loadHistory();
            loads.push_back(nowMs() - start);
        }
        std::printf("loadHistory, 2000 records, SHOW %u: median %.3f ms\n", show, median(loads));
    }

    HANDLE answerer = CreateThread(nullptr, 0, answerBoxes, nullptr, 0, nullptr);
    std::vector<double> checks;
    for (int i = 0; i < 7; ++i) {
        writeRecordFile("monitor.txt", 32000);
        boxSeenAt = 0;
        double start = nowMs();
        checkRecordFile();
        checks.push_back(boxSeenAt - start);
    }
    InterlockedExchange(&answering, 0);
    WaitForSingleObject(answerer, INFINITE);
    std::printf("data check, 32000 records on disk, command to box: median %.1f ms\n", median(checks));

    weekChartBenchmarks(memory);

    DeleteFileA("monitor.txt");
    DeleteFileA("monitor.bak");
    DeleteFileA("datalist.txt");
    SetCurrentDirectoryA(temp);
    RemoveDirectoryA(folder.c_str());
    return 0;
}
