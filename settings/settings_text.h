#pragma once
// The fixed-position text of monitor.ini, without any file access.
#include <cstddef>
#include <cstdint>

#include "settings/monitor_settings.h"

constexpr size_t settingsTextLength = 110;
// The reader takes this much: the 110 bytes and the lines after them.
constexpr size_t settingsFileLimit = 512;

// True when the keys and line feeds of the 110 bytes stand where the template
// has them, as far as the `count` bytes read reach: only then are the bytes
// taken for settings (a file of zeros, cut by a power failure, or another
// program's file, is not). An empty file is intact.
bool settingsTextIsIntact(const uint8_t* bytes, size_t count);

// Takes the values at their byte positions from the first `count` bytes read
// from the file. A position beyond `count` was not read: its setting gets its
// default, as if that part of the file were absent. The lines after the 110
// bytes are read by the table of settings_lines.h.
void decodeSettingsText(const uint8_t* bytes, size_t count, MonitorSettings& settings);

// Normalises SHOW in `settings` (as the file must hold legal values) and
// writes the file, SAVE as 300 whatever it is, into `text`: the 110 bytes, where a port from COM9 on
// stands as '9' (which older readers take as COM8), and then the lines of the
// settings not at their defaults (a port from COM9 on among them) and the lines
// kept from the file: a file of a user who changed none of them stays 110
// bytes. Returns the count of bytes.
size_t encodeSettingsText(MonitorSettings& settings, char (&text)[settingsFileLimit]);
