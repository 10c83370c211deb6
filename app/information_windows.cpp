#include "app/information_windows.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "acquisition/pressure_correction.h"
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
    // The values shown are corrected: the data window says by how much.
    std::string correction = text == txtDataFormatsText ? correctionInForce(monitorSettings, uiLanguage()) : "";
    if (!correction.empty()) {
        correction = "\n\n" + correction;
        size_t used = std::strlen(informationBuffer);
        lstrcpynA(informationBuffer + used, correction.c_str(), static_cast<int>(sizeof informationBuffer - used));
    }
    showShellMessage({.caption = caption, .text = informationBuffer, .kind = MessageKind::Information});
}
