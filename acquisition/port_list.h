#pragma once
// The serial ports the system lists (HARDWARE\DEVICEMAP\SERIALCOMM): every
// port that Windows has made, Bluetooth ones included, found without opening
// one, since opening an outgoing Bluetooth port blocks for seconds.
#include <bitset>

#include "settings/monitor_settings.h"

// By port number, 1..highestPort.
using PortSet = std::bitset<highestPort + 1>;

// The port number of a name "COMn" (any case, as the list gives it), or 0.
unsigned portNumberOf(const char* name, unsigned long length);

PortSet listedPorts();
