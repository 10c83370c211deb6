#include "settings/settings_file.h"

#include <windows.h>

#include <vector>

#include "settings/monitor_settings.h"
#include "settings/settings_lines.h"
#include "settings/settings_text.h"

namespace {
const char settingsFileName[] = "monitor.ini";
// Written first, so that a power failure during the write leaves the old file whole.
const char newSettingsFileName[] = "monitor.ini.new";
// Where damaged files go, the first free name of them, so that the user's bytes stay to be seen.
const char* const damagedSettingsFileNames[] = {
    "monitor.ini.bad",  "monitor.ini.bad2", "monitor.ini.bad3", "monitor.ini.bad4", "monitor.ini.bad5",
    "monitor.ini.bad6", "monitor.ini.bad7", "monitor.ini.bad8", "monitor.ini.bad9",
};
constexpr DWORD holdRetryMs = 100;

// Shares the file with readers only: another reader does not keep it from
// the program, a writer does. A hold is waited out, as a scanner lets go soon.
HANDLE openForReading(DWORD& error)
{
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        HANDLE file = CreateFileA(settingsFileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        error = file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
        if (error != ERROR_SHARING_VIOLATION || GetTickCount64() - start >= settingsHoldWaitMs) return file;
        Sleep(holdRetryMs);
    }
}

// One byte more than the limit, so that a longer file shows. False when a read fails.
bool readWhole(HANDLE file, std::vector<uint8_t>& bytes)
{
    bytes.assign(settingsFileLimit + 1, 0);
    DWORD total = 0;
    while (total < bytes.size()) {
        DWORD count = 0;
        if (!ReadFile(file, bytes.data() + total, static_cast<DWORD>(bytes.size() - total), &count, nullptr))
            return false;
        if (count == 0) break;
        total += count;
    }
    bytes.resize(total);
    return true;
}

// Never over an older damaged file: a name that is taken (or cannot be had) gives way to the next.
bool putDamagedFileAside()
{
    for (const char* name : damagedSettingsFileNames)
        if (MoveFileExA(settingsFileName, name, MOVEFILE_WRITE_THROUGH)) return true;
    return false;
}

// A reader's hold on monitor.ini (a scanner, a backup, an editor's look)
// makes the move fail with a denial; it is waited out as at the read, so
// that a choice or the end's write is not lost to it. A read-only file (or
// a folder of that name) is denied for good and is not waited for.
bool moveNewFileInPlace()
{
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        if (MoveFileExA(newSettingsFileName, settingsFileName, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesA(settingsFileName);
        const bool held = (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) &&
                          attributes != INVALID_FILE_ATTRIBUTES &&
                          !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
        if (!held || GetTickCount64() - start >= settingsHoldWaitMs) return false;
        Sleep(holdRetryMs);
    }
}

SettingsRead withheld(SettingsRead read)
{
    settingsWritesWithheld = true;
    return read;
}

} // namespace

SettingsRead readSettingsFile()
{
    settingsWritesWithheld = false;
    DWORD error = ERROR_SUCCESS;
    HANDLE file = openForReading(error);
    if (file == INVALID_HANDLE_VALUE)
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? SettingsRead::Missing
                                                                              : withheld(SettingsRead::Unreadable);
    std::vector<uint8_t> bytes;
    const bool read = readWhole(file, bytes);
    CloseHandle(file);
    if (!read || bytes.size() > settingsFileLimit) return withheld(SettingsRead::Unreadable);
    if (!settingsTextIsIntact(bytes.data(), bytes.size())) {
        forgetKeptSettingsLines();
        return putDamagedFileAside() ? SettingsRead::Damaged : withheld(SettingsRead::DamagedKept);
    }
    decodeSettingsText(bytes.data(), bytes.size(), monitorSettings);
    return SettingsRead::Read;
}

SettingsWrite writeSettingsFile()
{
    if (settingsWritesWithheld) return SettingsWrite::Withheld;
    const std::string text = encodeSettingsText(monitorSettings);
    if (text.size() > settingsFileLimit) return SettingsWrite::TooLong;
    const DWORD length = static_cast<DWORD>(text.size());
    HANDLE file = CreateFileA(newSettingsFileName, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return SettingsWrite::NotCreated;
    DWORD written = 0;
    // The bytes must be on the disk before the name points at them.
    const bool whole = WriteFile(file, text.data(), length, &written, nullptr) && written == length &&
                       FlushFileBuffers(file);
    CloseHandle(file);
    if (!whole) {
        DeleteFileA(newSettingsFileName);
        return SettingsWrite::ShortWrite;
    }
    if (!moveNewFileInPlace()) {
        DeleteFileA(newSettingsFileName);
        return SettingsWrite::NotCreated;
    }
    return SettingsWrite::Written;
}
