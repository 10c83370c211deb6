#pragma once
// Reading and writing monitor.ini in the current directory. Failures are
// answered, not logged: the shell logs them (the event log sits above).

enum class SettingsRead {
    Read,         // monitorSettings holds the file's values
    Missing,      // there is no monitor.ini; monitorSettings unchanged
    Unreadable,   // it is there but held by another program beyond the wait, not readable or longer than
                  // settingsFileLimit: monitorSettings unchanged, and this run never writes the file
    Damaged,      // not a settings file (zeros, another program's file): moved aside to the first free name
                  // of monitor.ini.bad, monitor.ini.bad2 .. monitor.ini.bad9; monitorSettings unchanged
    DamagedKept,  // such a file where none of those names could be had: it stays, and this run never writes it
};

// Opens the file sharing it with readers only, and waits out another
// program's hold (a virus scanner, a backup) for up to settingsHoldWaitMs.
SettingsRead readSettingsFile();

constexpr unsigned settingsHoldWaitMs = 2000;

enum class SettingsWrite {
    Written,
    NotCreated,  // the new file could not be created, or not put in place of the old one
    ShortWrite,  // the new file could not be written or flushed
    TooLong,     // the text would be longer than the reader believes: nothing written
    Withheld,    // this run reads no settings of the user's file and leaves it as it is
};

// Writes all of monitorSettings, normalising SHOW first, whole or not at
// all: into monitor.ini.new, flushed, then moved over monitor.ini, waiting
// out a reader's hold as the read does. On any failure the old monitor.ini
// stays as it was and monitor.ini.new is gone.
SettingsWrite writeSettingsFile();

// True from a read that gave Unreadable or DamagedKept until the next read:
// every write of the run is Withheld, so that the user's bytes stay.
inline bool settingsWritesWithheld = false;
