#include "records/record_backlog.h"

#include "records/event_text.h"
#include "settings/shell_seam.h"

RecordFileLayer recordFileLayer = {};

RecordBacklogs recordBacklogs = {
    {"monitor.txt", recordBacklogBound, eventRecordFileError, eventWriteFailed, {}, 0, false, false},
    {"nmea.txt", nmeaBacklogBound, eventRecordFileError, eventWriteFailed, {}, 0, false, false},
    0,
};

void resetRecordBacklogs()
{
    clearBacklog(recordBacklogs.monitor);
    clearBacklog(recordBacklogs.nmea);
    recordBacklogs.ticksSinceRetry = 0;
}

namespace {

// Lines go out in batches of about this many bytes, each batch whole or not
// at all: on a nearly full disk single records still fit where a large
// batch would not.
constexpr size_t batchBytes = 16384;

void keep(RecordBacklog& backlog, const char* bytes, size_t count)
{
    backlog.lines.emplace_back(bytes, count);
    backlog.bytes += count;
    bool dropped = false;
    while (backlog.bytes > backlog.byteBound && backlog.lines.size() > 1) {
        backlog.bytes -= backlog.lines.front().size();
        backlog.lines.pop_front();
        dropped = true;
    }
    if (dropped && !backlog.dropLogged) {
        logEvent(eventRecordsDropped);
        backlog.dropLogged = true;
    }
}

void fail(RecordBacklog& backlog, AppendFailure failure)
{
    if (backlog.failing) return;
    logEvent(failure == AppendFailure::Open ? backlog.openEvent : backlog.writeEvent);
    backlog.failing = true;
}

} // namespace

bool flushBacklog(RecordBacklog& backlog)
{
    std::string batch;
    while (!backlog.lines.empty()) {
        batch.clear();
        size_t taken = 0;
        for (const std::string& line : backlog.lines) {
            if (taken > 0 && batch.size() + line.size() > batchBytes) break;
            batch += line;
            ++taken;
        }
        AppendFailure failure = recordFileLayer.append
                                    ? recordFileLayer.append(backlog.fileName, batch.data(), batch.size())
                                    : AppendFailure::Open;
        if (failure != AppendFailure::None) {
            fail(backlog, failure);
            return false;
        }
        for (size_t i = 0; i < taken; ++i) backlog.lines.pop_front();
        backlog.bytes -= batch.size();
    }
    if (backlog.failing) {
        logEvent(eventRecordsCaughtUp);
        backlog.failing = false;
        backlog.dropLogged = false;
    }
    return true;
}

void appendThroughBacklog(RecordBacklog& backlog, const char* bytes, size_t count)
{
    keep(backlog, bytes, count);
    flushBacklog(backlog);
}

void retryBacklogsOnTick()
{
    RecordBacklog& monitor = recordBacklogs.monitor;
    RecordBacklog& nmea = recordBacklogs.nmea;
    if (monitor.lines.empty() && nmea.lines.empty()) return;
    if (++recordBacklogs.ticksSinceRetry < backlogRetryTicks) return;
    recordBacklogs.ticksSinceRetry = 0;
    if (!monitor.lines.empty()) flushBacklog(monitor);
    if (!nmea.lines.empty()) flushBacklog(nmea);
}

void flushBacklogAtEnd(RecordBacklog& backlog)
{
    if (backlog.lines.empty()) return;
    if (!flushBacklog(backlog)) logEvent(eventRecordsUnwritten);
}

void clearBacklog(RecordBacklog& backlog)
{
    backlog.lines.clear();
    backlog.bytes = 0;
    backlog.failing = false;
    backlog.dropLogged = false;
}
