#pragma once
// The barograph's "$PXDR" sentence, read by fixed character positions.
#include <cstddef>
#include <cstdint>

// Reads the `length` bytes of one complete line into currentReading.
// Returns 0 when the header is "$PXDR" and the fields were stored, otherwise
// the number of header characters (1..5) that differ; then nothing is stored.
// Fields are not checked for digits, only limited. Positions at or past
// `length` read as zero bytes, so a cut line always gives the same values.
int parseBarographSentence(const char* line, size_t length);
