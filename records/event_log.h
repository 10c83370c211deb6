#pragma once
// The program's only diagnostic channel: numbered events and fatal errors in monitor.err.
#include "records/event_text.h"
#include "settings/shell_seam.h"

// Appends one event line while the ERR setting is on: the shell seam's
// logEvent, the one route by which every layer logs.
void appendEventLine(int number);

// The same line with a note after the event's text (settingsWithheldNote).
void appendNotedEventLine(int number, const char* note);

// Always appends a fatal-error line, shows the fatal message in the current
// language, beeps and asks the message loop to end. Returns to the caller.
void fatalError(int number);
