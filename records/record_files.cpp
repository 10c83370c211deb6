#include "records/record_files.h"

#include <windows.h>

#include "records/append_file.h"
#include "records/event_log.h"
#include "records/record_line.h"
#include "settings/monitor_settings.h"

void appendRecord()
{
    char line[recordLineLength];
    formatBarographRecord(line);
    HANDLE file = openForAppend("monitor.txt");
    if (file == INVALID_HANDLE_VALUE) {
        logEvent(13);
    } else {
        if (!appendWhole(file, line, recordLineLength)) logEvent(21);
        CloseHandle(file);
    }
    if (monitorSettings.SIG) MessageBeep(0);
}

void appendNmeaRecord(const char* bytes, size_t length)
{
    HANDLE file = openForAppend("nmea.txt");
    if (file == INVALID_HANDLE_VALUE) {
        logEvent(13);
    } else {
        appendWhole(file, bytes, static_cast<DWORD>(length));
        CloseHandle(file);
    }
    if (monitorSettings.SIG) MessageBeep(0);
}
