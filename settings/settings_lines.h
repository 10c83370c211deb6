#pragma once
// The lines of monitor.ini after its 110 fixed bytes: settings that the fixed
// layout has no room for, one row each in one table, which alone reads and
// writes them. Older programs read the 110 bytes and pass over the rest.
#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/monitor_settings.h"

// The settings that stand in a line of their own, in the order they are written.
enum class SettingsLine : uint8_t {
    Port, Send, SendTo, SignalK, SignalKTo, Offset, Height, Warn, Low, Night,
    Source,
};

// Takes the lines after the 110 bytes of the `count` bytes of the whole file.
// A line is `key = value` with blanks allowed around each part and the key in
// any case; of two lines with the same key the last valid one wins. A last
// line without its line feed counts. The
// PORT line counts only where the COM digit is a '9' (`comDigitIsNine`), as
// the writer leaves it. A line not taken (an unknown key, a value out of
// range) is kept as it stood, to be written back. Settings without a valid
// line get their defaults.
void decodeSettingsLines(const uint8_t* bytes, size_t count, bool comDigitIsNine, MonitorSettings& settings);

// Appends the line of each setting that is not at its default, then every
// line kept at reading.
void appendSettingsLines(const MonitorSettings& settings, std::string& text);

// The setting was set from the program: a line of its key kept from the
// file, which the program could not take, is not written back.
void settingSetFromProgram(SettingsLine line);

// No lines kept: as at a start, or after a file that was no settings file.
void forgetKeptSettingsLines();

// Reads a number with at most one decimal, with a point or a comma, in tenths;
// with `signAllowed` a leading '+' or '-'. False for anything else.
bool readTenths(const char* text, size_t length, bool signAllowed, int32_t& tenths);
