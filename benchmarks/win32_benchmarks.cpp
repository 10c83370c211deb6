// Timings of the Win32 work under Wine: the full chart into a 1920 x 1080
// memory DC, the data check of a 32000-record monitor.txt on disk, and
// loadHistory. Prints the median of many runs of each.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "acquisition/measurement_state.h"
#include "app/shell_state.h"
#include "display/drawing_tools.h"
#include "display/pressure_chart.h"
#include "records/record_line.h"
#include "settings/monitor_settings.h"
#include "storedata/history_loader.h"
#include "storedata/record_check.h"

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

    DeleteFileA("monitor.txt");
    DeleteFileA("monitor.bak");
    DeleteFileA("datalist.txt");
    SetCurrentDirectoryA(temp);
    RemoveDirectoryA(folder.c_str());
    return 0;
}
