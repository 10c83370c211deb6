#include "records/event_text.h"

#include <cstdio>
#include <cstring>

#include "settings/ui_text.h"

const char* eventText(int number)
{
    static const char* const texts[] = {
        "no error",                                    // 0
        "error: COM port already in use ",             // 1
        "read error: file MONITOR.INI ",               // 2
        "write error: file MONITOR.INI ",              // 3
        "error FontSet - CreateFont ",                 // 4
        "error FontSet2 ",                             // 5
        "error: file MONITOR.TXT not found ",          // 6
        "no printer found ",                           // 7
        "print error ",                                // 8
        "error RegisterClass ",                        // 9
        "error: OpenWindow ",                          // 10
        "file MONITOR.INI not found ",                 // 11
        "warning: file MONITOR.TXT has been erased ",  // 12
        "error wrinting in file MONITOR.TXT ",         // 13
        "error using port COM1 ",                      // 14
        "error using port COM2 ",                      // 15
        "error using port COM3 ",                      // 16
        "error using port COM4 ",                      // 17
        "warning: more than 256 bytes pending ",       // 18
        "error COMx / ClearCommError ",                // 19
        "error dwErrorFlags ",                         // 20
        "error: WriteFile/ReadFile ",                  // 21
        "error SelectObject ",                         // 22
        "error CreatePen",                             // 23
        "error: not enough space on disk ",            // 24
        "error: CreateBrush",                          // 25
        "#26", "#27", "#28", "#29", "#30", "#31", "#32", "#33", "#34", "#35",
        "",                                            // 36
        " ", " ",                                      // 37, 38
        "#39 ", "#40 ", "#41 ", "#42 ", "#43 ", "#44 ", "#45 ", "#46 ", "#47 ",
        "#48 ", "#49 ", "#50 ", "#51 ",
        " ", " ", " ", " ", " ", " ", " ", " ", " ", " ", " ",  // 52..62
        "readfile error COM port",                     // 63
        "error: SetCommState ",                        // 64
        "error: LastError",                            // 65
        "COM port available again ",                   // 66
        "error: file could not be erased ",            // 67
        "records kept in memory have been written ",   // 68
        "error: too many records kept in memory, oldest dropped ",              // 69
        "error: records kept in memory could not be written at program end ",  // 70
        "wind warning: pressure falling quickly ",     // 71
        "gale alarm: pressure falling very rapidly ",  // 72
        "wind alarm ended ",                           // 73
        "no data received for 60 s ",                  // 74
        "data received again ",                        // 75
        "Windows session ended ",                      // 76
    };
    constexpr int lastText = sizeof(texts) / sizeof(texts[0]) - 1;
    static_assert(lastText == eventSessionEnded, "texts for events 0..76");
    if (number > 100) number = 100;
    if (number == 100) return "unknown error or event ";
    if (number < 0 || number > lastText) return "";
    return texts[number];
}

size_t formatEventLine(int number, const LocalStamp& when, char (&line)[256])
{
    std::memset(line, 0, sizeof line);
    int n = std::snprintf(line, sizeof line, "%02d.%02d.%04d %02d:%02d  event nr. %d ", when.day,
                          when.month, when.year, when.hour, when.minute, number);
    if (n < 0) return 0;
    size_t used = std::strlen(line);
    std::strncat(line, eventText(number), sizeof line - 1 - used);
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
