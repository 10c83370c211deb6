#pragma once
// The fixed-position text of monitor.ini, without any file access.
#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/monitor_settings.h"

constexpr size_t settingsTextLength = 110;
// The longest file the reader believes and the writer writes: the 110 bytes
// and the lines after them. A longer one is no file a user wrote by hand.
constexpr size_t settingsFileLimit = 65536;

// True when the keys and line feeds of the 110 bytes stand where the template
// has them, as far as the `count` bytes read reach: only then are the bytes
// taken for settings (a file of zeros, cut by a power failure, or another
// program's file, is not). An empty file is intact.
bool settingsTextIsIntact(const uint8_t* bytes, size_t count);

// Takes the values at their byte positions from the `count` bytes of the
// whole file. A position beyond `count` is not in the file: its setting gets
// its default, as if that part of the file were absent. The lines after the
// 110 bytes are read by the table of settings_lines.h.
void decodeSettingsText(const uint8_t* bytes, size_t count, MonitorSettings& settings);

// Normalises SHOW in `settings` (as the file must hold legal values) and
// returns the file's text, SAVE as 300 whatever it is: the 110 bytes, where a port from COM9 on
// stands as '9' (which older readers take as COM8), and then the lines of the
// settings not at their defaults (a port from COM9 on among them) and every line
// kept from the file: a file of a user who changed none of them stays 110 bytes.
std::string encodeSettingsText(MonitorSettings& settings);
