#pragma once
// Winsock for the whole program: the UDP output and the network source share
// one start, and the end of the run has the one matching cleanup.

// Starts Winsock on the first call; false when it cannot be had (then not tried again).
bool startWinsock();

// The cleanup matching a start that succeeded, at the end of the run.
void endWinsock();
