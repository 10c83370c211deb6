#pragma once
// The menu bar and its drop-downs in night colours. While NIGHT is on, every
// item is owner-drawn on a black ground, keeping its text for GetMenuString
// and the Alt letters; by day the menus are the system's, as built.
#include <windows.h>

// At night makes every item of the bar and its drop-downs the program's to
// draw and gives them the black ground; by day leaves the menus alone (a bar
// built anew is the day's). Call after the bar is built or its items change.
void followMenuColours();

// WM_MEASUREITEM and WM_DRAWITEM of a menu item styled above; false for any
// other item.
bool measureMenuItem(MEASUREITEMSTRUCT& item);
bool drawMenuItem(const DRAWITEMSTRUCT& item);

// WM_MENUCHAR: the item of `menu` whose Alt letter is `key`, to be chosen, as
// the system does for the items it draws; 0 when none has it.
LRESULT menuItemByAltLetter(WPARAM key, HMENU menu);

// The system paints the bar's free part right of its items, and a line
// beneath it, in its own colours whatever the bar's background: at night
// these go black after each paint of the window's frame.
void coverMenuBarGround(HWND window);

// While a menu is open at night (from WM_ENTERMENULOOP to WM_EXITMENULOOP),
// each drop-down's window has its frame, which the system draws light, in
// the night colours.
void followMenuWindows(bool menuOpen);
