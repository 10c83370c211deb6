#pragma once
// The information windows of the Help menu: message boxes without owner, so
// the main window stays usable while one is open.
#include "settings/ui_text.h"

// The text of that id (the about text with the version and date filled in)
// under the caption of that id.
void showInformation(TextId text, TextId caption);
