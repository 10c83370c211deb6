#pragma once
// The texts and identifiers of the menu bar in each language.
#include <cstddef>
#include <vector>

#include "settings/monitor_settings.h"

struct MenuEntry {
    unsigned id;       // 0 for a separator
    const char* text;  // Windows-1252
};

struct DropDown {
    const char* title;
    std::vector<MenuEntry> entries;
};

// File, Edit, View, Setup and Help, in this order.
std::vector<DropDown> menuLayout(UiLanguage language);

// The command of each port COM1..COM8, by port digit.
unsigned portCommand(char portDigit);
// The port digit of a port command, or 0 for any other command.
char portDigitOf(unsigned command);
