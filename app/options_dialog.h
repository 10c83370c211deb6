#pragma once
// The Options dialog (Setup menu, item 1660): a modal dialog box built in
// memory from the field list of options_fields.h, in the window's language.

// Shows it; OK with every field in range applies them all and writes the settings.
void showOptionsDialog();
