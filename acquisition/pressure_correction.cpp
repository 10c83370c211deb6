#include "acquisition/pressure_correction.h"

#include <cmath>
#include <cstdio>

#include "settings/ui_text.h"

namespace {

int64_t roundAway(double value) { return static_cast<int64_t>(value < 0 ? value - 0.5 : value + 0.5); }

// Hundredths of a hPa a history slot or a reading can hold.
int64_t withinSlot(int64_t pressure) { return pressure < 0 ? 0 : pressure > INT32_MAX ? INT32_MAX : pressure; }

int32_t withinTendency(int64_t tendency) { return static_cast<int32_t>(tendency > 999 ? 999 : tendency < -999 ? -999 : tendency); }

} // namespace

double seaLevelFactor(unsigned heightMetres)
{
    return std::pow(1.0 - 0.0065 * heightMetres / 288.15, -5.2559);
}

int64_t correctPressure(int64_t pressure, const PressureCorrection& correction)
{
    if (pressure == 0) return 0;
    return withinSlot(roundAway((pressure + correction.offset * 10.0) * seaLevelFactor(correction.height)));
}

int32_t correctTendency(int32_t tendency, const PressureCorrection& correction)
{
    return withinTendency(roundAway(tendency * seaLevelFactor(correction.height)));
}

void correctReading(CurrentReading& reading, const PressureCorrection& correction)
{
    reading.pressure = static_cast<uint32_t>(correctPressure(reading.pressure, correction));
    reading.pressureThen = static_cast<uint32_t>(correctPressure(reading.pressureThen, correction));
    reading.tendency1h = correctTendency(reading.tendency1h, correction);
    reading.tendency3h = correctTendency(reading.tendency3h, correction);
}

int32_t recorrectPressure(int32_t pressure, const PressureCorrection& from, const PressureCorrection& to)
{
    if (pressure == 0) return 0;
    // Back to what the barograph sent, then forward; the sent value had two
    // decimals, so it is rounded there first and a change there and back
    // returns the same hundredths.
    const int64_t sent = roundAway(pressure / seaLevelFactor(from.height) - from.offset * 10.0);
    return static_cast<int32_t>(correctPressure(sent, to));
}

void recorrectHistory(const PressureCorrection& from, const PressureCorrection& to)
{
    if (from == to) return;
    for (HistorySlot& slot : pressureHistory.slots) slot.pressure = recorrectPressure(slot.pressure, from, to);
    computeTendencies();
    CurrentReading& r = currentReading;
    r.pressure = static_cast<uint32_t>(recorrectPressure(static_cast<int32_t>(r.pressure), from, to));
    r.pressureThen = static_cast<uint32_t>(recorrectPressure(static_cast<int32_t>(r.pressureThen), from, to));
    const double factor = seaLevelFactor(to.height) / seaLevelFactor(from.height);
    r.tendency1h = withinTendency(roundAway(r.tendency1h * factor));
    r.tendency3h = withinTendency(roundAway(r.tendency3h * factor));
}

std::string correctionInForce(const MonitorSettings& settings, UiLanguage language)
{
    if (settings.OFFSET == 0 && settings.HEIGHT == 0) return "";
    const int magnitude = settings.OFFSET < 0 ? -settings.OFFSET : settings.OFFSET;
    char offset[16], text[80];
    std::snprintf(offset, sizeof offset, "%s%d%c%d", settings.OFFSET < 0 ? "-" : settings.OFFSET > 0 ? "+" : "",
                  magnitude / 10, language == English ? '.' : ',', magnitude % 10);
    std::snprintf(text, sizeof text, uiText(txtCorrectionInForce, language), offset, unsigned(settings.HEIGHT));
    return text;
}
