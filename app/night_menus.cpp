#include "app/night_menus.h"

#include <cctype>
#include <string>

#include "app/menu_bar.h"
#include "app/shell_state.h"
#include "app/menu_layout.h"
#include "display/colour_scheme.h"
#include "settings/monitor_settings.h"

namespace {

// An item's data says where it stands: its menu's number (1 the bar, 2 on
// its drop-downs in order) and its position there. Positions change only
// when items are added or removed, after which the items are styled again.
constexpr ULONG_PTR positionBits = 16;

ULONG_PTR itemTag(unsigned menuNumber, unsigned position) { return (ULONG_PTR(menuNumber) << positionBits) | position; }

struct StyledItem {
    HMENU menu;
    UINT position;
    bool onBar, separator;
    char text[256];
};

bool styledItem(ULONG_PTR tag, StyledItem& item)
{
    const unsigned menuNumber = static_cast<unsigned>(tag >> positionBits);
    if (menuNumber == 0 || !menuBar.handle) return false;
    item.menu = menuNumber == 1 ? menuBar.handle : GetSubMenu(menuBar.handle, static_cast<int>(menuNumber) - 2);
    item.position = static_cast<UINT>(tag & ((ULONG_PTR(1) << positionBits) - 1));
    item.onBar = menuNumber == 1;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = item.text;
    info.cch = sizeof item.text - 1;
    item.text[0] = '\0';
    if (!item.menu || !GetMenuItemInfoA(item.menu, item.position, TRUE, &info)) return false;
    item.separator = (info.fType & MFT_SEPARATOR) != 0;
    return (info.fType & MFT_OWNERDRAW) != 0;
}

void styleItems(HMENU menu, unsigned menuNumber)
{
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        char text[256] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text - 1;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) continue;
        // The text is set again with the type, so that it stays the item's.
        const bool separator = (info.fType & MFT_SEPARATOR) != 0;
        info.fMask = MIIM_FTYPE | MIIM_DATA | (separator ? 0 : MIIM_STRING);
        info.fType |= MFT_OWNERDRAW;
        info.dwTypeData = separator ? nullptr : text;
        info.dwItemData = itemTag(menuNumber, static_cast<unsigned>(position));
        SetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
    }
}

COLORREF colourOf(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// The menu font the system draws its own items in, so that a night item
// is as large as by day; null when it cannot be made.
HFONT createMenuFont()
{
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
    return CreateFontIndirectA(&metrics.lfMenuFont);
}

// Measures in `dc` with the menu font selected: the padding is the font's
// average character width, the height its line.
struct TextSizes {
    int padding, lineHeight;
    SIZE words, keyName;
};

SIZE textSize(HDC dc, const std::string& text, UINT format)
{
    RECT box = {0, 0, 0, 0};
    if (!text.empty()) DrawTextA(dc, text.c_str(), -1, &box, format | DT_CALCRECT | DT_SINGLELINE);
    return {box.right - box.left, box.bottom - box.top};
}

TextSizes sizesOf(HDC dc, const MenuItemText& text)
{
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    TextSizes sizes = {};
    sizes.padding = metrics.tmAveCharWidth > 0 ? metrics.tmAveCharWidth : 6;
    sizes.lineHeight = metrics.tmHeight > 0 ? metrics.tmHeight : 13;
    sizes.words = textSize(dc, text.words, 0);
    sizes.keyName = textSize(dc, text.keyName, DT_NOPREFIX);
    return sizes;
}

void drawCheckMark(HDC dc, const RECT& box, COLORREF colour)
{
    const int side = box.bottom - box.top < box.right - box.left ? box.bottom - box.top : box.right - box.left;
    const int x = box.left + (box.right - box.left - side) / 2, y = box.top + (box.bottom - box.top - side) / 2;
    HPEN pen = CreatePen(PS_SOLID, side >= 12 ? 2 : 1, colour);
    if (!pen) return;
    HGDIOBJ before = SelectObject(dc, pen);
    MoveToEx(dc, x + side * 2 / 10, y + side * 5 / 10, nullptr);
    LineTo(dc, x + side * 4 / 10, y + side * 7 / 10);
    LineTo(dc, x + side * 8 / 10, y + side * 3 / 10);
    SelectObject(dc, before);
    DeleteObject(pen);
}

void drawItem(const DRAWITEMSTRUCT& item, const StyledItem& styled, HDC dc)
{
    const RECT& box = item.rcItem;
    const bool selected = (item.itemState & (ODS_SELECTED | ODS_HOTLIGHT)) != 0;
    const bool grey = (item.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    HBRUSH ground = CreateSolidBrush(colourOf(selected ? nightMenuSelection : nightGround));
    FillRect(dc, &box, ground ? ground : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (ground) DeleteObject(ground);
    const COLORREF ink = colourOf(grey ? nightMenuGreyText : nightMenuText);
    const MenuItemText text = splitMenuText(styled.text);
    const TextSizes sizes = sizesOf(dc, text);
    if (styled.separator) {
        HPEN pen = CreatePen(PS_SOLID, 1, colourOf(nightMenuGreyText));
        if (!pen) return;
        HGDIOBJ before = SelectObject(dc, pen);
        const int y = (box.top + box.bottom) / 2;
        MoveToEx(dc, box.left + sizes.padding, y, nullptr);
        LineTo(dc, box.right - sizes.padding, y);
        SelectObject(dc, before);
        DeleteObject(pen);
        return;
    }
    SetTextColor(dc, ink);
    SetBkMode(dc, TRANSPARENT);
    // The Alt letter's underline follows the keyboard cues, as the system's items do.
    const UINT prefix = (item.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0;
    RECT words = box;
    if (styled.onBar) {
        DrawTextA(dc, text.words.c_str(), -1, &words, DT_SINGLELINE | DT_VCENTER | DT_CENTER | prefix);
        return;
    }
    const int checkWidth = GetSystemMetrics(SM_CXMENUCHECK);
    if (item.itemState & ODS_CHECKED) {
        RECT check = {box.left + sizes.padding / 2, box.top, box.left + sizes.padding / 2 + checkWidth, box.bottom};
        drawCheckMark(dc, check, ink);
    }
    words.left = box.left + checkWidth + sizes.padding;
    DrawTextA(dc, text.words.c_str(), -1, &words, DT_SINGLELINE | DT_VCENTER | DT_LEFT | prefix);
    if (!text.keyName.empty()) {
        RECT key = box;
        key.right -= sizes.padding;
        DrawTextA(dc, text.keyName.c_str(), -1, &key, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
}

// The drop-downs' windows, subclassed while open: their own procedure by window.
struct MenuWindow {
    HWND window;
    WNDPROC own;
};
MenuWindow menuWindows[8];
HHOOK menuWindowHook = nullptr;

void frameMenuWindow(HWND window)
{
    RECT outer, inner;
    if (!GetWindowRect(window, &outer) || !GetClientRect(window, &inner)) return;
    HDC dc = GetWindowDC(window);
    if (!dc) return;
    // The border between the window's edge and its client area, and the
    // client area's outermost pixels, where some versions draw the frame.
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    RECT frame = {0, 0, outer.right - outer.left, outer.bottom - outer.top};
    RECT client = {origin.x - outer.left, origin.y - outer.top, origin.x - outer.left + inner.right,
                   origin.y - outer.top + inner.bottom};
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    HBRUSH edge = CreateSolidBrush(colourOf(nightMenuGreyText));
    for (RECT ring = frame; ring.left <= client.left && ring.right > ring.left && ring.bottom > ring.top;
         InflateRect(&ring, -1, -1))
        FrameRect(dc, &ring, ring.left == 0 && edge ? edge : black);
    if (edge) DeleteObject(edge);
    ReleaseDC(window, dc);
}

MenuWindow* menuWindowOf(HWND window)
{
    for (MenuWindow& entry : menuWindows)
        if (entry.window == window) return &entry;
    return nullptr;
}

LRESULT CALLBACK nightMenuWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MenuWindow* entry = menuWindowOf(window);
    if (!entry) return DefWindowProcA(window, message, wParam, lParam);
    const WNDPROC own = entry->own;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
        *entry = MenuWindow{};
    }
    const LRESULT result = CallWindowProcA(own, window, message, wParam, lParam);
    if (message == WM_PAINT || message == WM_NCPAINT || message == WM_PRINTCLIENT) frameMenuWindow(window);
    return result;
}

// The class of the system's menu windows.
bool isMenuWindow(HWND window)
{
    char name[16] = {};
    return GetClassNameA(window, name, sizeof name) && std::string(name) == "#32768";
}

LRESULT CALLBACK watchMenuWindows(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_CREATE && isMenuWindow(message->hwnd) &&
        !menuWindowOf(message->hwnd)) {
        if (MenuWindow* free = menuWindowOf(nullptr)) {
            free->window = message->hwnd;
            free->own = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
                message->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(nightMenuWindowProcedure)));
            if (!free->own) *free = MenuWindow{};
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

void followMenuColours()
{
    if (!monitorSettings.NIGHT || !menuBar.handle) return;
    styleItems(menuBar.handle, 1);
    const int count = GetMenuItemCount(menuBar.handle);
    for (int i = 0; i < count; ++i)
        if (HMENU popup = GetSubMenu(menuBar.handle, i)) styleItems(popup, static_cast<unsigned>(i) + 2);
    MENUINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND | MIM_APPLYTOSUBMENUS;
    info.hbrBack = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    SetMenuInfo(menuBar.handle, &info);
}

bool measureMenuItem(MEASUREITEMSTRUCT& item)
{
    StyledItem styled;
    if (item.CtlType != ODT_MENU || !styledItem(item.itemData, styled)) return false;
    HDC dc = GetDC(nullptr);
    if (!dc) return false;
    const int saved = SaveDC(dc);
    HFONT font = saved ? createMenuFont() : nullptr;
    if (font) SelectObject(dc, font);
    const MenuItemText text = splitMenuText(styled.text);
    const TextSizes sizes = sizesOf(dc, text);
    RestoreDC(dc, saved);
    ReleaseDC(nullptr, dc);
    if (font) DeleteObject(font);
    // The system widens a drop-down's item by a check mark's width (or, in
    // some versions, by less): the check mark's room is asked for all the same.
    const int checkWidth = GetSystemMetrics(SM_CXMENUCHECK);
    if (styled.onBar) {
        item.itemWidth = static_cast<UINT>(sizes.words.cx + sizes.padding);
        item.itemHeight = static_cast<UINT>(GetSystemMetrics(SM_CYMENU));
    } else if (styled.separator) {
        item.itemWidth = static_cast<UINT>(sizes.padding);
        item.itemHeight = static_cast<UINT>(sizes.lineHeight / 2 + 1);
    } else {
        int width = checkWidth + 2 * sizes.padding + sizes.words.cx;
        if (sizes.keyName.cx > 0) width += 3 * sizes.padding + sizes.keyName.cx;
        item.itemWidth = static_cast<UINT>(width);
        const int line = sizes.lineHeight + sizes.padding;
        item.itemHeight = static_cast<UINT>(line > GetSystemMetrics(SM_CYMENUCHECK) ? line
                                                                                 : GetSystemMetrics(SM_CYMENUCHECK));
    }
    return true;
}

bool drawMenuItem(const DRAWITEMSTRUCT& item)
{
    StyledItem styled;
    if (item.CtlType != ODT_MENU || !styledItem(item.itemData, styled)) return false;
    // The context goes back to the system as it came: its font, colours and mode.
    const int saved = SaveDC(item.hDC);
    HFONT font = saved ? createMenuFont() : nullptr;
    if (font) SelectObject(item.hDC, font);
    drawItem(item, styled, item.hDC);
    RestoreDC(item.hDC, saved);
    if (font) DeleteObject(font);
    return true;
}

LRESULT menuItemByAltLetter(WPARAM key, HMENU menu)
{
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(LOWORD(key))));
    const int count = monitorSettings.NIGHT ? GetMenuItemCount(menu) : 0;
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA;
        StyledItem styled;
        if (GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info) &&
            styledItem(info.dwItemData, styled) && styled.menu == menu && menuAltLetter(styled.text) == letter)
            return MAKELRESULT(position, MNC_EXECUTE);
    }
    return 0;
}

void coverMenuBarGround(HWND window)
{
    MENUBARINFO bar = {};
    bar.cbSize = sizeof bar;
    const int count = menuBar.handle ? GetMenuItemCount(menuBar.handle) : 0;
    RECT last, outer;
    POINT client = {0, 0};
    if (!monitorSettings.NIGHT || count <= 0 || !GetMenuBarInfo(window, OBJID_MENU, 0, &bar) ||
        !GetMenuItemRect(window, menuBar.handle, static_cast<UINT>(count - 1), &last) ||
        !GetWindowRect(window, &outer) || !ClientToScreen(window, &client))
        return;
    HDC dc = GetWindowDC(window);
    if (!dc) return;
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    // In the window's own coordinates: right of the last item, and every row
    // from the items' bottom down to the client area.
    RECT free = {last.right - outer.left, bar.rcBar.top - outer.top, bar.rcBar.right - outer.left,
                 bar.rcBar.bottom - outer.top};
    RECT beneath = {bar.rcBar.left - outer.left, last.bottom - outer.top, bar.rcBar.right - outer.left,
                    client.y - outer.top};
    FillRect(dc, &free, black);
    FillRect(dc, &beneath, black);
    ReleaseDC(window, dc);
}

void followMenuWindows(bool menuOpen)
{
    if (menuOpen && monitorSettings.NIGHT && !menuWindowHook)
        menuWindowHook = SetWindowsHookExA(WH_CALLWNDPROC, watchMenuWindows, nullptr, GetCurrentThreadId());
    if (!menuOpen && menuWindowHook) {
        UnhookWindowsHookEx(menuWindowHook);
        menuWindowHook = nullptr;
    }
}
