#pragma once
// Reading and writing monitor.ini in the current directory.

// True when the file was opened (monitorSettings now holds its values),
// false when it could not be (monitorSettings unchanged, event 2 logged).
bool readSettings();

// Writes all of monitorSettings, normalising SAVE and SHOW first.
void writeSettings();
