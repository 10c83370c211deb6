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

void setBarographTitle()
{
    char text[256];
    formatBarographTitle(uiLanguage(), monitorSettings.COM, text, sizeof text);
    setShellTitle(text);
}

void setNmeaTitle()
{
    char text[256];
    formatNmeaTitle(uiLanguage(), monitorSettings.COM, text, sizeof text);
    setShellTitle(text);
}
