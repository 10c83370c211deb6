#pragma once
// The in-memory settings: one field per key of monitor.ini.
#include <cstdint>

// Serial ports COM1..COM256 can be chosen.
constexpr unsigned highestPort = 256;

enum DataMode : uint8_t { Barograph = 0, Nmea = 1 };

enum UiLanguage : uint8_t { German = 0, English = 1, French = 2 };

// Where readings are sent over UDP: an IPv4 address (host order) and a port.
struct UdpDestination {
    uint32_t address;
    uint16_t port;
};

// Where the lines come from: the serial port of COM, or the boat's network.
enum class SourceKind : uint8_t { Serial, Udp, Tcp };

struct ReceiveSource {
    SourceKind kind;
    uint16_t udpPort;     // UDP: the port listened on, every interface
    uint32_t tcpAddress;  // TCP: the server connected to, IPv4 in host order
    uint16_t tcpPort;
};

struct MonitorSettings {
    DataMode DATA;
    uint16_t COM;   // port number 1..highestPort
    uint32_t SAVE;  // 300 = record every five minutes, 0 = do not record
    uint32_t SHOW;  // spacing of the records the history loader takes: 300, 600, 900, 1800
    int32_t T1, T3, VAR, TC, AD;  // flags, 0 or 1, as are the ones below but LANG
    uint8_t ERR;
    int32_t U;
    uint8_t SIG, DKS;
    UiLanguage LANG;
    int32_t DW, AW, LO;
    uint8_t SEND;           // 1: each reading is also sent over UDP
    UdpDestination SENDTO;  // to there
    uint8_t SIGNALK;           // 1: the alarms and the pressure go to a Signal K server as deltas over UDP
    UdpDestination SIGNALKTO;  // the server's UDP data connection
    // The Options dialog's settings.
    int16_t OFFSET;         // the barograph's correction, tenths of a hPa, -200..200
    uint16_t HEIGHT;        // height above sea level in metres, 0..1500
    // The storm warning's limits, tenths of a hPa of fall: WARN[0] the 3-hour
    // warning (10..99), WARN[1] the 3-hour gale alarm (above WARN[0], up to 150),
    // WARN[2] the 1-hour gale alarm (10..99).
    uint8_t WARN[3];
    uint16_t LOW;           // the low-pressure alarm's limit in hPa, 0 (off) or 900..1050
    uint8_t NIGHT;          // 1: the window draws in night colours
    ReceiveSource SOURCE;   // the serial port (COM) unless the network is chosen
};

// Starts equal to the defaults, so that events raised before monitor.ini is
// read (a missing file at the first start) are logged.
extern MonitorSettings monitorSettings;

// Back to the values the program starts with: the defaults, DKS, DW and AW 0,
// no lines kept from a file, the file's writes not withheld.
void resetMonitorSettings();

// The defaults used when monitor.ini cannot be opened. DKS, DW and AW are
// not part of them and keep what they hold.
void applyDefaultSettings(MonitorSettings& settings);

// The current user interface language, as every text is chosen by it.
inline UiLanguage uiLanguage() { return monitorSettings.LANG; }
