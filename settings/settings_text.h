#pragma once
// The fixed-position text of monitor.ini, without any file access.
#include <cstddef>
#include <cstdint>

#include "settings/monitor_settings.h"

constexpr size_t settingsTextLength = 110;
// The reader takes this much: the 110 bytes and the lines after them.
constexpr size_t settingsFileLimit = 512;

// Takes the values at their byte positions from the first `count` bytes read
// from the file. A position beyond `count` was not read: its setting gets its
// default, as if that part of the file were absent. After the 110 bytes, a
// line `PORT=COMn` (9 <= n <= highestPort, ended by its line feed) sets the
// port, which the one digit of the COM line cannot hold; `SEND=1` turns
// sending over UDP on, `SENDTO=a.b.c.d:p` sets where to. Other lines, and
// malformed ones, are passed over: those settings keep their defaults.
void decodeSettingsText(const uint8_t* bytes, size_t count, MonitorSettings& settings);

// Normalises SAVE and SHOW in `settings` (as the file must hold legal values)
// and writes the file into `text`: the 110 bytes, where a port from COM9 on
// stands as '9' (which older readers take as COM8), and then its `PORT=COMn`
// line, `SEND=1` while sending is on and `SENDTO=` when the destination is not
// the default: a file of a user who uses neither stays 110 bytes. Returns the
// count of bytes.
size_t encodeSettingsText(MonitorSettings& settings, char (&text)[settingsFileLimit]);
