#include "app/window_procedure.h"

#include "acquisition/receive_poll.h"
#include "acquisition/receive_source.h"
#include "app/menu_layout.h"
#include "acquisition/serial_port.h"
#include "app/commands.h"
#include "app/menu_bar.h"
#include "app/night_menus.h"
#include "app/startup.h"
#include "app/shell_state.h"
#include "display/chart_geometry.h"
#include "display/drawing_tools.h"
#include "display/nmea_view.h"
#include "display/pressure_chart.h"
#include "records/record_files.h"
#include "settings/monitor_settings.h"
#include "settings/shell_seam.h"

namespace {

constexpr WPARAM ctrlC = 3, ctrlN = 14;
constexpr LPARAM keyWasDown = LPARAM(1) << 30;

void paintWindow(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc) {
        const ColourScheme scheme = schemeOf(monitorSettings.NIGHT);
        if (monitorSettings.DATA == Barograph) {
            RECT client;
            GetClientRect(window, &client);
            drawPressureChart(dc, client.right, client.bottom, scheme);
        } else {
            RECT outer;
            GetWindowRect(window, &outer);
            drawNmeaText(dc, outer.bottom - outer.top, scheme);
        }
    }
    EndPaint(window, &paint);
}

// The drop-down that holds the port items.
bool isSetupMenu(HMENU popup) { return GetMenuState(popup, cmdPortCom1, MF_BYCOMMAND) != static_cast<UINT>(-1); }

bool clickedOnBanner(HWND window, LPARAM at)
{
    RECT client;
    GetClientRect(window, &client);
    // The position's words are signed: a click beyond a screen edge is negative.
    int x = static_cast<short>(LOWORD(at)), y = static_cast<short>(HIWORD(at));
    return screenBannerHit(client.right, client.bottom, currentChartBanner(), monitorSettings.LANG, x, y);
}

} // namespace

LRESULT CALLBACK mainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        createScreenPens();
        createPrinterPens();
        paintWindow(window);
        break;
    case WM_DESTROY: PostQuitMessage(0); break;
    case WM_PAINT: paintWindow(window); break;
    case WM_TIMER:
        pollReceiver();
        retryKeptRecords();
        break;
    case WM_COMMAND: runCommand(static_cast<unsigned>(wParam)); break;
    // The program never holds up a shutdown; when it comes, it ends as at Quit.
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION:
        if (wParam) endWindowsSession();
        return 0;
    case WM_POWERBROADCAST:
        if (followSourcePowerEvent(wParam) == PortChange::Opened && !networkSourceChosen())
            enableShellPortItem(monitorSettings.COM);
        return TRUE;
    // The menus' items at night, which the program draws (a zero wParam: from a menu).
    case WM_MEASUREITEM:
        if (wParam == 0 && measureMenuItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_DRAWITEM:
        if (wParam == 0 && drawMenuItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_MENUCHAR:
        if (LRESULT chosen = menuItemByAltLetter(wParam, reinterpret_cast<HMENU>(lParam))) return chosen;
        break;
    // Each draws the frame, the menu bar with it (a new title too).
    case WM_NCPAINT:
    case WM_NCACTIVATE:
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
        coverMenuBarGround(window);
        return result;
    }
    case WM_ENTERMENULOOP: followMenuWindows(true); break;
    case WM_EXITMENULOOP: followMenuWindows(false); break;
    case WM_INITMENUPOPUP:
        if (isSetupMenu(reinterpret_cast<HMENU>(wParam))) reprobePorts();
        break;
    // Escape, or a click on the chart's banner, acknowledges the storm warning.
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) runCommand(cmdAcknowledgeAlarm);
        break;
    // Ctrl+C and Ctrl+N, as the message loop's translation delivers them.
    // A held Ctrl+N repeats (bit 30: the key was down before): one press, one switch.
    case WM_CHAR:
        if (wParam == ctrlC) runCommand(cmdCopyChart);
        if (wParam == ctrlN && (lParam & keyWasDown) == 0) runCommand(cmdNightColours);
        break;
    case WM_LBUTTONDOWN:
        if (monitorSettings.DATA == Barograph && clickedOnBanner(window, lParam)) runCommand(cmdAcknowledgeAlarm);
        break;
    default: break;
    }
    // Every other message, handled or not, also takes the default path.
    return DefWindowProcA(window, message, wParam, lParam);
}
