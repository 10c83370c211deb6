// Loaded into the running monitor.exe by the end-to-end driver through a
// message hook: Wine does not let one process read another's menus, so the
// program's own thread writes its menu bar to menu-dump.txt in its working
// folder when the driver posts the message "MonitorMenuDump", and tells the
// window that a drop-down opens on "MonitorMenuOpen".
// First "bar\t<left> <top> <right> <bottom>", the bar's place on the screen; then one line
// per entry: "popup\t<title>", "item\t<id>\t<text>\t<checked>\t<grayed>", "separator".
// A tab in a text (before its shortcut) and a backslash are escaped as the driver's texts are.
#include <windows.h>

#include <cstdio>

namespace {

void escapeText(const char* text, char (&out)[512])
{
    size_t n = 0;
    for (; *text && n + 2 < sizeof out; ++text) {
        if (*text == '\t' || *text == '\\') out[n++] = '\\';
        out[n++] = *text == '\t' ? 't' : *text;
    }
    out[n] = '\0';
}

void dumpMenu(HMENU menu, FILE* out)
{
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text - 1;
        if (!GetMenuItemInfoA(menu, i, TRUE, &info)) continue;
        char shown[512];
        escapeText(text, shown);
        if (info.fType & MFT_SEPARATOR) {
            std::fprintf(out, "separator\n");
        } else if (info.hSubMenu) {
            std::fprintf(out, "popup\t%s\n", shown);
            dumpMenu(info.hSubMenu, out);
        } else {
            std::fprintf(out, "item\t%u\t%s\t%d\t%d\n", info.wID, shown, (info.fState & MFS_CHECKED) ? 1 : 0,
                         (info.fState & MFS_GRAYED) ? 1 : 0);
        }
    }
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK menuProbeHook(int code, WPARAM wParam, LPARAM lParam)
{
    static UINT dumpMessage = RegisterWindowMessageA("MonitorMenuDump");
    static UINT openMessage = RegisterWindowMessageA("MonitorMenuOpen");
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message == dumpMessage) {
        FILE* out = std::fopen("menu-dump.tmp", "wb");
        if (out) {
            // Where the bar stands on the screen, first: its rows are the bar's own.
            MENUBARINFO place = {};
            place.cbSize = sizeof place;
            if (GetMenuBarInfo(message->hwnd, OBJID_MENU, 0, &place))
                std::fprintf(out, "bar\t%ld %ld %ld %ld\n", place.rcBar.left, place.rcBar.top, place.rcBar.right,
                             place.rcBar.bottom);
            if (HMENU bar = GetMenu(message->hwnd)) dumpMenu(bar, out);
            std::fclose(out);
            MoveFileA("menu-dump.tmp", "menu-dump.txt");
        }
    }
    // The user opens drop-down number wParam: the window hears of it as
    // Windows tells it, before the drop-down shows.
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message == openMessage) {
        HMENU bar = GetMenu(message->hwnd);
        HMENU popup = bar ? GetSubMenu(bar, static_cast<int>(message->wParam)) : nullptr;
        if (popup)
            SendMessageA(message->hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup),
                         MAKELPARAM(message->wParam, FALSE));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
