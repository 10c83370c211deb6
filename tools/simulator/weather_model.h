#pragma once

#include <array>
#include <cstdint>

// The simulated air pressure as a pure function of simulated time (seconds
// since 1970 UTC). Because nothing depends on the order of the calls, the
// device's stored history "minutes ago" is simply the model evaluated earlier.

struct PressureWave {
    double amplitude = 0;      // hPa
    double periodSeconds = 1;
    double phase = 0;          // radians
};

struct WeatherModel {
    std::uint64_t seed = 0;
    double meanPressure = 1013.0;          // hPa
    std::array<PressureWave, 3> waves{};   // passing highs and lows, periods of days
    // Fronts recur every frontSpacing seconds; the one with index 0 has its
    // lowest point at firstFrontTime, which lies some hours before the start so
    // that a fresh 52-hour chart shows its passage.
    std::int64_t firstFrontTime = 0;
    std::int64_t frontSpacing = 0;
};

// Deterministic in (seed, startTime).
WeatherModel makeWeatherModel(std::uint64_t seed, std::int64_t startTime);

// The smooth course (weather systems, daily tide, fronts, slow noise), hPa.
double pressureAt(const WeatherModel& model, double t);

// Only the front contribution (zero or negative), hPa.
double frontDepression(const WeatherModel& model, double t);

// What the device reports as "averaged over the last minute": the mean of the
// course over the minute ending at t, hPa.
double minuteMeanPressure(const WeatherModel& model, std::int64_t t);

// Second-to-second fluctuation (gusts, sensor noise) seen only by the raw
// converter, hPa; a few hundredths.
double converterNoise(const WeatherModel& model, std::int64_t t);

// Uniform in [-1, 1], a pure function of its arguments.
double hashUnit(std::uint64_t seed, std::uint64_t channel, std::int64_t index);
