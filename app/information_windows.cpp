#include "app/information_windows.h"

#include <windows.h>

#include "app/information_texts.h"
#include "settings/monitor_settings.h"
#include "settings/shell_seam.h"

namespace {

// Every text goes through one buffer, long enough for the longest text.
char informationBuffer[2048];

} // namespace

void showInformation(TextId text, TextId caption)
{
    if (text == txtAboutFormat)
        formatAboutText(uiLanguage(), informationBuffer, sizeof informationBuffer);
    else
        lstrcpynA(informationBuffer, uiText(text), sizeof informationBuffer);
    showShellMessage({.caption = caption, .text = informationBuffer, .kind = MessageKind::Information});
}
