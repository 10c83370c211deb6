#include "barograph_sentence.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kCountsPerHpa = 30.0;
constexpr std::uint32_t kCountsAtReference = 52684;
constexpr double kReferenceHpa = 998.60;

// Tenths of a hPa from a difference in hundredths, rounded half away from
// zero and kept within the field's two integer digits.
std::int32_t tendencyTenths(std::int64_t differenceHundredths) {
    const std::int64_t magnitude = (std::llabs(differenceHundredths) + 5) / 10;
    const std::int64_t tenths = differenceHundredths < 0 ? -magnitude : magnitude;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(tenths, -999, 999));
}

}  // namespace

std::uint32_t pressureHundredths(double hPa) {
    const double h = std::round(hPa * 100.0);
    return static_cast<std::uint32_t>(std::clamp(h, 0.0, 999999.0));
}

std::uint32_t converterCounts(double hPa) {
    const double counts = std::round(kCountsAtReference + (hPa - kReferenceHpa) * kCountsPerHpa);
    return static_cast<std::uint32_t>(std::clamp(counts, 0.0, 65535.0));
}

std::uint32_t minuteCounterAt(std::uint64_t sentenceIndex, std::uint32_t step) {
    constexpr std::uint64_t kCounterValues = kStoredMinutes + 1;
    return static_cast<std::uint32_t>((sentenceIndex % kCounterValues) * (step % kCounterValues) % kCounterValues);
}

BarographReading makeReading(const WeatherModel& model, std::int64_t t, std::uint32_t minutesAgo) {
    BarographReading r;
    minutesAgo = std::min(minutesAgo, kStoredMinutes);
    const std::uint32_t now = pressureHundredths(minuteMeanPressure(model, t));
    const std::uint32_t hourAgo = pressureHundredths(minuteMeanPressure(model, t - 3600));
    const std::uint32_t threeHoursAgo = pressureHundredths(minuteMeanPressure(model, t - 3 * 3600));
    r.pressure = now;
    r.converterValue = converterCounts(pressureAt(model, static_cast<double>(t)) + converterNoise(model, t));
    r.tendency1h = tendencyTenths(static_cast<std::int64_t>(now) - hourAgo);
    r.tendency3h = tendencyTenths(static_cast<std::int64_t>(now) - threeHoursAgo);
    r.minutesAgo = minutesAgo;
    // The device stores one value per whole minute, at the minute's end.
    const std::int64_t minuteStart = t - ((t % 60) + 60) % 60;
    r.pressureThen = pressureHundredths(minuteMeanPressure(model, minuteStart - static_cast<std::int64_t>(minutesAgo) * 60));
    return r;
}

std::string formatPxdr(const BarographReading& r) {
    char text[64];
    std::snprintf(text, sizeof text, "$PXDR,%07.2f,%05u,%+05.1f,%+05.1f,-%04u,%07.2f",
                  std::min(r.pressure, 999999u) / 100.0, std::min(r.converterValue, 99999u),
                  std::clamp(r.tendency1h, -999, 999) / 10.0, std::clamp(r.tendency3h, -999, 999) / 10.0,
                  std::min(r.minutesAgo, 9999u), std::min(r.pressureThen, 999999u) / 100.0);
    return text;
}

std::string formatWixdr(std::uint32_t pressureHundredths) {
    char text[40];
    std::snprintf(text, sizeof text, "$WIXDR,P,%.4f,B", pressureHundredths / 100000.0);
    return text;
}
