#pragma once
// The message shown when a record file to erase is there but cannot be deleted.
#include <cstddef>

#include "settings/monitor_settings.h"

void formatEraseRefused(UiLanguage language, const char* fileName, char* text, size_t size);
const char* eraseRefusedCaption(UiLanguage language);
