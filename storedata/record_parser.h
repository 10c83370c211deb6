#pragma once
// Reading one monitor.txt record line back: fields by byte position, each
// checked against the range the program accepts.
#include <cstdint>

#include "settings/monitor_settings.h"

struct ParsedRecord {
    int32_t day, month, year, hour, minute;
    int32_t pressure;    // hundredths of a hPa
    int32_t tendency1h;  // tenths of a hPa
    int32_t tendency3h;  // tenths of a hPa
    int32_t variation;   // converter counts (the line prints a tenth of it)
    uint8_t windAlarm;   // 1 when the record's cycle had a wind alarm
};

// `line` points at a record line; nothing past its 78th byte (the line end)
// is read, so a line ended by a line feed alone parses alike. In Barograph
// mode fills `record` (a value out of range as the bound it exceeded) and
// answers true when no field was out of range;
// the separators and the record number are not read, so a decimal point
// reads like a comma. The wind alarm digit is 1 for '1' and 0 for any other
// byte, never out of range. In any other mode reads nothing, changes nothing
// and answers true.
bool parseRecordLine(DataMode mode, const char* line, ParsedRecord& record);
