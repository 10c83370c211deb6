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
