// The settings decoder over arbitrary files: what it reads is legal, and
// writing it back and reading that again gives the same settings.
#include <string>

#include "fuzz_check.h"
#include "settings/settings_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > settingsFileLimit) size = settingsFileLimit;
    MonitorSettings settings{};
    applyDefaultSettings(settings);
    decodeSettingsText(data, size, settings);
    FUZZ_CHECK(settings.COM >= 1 && settings.COM <= highestPort);
    FUZZ_CHECK(settings.SAVE == 300);
    FUZZ_CHECK(settings.SHOW == 300 || settings.SHOW == 600 || settings.SHOW == 900 || settings.SHOW == 1800);
    FUZZ_CHECK(settings.LANG <= French);

    const std::string text = encodeSettingsText(settings);
    MonitorSettings again{};
    applyDefaultSettings(again);
    decodeSettingsText(reinterpret_cast<const uint8_t*>(text.data()), text.size(), again);
    FUZZ_CHECK(encodeSettingsText(again) == text);
    FUZZ_CHECK(again.DATA == settings.DATA && again.COM == settings.COM && again.LANG == settings.LANG);
    FUZZ_CHECK(again.SEND == settings.SEND && again.SENDTO.address == settings.SENDTO.address &&
               again.SENDTO.port == settings.SENDTO.port);
    FUZZ_CHECK(again.SIGNALK == settings.SIGNALK && again.SIGNALKTO.address == settings.SIGNALKTO.address &&
               again.SIGNALKTO.port == settings.SIGNALKTO.port);
    return 0;
}
