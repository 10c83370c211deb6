#include "app/window_procedure.h"

#include "acquisition/receive_poll.h"
#include "app/commands.h"
#include "app/shell_state.h"

namespace {

void paintWindow(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc) {
        // The chart and the NMEA view draw here.
    }
    EndPaint(window, &paint);
}

} // namespace

LRESULT CALLBACK mainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        paintWindow(window);
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        break;
    case WM_PAINT:
        paintWindow(window);
        break;
    case WM_TIMER:
        pollReceiver();
        break;
    case WM_COMMAND:
        runCommand(static_cast<unsigned>(wParam));
        break;
    default:
        break;
    }
    // Every message, handled or not, also takes the default path.
    return DefWindowProcA(window, message, wParam, lParam);
}
