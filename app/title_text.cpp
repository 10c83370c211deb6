#include <windows.h>

#include "app/shell_state.h"
#include "app/window_titles.h"

namespace {
char titleText[256];
}

void setBarographTitle()
{
    formatBarographTitle(uiLanguage(), monitorSettings.COM, titleText, sizeof titleText);
    SetWindowTextA(mainWindow, titleText);
}

void setNmeaTitle()
{
    formatNmeaTitle(uiLanguage(), monitorSettings.COM, titleText, sizeof titleText);
    SetWindowTextA(mainWindow, titleText);
}
