#include "app/information_windows.h"

#include <windows.h>

#include "app/information_texts.h"
#include "settings/monitor_settings.h"

namespace {

// Formatted texts go through one buffer, long enough for the longest text.
char informationBuffer[2048];

void show(const InformationText& information, const char* text)
{
    MessageBoxA(nullptr, text, information.caption, MB_ICONINFORMATION);
}

} // namespace

void showHelp()
{
    InformationText help = helpText(uiLanguage());
    show(help, help.text);
}

void showAbout()
{
    formatAboutText(uiLanguage(), informationBuffer, sizeof informationBuffer);
    show(aboutText(uiLanguage()), informationBuffer);
}

void showLinkCable()
{
    InformationText cable = linkCableText(uiLanguage());
    lstrcpynA(informationBuffer, cable.text, sizeof informationBuffer);
    show(cable, informationBuffer);
}

void showDataFormats()
{
    InformationText formats = dataFormatsText(uiLanguage());
    lstrcpynA(informationBuffer, formats.text, sizeof informationBuffer);
    show(formats, informationBuffer);
}
