#include <windows.h>

#include "app/free_space.h"
#include "app/shell_state.h"
#include "app/startup.h"
#include "records/event_log.h"
#include "settings/ui_text.h"

void checkFreeDiskSpace()
{
    ULARGE_INTEGER available, total, totalFree;
    // The current directory itself rather than the root of its drive: the
    // folder the files go to may be a volume of its own (a mounted folder).
    if (!GetDiskFreeSpaceExA(".", &available, &total, &totalFree)) return;
    if (!freeSpaceIsLow(available.QuadPart)) return;
    MessageBoxA(mainWindow, uiText(txtDiskSpaceLow), uiText(txtDiskSpaceLowCaption), MB_ICONERROR);
    MessageBeep(MB_ICONEXCLAMATION);
    logEvent(eventDiskSpaceLow);
}
