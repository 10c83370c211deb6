#include "settings/monitor_settings.h"

#include "settings/settings_file.h"
#include "settings/settings_lines.h"

namespace {
// The defaults, with DKS, DW and AW 0.
const MonitorSettings startSettings = {
    Barograph, 2, 300, 300, 1, 1, 1, 0, 0, 1, 0, 0, 0, German, 0, 0, 0, 0, {0x7F000001, 10110},
    0, {0x7F000001, 10119},
    0, 0, {36, 61, 20}, 0, 0, {SourceKind::Serial, 10110, 0x7F000001, 10110},
};
} // namespace

MonitorSettings monitorSettings = startSettings;

void resetMonitorSettings()
{
    monitorSettings = startSettings;
    forgetKeptSettingsLines();
    settingsWritesWithheld = false;
}

void applyDefaultSettings(MonitorSettings& settings)
{
    MonitorSettings defaults = startSettings;
    defaults.DKS = settings.DKS;
    defaults.DW = settings.DW;
    defaults.AW = settings.AW;
    settings = defaults;
}
