#pragma once
// Reading and writing monitor.ini in the current directory. Failures are
// answered, not logged: the shell logs them (the event log sits above).

// True when the file was opened (monitorSettings now holds its values),
// false when it could not be (monitorSettings unchanged).
bool readSettingsFile();

enum class SettingsWrite { Written, NotCreated, ShortWrite };

// Writes all of monitorSettings, normalising SAVE and SHOW first.
SettingsWrite writeSettingsFile();
