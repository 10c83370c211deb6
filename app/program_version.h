#pragma once
// The program's version, kept here once: the About window shows it and the
// exe's version resource carries it. monitor.rc includes this file, so it
// holds preprocessor definitions only.

#define PROGRAM_VERSION_TEXT "TQ61-03"
#define PROGRAM_DATE_TEXT "11.9.2004"

// The same version as the four numbers a version resource needs (Explorer
// shows them as the file version): the two numbers of the text, then 0.0.
#define PROGRAM_VERSION_NUMBERS 61, 3, 0, 0

#define PROGRAM_NAME "Barograph Monitor"
#define PROGRAM_COPYRIGHT "Copyright (c) 2026 the barograph monitor authors, MIT License"
