#include <windows.h>

#include "app/free_space.h"
#include "app/shell_state.h"
#include "app/startup.h"
#include "records/event_log.h"
#include "settings/monitor_settings.h"

void checkFreeDiskSpace()
{
    ULARGE_INTEGER available, total, totalFree;
    // The current directory itself rather than the root of its drive: the
    // folder the files go to may be a volume of its own (a mounted folder).
    if (!GetDiskFreeSpaceExA(".", &available, &total, &totalFree)) return;
    if (!freeSpaceIsLow(available.QuadPart)) return;
    static const char* const texts[] = {
        "Warnung: nicht ausreichend Speicherplatz\noder kein Speicherndes Laufwerk !",
        "Warning: not enough free space on disk\nor not a saving device !",
        "Pas assez de place sur ce disque\nou autre erreur !",
    };
    static const char* const captions[] = {"Fehler", "Disk error", "errur disque"};
    MessageBoxA(mainWindow, texts[uiLanguage()], captions[uiLanguage()], MB_ICONERROR);
    MessageBeep(MB_ICONEXCLAMATION);
    logEvent(eventDiskSpaceLow);
}
