#include <windows.h>

#include <cstring>

#include "app/shell_state.h"
#include "app/startup.h"
#include "app/window_procedure.h"
#include "settings/monitor_settings.h"
#include "settings/ui_text.h"

namespace {
const char windowClassName[] = "Fensterklasse";

// Attributes of DwmSetWindowAttribute: a dark title bar from Windows 10 20H1
// on, and the same under its earlier number in Windows 10 1809 to 1909.
constexpr DWORD darkTitleBar = 20, darkTitleBarBefore20H1 = 19;

using SetWindowAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);

// The call is looked up when needed: a Windows or a Wine without the library
// or the function, or one that knows neither attribute, keeps its title bar.
void followTitleBar(bool night)
{
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    const char name[] = "\\dwmapi.dll";
    if (length == 0 || length + sizeof name > MAX_PATH) return;
    std::memcpy(path + length, name, sizeof name);
    HMODULE library = LoadLibraryA(path);
    if (!library) return;
    auto setAttribute = reinterpret_cast<SetWindowAttribute>(
        reinterpret_cast<void*>(GetProcAddress(library, "DwmSetWindowAttribute")));
    if (setAttribute) {
        BOOL dark = night ? TRUE : FALSE;
        if (FAILED(setAttribute(mainWindow, darkTitleBar, &dark, sizeof dark)))
            setAttribute(mainWindow, darkTitleBarBefore20H1, &dark, sizeof dark);
        // The frame takes a changed attribute only when it is drawn anew.
        SetWindowPos(mainWindow, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE);
    }
    FreeLibrary(library);
}

} // namespace

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

void followColourScheme()
{
    // Every erase of the window uses the class's brush: black at night, so
    // that no repaint flashes white before the chart is drawn.
    const bool night = monitorSettings.NIGHT != 0;
    SetClassLongPtrA(mainWindow, GCLP_HBRBACKGROUND,
                     reinterpret_cast<LONG_PTR>(GetStockObject(night ? BLACK_BRUSH : WHITE_BRUSH)));
    followTitleBar(night);
}
