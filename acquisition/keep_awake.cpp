#include "acquisition/keep_awake.h"

#include <windows.h>

#include "acquisition/receive_source.h"
#include "settings/monitor_settings.h"

KeepAwake keepAwake = {};

void resetKeepAwake() { keepAwake = KeepAwake{}; }

namespace {

void request(bool held)
{
    if (held == keepAwake.held) return;
    keepAwake.held = held;
    // ES_CONTINUOUS makes the request stand until the next call replaces it.
    SetThreadExecutionState(held ? ES_CONTINUOUS | ES_SYSTEM_REQUIRED : ES_CONTINUOUS);
}

} // namespace

void followKeepAwake() { request(receiveSourceOpen() && monitorSettings.SAVE != 0); }

void releaseKeepAwake() { request(false); }
