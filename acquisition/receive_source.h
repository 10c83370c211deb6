#pragma once
// The one source the receive poll reads: the serial port of the COM setting,
// or the network source of the SOURCE setting. The poll, the data watch and
// the shell ask here; only this file knows there are two kinds.
#include <windows.h>

#include <cstdint>

#include "acquisition/serial_port.h"

bool networkSourceChosen();

// Opens the chosen source and closes the other kind.
PortChange openReceiveSource(bool reportFailure);

// Both kinds closed, at the end of the run.
void closeReceiveSource();

// Open: lines can come (the port open, the UDP port bound, the TCP connection up).
bool receiveSourceOpen();

// Time counts towards a silence: the source is open or being opened again
// after a loss; not while a print job holds the port closed.
bool receiveSourceCounting();

// A power broadcast: a wake opens the chosen source again, once.
PortChange followSourcePowerEvent(WPARAM event);
