#include "records/event_log.h"

#include <windows.h>

#include "records/append_file.h"
#include "records/event_text.h"
#include "settings/monitor_settings.h"
#include "settings/shell_seam.h"
#include "settings/ui_text.h"

namespace {

const char logFileName[] = "monitor.err";

LocalStamp localNow()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return LocalStamp{now.wDay, now.wMonth, now.wYear, now.wHour, now.wMinute};
}

} // namespace

void appendEventLine(int number) { appendNotedEventLine(number, ""); }

void appendNotedEventLine(int number, const char* note)
{
    if (monitorSettings.ERR == 0) return;
    LocalStamp when = localNow();
    HANDLE file = openForAppend(logFileName);
    char line[256];
    size_t length = formatEventLine(number, when, line, note);
    if (file == INVALID_HANDLE_VALUE) return;
    writeBytes(file, line, static_cast<DWORD>(length));
    writeBytes(file, "\r\n", 2);
    CloseHandle(file);
}

void fatalError(int number)
{
    LocalStamp when = localNow();
    HANDLE file = openForAppend(logFileName);
    if (file != INVALID_HANDLE_VALUE) {
        char line[64];
        size_t length = formatFatalLine(number, when, line);
        writeBytes(file, line, static_cast<DWORD>(length));
        CloseHandle(file);
    }
    char text[128];
    formatFatalMessage(number, when, uiLanguage(), text);
    showShellMessage({.caption = txtFatalCaption, .text = text, .kind = MessageKind::Error});
    shellBeep(MB_ICONEXCLAMATION);
    endShellProgram();
}
