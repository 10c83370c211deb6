#pragma once
// Steps of start-up and shutdown that live in the shell.
#include <cstdint>

// Below this many bytes available on the working disk the program warns at start.
constexpr uint64_t minimumFreeBytes = 100000;

inline bool freeSpaceIsLow(uint64_t bytesAvailable) { return bytesAvailable < minimumFreeBytes; }

bool registerMainWindowClass();
bool createMainWindow();

// Gives the main window the background and, where Windows can draw one, the
// title bar of the NIGHT setting's colour scheme.
void followColourScheme();
void checkFreeDiskSpace();

// Called once at start, fills every table the layers below reach the platform through: the shell seam (the
// main window, the event log), the clock and record files, the real file, the week chart's new records.
void installShellSeam();

// Empties every table installShellSeam fills, as before it ran.
void resetSeamTables();

// monitor.ini through the event log: a missing file is event 2 (false). One
// that is there but cannot be read gives the defaults, event 2 with the note
// that the run leaves the file as it is, and the box of tellSettingsKept. A
// damaged one is moved aside, and the defaults are applied and written at
// once, with event 79; where it cannot be moved aside, the defaults and event
// 79 with that note. True: the settings are in place.
bool readSettings();
// The box of a start that leaves monitor.ini as it is, once; nothing otherwise.
void tellSettingsKept();
// At the start and the end: a file that cannot be created or put in place is
// event 3 and fatal error 1, one that cannot be written or flushed event 21.
// A run that leaves the file as it is writes nothing and says nothing more.
void writeSettings();
// A setting changed from a menu or the Options dialog, written at once so that
// a power failure does not undo it; a failure is logged (event 3) once per run,
// with no box: the write at the end tries again.
void writeSettingsNow();

// Opens the chosen source at start or on the user's choice: the port of the
// COM setting, whose failure is shown in a box and logged (event 1, and
// 14..17 for COM1..COM4) and which gets its menu item enabled when it opens;
// or the network source, whose UDP port held by another program is told the
// same way.
void openConfiguredPort();

// What every end of the run does, once: the settings written, the kept
// records tried a last time (event 70 for what remains), the timer stopped,
// the port closed and the PC let sleep, the printer context released.
void finishRun();

// Windows ends the session: the same end, then event 76; the loop ends too.
void endWindowsSession();
