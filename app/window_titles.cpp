#include "app/window_titles.h"

#include <cstdio>

#include "settings/shell_seam.h"
#include "settings/source_name.h"
#include "settings/ui_text.h"

void formatBarographTitle(UiLanguage language, const char* source, char* text, size_t size)
{
    std::snprintf(text, size, uiText(txtBarographTitle, language), source);
}

void formatNmeaTitle(UiLanguage language, const char* source, char* text, size_t size)
{
    std::snprintf(text, size, uiText(txtNmeaTitle, language), source);
}

namespace {

void setTitle(void (*format)(UiLanguage, const char*, char*, size_t))
{
    char source[sourceNameSize];
    formatSourceName(monitorSettings, source);
    char text[256];
    format(uiLanguage(), source, text, sizeof text);
    setShellTitle(text);
}

} // namespace

void setBarographTitle() { setTitle(formatBarographTitle); }

void setNmeaTitle() { setTitle(formatNmeaTitle); }

void setModeTitle() { monitorSettings.DATA == Barograph ? setBarographTitle() : setNmeaTitle(); }
