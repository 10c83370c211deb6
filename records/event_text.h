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
