#pragma once
// The program's version and date, and the about text that shows them.
#include <cstddef>

#include "app/program_version.h"
#include "settings/monitor_settings.h"

// The about text with the version and date filled in; returns its length.
size_t formatAboutText(UiLanguage language, char* text, size_t size);
