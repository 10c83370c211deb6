#include "storedata/record_check.h"

#include <windows.h>

#include <string>
#include <vector>

#include "records/event_log.h"
#include "records/record_line.h"
#include "records/working_files.h"
#include "settings/shell_seam.h"
#include "storedata/history_loader.h"
#include "storedata/record_repair.h"

namespace {

// Read and written a block at a time, so the check needs the same memory for
// a file of any size.
constexpr DWORD blockSize = 256 * 1024;

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
        DWORD chunk = static_cast<DWORD>(bytes.size() - done > blockSize ? blockSize : bytes.size() - done);
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

enum class Copied { Whole, ReadFailed, WriteFailed };

// Runs the check over `records` from its start, writing what it keeps to `scratch`.
Copied checkInBlocks(HANDLE records, HANDLE scratch, RecordCheck& check)
{
    std::vector<char> block(blockSize);
    std::string retained;
    retained.reserve(blockSize + recordLineLength);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(records, block.data(), blockSize, &got, nullptr)) return Copied::ReadFailed;
        if (got == 0) break;
        checkRecordBlock(check, block.data(), got, retained);
        if (!writeAll(scratch, retained)) return Copied::WriteFailed;
        retained.clear();
    }
    finishRecordCheck(check);
    return Copied::Whole;
}

void tell(const char* text, TextId caption)
{
    showShellMessage({.caption = caption, .text = text, .kind = MessageKind::Notice});
}

// Every way the check stops short: monitor.txt is left as it was. The
// files are closed by then, so that records falling due while the box
// waits can be appended.
unsigned stopCheck(TextId text, TextId caption)
{
    tell(uiText(text), caption);
    logEvent(eventRecordFileError);
    return 0;
}

} // namespace

unsigned checkRecordFile()
{
    HANDLE scratch = openEmptied("monitor.tmp");
    if (scratch == INVALID_HANDLE_VALUE) return stopCheck(txtCheckWriteTmp, txtCheckWriteCaption);
    HANDLE records = CreateFileA("monitor.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (records == INVALID_HANDLE_VALUE) {
        CloseHandle(scratch);
        return stopCheck(txtCheckReadTxt, txtCheckReadCaption);
    }
    DWORD sizeHigh = 0;
    DWORD sizeLow = GetFileSize(records, &sizeHigh);
    if (sizeHigh == 0 && sizeLow < recordLineLength) {
        CloseHandle(records);
        CloseHandle(scratch);
        tell(uiText(txtCheckNoRecords), txtCheckCaption);
        return 0;
    }

    RecordCheck check{};
    Copied copied = checkInBlocks(records, scratch, check);
    CloseHandle(records);
    CloseHandle(scratch);

    // monitor.txt is replaced only by a complete repaired copy and only once
    // its backup exists: on a full disk either step can fall short, and
    // copying over monitor.txt empties it first.
    if (copied != Copied::Whole) {
        deleteWorkingFile("monitor.tmp");
        if (copied == Copied::ReadFailed) return stopCheck(txtCheckReadTxt, txtCheckReadCaption);
        return stopCheck(txtCheckWriteTmp, txtCheckWriteCaption);
    }
    if (!CopyFileA("monitor.txt", "monitor.bak", FALSE)) {
        deleteWorkingFile("monitor.tmp");
        return stopCheck(txtCheckWriteBak, txtCheckWriteCaption);
    }
    // The old records are in monitor.bak and the repaired ones stay in monitor.tmp.
    if (!CopyFileA("monitor.tmp", "monitor.txt", FALSE)) return stopCheck(txtCheckWriteTxt, txtCheckWriteCaption);
    deleteWorkingFile("monitor.tmp");

    HANDLE list = openEmptied("datalist.txt");
    if (list != INVALID_HANDLE_VALUE) {
        writeAll(list, formatRecordingList(check.recordings));
        CloseHandle(list);
    }

    loadHistory();
    tell(formatCheckSummary(check).c_str(), txtCheckCaption);
    return check.errors;
}
