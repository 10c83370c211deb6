#include "records/append_file.h"

HANDLE openForAppend(const char* name)
{
    HANDLE file = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return file;
    SetFilePointer(file, 0, nullptr, FILE_END);
    return file;
}

bool writeBytes(HANDLE file, const void* bytes, DWORD count)
{
    DWORD written = 0;
    return WriteFile(file, bytes, count, &written, nullptr) && written == count;
}

bool appendWhole(HANDLE file, const void* bytes, DWORD count)
{
    LONG endHigh = 0;
    DWORD endLow = SetFilePointer(file, 0, &endHigh, FILE_CURRENT);
    if (writeBytes(file, bytes, count)) return true;
    if (endLow != INVALID_SET_FILE_POINTER || GetLastError() == NO_ERROR) {
        SetFilePointer(file, static_cast<LONG>(endLow), &endHigh, FILE_BEGIN);
        SetEndOfFile(file);
    }
    return false;
}
