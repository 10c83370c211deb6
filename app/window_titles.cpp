#include "app/window_titles.h"

#include <cstdio>

#include "settings/shell_seam.h"
#include "settings/ui_text.h"

void formatBarographTitle(UiLanguage language, unsigned port, char* text, size_t size)
{
    std::snprintf(text, size, uiText(txtBarographTitle, language), int(port));
}

void formatNmeaTitle(UiLanguage language, unsigned port, char* text, size_t size)
{
    std::snprintf(text, size, uiText(txtNmeaTitle, language), int(port));
}

namespace {

void setTitle(void (*format)(UiLanguage, unsigned, char*, size_t))
{
    char text[256];
    format(uiLanguage(), monitorSettings.COM, text, sizeof text);
    setShellTitle(text);
}

} // namespace

void setBarographTitle() { setTitle(formatBarographTitle); }

void setNmeaTitle() { setTitle(formatNmeaTitle); }
