#include "storedata/history_loader.h"

#include <windows.h>

#include "records/record_line.h"
#include "settings/monitor_settings.h"
#include "settings/shell_seam.h"
#include "storedata/history_fill.h"

bool loadHistory()
{
    HANDLE file = CreateFileA("monitor.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;

    DWORD size = GetFileSize(file, nullptr);
    if (size == INVALID_FILE_SIZE) size = 0;
    fillHistoryFromRecords(size, monitorSettings.SHOW, monitorSettings.DATA,
                           [file](uint32_t offset, char* bytes) -> uint32_t {
                               // With the high part given, offsets above 2 GB stay positive.
                               LONG high = 0;
                               if (SetFilePointer(file, static_cast<LONG>(offset), &high,
                                                  FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
                                   GetLastError() != NO_ERROR)
                                   return 0;
                               DWORD got = 0;
                               if (!ReadFile(file, bytes, recordLineLength, &got, nullptr)) return 0;
                               return got;
                           });
    CloseHandle(file);
    repaintShell();
    return true;
}
