#pragma once
// The receive poll, run on every timer tick.

// Takes at most 512 buffered bytes from the port and handles every line they
// complete. Returns 1 when it stopped early (port closed, driver query failed,
// a line error), else 0.
int pollReceiver();
