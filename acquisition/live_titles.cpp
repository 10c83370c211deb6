#include "acquisition/live_titles.h"

#include <cstdio>
#include <cstring>

#include "settings/ui_text.h"

size_t formatLiveBarographTitle(UiLanguage language, uint32_t sentenceCounter,
                                const UtcStamp& time, uint32_t pressure, int32_t tendency1h,
                                int32_t tendency3h, uint32_t minutesAgo,
                                char (&title)[liveTitleSize])
{
    int n = std::snprintf(title, sizeof title, uiText(txtLiveBarographTitle, language),
                          static_cast<unsigned>(sentenceCounter), static_cast<int>(time.hour),
                          static_cast<int>(time.minute), pressure * 0.01, tendency1h * 0.1,
                          tendency3h * 0.1, static_cast<unsigned>(minutesAgo / 60));
    return n < 0 ? 0 : std::strlen(title);
}

size_t formatNmeaCountTitle(UiLanguage language, uint32_t nmeaLineCounter,
                            char (&title)[liveTitleSize])
{
    int n = std::snprintf(title, sizeof title, uiText(txtNmeaCountTitle, language),
                          static_cast<unsigned>(nmeaLineCounter));
    return n < 0 ? 0 : std::strlen(title);
}
