#pragma once
// The texts of the window title for the two modes, set at start-up and on
// mode and language changes.
#include <cstddef>

#include "settings/monitor_settings.h"

void formatBarographTitle(UiLanguage language, unsigned port, char* text, size_t size);
void formatNmeaTitle(UiLanguage language, unsigned port, char* text, size_t size);

// Format the title for the current settings and set it on the main window.
void setBarographTitle();
void setNmeaTitle();
