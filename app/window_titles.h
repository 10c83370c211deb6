#pragma once
// The texts of the window title for the two modes, set at start-up and on
// mode and language changes.
#include <cstddef>

#include "settings/monitor_settings.h"

// `source` as formatSourceName gives it: "COM2", "UDP 10110", "TCP 192.168.4.1:10110".
void formatBarographTitle(UiLanguage language, const char* source, char* text, size_t size);
void formatNmeaTitle(UiLanguage language, const char* source, char* text, size_t size);

// Format the title for the current settings and set it on the main window.
void setBarographTitle();
void setNmeaTitle();
// The title of the mode in force: after the source changed.
void setModeTitle();
