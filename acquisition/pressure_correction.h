#pragma once
// The barograph's readings as the user wants them: the instrument's own
// correction added, then reduced to sea level for the height the boat lies
// at. The reduction is the standard atmosphere's factor, which does not
// depend on the pressure, so tendencies are multiplied by it alone.
#include <cstdint>
#include <string>

#include "acquisition/measurement_state.h"
#include "settings/monitor_settings.h"

struct PressureCorrection {
    int16_t offset;   // tenths of a hPa
    uint16_t height;  // metres above sea level
};

// k = (1 - 0.0065 h / 288.15) ^ -5.2559; exactly 1 at sea level.
double seaLevelFactor(unsigned heightMetres);

// (p + offset) * k, rounded half away from zero to hundredths of a hPa; 0
// (no value) stays 0.
int64_t correctPressure(int64_t pressure, const PressureCorrection& correction);

// t * k, rounded half away from zero to tenths of a hPa, within -999..999.
int32_t correctTendency(int32_t tendency, const PressureCorrection& correction);

// The reading's pressures and tendencies, as the parser left them, corrected.
void correctReading(CurrentReading& reading, const PressureCorrection& correction);

// A pressure corrected by `from` as `to` would have corrected it.
int32_t recorrectPressure(int32_t pressure, const PressureCorrection& from, const PressureCorrection& to);

// The history and the last reading taken from one correction to another, so
// that the chart shows no step; the tendencies are computed afresh.
void recorrectHistory(const PressureCorrection& from, const PressureCorrection& to);

inline bool operator==(const PressureCorrection& a, const PressureCorrection& b)
{
    return a.offset == b.offset && a.height == b.height;
}
inline bool operator!=(const PressureCorrection& a, const PressureCorrection& b) { return !(a == b); }

// "correction +1.2 hPa, 372 m" in the language (a decimal comma in German
// and French), or "" while neither the offset nor the height is set: the
// printed chart's heading and the data-formats window say it.
std::string correctionInForce(const MonitorSettings& settings, UiLanguage language);
