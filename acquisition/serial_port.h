#pragma once
// The one serial port the program reads, COM1..COM256 at 4800 baud 8N1.
#include <windows.h>

#include <cstdint>

// Closed: not open, not tried again (at start, after a close, during a print
// job). Open: read by the receive poll. Retrying: missing or lost, tried
// again silently every portRetryPolls polls until it opens.
enum class PortState : uint8_t { Closed, Open, Retrying };

struct SerialPort {
    HANDLE handle;
    PortState state;
    // "\\.\COMn" of the COM setting: the form Windows requires from COM10 on
    // and accepts for every port.
    char name[12];
    // An outage was reported (a loss, or a failed open the user was told
    // of): its end is reported too.
    bool outageLogged;
    unsigned pollsSinceAttempt;
    // The port was reopened for the wake under way (until the next suspend).
    bool wakeTaken;
};

extern SerialPort serialPort;

// Closed, no handle, nothing reported; the handle is not closed.
void resetSerialPort();

inline bool portIsOpen() { return serialPort.state == PortState::Open; }

// "COMn", as the user knows the port.
inline const char* portDisplayName() { return serialPort.name + 4; }

// What a transition did, for the shell to show: the serial code itself shows
// no box and greys no menu item.
enum class PortChange { None, Opened, OpenFailed };

// Polls between two silent attempts to open a port that is missing or was
// lost: about two seconds at the 200 ms timer.
constexpr unsigned portRetryPolls = 10;

// Opens and configures the port of the COM setting, starting a fresh receive
// line; a handle still held is closed first. A port that is missing or held
// by another program goes to Retrying. With `reportFailure` the caller tells
// the user of a failure and logs it, and the port's return is logged once it
// opens (event 66).
PortChange openSerialPort(bool reportFailure);

// Closes the handle: Closed, no retrying until the next openSerialPort (a
// print job reopens it when done).
void closeSerialPort();

// Forgets an outage of the current port: a port chosen by the user starts
// with a clean slate.
void endPortOutage();

// The port stopped answering while open (adapter pulled, driver gone in
// sleep): logs event 19 once per outage, closes the handle and retries.
void loseSerialPort();

// Called by the poll while the port is not open: every portRetryPolls calls
// in Retrying, one silent attempt to open the configured port.
PortChange retrySerialPort();

// The PC woke from sleep: an open port's handle may be dead (a USB adapter
// comes back as a new device), so it is closed and tried again at once, then
// in the rhythm of a lost port. Its return is logged (event 66); the sleep
// was no fault, so no loss is.
PortChange resumeSerialPort();

// A power broadcast: true once per wake. Windows announces every wake as
// resume-automatic and, when the user woke the PC, again as resume-suspend;
// a resume-suspend without the other (older systems) counts as well.
bool takeWake(WPARAM event);

// A power broadcast: a wake (takeWake) reopens the port once.
PortChange followPowerEvent(WPARAM event);

// The block the port is configured with: the driver's current one when
// `current` is given, else a zeroed one, with every member the line depends
// on set explicitly.
DCB serialLineControl(const DCB* current);
