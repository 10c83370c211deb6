#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A GPS receiver on a slowly moving vessel: the sentence mix of one second.

// Two upper-case hex digits: XOR of every byte of `body` (the text between
// '$' and '*').
std::string nmeaChecksum(std::string_view body);

// "$" + body + "*" + checksum, without line end.
std::string nmeaSentence(std::string_view body);

struct Satellite {
    int prn = 0;
    double elevation0 = 0;  // degrees, phase of its rise and fall
    double azimuth0 = 0;    // degrees
};

struct GpsTrack {
    std::uint64_t seed = 0;
    std::int64_t startTime = 0;
    double latitude0 = 0;     // degrees, north positive
    double longitude0 = 0;    // degrees, east positive
    double course0 = 0;       // degrees true
    double speed0 = 0;        // knots
    std::array<Satellite, 10> satellites{};
};

struct GpsFix {
    double latitude = 0;
    double longitude = 0;
    double speedKnots = 0;
    double courseTrue = 0;  // degrees, 0..360
};

GpsTrack makeGpsTrack(std::uint64_t seed, std::int64_t startTime);
GpsFix gpsFixAt(const GpsTrack& track, std::int64_t t);

// $GPRMC, $GPGGA, $GPGSA, three $GPGSV and $GPVTG for second t, without line ends.
std::vector<std::string> gpsSentences(const GpsTrack& track, std::int64_t t);
