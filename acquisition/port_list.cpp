#include "acquisition/port_list.h"

#include <windows.h>

unsigned portNumberOf(const char* name, unsigned long length)
{
    // The value may or may not end in its zero, which then does not count.
    while (length > 0 && name[length - 1] == '\0') --length;
    if (length < 4 || length > 6 || CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name, 3, "COM", 3) != CSTR_EQUAL)
        return 0;
    unsigned number = 0;
    for (unsigned long i = 3; i < length; ++i) {
        if (name[i] < '0' || name[i] > '9' || (i == 3 && name[i] == '0')) return 0;
        number = number * 10 + unsigned(name[i] - '0');
    }
    return number <= highestPort ? number : 0;
}

PortSet listedPorts()
{
    PortSet ports;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return ports;
    for (DWORD index = 0;; ++index) {
        // Both sizes are in and out: set anew for every value.
        char name[256], data[32];
        DWORD nameLength = sizeof name, dataSize = sizeof data, type = 0;
        LONG result = RegEnumValueA(key, index, name, &nameLength, nullptr, &type,
                                    reinterpret_cast<BYTE*>(data), &dataSize);
        if (result == ERROR_MORE_DATA) continue;  // no port name is that long
        if (result != ERROR_SUCCESS) break;
        if (type == REG_SZ)
            if (unsigned number = portNumberOf(data, dataSize)) ports.set(number);
    }
    RegCloseKey(key);
    return ports;
}
