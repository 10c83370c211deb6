#pragma once
// Opening a file of the program for one append.
#include <windows.h>

// Opens `name` for reading and writing without sharing, creating it only when
// it does not exist, positioned at its end. One call: a file that exists but is
// briefly held by another program is never truncated. Returns
// INVALID_HANDLE_VALUE when the file can be neither opened nor created.
HANDLE openForAppend(const char* name);

// Writes all `count` bytes; false when the write fails or falls short.
bool writeBytes(HANDLE file, const void* bytes, DWORD count);

// Writes all `count` bytes at the file's current position (its end, after
// openForAppend), or nothing: when the write fails or falls short, as on a
// full disk, the file is cut back to where it ended. A torn record would shift
// every later one off the fixed 80-byte grid, and a torn line would run on
// into the next. False when the bytes were not written.
bool appendWhole(HANDLE file, const void* bytes, DWORD count);
