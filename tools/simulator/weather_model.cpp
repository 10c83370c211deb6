#include "weather_model.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kHour = 3600.0;
constexpr double kDay = 86400.0;

enum NoiseChannel : std::uint64_t {
    kSetupChannel = 1,
    kFrontChannel = 2,
    kSlowNoiseChannel = 3,
    kFastNoiseChannel = 4,
    kConverterChannel = 5,
};

std::uint64_t splitMix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// Uniform in [lo, hi], drawn from the setup stream.
double setupValue(std::uint64_t seed, int which, double lo, double hi) {
    return lo + (hi - lo) * (hashUnit(seed, kSetupChannel, which) + 1.0) / 2.0;
}

double smoothStep(double x) {
    if (x <= 0) return 0;
    if (x >= 1) return 1;
    return x * x * (3 - 2 * x);
}

// Smoothly interpolated random values at knots `spacing` seconds apart, so the
// noise is continuous and the same whichever way time is walked.
double valueNoise(std::uint64_t seed, std::uint64_t channel, double t, double spacing) {
    const double pos = t / spacing;
    const double knot = std::floor(pos);
    const double frac = pos - knot;
    const auto k = static_cast<std::int64_t>(knot);
    const double a = hashUnit(seed, channel, k);
    const double b = hashUnit(seed, channel, k + 1);
    const double w = (1 - std::cos(frac * kPi)) / 2;
    return a + (b - a) * w;
}

struct Front {
    double lowestAt;   // seconds
    double depth;      // hPa
    double fall;       // seconds from onset to the lowest point
    double recovery;   // seconds from the lowest point back to normal
};

Front frontNumber(const WeatherModel& m, std::int64_t index) {
    const auto channel = [&](int field) { return hashUnit(m.seed, kFrontChannel, index * 8 + field); };
    Front f;
    // Later fronts wander by up to half a day; the first stays where placed.
    const double jitter = index == 0 ? 0.0 : channel(0) * 12 * kHour;
    f.lowestAt = static_cast<double>(m.firstFrontTime) + static_cast<double>(index) * static_cast<double>(m.frontSpacing) + jitter;
    f.depth = 6.5 + 2.5 * channel(1);            // 4..9 hPa
    f.fall = (9 + 3 * channel(2)) * kHour;       // 6..12 h
    f.recovery = (15 + 5 * channel(3)) * kHour;  // 10..20 h
    return f;
}

double frontShape(const Front& f, double t) {
    const double dt = t - f.lowestAt;
    if (dt <= 0) return -f.depth * smoothStep((dt + f.fall) / f.fall);
    return -f.depth * (1 - smoothStep(dt / f.recovery));
}

}  // namespace

double hashUnit(std::uint64_t seed, std::uint64_t channel, std::int64_t index) {
    std::uint64_t h = splitMix(seed ^ splitMix(channel * 0x100000001B3ull));
    h = splitMix(h ^ static_cast<std::uint64_t>(index));
    return static_cast<double>(h >> 11) / static_cast<double>(1ull << 53) * 2.0 - 1.0;
}

WeatherModel makeWeatherModel(std::uint64_t seed, std::int64_t startTime) {
    WeatherModel m;
    m.seed = seed;
    m.meanPressure = setupValue(seed, 0, 1009.0, 1017.0);
    // Long waves carry most of the swing; together at most about 15 hPa.
    const double amplitudes[3][2] = {{6.0, 8.0}, {3.5, 5.0}, {1.5, 2.5}};
    const double periodsDays[3][2] = {{4.5, 6.5}, {2.3, 3.7}, {1.3, 1.9}};
    for (int i = 0; i < 3; ++i) {
        m.waves[i].amplitude = setupValue(seed, 1 + 3 * i, amplitudes[i][0], amplitudes[i][1]);
        m.waves[i].periodSeconds = setupValue(seed, 2 + 3 * i, periodsDays[i][0], periodsDays[i][1]) * kDay;
        m.waves[i].phase = setupValue(seed, 3 + 3 * i, 0, 2 * kPi);
    }
    m.firstFrontTime = startTime - static_cast<std::int64_t>(setupValue(seed, 10, 8, 30) * kHour);
    m.frontSpacing = static_cast<std::int64_t>(setupValue(seed, 11, 3.0, 4.0) * kDay);
    return m;
}

double frontDepression(const WeatherModel& m, double t) {
    const double rel = (t - static_cast<double>(m.firstFrontTime)) / static_cast<double>(m.frontSpacing);
    const auto nearest = static_cast<std::int64_t>(std::floor(rel + 0.5));
    // Fronts last at most 32 hours and are at least 2.5 days apart, so only
    // the nearest one and its neighbours can reach t.
    double sum = 0;
    for (std::int64_t k = nearest - 1; k <= nearest + 1; ++k) sum += frontShape(frontNumber(m, k), t);
    return sum;
}

double pressureAt(const WeatherModel& m, double t) {
    double p = m.meanPressure;
    for (const PressureWave& w : m.waves) p += w.amplitude * std::sin(2 * kPi * t / w.periodSeconds + w.phase);
    // The semidiurnal atmospheric tide: highs near 10 and 22 o'clock.
    p += 0.6 * std::cos(2 * kPi * (t - 10 * kHour) / (12 * kHour));
    p += frontDepression(m, t);
    p += 0.15 * valueNoise(m.seed, kSlowNoiseChannel, t, 20 * 60.0);
    p += 0.04 * valueNoise(m.seed, kFastNoiseChannel, t, 3 * 60.0);
    return p;
}

double minuteMeanPressure(const WeatherModel& m, std::int64_t t) {
    // Six samples, one in the middle of each ten-second part of the minute.
    double sum = 0;
    for (int i = 0; i < 6; ++i) sum += pressureAt(m, static_cast<double>(t) - 55.0 + 10.0 * i);
    return sum / 6.0;
}

double converterNoise(const WeatherModel& m, std::int64_t t) {
    return 0.05 * hashUnit(m.seed, kConverterChannel, t);
}
