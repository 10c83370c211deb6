#pragma once
// The lines of monitor.err and the fatal-error message, without file access.
#include <cstddef>

#include "settings/monitor_settings.h"

struct LocalStamp {
    int day, month, year, hour, minute;
};

// Every event the program logs, by the number monitor.err shows; eventText's table names
// its row by it. The table's other numbers are never logged but keep their texts.
enum EventNumber : int {
    eventPortInUse = 1,             // the serial port could not be opened
    eventSettingsUnreadable = 2,    // monitor.ini could not be opened for reading
    eventSettingsUnwritable = 3,    // monitor.ini could not be created for writing
    eventFontCreateFailed = 5,      // the printed chart's font could not be created
    eventPrintError = 8,            // the chart job found no printer
    eventRegisterClassFailed = 9,
    eventOpenWindowFailed = 10,
    eventSettingsMissing = 11,      // start-up fell back to the defaults
    eventMonitorTxtErased = 12,
    eventRecordFileError = 13,      // a record file could not be opened; the data check stopped
    eventPortCom1Failed = 14,       // 14..17: opening COM1..COM4 failed
    eventPortLost = 19,             // the open port stopped answering
    eventWriteFailed = 21,
    eventSelectObjectFailed = 22,   // a pen of the screen chart
    eventCreatePenFailed = 23,
    eventDiskSpaceLow = 24,
    eventCreateBrushFailed = 25,
    eventSetCommStateFailed = 64,
    eventPortReturned = 66,         // a lost or missing port opened again
    eventEraseRefused = 67,         // a record file to erase could not be deleted
    eventRecordsCaughtUp = 68,      // records kept while a file could not be written are in it
    eventRecordsDropped = 69,       // the records kept outgrew their bound
    eventRecordsUnwritten = 70,     // records still kept at the end of the program
    eventWindWarning = 71,          // the wind alarm became level 1, pressure falling quickly
    eventGaleAlarm = 72,            // the wind alarm became level 2, falling very rapidly
    eventWindAlarmEnded = 73,
    eventNoData = 74,               // a minute without an accepted or stored line
    eventDataAgain = 75,            // the line that ended it
    eventSessionEnded = 76,         // Windows ended the session with the program running
    eventUdpUnavailable = 77,       // Winsock or the UDP socket could not be had, once per run
    eventUdpSendFailed = 78,        // a send failed after a success (or first), until one succeeds
    eventSettingsDamaged = 79,      // monitor.ini was no settings file: moved aside, defaults used
    eventCorrectionChanged = 80,    // the Options dialog changed the barograph's correction or the height
    eventLowPressure = 81,          // the pressure stayed below the user's limit: the low-pressure alarm
    eventLowPressureEnded = 82,     // the pressure stayed above the limit again, or Nmea mode ended it
    eventLowLimitChanged = 83,      // the Options dialog changed the low-pressure alarm's limit
};

// The event of a failed open of COM1..COM4; 0 (nothing to log) for the other ports.
constexpr int portFailedEvent(unsigned port)
{
    return port >= 1 && port <= 4 ? eventPortCom1Failed + int(port - 1) : 0;
}

// Fatal errors: always written, shown, and the program ends.
enum FatalErrorNumber : int {
    fatalSettingsUnwritable = 1,
    fatalChartFramePen = 7,         // pens of the printed chart that could not be selected
    fatalChartGridPenUpright = 9,
    fatalChartGridPenTurned = 11,
    fatalChartCurvePen = 22,
    fatalFontCreateFailed = 60,
    fatalFontSelectFailed = 100,
};

// The highest number with a text of its own.
constexpr int lastEventNumber = eventLowLimitChanged;

// The text that follows the header of an event line; empty for numbers
// without text. Numbers above 100 share the text of 100.
const char* eventText(int number);

// eventText, but for the events of the source (1, 19, 66) with a network
// source: their texts name it ("error TCP 192.168.4.1:10110 / connection lost ").
const char* sourceEventText(int number, const MonitorSettings& settings, char (&text)[96]);

// One event line without its line end (written separately), a source's
// event naming the source of the current settings, the `note` after the
// event's text; returns its length.
size_t formatEventLine(int number, const LocalStamp& when, char (&line)[256], const char* note = "");

// Said after the text of event 2 or 79 when the run leaves monitor.ini as it found it.
constexpr char settingsWithheldNote[] = "- not written in this run, left as it is ";

// One fatal-error line, ended by a line feed alone; returns its length.
size_t formatFatalLine(int number, const LocalStamp& when, char (&line)[64]);

// The text of the fatal-error message box; its caption is txtFatalCaption.
size_t formatFatalMessage(int number, const LocalStamp& when, UiLanguage language, char (&text)[128]);
