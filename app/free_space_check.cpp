#include <windows.h>

#include "app/startup.h"
#include "records/event_log.h"
#include "settings/shell_seam.h"

void checkFreeDiskSpace()
{
    ULARGE_INTEGER available, total, totalFree;
    // The current directory itself rather than the root of its drive: the
    // folder the files go to may be a volume of its own (a mounted folder).
    if (!GetDiskFreeSpaceExA(".", &available, &total, &totalFree)) return;
    if (!freeSpaceIsLow(available.QuadPart)) return;
    showShellMessage(
        {.caption = txtDiskSpaceLowCaption, .text = uiText(txtDiskSpaceLow), .kind = MessageKind::Error});
    shellBeep(MB_ICONEXCLAMATION);
    logEvent(eventDiskSpaceLow);
}
