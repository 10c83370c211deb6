#include "storedata/record_check.h"

#include <windows.h>

#include <string>

#include "app/shell_state.h"
#include "records/event_log.h"
#include "records/record_line.h"
#include "storedata/history_loader.h"
#include "storedata/record_repair.h"

namespace {

// Opens `name` for writing without sharing, created when missing, emptied.
HANDLE openEmptied(const char* name)
{
    HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        SetFilePointer(file, 0, nullptr, FILE_BEGIN);
        SetEndOfFile(file);
    }
    return file;
}

// True when every byte was written.
bool writeAll(HANDLE file, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(bytes.size() - done > 0x100000 ? 0x100000 : bytes.size() - done);
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

void deleteScratch()
{
    OFSTRUCT info;
    OpenFile("monitor.tmp", &info, OF_DELETE);
}

std::string readAll(HANDLE file)
{
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

void tell(const char* text, const char* caption)
{
    MessageBoxA(mainWindow, text, caption, MB_OK);
}

} // namespace

unsigned checkRecordFile()
{
    HANDLE scratch = openEmptied("monitor.tmp");
    if (scratch == INVALID_HANDLE_VALUE) {
        tell("error writing monitor.tmp", "write data");
        logEvent(13);
        return 0;
    }
    HANDLE records = CreateFileA("monitor.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (records == INVALID_HANDLE_VALUE) {
        CloseHandle(scratch);
        tell("error reading monitor.txt", "read data");
        logEvent(13);
        return 0;
    }
    DWORD sizeHigh = 0;
    DWORD sizeLow = GetFileSize(records, &sizeHigh);
    if (sizeHigh == 0 && sizeLow < recordLineLength) {
        // Both files stay open, unshared, while the box is shown: a record due
        // meanwhile cannot be appended and the writer reports it.
        tell("No records read\nno errors can be found", "Data check");
        CloseHandle(records);
        CloseHandle(scratch);
        return 0;
    }

    std::string old = readAll(records);
    RecordCheckOutcome outcome = checkRecordBytes(old.data(), old.size());
    bool scratchWhole = writeAll(scratch, outcome.retained);
    CloseHandle(records);
    CloseHandle(scratch);

    // monitor.txt is replaced only by a complete repaired copy and only once
    // its backup exists: on a full disk either step can fall short, and
    // copying over monitor.txt empties it first.
    if (!scratchWhole) {
        deleteScratch();
        tell("error writing monitor.tmp", "write data");
        logEvent(13);
        return 0;
    }
    if (!CopyFileA("monitor.txt", "monitor.bak", FALSE)) {
        deleteScratch();
        tell("error writing monitor.bak", "write data");
        logEvent(13);
        return 0;
    }
    if (!CopyFileA("monitor.tmp", "monitor.txt", FALSE)) {
        // The old records are in monitor.bak and the repaired ones stay in monitor.tmp.
        tell("error writing monitor.txt", "write data");
        logEvent(13);
        return 0;
    }
    deleteScratch();

    HANDLE list = openEmptied("datalist.txt");
    if (list != INVALID_HANDLE_VALUE) {
        writeAll(list, formatRecordingList(outcome.recordings));
        CloseHandle(list);
    }

    loadHistory();
    tell(formatCheckSummary(outcome).c_str(), "Data check");
    return outcome.errors;
}
