#pragma once
// The receive poll, run on every timer tick.

// Takes the bytes the chosen source has (at most 512 from the serial port)
// and handles every line they complete. Returns 1 when it stopped early
// (source not open, driver query failed, a line error), else 0.
int pollReceiver();
