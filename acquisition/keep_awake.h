#pragma once
// While the program records from an open port it asks Windows to keep the
// system (not the display) awake, so that a PC left alone does not sleep
// through the records; it lets go as soon as either stops, and at the end.

struct KeepAwake {
    bool held;  // the request stands
};

extern KeepAwake keepAwake;

void resetKeepAwake();

// Asks or lets go as the port and the recording setting now stand; calls
// Windows only when that changes.
void followKeepAwake();

// Lets go whatever stands: at the end of the run.
void releaseKeepAwake();
