#pragma once
// The one serial port the program reads, COM1..COM8 at 4800 baud 8N1.
#include <windows.h>

#include <cstdint>

extern HANDLE portHandle;
// 1 only after a successful open; the receive poll does nothing while it is 0.
extern uint8_t portOpen;
// "COM" and the digit of the COM setting.
extern char portName[5];

// Opens and configures the port of the COM setting, starting a fresh receive
// line. A port that is missing or held by another program leaves portOpen at
// 0; with `showErrors` the user is told and events 1 and, for COM1..COM4,
// 14..17 are logged.
void openSerialPort(bool showErrors);

// Closes the handle; portOpen is left as it is (callers reopen at once, or
// after a print job).
void closeSerialPort();
