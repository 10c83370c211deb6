#include "records/record_files.h"

#include <windows.h>

#include "records/append_file.h"
#include "records/event_log.h"
#include "records/record_backlog.h"
#include "records/record_line.h"
#include "settings/monitor_settings.h"

namespace {

AppendFailure appendToFile(const char* name, const char* bytes, size_t count)
{
    HANDLE file = openForAppend(name);
    if (file == INVALID_HANDLE_VALUE) return AppendFailure::Open;
    bool whole = appendWhole(file, bytes, static_cast<DWORD>(count));
    CloseHandle(file);
    return whole ? AppendFailure::None : AppendFailure::Write;
}

} // namespace

void installRecordFileLayer()
{
    recordFileLayer.append = appendToFile;
    recordFileLayer.logEvent = logEvent;
}

void appendRecord()
{
    char line[recordLineLength];
    formatBarographRecord(line);
    appendThroughBacklog(monitorBacklog, line, recordLineLength);
    if (monitorSettings.SIG) MessageBeep(0);
}

void appendNmeaRecord(const char* bytes, size_t length)
{
    appendThroughBacklog(nmeaBacklog, bytes, length);
    if (monitorSettings.SIG) MessageBeep(0);
}

void writeKeptRecordsAtEnd()
{
    flushBacklogAtEnd(monitorBacklog);
    flushBacklogAtEnd(nmeaBacklog);
}
