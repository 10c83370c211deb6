#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "barograph_sentence.h"
#include "nmea_sentences.h"
#include "simulator_options.h"
#include "utc_time.h"
#include "weather_model.h"

namespace {

const std::int64_t kStart = 1709294400;  // 2024-03-01 12:00 UTC

// Reads a $PXDR line the way the receiving program does: by character
// position, digits only where the device puts digits.
struct DecodedPxdr {
    long pressure, converter, tendency1h, tendency3h, minutes, pressureThen;
};

int digit(const std::string& s, std::size_t pos) {
    EXPECT_TRUE(s[pos] >= '0' && s[pos] <= '9') << "no digit at " << pos << " in " << s;
    return s[pos] - '0';
}

long hundredthsAt(const std::string& s, std::size_t p) {
    return 100000L * digit(s, p) + 10000L * digit(s, p + 1) + 1000L * digit(s, p + 2) + 100L * digit(s, p + 3) +
           10L * digit(s, p + 5) + digit(s, p + 6);
}

long tenthsAt(const std::string& s, std::size_t p) {
    const long v = 100L * digit(s, p + 1) + 10L * digit(s, p + 2) + digit(s, p + 4);
    return s[p] == '-' ? -v : v;
}

DecodedPxdr decodePxdr(const std::string& s) {
    EXPECT_EQ(s.size(), 45u) << s;
    EXPECT_EQ(s.substr(0, 6), "$PXDR,");
    for (std::size_t comma : {5, 13, 19, 25, 31, 37}) EXPECT_EQ(s[comma], ',') << "pos " << comma << " in " << s;
    for (std::size_t point : {10, 23, 29, 42}) EXPECT_EQ(s[point], '.') << "pos " << point << " in " << s;
    for (std::size_t sign : {20, 26}) EXPECT_TRUE(s[sign] == '+' || s[sign] == '-') << s;
    EXPECT_EQ(s[32], '-') << s;
    DecodedPxdr d{};
    d.pressure = hundredthsAt(s, 6);
    d.converter = 10000L * digit(s, 14) + 1000L * digit(s, 15) + 100L * digit(s, 16) + 10L * digit(s, 17) + digit(s, 18);
    d.tendency1h = tenthsAt(s, 20);
    d.tendency3h = tenthsAt(s, 26);
    d.minutes = 1000L * digit(s, 33) + 100L * digit(s, 34) + 10L * digit(s, 35) + digit(s, 36);
    d.pressureThen = hundredthsAt(s, 38);
    return d;
}

long modelHundredths(const WeatherModel& m, std::int64_t t) {
    return std::lround(minuteMeanPressure(m, t) * 100.0);
}

// ---------------------------------------------------------------- $PXDR text

TEST(PxdrFormat, WritesTheDeviceExampleByteForByte) {
    BarographReading r;
    r.pressure = 99860;
    r.converterValue = 52684;
    r.tendency1h = 12;
    r.tendency3h = 35;
    r.minutesAgo = 300;
    r.pressureThen = 99540;
    EXPECT_EQ(formatPxdr(r), "$PXDR,0998.60,52684,+01.2,+03.5,-0300,0995.40");
}

TEST(PxdrFormat, NegativeTendenciesHighPressureAndZeroes) {
    BarographReading r{101325, 40000, -27, -104, 3119, 102000};
    EXPECT_EQ(formatPxdr(r), "$PXDR,1013.25,40000,-02.7,-10.4,-3119,1020.00");
    BarographReading z{95001, 7, 0, -1, 0, 100000};
    EXPECT_EQ(formatPxdr(z), "$PXDR,0950.01,00007,+00.0,-00.1,-0000,1000.00");
}

TEST(PxdrFormat, OutOfRangeValuesKeepEveryFieldInPlace) {
    BarographReading r{1234567, 123456, 5000, -5000, 99999, 1234567};
    const std::string s = formatPxdr(r);
    EXPECT_EQ(s, "$PXDR,9999.99,99999,+99.9,-99.9,-9999,9999.99");
    decodePxdr(s);
}

TEST(PxdrFormat, WixdrGivesThePressureInBar) {
    EXPECT_EQ(formatWixdr(99860), "$WIXDR,P,0.9986,B");
    EXPECT_EQ(formatWixdr(102000), "$WIXDR,P,1.0200,B");
    EXPECT_EQ(formatWixdr(95000), "$WIXDR,P,0.9500,B");
}

// ------------------------------------------------- sentences from the model

class ModelSentences : public ::testing::Test {
protected:
    WeatherModel model = makeWeatherModel(7, kStart);
};

TEST_F(ModelSentences, EveryFieldSitsAtItsFixedPositionAndMatchesTheReading) {
    for (std::uint64_t n = 0; n < 4000; ++n) {
        const std::int64_t t = kStart + static_cast<std::int64_t>(n) * 97;  // spans four and a half days
        const BarographReading r = makeReading(model, t, minuteCounterAt(n, 30));
        const std::string s = formatPxdr(r);
        const DecodedPxdr d = decodePxdr(s);
        ASSERT_EQ(d.pressure, static_cast<long>(r.pressure)) << s;
        ASSERT_EQ(d.converter, static_cast<long>(r.converterValue)) << s;
        ASSERT_EQ(d.tendency1h, r.tendency1h) << s;
        ASSERT_EQ(d.tendency3h, r.tendency3h) << s;
        ASSERT_EQ(d.minutes, static_cast<long>(r.minutesAgo)) << s;
        ASSERT_EQ(d.pressureThen, static_cast<long>(r.pressureThen)) << s;
        ASSERT_EQ(formatWixdr(r.pressure).size(), 17u);
    }
}

TEST_F(ModelSentences, PressureIsTheMinuteMeanOfTheCourse) {
    for (std::int64_t t = kStart - 86400; t < kStart + 86400; t += 613) {
        EXPECT_EQ(static_cast<long>(makeReading(model, t, 0).pressure), modelHundredths(model, t));
    }
}

TEST_F(ModelSentences, TendenciesAreTheChangeOverOneAndThreeHours) {
    int nonZero1h = 0, nonZero3h = 0;
    for (std::int64_t t = kStart - 3 * 86400; t < kStart + 3 * 86400; t += 1237) {
        const BarographReading now = makeReading(model, t, 0);
        const long hourAgo = makeReading(model, t - 3600, 0).pressure;
        const long threeHoursAgo = makeReading(model, t - 3 * 3600, 0).pressure;
        const long diff1 = static_cast<long>(now.pressure) - hourAgo;
        const long diff3 = static_cast<long>(now.pressure) - threeHoursAgo;
        // Tenths from hundredths: rounding may move it by half a tenth, no more.
        EXPECT_LE(std::labs(now.tendency1h * 10L - diff1), 5) << "t=" << t;
        EXPECT_LE(std::labs(now.tendency3h * 10L - diff3), 5) << "t=" << t;
        nonZero1h += now.tendency1h != 0;
        nonZero3h += now.tendency3h != 0;
    }
    // A course that never changes would pass the checks above trivially.
    EXPECT_GT(nonZero1h, 100);
    EXPECT_GT(nonZero3h, 200);
}

TEST_F(ModelSentences, StoredPressureIsWhatTheDeviceReportedThatManyMinutesAgo) {
    for (std::uint64_t n = 0; n < 3121; n += 3) {
        const std::int64_t t = kStart + static_cast<std::int64_t>(n);
        const std::uint32_t minutes = minuteCounterAt(n, 30);
        const BarographReading r = makeReading(model, t, minutes);
        const std::int64_t minuteStart = t - t % 60;
        const std::int64_t then = minuteStart - static_cast<std::int64_t>(minutes) * 60;
        EXPECT_EQ(r.pressureThen, makeReading(model, then, 0).pressure) << "minutes " << minutes;
    }
    // At age 0 the stored value is the start of the running minute, close to now.
    const BarographReading r = makeReading(model, kStart + 59, 0);
    EXPECT_LE(std::labs(static_cast<long>(r.pressure) - static_cast<long>(r.pressureThen)), 10);
}

TEST_F(ModelSentences, MinuteCounterBeyondTheStoreIsHeldAt3120) {
    const BarographReading r = makeReading(model, kStart, 5000);
    EXPECT_EQ(r.minutesAgo, 3120u);
    EXPECT_EQ(r.pressureThen, makeReading(model, kStart - 3120 * 60, 0).pressure);
}

// ------------------------------------------------------------ minute counter

TEST(MinuteCounter, DefaultStepFillsEverySlotOfTheChartInOneSweep) {
    std::vector<int> hits(105, 0);
    for (std::uint64_t n = 0; n < 105; ++n) {
        const std::uint32_t m = minuteCounterAt(n, 30);
        ASSERT_LE(m, 3120u);
        ++hits[m / 30];
    }
    for (int slot = 0; slot < 105; ++slot) EXPECT_EQ(hits[slot], 1) << "slot " << slot;
}

TEST(MinuteCounter, EveryStepVisitsEachMinuteOnceAndStaysInRange) {
    for (std::uint32_t step : {1u, 7u, 30u, 45u, 1000u, 3120u}) {
        std::vector<bool> seen(3121, false);
        for (std::uint64_t n = 0; n < 3121; ++n) {
            const std::uint32_t m = minuteCounterAt(n + 1000000, step);
            ASSERT_LE(m, 3120u) << "step " << step;
            EXPECT_FALSE(seen[m]) << "step " << step << " repeats " << m;
            seen[m] = true;
        }
    }
}

TEST(MinuteCounter, ChangesFromOneSentenceToTheNext) {
    for (std::uint64_t n = 0; n < 10000; ++n) ASSERT_NE(minuteCounterAt(n, 30), minuteCounterAt(n + 1, 30));
}

// ------------------------------------------------------------------ converter

TEST(Converter, LinearAroundTheReferencePoint) {
    EXPECT_EQ(converterCounts(998.60), 52684u);
    EXPECT_EQ(converterCounts(998.70), 52687u);
    EXPECT_EQ(converterCounts(998.50), 52681u);
    EXPECT_EQ(converterCounts(1008.60), 52984u);
    EXPECT_EQ(converterCounts(0.0), 22726u);
    EXPECT_EQ(converterCounts(5000.0), 65535u);
    EXPECT_EQ(converterCounts(-2000.0), 0u);
}

TEST(Converter, FiveMinuteVariationIsSmallButNotZero) {
    for (std::uint64_t seed : {1u, 2u, 3u}) {
        const WeatherModel m = makeWeatherModel(seed, kStart);
        std::vector<long> variations;
        for (std::int64_t cycle = 0; cycle < 48; ++cycle) {  // four hours of the front's fall
            long lo = 99999, hi = 0;
            for (std::int64_t s = 0; s < 300; ++s) {
                const long c = makeReading(m, m.firstFrontTime - 5 * 3600 + cycle * 300 + s, 0).converterValue;
                lo = std::min(lo, c);
                hi = std::max(hi, c);
            }
            variations.push_back(hi - lo);
        }
        std::sort(variations.begin(), variations.end());
        EXPECT_GE(variations.front(), 1) << "seed " << seed;
        EXPECT_LE(variations.back(), 30) << "seed " << seed;
        const long median = variations[variations.size() / 2];
        EXPECT_GE(median, 3) << "seed " << seed;
        EXPECT_LE(median, 15) << "seed " << seed;
    }
}

TEST(Converter, FollowsTheReportedPressure) {
    const WeatherModel m = makeWeatherModel(4, kStart);
    for (std::int64_t t = kStart; t < kStart + 5 * 86400; t += 4999) {
        const BarographReading r = makeReading(m, t, 0);
        EXPECT_LE(std::labs(static_cast<long>(r.converterValue) - static_cast<long>(converterCounts(r.pressure / 100.0))), 6);
    }
}

// -------------------------------------------------------------- weather model

TEST(Weather, RealisticRangeAndRatesOverAMonth) {
    for (std::uint64_t seed = 0; seed < 20; ++seed) {
        const WeatherModel m = makeWeatherModel(seed, kStart);
        double lo = 1e9, hi = -1e9, steepestHour = 0;
        for (std::int64_t t = kStart - 15 * 86400; t < kStart + 15 * 86400; t += 600) {
            const double p = pressureAt(m, static_cast<double>(t));
            lo = std::min(lo, p);
            hi = std::max(hi, p);
            steepestHour = std::max(steepestHour, std::fabs(p - pressureAt(m, static_cast<double>(t - 3600))));
        }
        EXPECT_GE(lo, 975.0) << "seed " << seed;
        EXPECT_LE(hi, 1050.0) << "seed " << seed;
        EXPECT_GE(hi - lo, 12.0) << "seed " << seed;       // weather systems pass
        EXPECT_LE(steepestHour, 3.5) << "seed " << seed;   // no storm-like jumps
        EXPECT_GE(steepestHour, 0.8) << "seed " << seed;   // and the front is felt
    }
}

TEST(Weather, AFrontPassageShowsInTheFirst52HourChart) {
    for (std::uint64_t seed = 0; seed < 20; ++seed) {
        const WeatherModel m = makeWeatherModel(seed, kStart);
        double deepest = 0;
        std::int64_t deepestAt = 0;
        for (std::int64_t t = kStart - 52 * 3600; t <= kStart; t += 300) {
            const double d = frontDepression(m, static_cast<double>(t));
            if (d < deepest) {
                deepest = d;
                deepestAt = t;
            }
        }
        EXPECT_LE(deepest, -4.0) << "seed " << seed;
        // It falls for hours before the lowest point and recovers after it.
        EXPECT_GT(frontDepression(m, static_cast<double>(deepestAt - 12 * 3600)), deepest + 3.0) << "seed " << seed;
        EXPECT_GT(frontDepression(m, static_cast<double>(deepestAt + 20 * 3600)), deepest + 3.0) << "seed " << seed;
        // Between fronts the air is undisturbed.
        EXPECT_EQ(frontDepression(m, static_cast<double>(deepestAt + 40 * 3600)), 0.0) << "seed " << seed;
    }
}

TEST(Weather, HistoryBeforeTheStartExists) {
    const WeatherModel m = makeWeatherModel(3, kStart);
    const BarographReading r = makeReading(m, kStart, 3120);
    EXPECT_GT(r.pressureThen, 95000u);
    EXPECT_LT(r.pressureThen, 105000u);
}

TEST(Weather, SameSeedSameBytesOtherSeedOtherBytes) {
    const WeatherModel a = makeWeatherModel(42, kStart);
    const WeatherModel b = makeWeatherModel(42, kStart);
    const WeatherModel c = makeWeatherModel(43, kStart);
    int differences = 0;
    for (std::uint64_t n = 0; n < 300; ++n) {
        const std::int64_t t = kStart + static_cast<std::int64_t>(n);
        const std::string sa = formatPxdr(makeReading(a, t, minuteCounterAt(n, 30)));
        ASSERT_EQ(sa, formatPxdr(makeReading(b, t, minuteCounterAt(n, 30))));
        differences += sa != formatPxdr(makeReading(c, t, minuteCounterAt(n, 30)));
    }
    EXPECT_GT(differences, 250);
    const GpsTrack ga = makeGpsTrack(42, kStart), gb = makeGpsTrack(42, kStart), gc = makeGpsTrack(43, kStart);
    EXPECT_EQ(gpsSentences(ga, kStart + 5), gpsSentences(gb, kStart + 5));
    EXPECT_NE(gpsSentences(ga, kStart + 5), gpsSentences(gc, kStart + 5));
}

// ---------------------------------------------------------------------- NMEA

std::vector<std::string> fields(const std::string& sentence) {
    const std::string body = sentence.substr(1, sentence.find('*') - 1);
    std::vector<std::string> out;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = body.find(',', from);
        out.push_back(body.substr(from, comma - from));
        if (comma == std::string::npos) return out;
        from = comma + 1;
    }
}

double angleFromField(const std::string& value, const std::string& hemisphere, int degreeDigits) {
    const double deg = std::stod(value.substr(0, degreeDigits)) + std::stod(value.substr(degreeDigits)) / 60.0;
    return hemisphere == "S" || hemisphere == "W" ? -deg : deg;
}

TEST(Nmea, ChecksumOfAKnownSentence) {
    EXPECT_EQ(nmeaChecksum("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"), "47");
    EXPECT_EQ(nmeaSentence("A"), "$A*41");
}

TEST(Nmea, EverySentenceOfADayCarriesAValidChecksum) {
    const GpsTrack g = makeGpsTrack(5, kStart);
    for (std::int64_t t = kStart; t < kStart + 86400; t += 317) {
        for (const std::string& s : gpsSentences(g, t)) {
            ASSERT_GE(s.size(), 10u);
            ASSERT_EQ(s[0], '$');
            const std::size_t star = s.find('*');
            ASSERT_EQ(star, s.size() - 3) << s;
            unsigned sum = 0;
            for (std::size_t i = 1; i < star; ++i) sum ^= static_cast<unsigned char>(s[i]);
            EXPECT_EQ(std::strtoul(s.substr(star + 1).c_str(), nullptr, 16), sum) << s;
            EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(s[star + 1])) && !std::islower(static_cast<unsigned char>(s[star + 1])) &&
                        std::isxdigit(static_cast<unsigned char>(s[star + 2])) && !std::islower(static_cast<unsigned char>(s[star + 2])))
                << s;
            EXPECT_LE(s.size() + 2, 82u) << s;  // the NMEA line limit, CR LF included
        }
    }
}

TEST(Nmea, OneSecondHoldsTheWholeMixAndFits4800Baud) {
    const GpsTrack g = makeGpsTrack(9, kStart);
    for (std::int64_t t = kStart; t < kStart + 86400; t += 3001) {
        const std::vector<std::string> mix = gpsSentences(g, t);
        std::vector<std::string> kinds;
        std::size_t bytes = 0;
        for (const std::string& s : mix) {
            kinds.push_back(s.substr(1, 5));
            bytes += s.size() + 2;
        }
        EXPECT_EQ(kinds, (std::vector<std::string>{"GPRMC", "GPGGA", "GPGSA", "GPGSV", "GPGSV", "GPGSV", "GPVTG"}));
        EXPECT_LE(bytes, 480u);  // 4800 baud, 10 bits a byte
        for (int i = 0; i < 3; ++i) {
            const auto f = fields(mix[3 + i]);
            EXPECT_EQ(f[1], "3");
            EXPECT_EQ(f[2], std::to_string(i + 1));
            EXPECT_EQ(f[3], "10");
            EXPECT_EQ(f.size(), i < 2 ? 20u : 12u) << mix[3 + i];
        }
    }
}

TEST(Nmea, TimeDateAndStatusFields) {
    const GpsTrack g = makeGpsTrack(2, kStart);
    const std::int64_t t = kStart + 3 * 3600 + 25 * 60 + 9;  // 2024-03-01 15:25:09
    const std::vector<std::string> mix = gpsSentences(g, t);
    const auto rmc = fields(mix[0]);
    ASSERT_EQ(rmc.size(), 13u) << mix[0];
    EXPECT_EQ(rmc[1], "152509.00");
    EXPECT_EQ(rmc[2], "A");
    EXPECT_EQ(rmc[9], "010324");
    const auto gga = fields(mix[1]);
    ASSERT_EQ(gga.size(), 15u) << mix[1];
    EXPECT_EQ(gga[1], "152509.00");
    EXPECT_EQ(gga[6], "1");
    EXPECT_EQ(gga[2], rmc[3]);
    EXPECT_EQ(gga[4], rmc[5]);
    const auto gsa = fields(mix[2]);
    ASSERT_EQ(gsa.size(), 18u) << mix[2];
    int used = 0;
    for (int i = 3; i < 15; ++i) used += !gsa[i].empty();
    EXPECT_EQ(used, std::stoi(gga[7]));
    const auto vtg = fields(mix[6]);
    ASSERT_EQ(vtg.size(), 10u) << mix[6];
    EXPECT_EQ(vtg[1], rmc[8]);  // course
    EXPECT_EQ(vtg[5], rmc[7]);  // speed in knots
}

TEST(Nmea, PositionMovesSlowlyAtTheReportedSpeedAndCourse) {
    const GpsTrack g = makeGpsTrack(11, kStart);
    for (std::int64_t t = kStart; t < kStart + 6 * 3600; t += 1811) {
        const auto a = fields(gpsSentences(g, t)[0]);
        const auto b = fields(gpsSentences(g, t + 10)[0]);
        const double lat1 = angleFromField(a[3], a[4], 2), lon1 = angleFromField(a[5], a[6], 3);
        const double lat2 = angleFromField(b[3], b[4], 2), lon2 = angleFromField(b[5], b[6], 3);
        const double north = (lat2 - lat1) * 111320.0;
        const double east = (lon2 - lon1) * 111320.0 * std::cos(lat1 * M_PI / 180.0);
        const double metresPerSecond = std::hypot(north, east) / 10.0;
        const double knots = std::stod(a[7]);
        EXPECT_GT(knots, 2.0);
        EXPECT_LT(knots, 10.0);
        EXPECT_NEAR(metresPerSecond, knots * 1852.0 / 3600.0, 0.25) << "t=" << t;
        const double course = std::fmod(std::atan2(east, north) * 180.0 / M_PI + 360.0, 360.0);
        double off = std::fabs(course - std::stod(a[8]));
        off = std::min(off, 360.0 - off);
        EXPECT_LT(off, 6.0) << "t=" << t;
    }
}

// ------------------------------------------------------------------ UTC time

TEST(UtcTime, KnownInstantsAndCalendarRules) {
    EXPECT_EQ(parseUtcTime("2024-03-01 12:00"), kStart);
    EXPECT_EQ(parseUtcTime("2024-03-01T12:00"), kStart);
    EXPECT_EQ(parseUtcTime("2024-03-01 12:00:30"), kStart + 30);
    EXPECT_EQ(parseUtcTime("2000-02-29 00:00"), 951782400);
    EXPECT_EQ(parseUtcTime("2100-03-01 00:00"), 4107542400);
    EXPECT_FALSE(parseUtcTime("2023-02-29 00:00"));
    EXPECT_FALSE(parseUtcTime("2100-02-29 00:00"));
    EXPECT_FALSE(parseUtcTime("2024-04-31 00:00"));
    EXPECT_FALSE(parseUtcTime("2024-03-01 24:00"));
    EXPECT_FALSE(parseUtcTime("2024-03-01 12:60"));
    EXPECT_FALSE(parseUtcTime("2024-3-01 12:00"));
    EXPECT_FALSE(parseUtcTime("2024-03-01"));
}

TEST(UtcTime, RoundTripsEveryDayOverFourCenturies) {
    for (std::int64_t day = 0; day < 146097 * 1 + 10000; day += 7) {
        const std::int64_t t = day * 86400 + (day * 3677) % 86400;
        ASSERT_EQ(epochFromUtc(utcFromEpoch(t)), t);
    }
    const UtcTime u = utcFromEpoch(kStart - 1);
    EXPECT_EQ(u.year, 2024);
    EXPECT_EQ(u.month, 3);
    EXPECT_EQ(u.day, 1);
    EXPECT_EQ(u.hour, 11);
    EXPECT_EQ(u.minute, 59);
    EXPECT_EQ(u.second, 59);
    const UtcTime leap = utcFromEpoch(951782400 + 86399);
    EXPECT_EQ(leap.month, 2);
    EXPECT_EQ(leap.day, 29);
}

// -------------------------------------------------------------- command line

bool parse(std::vector<const char*> args, SimulatorOptions& o, std::string& error) {
    args.insert(args.begin(), "barograph_simulator");
    return parseOptions(static_cast<int>(args.size()), args.data(), o, error);
}

TEST(Options, DefaultsAndBothValueForms) {
    SimulatorOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--out", "/dev/pts/3"}, o, error)) << error;
    EXPECT_EQ(o.outPath, "/dev/pts/3");
    EXPECT_EQ(o.speed, 1.0);
    EXPECT_EQ(o.historyStep, 30u);
    EXPECT_TRUE(o.wixdr);
    EXPECT_FALSE(o.nmea);
    EXPECT_FALSE(stepLimit(o));

    SimulatorOptions p;
    ASSERT_TRUE(parse({"--stdout", "--speed=60", "--seed", "9", "--start", "2024-03-01 12:00", "--history-step=1",
                       "--no-wixdr", "--nmea", "--exit-on-error", "--fast", "-v"},
                      p, error))
        << error;
    EXPECT_TRUE(p.toStdout);
    EXPECT_EQ(p.speed, 60.0);
    EXPECT_EQ(p.seed, 9u);
    EXPECT_EQ(p.startTime, kStart);
    EXPECT_EQ(p.historyStep, 1u);
    EXPECT_FALSE(p.wixdr);
    EXPECT_TRUE(p.nmea && p.exitOnError && p.fast && p.verbose);

    SimulatorOptions u, t;
    ASSERT_TRUE(parse({"--udp", "10110"}, u, error)) << error;
    ASSERT_TRUE(parse({"--tcp=2000"}, t, error)) << error;
    EXPECT_EQ(u.udpPort, 10110);
    EXPECT_EQ(t.tcpPort, 2000);
    EXPECT_FALSE(u.tcpPort || t.udpPort || u.toStdout);
}

TEST(Options, CountAndDurationTheSmallerWins) {
    SimulatorOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--stdout", "--count", "500", "--duration", "120"}, o, error));
    EXPECT_EQ(stepLimit(o), 120u);
    SimulatorOptions p;
    ASSERT_TRUE(parse({"--stdout", "--count=5"}, p, error));
    EXPECT_EQ(stepLimit(p), 5u);
}

TEST(Options, RejectsWhatCannotWork) {
    const std::vector<std::vector<const char*>> bad = {
        {},
        {"--out", "/dev/pts/3", "--stdout"},
        {"--out"},
        {"--stdout", "--speed", "0"},
        {"--stdout", "--speed", "-2"},
        {"--stdout", "--speed", "fast"},
        {"--stdout", "--history-step", "0"},
        {"--stdout", "--history-step", "3121"},
        {"--stdout", "--count", "-1"},
        {"--stdout", "--start", "2024-13-01 00:00"},
        {"--stdout", "--fast=yes"},
        {"--stdout", "--bogus"},
        {"--udp", "0"},
        {"--tcp", "65536"},
        {"--udp", "10110", "--tcp", "10110"},
        {"--out", "/dev/pts/3", "--udp", "10110"},
    };
    for (const auto& args : bad) {
        SimulatorOptions o;
        std::string error;
        EXPECT_FALSE(parse(args, o, error)) << (args.empty() ? "(none)" : args.back());
        EXPECT_FALSE(error.empty());
    }
    SimulatorOptions h;
    std::string error;
    EXPECT_TRUE(parse({"--help"}, h, error));
    EXPECT_TRUE(h.help);
    EXPECT_NE(usageText("x").find("--history-step"), std::string::npos);
}

}  // namespace
