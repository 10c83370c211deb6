#pragma once

#include <cstdint>
#include <string>

#include "weather_model.h"

// The device keeps 52 hours of minute values; its counter runs 0..3120.
constexpr std::uint32_t kStoredMinutes = 3120;

// One $PXDR sentence in the device's integer units.
struct BarographReading {
    std::uint32_t pressure = 0;        // hundredths of a hPa, minute mean
    std::uint32_t converterValue = 0;  // top 16 bits of the converter
    std::int32_t tendency1h = 0;       // tenths of a hPa
    std::int32_t tendency3h = 0;       // tenths of a hPa
    std::uint32_t minutesAgo = 0;      // 0..3120
    std::uint32_t pressureThen = 0;    // hundredths of a hPa, stored minutesAgo minutes before
};

// Hundredths of a hPa, rounded, kept to the seven characters of the field.
std::uint32_t pressureHundredths(double hPa);

// The converter is linear in pressure: 52684 counts at 998.60 hPa, 3 counts
// per 0.1 hPa; clamped to 16 bits.
std::uint32_t converterCounts(double hPa);

// The minute counter of the n-th sentence: n * step modulo 3121. Since 3121 is
// prime every step visits each minute 0..3120 once in 3121 sentences; with
// the default step 30 the first 105 sentences hit every 30-minute slot.
std::uint32_t minuteCounterAt(std::uint64_t sentenceIndex, std::uint32_t step);

// The reading the device would send at simulated time t.
BarographReading makeReading(const WeatherModel& model, std::int64_t t, std::uint32_t minutesAgo);

// Sentences without their line end.
std::string formatPxdr(const BarographReading& reading);
std::string formatWixdr(std::uint32_t pressureHundredths);
