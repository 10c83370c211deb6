#pragma once
// The window titles the receive poll writes, in the user's language.
#include <cstddef>
#include <cstdint>

#include "acquisition/measurement_state.h"
#include "settings/monitor_settings.h"

constexpr size_t liveTitleSize = 160;

// Barograph mode: counter, UTC time, pressure, both tendencies and the age of
// the stored pressure in whole hours. Returns the title's length.
size_t formatLiveBarographTitle(UiLanguage language, uint32_t sentenceCounter,
                                const UtcStamp& time, uint32_t pressure, int32_t tendency1h,
                                int32_t tendency3h, uint32_t minutesAgo,
                                char (&title)[liveTitleSize]);

// Nmea mode: the number of NMEA lines stored so far. Returns the title's length.
size_t formatNmeaCountTitle(UiLanguage language, uint32_t nmeaLineCounter,
                            char (&title)[liveTitleSize]);
