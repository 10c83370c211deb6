#include "records/record_files.h"

#include <windows.h>

#include "records/append_file.h"
#include "records/event_log.h"
#include "records/record_backlog.h"
#include "records/record_line.h"
#include "records/working_files.h"
#include "settings/monitor_settings.h"
#include "settings/shell_seam.h"

namespace {

RecordBacklog& backlogOf(RecordFile file)
{
    return file == RecordFile::Monitor ? recordBacklogs.monitor : recordBacklogs.nmea;
}

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

void appendRecord(const char* line)
{
    appendThroughBacklog(recordBacklogs.monitor, line, recordLineLength);
    if (monitorSettings.SIG) shellBeep(0);
}

void appendNmeaRecord(const char* bytes, size_t length)
{
    appendThroughBacklog(recordBacklogs.nmea, bytes, length);
    if (monitorSettings.SIG) shellBeep(0);
}

void retryKeptRecords() { retryBacklogsOnTick(); }

const char* recordFileName(RecordFile file) { return backlogOf(file).fileName; }

DeleteOutcome eraseRecordFile(RecordFile file)
{
    DeleteOutcome outcome = deleteWorkingFile(recordFileName(file));
    // Records kept for the erased file belong to it.
    if (outcome != DeleteOutcome::Refused) clearBacklog(backlogOf(file));
    return outcome;
}

void writeKeptRecordsAtEnd()
{
    flushBacklogAtEnd(recordBacklogs.monitor);
    flushBacklogAtEnd(recordBacklogs.nmea);
}
