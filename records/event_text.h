#pragma once
// The lines of monitor.err and the fatal-error message, without file access.
#include <cstddef>

#include "settings/monitor_settings.h"

struct LocalStamp {
    int day;
    int month;
    int year;
    int hour;
    int minute;
};

// Events of the port and the record files beyond the original table.
constexpr int eventPortReturned = 66;      // a lost or missing port opened again
constexpr int eventEraseRefused = 67;      // a record file to erase could not be deleted
constexpr int eventRecordsCaughtUp = 68;   // records kept while a file could not be written are in it
constexpr int eventRecordsDropped = 69;    // the records kept outgrew their bound
constexpr int eventRecordsUnwritten = 70;  // records still kept at the end of the program

// The text that follows the header of an event line; empty for numbers
// without text. Numbers above 100 share the text of 100.
const char* eventText(int number);

// One event line without its line end (written separately); returns its length.
size_t formatEventLine(int number, const LocalStamp& when, char (&line)[256]);

// One fatal-error line, ended by a line feed alone; returns its length.
size_t formatFatalLine(int number, const LocalStamp& when, char (&line)[64]);

// The text and caption of the fatal-error message box.
size_t formatFatalMessage(int number, const LocalStamp& when, UiLanguage language, char (&text)[128]);
const char* fatalCaption(UiLanguage language);
