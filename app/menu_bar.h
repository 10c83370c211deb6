#pragma once
// The menu bar of the main window: building, check marks and port greying.
#include <windows.h>

#include "acquisition/port_list.h"

struct MenuBar {
    HMENU handle;
    // Port availability found by the probe at start-up, COM1..COM8.
    bool portAvailable[8];
    // The ports the system listed when last asked; from COM9 on, these (and
    // the configured port) have items.
    PortSet listed;
};

extern MenuBar menuBar;

// No bar (one attached is not destroyed), every port available.
void resetMenuBar();

// Creates the bar and its five drop-downs in the current language, drawn
// in the night colours while they are on, and attaches it to the main
// window, replacing (and destroying) any earlier one.
void buildMenus();

// Sets every check mark from the settings and the chart view, enables the
// acknowledgement of the storm warning while it sounds, and greys the chart
// views and the copy in Nmea mode.
void refreshMenuMarks();

// Reads the system's list of ports and tries to open each of COM1..COM8 once
// (but `skippedPort`, which the program holds, and with `trustList` those on
// the list); greys the items of those that do not open, enables the rest,
// and gives each listed port from COM9 on its item.
void probePorts(unsigned skippedPort = 0, bool trustList = false);

// The probe again, when the Setup menu opens: ports come and go (a USB
// adapter plugged into another socket). The port held open is not touched,
// nor is a listed one: opening a Bluetooth port can block for seconds.
void reprobePorts();

// A port that opened after the probe: its item is enabled from now on.
void markPortAvailable(unsigned port);

// Greys or enables the port items from the last probe, without probing.
void reapplyPortGreying();

// Detaches and destroys the bar and its drop-downs.
void destroyMenus();
