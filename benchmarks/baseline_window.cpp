// The smallest program that does what monitor.exe does every tick without
// its work: a window, a 200 ms timer, the title set twice a second and an
// empty paint. Run beside monitor.exe to tell Wine's own cost from ours.
#include <windows.h>

#include <cstdio>

namespace {

unsigned ticks = 0;

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (++ticks % 5 == 0 || ticks % 5 == 2) {
            char title[64];
            std::snprintf(title, sizeof title, "baseline %u", ticks);
            SetWindowTextA(window, title);
        }
        break;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "BaselineWindow";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "BaselineWindow", "baseline", WS_OVERLAPPEDWINDOW, 0, 0,
                                  GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN), nullptr,
                                  nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOWMAXIMIZED);
    UpdateWindow(window);
    SetTimer(window, 275, 200, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
