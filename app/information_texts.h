#pragma once
// The texts of the four information windows of the Help menu.
#include <cstddef>

#include "app/program_version.h"
#include "settings/monitor_settings.h"

constexpr const char* programVersion = PROGRAM_VERSION_TEXT;
constexpr const char* programDate = PROGRAM_DATE_TEXT;

struct InformationText {
    const char* caption;
    const char* text;  // the about text is a format with the version and the date
};

InformationText helpText(UiLanguage language);
InformationText aboutText(UiLanguage language);
InformationText linkCableText(UiLanguage language);
InformationText dataFormatsText(UiLanguage language);

// The about text with the version and date filled in; returns its length.
size_t formatAboutText(UiLanguage language, char* text, size_t size);
