#include "storedata/week_loader.h"

#include <windows.h>

#include "records/record_backlog.h"
#include "records/record_line.h"
#include "storedata/week_records.h"

int64_t presentUtcMinute()
{
    SYSTEMTIME now;
    GetSystemTime(&now);
    return minuteOf(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute);
}

void loadWeek(int64_t nowMinute)
{
    // Shared, so that the program's own appends and a viewer that only reads
    // go on; a program that holds the file unshared makes the open fail.
    HANDLE file = CreateFileA("monitor.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) weekHold.records.clear();
        return;
    }
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file, &size)) size.QuadPart = 0;
    WeekRead read = readWeekFromEnd(static_cast<uint64_t>(size.QuadPart), nowMinute,
                                    [file](uint64_t offset, char* bytes, size_t count) -> size_t {
                                        LARGE_INTEGER at;
                                        at.QuadPart = static_cast<LONGLONG>(offset);
                                        DWORD got = 0;
                                        if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN) ||
                                            !ReadFile(file, bytes, static_cast<DWORD>(count), &got, nullptr))
                                            return 0;
                                        return got;
                                    });
    CloseHandle(file);
    weekHold.records = std::move(read.records);
    weekHold.bytesRead += read.bytesRead;
    ++weekHold.reads;
    // Records the file refused so far come after everything in it.
    for (const std::string& line : recordBacklogs.monitor.lines) holdAppendedRecord(line.data(), nowMinute);
}
