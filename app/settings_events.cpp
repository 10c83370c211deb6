#include "app/startup.h"
#include "records/event_log.h"
#include "settings/settings_file.h"

bool readSettings()
{
    if (readSettingsFile()) return true;
    logEvent(eventSettingsUnreadable);
    return false;
}

void writeSettings()
{
    switch (writeSettingsFile()) {
    case SettingsWrite::Written: break;
    case SettingsWrite::NotCreated:
        logEvent(eventSettingsUnwritable);
        fatalError(fatalSettingsUnwritable);
        break;
    case SettingsWrite::ShortWrite: logEvent(eventWriteFailed); break;
    }
}
