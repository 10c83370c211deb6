#pragma once
// The one serial port the program reads, COM1..COM8 at 4800 baud 8N1.
#include <windows.h>

#include <cstdint>

extern HANDLE portHandle;
// 1 only while the port is open; the receive poll does nothing while it is 0.
extern uint8_t portOpen;
// "COM" and the digit of the COM setting.
extern char portName[5];

// Polls between two silent attempts to open a port that is missing or was
// lost: about two seconds at the 200 ms timer.
constexpr unsigned portRetryPolls = 10;

// Opens and configures the port of the COM setting, starting a fresh receive
// line; a handle still held is closed first. A port that is missing or held
// by another program leaves portOpen at 0 and is tried again silently by
// retrySerialPort; with `showErrors` the user is told and events 1 and, for
// COM1..COM4, 14..17 are logged.
void openSerialPort(bool showErrors);

// Closes the handle and sets portOpen to 0; no retrying until the next
// openSerialPort (a print job reopens it when done).
void closeSerialPort();

// Forgets an outage of the current port: a port chosen by the user starts
// with a clean slate.
void endPortOutage();

// The port stopped answering while open (adapter pulled, driver gone in
// sleep): logs event 19 once per outage, closes the handle and starts
// retrying.
void loseSerialPort();

// Called by the poll while the port is not open: every portRetryPolls calls,
// one silent attempt to open the configured port. The return after a logged
// outage is logged as event 66.
void retrySerialPort();

// The block the port is configured with: the driver's current one when
// `current` is given, else a zeroed one, with every member the line depends
// on set explicitly.
DCB serialLineControl(const DCB* current);
