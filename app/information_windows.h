#pragma once
// The four information windows of the Help menu: message boxes without owner,
// so the main window stays usable while one is open.

void showHelp();
void showAbout();
void showLinkCable();
void showDataFormats();
