#pragma once
// Runs the menu commands of the main window; the identifiers are in menu_layout.h.
#include "app/menu_layout.h"

// Runs one command; an unknown identifier does nothing.
void runCommand(unsigned id);
