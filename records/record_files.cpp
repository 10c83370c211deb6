#include "records/record_files.h"

#include <windows.h>

#include "records/append_file.h"
#include "records/record_line.h"
#include "records/working_files.h"
#include "settings/monitor_settings.h"
#include "settings/shell_seam.h"

namespace {

RecordBacklog& backlogOf(RecordFile file)
{
    return file == RecordFile::Monitor ? recordBacklogs.monitor : recordBacklogs.nmea;
}

// Every line appended, written now or kept, is signalled when SIG is on.
void appendLine(RecordBacklog& backlog, const char* bytes, size_t count)
{
    appendThroughBacklog(backlog, bytes, count);
    if (monitorSettings.SIG) shellBeep(0);
}

} // namespace

AppendFailure appendToRecordFile(const char* name, const char* bytes, size_t count)
{
    HANDLE file = openForAppend(name);
    if (file == INVALID_HANDLE_VALUE) return AppendFailure::Open;
    bool whole = appendWhole(file, bytes, static_cast<DWORD>(count));
    CloseHandle(file);
    return whole ? AppendFailure::None : AppendFailure::Write;
}

RecordWatch recordWatch = {};

void resetRecordWatch() { recordWatch = RecordWatch{}; }

void appendRecord(const char* line)
{
    appendLine(recordBacklogs.monitor, line, recordLineLength);
    if (recordWatch.recordAppended) recordWatch.recordAppended(line);
}

void appendNmeaRecord(const char* bytes, size_t length) { appendLine(recordBacklogs.nmea, bytes, length); }

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
