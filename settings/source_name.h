#pragma once
// How the titles, the Setup menu and the log name the source of the lines.
#include <cstddef>

#include "settings/monitor_settings.h"

constexpr size_t sourceNameSize = 32;

// "COM3", "UDP 10110" or "TCP 192.168.4.1:10110". Returns the length.
size_t formatSourceName(const MonitorSettings& settings, char (&name)[sourceNameSize]);
