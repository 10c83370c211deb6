#include "app/information_windows.h"

#include <windows.h>

#include "app/information_texts.h"
#include "settings/monitor_settings.h"
#include "settings/shell_seam.h"

namespace {

// Formatted texts go through one buffer, long enough for the longest text.
char informationBuffer[2048];

void show(const char* text, TextId caption) { showShellMessage(caption, text, MessageKind::Information); }

void showCopied(TextId text, TextId caption)
{
    lstrcpynA(informationBuffer, uiText(text), sizeof informationBuffer);
    show(informationBuffer, caption);
}

} // namespace

void showHelp()
{
    show(uiText(txtHelpText), txtHelpCaption);
}

void showAbout()
{
    formatAboutText(uiLanguage(), informationBuffer, sizeof informationBuffer);
    show(informationBuffer, txtAboutCaption);
}

void showLinkCable()
{
    showCopied(txtLinkCableText, txtLinkCableCaption);
}

void showDataFormats()
{
    showCopied(txtDataFormatsText, txtDataFormatsCaption);
}
