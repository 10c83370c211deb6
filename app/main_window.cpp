#include <windows.h>

#include "app/shell_state.h"
#include "app/startup.h"
#include "app/window_procedure.h"
#include "settings/ui_text.h"

namespace {
const char windowClassName[] = "Fensterklasse";
}

bool registerMainWindowClass()
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = mainWindowProcedure;
    windowClass.hInstance = instanceHandle;
    windowClass.hIcon = LoadIconA(instanceHandle, "MYICON");
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = windowClassName;
    return RegisterClassA(&windowClass) != 0;
}

bool createMainWindow()
{
    mainWindow = CreateWindowExA(0, windowClassName, uiText(txtFirstWindowTitle), WS_OVERLAPPEDWINDOW,
                                 0, 0, screenWidth, screenHeight, nullptr, nullptr, instanceHandle,
                                 nullptr);
    return mainWindow != nullptr;
}
