#include "nmea_sentences.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "utc_time.h"
#include "weather_model.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMetresPerDegree = 111320.0;
constexpr double kMetresPerSecondPerKnot = 1852.0 / 3600.0;
constexpr double kMagneticVariation = 2.5;  // degrees east
constexpr double kSwayMetres = 200.0;       // sideways weave of the track
constexpr double kSwayPeriod = 1800.0;      // seconds
constexpr double kSiderealHalfDay = 43080.0; // a GPS satellite's orbit, seconds

enum TrackChannel : std::uint64_t { kTrackChannel = 21, kSatelliteChannel = 22, kSignalChannel = 23 };

double draw(std::uint64_t seed, std::uint64_t channel, std::int64_t index, double lo, double hi) {
    return lo + (hi - lo) * (hashUnit(seed, channel, index) + 1.0) / 2.0;
}

// "ddmm.mmmm" / "dddmm.mmmm", rounding done on whole ten-thousandths of a
// minute so 59.99999 never prints as 60.0000.
std::string angleField(double degrees, int degreeDigits) {
    const auto total = static_cast<long long>(std::llround(std::fabs(degrees) * 60.0 * 10000.0));
    char text[24];
    std::snprintf(text, sizeof text, "%0*lld%02lld.%04lld", degreeDigits, total / 600000, total % 600000 / 10000,
                  total % 10000);
    return text;
}

struct SatelliteView {
    int prn;
    int elevation;
    int azimuth;
    int snr;
};

SatelliteView satelliteAt(const GpsTrack& track, std::size_t i, std::int64_t t) {
    const Satellite& s = track.satellites[i];
    const double phase = 2 * kPi * static_cast<double>(t) / kSiderealHalfDay;
    SatelliteView v;
    v.prn = s.prn;
    v.elevation = static_cast<int>(std::lround(45.0 + 40.0 * std::sin(phase + s.elevation0 * kPi / 180.0)));
    v.azimuth = static_cast<int>(std::lround(std::fmod(s.azimuth0 + phase * 180.0 / kPi, 360.0))) % 360;
    v.snr = std::clamp(static_cast<int>(std::lround(25.0 + v.elevation / 4.0 +
                                                    2.0 * hashUnit(track.seed, kSignalChannel, t * 16 + static_cast<std::int64_t>(i)))),
                       0, 99);
    return v;
}

}  // namespace

std::string nmeaChecksum(std::string_view body) {
    unsigned char sum = 0;
    for (char c : body) sum ^= static_cast<unsigned char>(c);
    char text[3];
    std::snprintf(text, sizeof text, "%02X", sum);
    return text;
}

std::string nmeaSentence(std::string_view body) {
    std::string s = "$";
    s += body;
    s += '*';
    s += nmeaChecksum(body);
    return s;
}

GpsTrack makeGpsTrack(std::uint64_t seed, std::int64_t startTime) {
    GpsTrack g;
    g.seed = seed;
    g.startTime = startTime;
    g.latitude0 = draw(seed, kTrackChannel, 0, 44.0, 58.0);
    g.longitude0 = draw(seed, kTrackChannel, 1, -8.0, 18.0);
    g.course0 = draw(seed, kTrackChannel, 2, 0.0, 360.0);
    g.speed0 = draw(seed, kTrackChannel, 3, 4.0, 7.0);
    // Ten distinct PRNs out of 1..32.
    std::array<int, 32> prns{};
    for (int i = 0; i < 32; ++i) prns[i] = i + 1;
    for (int i = 0; i < 10; ++i) {
        const int j = i + static_cast<int>(draw(seed, kSatelliteChannel, i, 0.0, 31.999 - i));
        std::swap(prns[i], prns[j]);
    }
    std::sort(prns.begin(), prns.begin() + 10);
    for (std::size_t i = 0; i < g.satellites.size(); ++i) {
        g.satellites[i].prn = prns[i];
        g.satellites[i].elevation0 = draw(seed, kSatelliteChannel, 100 + static_cast<std::int64_t>(i), 0.0, 360.0);
        g.satellites[i].azimuth0 = draw(seed, kSatelliteChannel, 200 + static_cast<std::int64_t>(i), 0.0, 360.0);
    }
    return g;
}

GpsFix gpsFixAt(const GpsTrack& g, std::int64_t t) {
    // Straight run at constant speed plus a gentle sideways weave; closed form,
    // so speed and course are the exact derivative of the positions.
    const double dt = static_cast<double>(t - g.startTime);
    const double c = g.course0 * kPi / 180.0;
    const double v = g.speed0 * kMetresPerSecondPerKnot;
    const double w = 2 * kPi / kSwayPeriod;
    const double along = v * dt;
    const double aside = kSwayMetres * (1 - std::cos(w * dt));
    const double north = along * std::cos(c) - aside * std::sin(c);
    const double east = along * std::sin(c) + aside * std::cos(c);
    const double vAside = kSwayMetres * w * std::sin(w * dt);
    const double vNorth = v * std::cos(c) - vAside * std::sin(c);
    const double vEast = v * std::sin(c) + vAside * std::cos(c);
    GpsFix f;
    f.latitude = g.latitude0 + north / kMetresPerDegree;
    f.longitude = g.longitude0 + east / (kMetresPerDegree * std::cos(g.latitude0 * kPi / 180.0));
    f.speedKnots = std::hypot(vNorth, vEast) / kMetresPerSecondPerKnot;
    f.courseTrue = std::fmod(std::atan2(vEast, vNorth) * 180.0 / kPi + 360.0, 360.0);
    return f;
}

std::vector<std::string> gpsSentences(const GpsTrack& g, std::int64_t t) {
    const UtcTime u = utcFromEpoch(t);
    const GpsFix f = gpsFixAt(g, t);
    char clock[16];
    std::snprintf(clock, sizeof clock, "%02d%02d%02d.00", u.hour, u.minute, u.second);
    const std::string lat = angleField(f.latitude, 2) + (f.latitude < 0 ? ",S" : ",N");
    const std::string lon = angleField(f.longitude, 3) + (f.longitude < 0 ? ",W" : ",E");
    // Rounded once so RMC and VTG agree to the digit.
    const double speed = std::round(f.speedKnots * 10) / 10;
    double course = std::round(f.courseTrue * 10) / 10;
    if (course >= 360.0) course -= 360.0;
    const double magnetic = std::fmod(course - kMagneticVariation + 360.0, 360.0);

    std::array<SatelliteView, 10> sats;
    std::vector<int> used;
    for (std::size_t i = 0; i < sats.size(); ++i) {
        sats[i] = satelliteAt(g, i, t);
        if (sats[i].elevation >= 10) used.push_back(sats[i].prn);
    }
    const double hdop = std::round((0.7 + 4.0 / std::max<std::size_t>(used.size(), 1)) * 10) / 10;
    const double vdop = std::round(hdop * 1.4 * 10) / 10;
    const double pdop = std::round(std::hypot(hdop, vdop) * 10) / 10;

    std::vector<std::string> out;
    char body[100];
    std::snprintf(body, sizeof body, "GPRMC,%s,A,%s,%s,%05.1f,%05.1f,%02d%02d%02d,%05.1f,E,A", clock, lat.c_str(),
                  lon.c_str(), speed, course, u.day, u.month, u.year % 100, kMagneticVariation);
    out.push_back(nmeaSentence(body));

    std::snprintf(body, sizeof body, "GPGGA,%s,%s,%s,1,%02zu,%.1f,%.1f,M,%.1f,M,,", clock, lat.c_str(), lon.c_str(),
                  used.size(), hdop, 3.0 + 0.8 * hashUnit(g.seed, kSignalChannel, -t), 45.3);
    out.push_back(nmeaSentence(body));

    std::string gsa = "GPGSA,A,3";
    for (std::size_t i = 0; i < 12; ++i) {
        gsa += ',';
        if (i < used.size()) {
            char prn[4];
            std::snprintf(prn, sizeof prn, "%02d", used[i]);
            gsa += prn;
        }
    }
    std::snprintf(body, sizeof body, ",%.1f,%.1f,%.1f", pdop, hdop, vdop);
    gsa += body;
    out.push_back(nmeaSentence(gsa));

    const std::size_t messages = (sats.size() + 3) / 4;
    for (std::size_t m = 0; m < messages; ++m) {
        std::snprintf(body, sizeof body, "GPGSV,%zu,%zu,%02zu", messages, m + 1, sats.size());
        std::string gsv = body;
        for (std::size_t i = m * 4; i < std::min(sats.size(), m * 4 + 4); ++i) {
            std::snprintf(body, sizeof body, ",%02d,%02d,%03d,%02d", sats[i].prn, std::max(sats[i].elevation, 0),
                          sats[i].azimuth, sats[i].snr);
            gsv += body;
        }
        out.push_back(nmeaSentence(gsv));
    }

    std::snprintf(body, sizeof body, "GPVTG,%05.1f,T,%05.1f,M,%05.1f,N,%05.1f,K,A", course, magnetic, speed,
                  speed * 1.852);
    out.push_back(nmeaSentence(body));
    return out;
}
