#pragma once
// The menu bar of the main window: building, check marks and port greying.
#include <windows.h>

struct MenuBar {
    HMENU handle;
    // Port availability found by the probe at start-up, COM1..COM8.
    bool portAvailable[8];
};

extern MenuBar menuBar;

// No bar (one attached is not destroyed), every port available.
void resetMenuBar();

// Creates the bar and its five drop-downs in the current language and
// attaches it to the main window, replacing (and destroying) any earlier one.
void buildMenus();

// Sets every check mark from the settings and the chart view, enables the
// acknowledgement of the storm warning while it sounds, and greys the chart
// views and the copy in Nmea mode.
void refreshMenuMarks();

// Tries to open every port once (but the one of that digit, which the
// program holds); greys the items of those that do not open, enables the rest.
void probePorts(char skippedDigit = 0);

// The probe again, when the Setup menu opens: ports come and go (a USB
// adapter plugged into another socket); the port held open is not touched.
void reprobePorts();

// A port that opened after the probe: its item is enabled from now on.
void markPortAvailable(char digit);

// Greys or enables the port items from the last probe, without probing.
void reapplyPortGreying();

// Detaches and destroys the bar and its drop-downs.
void destroyMenus();
