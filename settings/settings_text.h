#pragma once
// The fixed-position text of monitor.ini, without any file access.
#include <cstddef>
#include <cstdint>

#include "settings/monitor_settings.h"

constexpr size_t settingsTextLength = 110;

// Takes the values at their byte positions from the first `count` bytes read
// from the file. A position beyond `count` was not read: its setting gets its
// default, as if that part of the file were absent.
void decodeSettingsText(const uint8_t* bytes, size_t count, MonitorSettings& settings);

// Normalises SAVE and SHOW in `settings` (as the file must hold legal values)
// and writes the 110 bytes of the file into `text`.
void encodeSettingsText(MonitorSettings& settings, char (&text)[settingsTextLength]);
