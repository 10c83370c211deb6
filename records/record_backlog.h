#pragma once
// Lines due for a record file that could not be written yet: kept in memory,
// in order, and appended as soon as the file takes them again. A spreadsheet
// that shows monitor.txt holds it unshared for hours; a full disk or a
// read-only folder refuses writes for as long. No line is lost meanwhile.
#include <cstddef>
#include <deque>
#include <string>

enum class AppendFailure { None, Open, Write };

// The platform beneath the backlog (its events go to the shell seam's log).
// The shell fills it with a real file (opened, written whole or not at all,
// closed); tests put in a file that refuses on demand.
struct RecordFileLayer {
    AppendFailure (*append)(const char* fileName, const char* bytes, size_t count);
};

extern RecordFileLayer recordFileLayer;
inline void resetRecordFileLayer() { recordFileLayer = RecordFileLayer{}; }

struct RecordBacklog {
    const char* fileName;
    size_t byteBound;   // kept at most; past it the oldest lines go
    int openEvent;      // logged when the file cannot be opened
    int writeEvent;     // logged when the bytes cannot be written
    std::deque<std::string> lines;
    size_t bytes;
    bool failing;       // in a stretch of failures, already logged
    bool dropLogged;    // a drop in this stretch was logged
};

// monitor.txt: 4096 records of 80 bytes, more than 14 days of them.
constexpr size_t recordBacklogBound = 4096 * 80;
// nmea.txt: about a mebibyte of sentences.
constexpr size_t nmeaBacklogBound = 1 << 20;

// The program's two backlogs and the rhythm of their retries.
struct RecordBacklogs {
    RecordBacklog monitor;
    RecordBacklog nmea;
    unsigned ticksSinceRetry;
};

extern RecordBacklogs recordBacklogs;

// Empty backlogs, nothing logged, the retry rhythm from its start.
void resetRecordBacklogs();

// Appends one whole line to the backlog's file behind every line kept
// before it, or keeps it when the file refuses. The first failure of a
// stretch is logged, and so is its end.
void appendThroughBacklog(RecordBacklog& backlog, const char* bytes, size_t count);

// Tries once to write what is kept; true when nothing is left.
bool flushBacklog(RecordBacklog& backlog);

// Timer ticks between two tries to write what is kept: three seconds at the
// 200 ms timer.
constexpr unsigned backlogRetryTicks = 15;

// Called on every timer tick: now and then one try for each backlog that
// keeps lines.
void retryBacklogsOnTick();

// At the end of the program: one more try; what remains is logged.
void flushBacklogAtEnd(RecordBacklog& backlog);

// Forgets what is kept (the file was erased).
void clearBacklog(RecordBacklog& backlog);
