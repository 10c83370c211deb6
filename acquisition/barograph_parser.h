#pragma once
// The barograph's "$PXDR" sentence: its shape tested position by position,
// its fields read by their positions and tested for plausible values.
#include <cstddef>
#include <cstdint>

// The parse result of a line with the "$PXDR" header that is not a whole,
// plausible sentence of the device.
constexpr int sentenceDamaged = 6;

// A pressure outside these bounds (hundredths of a hPa) is no reading of the
// device, however well the line is formed.
constexpr uint32_t lowestPlausiblePressure = 80000;
constexpr uint32_t highestPlausiblePressure = 110000;

// Reads the `length` bytes of one complete line into currentReading.
// Returns 0 when the line is the device's sentence and its values were stored.
// Otherwise nothing is stored, and the result is the number of header
// characters (1..5) that differ from "$PXDR", positions past `length`
// counting as differing; or, with the right header, sentenceDamaged: the line
// is not the 45 characters "$PXDR,dddd.dd,ddddd,sdd.d,sdd.d,sdddd,dddd.dd"
// (d a digit, s '+' or '-') followed by CR LF or LF and nothing else, or its
// pressure or converter value is out of bounds.
int parseBarographSentence(const char* line, size_t length);
