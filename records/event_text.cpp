#include "records/event_text.h"

#include <cstdio>
#include <cstring>

#include "settings/source_name.h"
#include "settings/table_order.h"
#include "settings/ui_text.h"

const char* eventText(int number)
{
    struct Row { int id; const char* text; };
    // Every number 0..lastEventNumber in order, named by its enumerator where the program logs it.
    static constexpr Row rows[lastEventNumber + 1] = {
        {0, "no error"}, {eventPortInUse, "error: COM port already in use "},
        {eventSettingsUnreadable, "read error: file MONITOR.INI "},
        {eventSettingsUnwritable, "write error: file MONITOR.INI "}, {4, "error FontSet - CreateFont "},
        {eventFontCreateFailed, "error FontSet2 "}, {6, "error: file MONITOR.TXT not found "}, {7, "no printer found "},
        {eventPrintError, "print error "}, {eventRegisterClassFailed, "error RegisterClass "},
        {eventOpenWindowFailed, "error: OpenWindow "}, {eventSettingsMissing, "file MONITOR.INI not found "},
        {eventMonitorTxtErased, "warning: file MONITOR.TXT has been erased "},
        {eventRecordFileError, "error wrinting in file MONITOR.TXT "}, {eventPortCom1Failed, "error using port COM1 "},
        {15, "error using port COM2 "}, {16, "error using port COM3 "}, {17, "error using port COM4 "},
        {18, "warning: more than 256 bytes pending "}, {eventPortLost, "error COMx / ClearCommError "},
        {20, "error dwErrorFlags "}, {eventWriteFailed, "error: WriteFile/ReadFile "},
        {eventSelectObjectFailed, "error SelectObject "}, {eventCreatePenFailed, "error CreatePen"},
        {eventDiskSpaceLow, "error: not enough space on disk "}, {eventCreateBrushFailed, "error: CreateBrush"},
        {26, "#26"}, {27, "#27"}, {28, "#28"}, {29, "#29"}, {30, "#30"}, {31, "#31"}, {32, "#32"}, {33, "#33"},
        {34, "#34"}, {35, "#35"}, {36, ""}, {37, " "}, {38, " "}, {39, "#39 "}, {40, "#40 "}, {41, "#41 "},
        {42, "#42 "}, {43, "#43 "}, {44, "#44 "}, {45, "#45 "}, {46, "#46 "}, {47, "#47 "}, {48, "#48 "}, {49, "#49 "},
        {50, "#50 "}, {51, "#51 "}, {52, " "}, {53, " "}, {54, " "}, {55, " "}, {56, " "}, {57, " "}, {58, " "},
        {59, " "}, {60, " "}, {61, " "}, {62, " "},
        {63, "readfile error COM port"}, {eventSetCommStateFailed, "error: SetCommState "}, {65, "error: LastError"},
        {eventPortReturned, "COM port available again "}, {eventEraseRefused, "error: file could not be erased "},
        {eventRecordsCaughtUp, "records kept in memory have been written "},
        {eventRecordsDropped, "error: too many records kept in memory, oldest dropped "},
        {eventRecordsUnwritten, "error: records kept in memory could not be written at program end "},
        {eventWindWarning, "wind warning: pressure falling quickly "},
        {eventGaleAlarm, "gale alarm: pressure falling very rapidly "}, {eventWindAlarmEnded, "wind alarm ended "},
        {eventNoData, "no data received for 60 s "}, {eventDataAgain, "data received again "},
        {eventSessionEnded, "Windows session ended "}, {eventUdpUnavailable, "error: UDP output not possible "},
        {eventUdpSendFailed, "error: UDP output failed "},
        {eventSettingsDamaged, "error: settings file damaged, defaults used "},
        {eventCorrectionChanged, "pressure correction changed "},
        {eventLowPressure, "alarm: pressure below the limit "}, {eventLowPressureEnded, "pressure above the limit again "},
        {eventLowLimitChanged, "low pressure limit changed "},
    };
    static_assert(firstRowOutOfPlace(rows) == lastEventNumber + 1,
                  "a row out of place: the first number below is the first row that does not carry its own number");
    if (number >= 100) return "unknown error or event ";
    return number < 0 || number > lastEventNumber ? "" : rows[number].text;
}

const char* sourceEventText(int number, const MonitorSettings& settings, char (&text)[96])
{
    // The serial port keeps the texts it always had.
    const char* format = nullptr;
    if (settings.SOURCE.kind != SourceKind::Serial) {
        if (number == eventPortInUse) format = "error: %s already in use ";
        else if (number == eventPortLost) format = "error %s / connection lost ";
        else if (number == eventPortReturned) format = "%s available again ";
    }
    if (!format) return eventText(number);
    char name[sourceNameSize];
    formatSourceName(settings, name);
    std::snprintf(text, sizeof text, format, name);
    return text;
}

size_t formatEventLine(int number, const LocalStamp& when, char (&line)[256], const char* note)
{
    std::memset(line, 0, sizeof line);
    int n = std::snprintf(line, sizeof line, "%02d.%02d.%04d %02d:%02d  event nr. %d ", when.day,
                          when.month, when.year, when.hour, when.minute, number);
    if (n < 0) return 0;
    size_t used = std::strlen(line);
    char named[96];
    std::strncat(line, sourceEventText(number, monitorSettings, named), sizeof line - 1 - used);
    std::strncat(line, note, sizeof line - 1 - std::strlen(line));
    return std::strlen(line);
}

size_t formatFatalLine(int number, const LocalStamp& when, char (&line)[64])
{
    int n = std::snprintf(line, sizeof line, "%02d.%02d.%4d %02d:%02d fatal error nr. %03d\n",
                          when.day, when.month, when.year, when.hour, when.minute, number);
    return n < 0 ? 0 : std::strlen(line);
}

size_t formatFatalMessage(int number, const LocalStamp& when, UiLanguage language, char (&text)[128])
{
    int n = std::snprintf(text, sizeof text, uiText(txtFatalMessage, language), when.day, when.month,
                          when.year, when.hour, when.minute, number);
    return n < 0 ? 0 : std::strlen(text);
}
