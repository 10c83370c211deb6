#include "acquisition/live_titles.h"

#include <cstdio>
#include <cstring>

// Texts are Windows-1252: "\xE4" is a-umlaut.

size_t formatLiveBarographTitle(UiLanguage language, uint32_t sentenceCounter,
                                const UtcStamp& time, uint32_t pressure, int32_t tendency1h,
                                int32_t tendency3h, uint32_t minutesAgo,
                                char (&title)[liveTitleSize])
{
    const char* format =
        language == English
            ? "Air pressure monitor %u %02d:%02d %6.1f hPa %+4.1f hPa/hr %+4.1f hPa/3hrs (- %uhr)"
        : language == French
            ? "Pression atmospherique %u %02d:%02d %6.1f hPa %+4.1f hPa/hr %+4.1f hPa/3hrs (- %uhr)"
            : "Zudoderozezavedi %u %02d:%02d %6.1f hPa %+4.1f hPa/Std %+4.1f hPa/3Std (- %uh)";
    int n = std::snprintf(title, sizeof title, format, static_cast<unsigned>(sentenceCounter),
                          static_cast<int>(time.hour), static_cast<int>(time.minute),
                          pressure * 0.01, tendency1h * 0.1, tendency3h * 0.1,
                          static_cast<unsigned>(minutesAgo / 60));
    return n < 0 ? 0 : std::strlen(title);
}

size_t formatNmeaCountTitle(UiLanguage language, uint32_t nmeaLineCounter,
                            char (&title)[liveTitleSize])
{
    const char* format = language == English  ? "%u NMEA - records "
                         : language == French ? "%u NMEA "
                                              : "%u NMEA - Datens\xE4" "tze ";
    int n = std::snprintf(title, sizeof title, format, static_cast<unsigned>(nmeaLineCounter));
    return n < 0 ? 0 : std::strlen(title);
}
