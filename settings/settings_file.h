#pragma once
// Reading and writing monitor.ini in the current directory. Failures are
// answered, not logged: the shell logs them (the event log sits above).

enum class SettingsRead {
    Read,        // monitorSettings holds the file's values
    Unreadable,  // missing, held by another program or not readable; monitorSettings unchanged
    Damaged,     // not a settings file (zeros, another program's file): moved aside to
                 // monitor.ini.bad, monitorSettings unchanged
};

SettingsRead readSettingsFile();

enum class SettingsWrite {
    Written,
    NotCreated,  // the new file could not be created, or not put in place of the old one
    ShortWrite,  // the new file could not be written or flushed
};

// Writes all of monitorSettings, normalising SHOW first, whole or not
// at all: into monitor.ini.new, flushed, then moved over monitor.ini. On any
// failure the old monitor.ini stays as it was and monitor.ini.new is gone.
SettingsWrite writeSettingsFile();
