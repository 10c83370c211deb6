#include "settings/settings_file.h"

#include <windows.h>

#include "settings/monitor_settings.h"
#include "settings/settings_text.h"

namespace {
const char settingsFileName[] = "monitor.ini";
}

bool readSettingsFile()
{
    HANDLE file = CreateFileA(settingsFileName, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    uint8_t buffer[settingsFileLimit] = {};
    DWORD count = 0;
    if (!ReadFile(file, buffer, static_cast<DWORD>(settingsFileLimit), &count, nullptr)) count = 0;
    CloseHandle(file);
    decodeSettingsText(buffer, count, monitorSettings);
    return true;
}

SettingsWrite writeSettingsFile()
{
    char text[settingsFileLimit];
    const DWORD length = static_cast<DWORD>(encodeSettingsText(monitorSettings, text));
    HANDLE file = CreateFileA(settingsFileName, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return SettingsWrite::NotCreated;
    DWORD written = 0;
    bool whole = WriteFile(file, text, length, &written, nullptr) && written == length;
    CloseHandle(file);
    return whole ? SettingsWrite::Written : SettingsWrite::ShortWrite;
}
