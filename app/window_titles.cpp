#include "app/window_titles.h"

#include <cstdio>

#include "settings/shell_seam.h"
#include "settings/ui_text.h"

void formatBarographTitle(UiLanguage language, char portDigit, char* text, size_t size)
{
    std::snprintf(text, size, uiText(txtBarographTitle, language), portDigit - '0');
}

void formatNmeaTitle(UiLanguage language, char portDigit, char* text, size_t size)
{
    std::snprintf(text, size, uiText(txtNmeaTitle, language), portDigit - '0');
}

namespace {

void setTitle(void (*format)(UiLanguage, char, char*, size_t))
{
    char text[256];
    format(uiLanguage(), monitorSettings.COM, text, sizeof text);
    setShellTitle(text);
}

} // namespace

void setBarographTitle() { setTitle(formatBarographTitle); }

void setNmeaTitle() { setTitle(formatNmeaTitle); }
