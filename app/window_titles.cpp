#include "app/window_titles.h"

#include <cstdio>

// Texts are Windows-1252: "\xFC" is u-umlaut.
void formatBarographTitle(UiLanguage language, char portDigit, char* text, size_t size)
{
    const char* format = language == English  ? "Air pressure monitor link: COM%d"
                         : language == French ? "Moniteur pression atmospherique COM%d"
                                              : "Zudoderozezavedi Verbindung \xFC" "ber COM%d";
    std::snprintf(text, size, format, portDigit - '0');
}

void formatNmeaTitle(UiLanguage language, char portDigit, char* text, size_t size)
{
    const char* format = language == English  ? "NMEA monitor using COM%d"
                         : language == French ? "Moniteur NMEA liaison COM%d"
                                              : "NMEA Monitor  Verbindung \xFC" "ber COM%d";
    std::snprintf(text, size, format, portDigit - '0');
}
