#include "app/information_texts.h"

#include <cstdio>
#include <cstring>

#include "settings/ui_text.h"

namespace {

// The n-th run of digits in a text, as a number.
constexpr unsigned digitRun(const char* text, int n)
{
    unsigned value = 0;
    int run = -1;
    bool inRun = false;
    for (; *text; ++text) {
        bool digit = *text >= '0' && *text <= '9';
        if (digit && !inRun) ++run;
        inRun = digit;
        if (digit && run == n) value = value * 10 + unsigned(*text - '0');
    }
    return value;
}

// The version resource carries the version as numbers: they must say what the text says.
constexpr unsigned versionNumbers[] = {PROGRAM_VERSION_NUMBERS};
static_assert(digitRun(PROGRAM_VERSION_TEXT, 0) == versionNumbers[0] &&
                  digitRun(PROGRAM_VERSION_TEXT, 1) == versionNumbers[1],
              "PROGRAM_VERSION_NUMBERS do not match PROGRAM_VERSION_TEXT");

} // namespace

size_t formatAboutText(UiLanguage language, char* text, size_t size)
{
    int n = std::snprintf(text, size, uiText(txtAboutFormat, language), PROGRAM_VERSION_TEXT,
                          PROGRAM_DATE_TEXT);
    return n < 0 ? 0 : std::strlen(text);
}
