#pragma once
// The reading as chart plotters and data servers take it: NMEA 0183 sentences
// for one UDP datagram.
#include <cstddef>
#include <cstdint>

// The conventional port of NMEA 0183 over UDP, and the default destination,
// a receiver on the same PC.
constexpr uint16_t defaultUdpPort = 10110;
constexpr uint32_t defaultUdpAddress = 0x7F000001;  // 127.0.0.1

// XOR of the characters between '$' and '*' (or the end).
uint8_t nmeaChecksum(const char* sentence, size_t length);

// The longest sentence NMEA 0183 allows, its CR LF included.
constexpr size_t nmeaSentenceLimit = 82;

// The datagram for a received line in Nmea mode (its line end included):
// the line ended by CR LF, when it begins with '$' or '!', has no control
// byte before its line end and is at most nmeaSentenceLimit characters with
// CR LF. Answers its length, 0 when the line is no sentence to send.
size_t formatNmeaDatagram(const char* line, size_t length, char (&datagram)[nmeaSentenceLimit]);

constexpr size_t pressureDatagramSize = 128;

// "$WIMDA,<inHg>,I,<bar>,B,,C,,C,,,,C,,T,,M,,N,,M*hh" and
// "$WIXDR,P,<bar>,B,Barometer*hh", each ended by CR LF, for a pressure in
// hundredths of a hPa. Returns the length.
size_t formatPressureDatagram(uint32_t pressure, char (&datagram)[pressureDatagramSize]);
