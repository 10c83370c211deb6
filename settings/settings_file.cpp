#include "settings/settings_file.h"

#include <windows.h>

#include "settings/monitor_settings.h"
#include "settings/settings_lines.h"
#include "settings/settings_text.h"

namespace {
const char settingsFileName[] = "monitor.ini";
// Written first, so that a power failure during the write leaves the old file whole.
const char newSettingsFileName[] = "monitor.ini.new";
// Where a damaged file goes, so that the user's bytes stay to be seen.
const char damagedSettingsFileName[] = "monitor.ini.bad";
} // namespace

SettingsRead readSettingsFile()
{
    HANDLE file = CreateFileA(settingsFileName, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return SettingsRead::Unreadable;
    uint8_t buffer[settingsFileLimit] = {};
    DWORD count = 0;
    if (!ReadFile(file, buffer, static_cast<DWORD>(settingsFileLimit), &count, nullptr)) count = 0;
    CloseHandle(file);
    if (!settingsTextIsIntact(buffer, count)) {
        MoveFileExA(settingsFileName, damagedSettingsFileName, MOVEFILE_REPLACE_EXISTING);
        forgetKeptSettingsLines();
        return SettingsRead::Damaged;
    }
    decodeSettingsText(buffer, count, monitorSettings);
    return SettingsRead::Read;
}

SettingsWrite writeSettingsFile()
{
    char text[settingsFileLimit];
    const DWORD length = static_cast<DWORD>(encodeSettingsText(monitorSettings, text));
    HANDLE file = CreateFileA(newSettingsFileName, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return SettingsWrite::NotCreated;
    DWORD written = 0;
    // The bytes must be on the disk before the name points at them.
    const bool whole = WriteFile(file, text, length, &written, nullptr) && written == length &&
                       FlushFileBuffers(file);
    CloseHandle(file);
    if (!whole) {
        DeleteFileA(newSettingsFileName);
        return SettingsWrite::ShortWrite;
    }
    if (!MoveFileExA(newSettingsFileName, settingsFileName, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(newSettingsFileName);
        return SettingsWrite::NotCreated;
    }
    return SettingsWrite::Written;
}
