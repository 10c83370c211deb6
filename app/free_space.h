#pragma once
#include <cstdint>

// Below this many bytes available on the working disk the program warns at start.
constexpr uint64_t minimumFreeBytes = 100000;

inline bool freeSpaceIsLow(uint64_t bytesAvailable) { return bytesAvailable < minimumFreeBytes; }
