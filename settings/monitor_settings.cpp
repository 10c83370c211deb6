#include "settings/monitor_settings.h"

namespace {
const MonitorSettings startSettings = {
    Barograph, '2', 300, 300, 1, 1, 1, 0, 0, 1, 0, 0, 0, German, 0, 0, 0,
};
} // namespace

MonitorSettings monitorSettings = startSettings;

void resetMonitorSettings() { monitorSettings = startSettings; }

void applyDefaultSettings(MonitorSettings& settings)
{
    settings.DATA = Barograph;
    settings.COM = '2';
    settings.SAVE = 300;
    settings.SHOW = 300;
    settings.T1 = 1;
    settings.T3 = 1;
    settings.VAR = 1;
    settings.TC = 0;
    settings.AD = 0;
    settings.U = 0;
    settings.ERR = 1;
    settings.SIG = 0;
    settings.LANG = German;
    settings.LO = 0;
}
