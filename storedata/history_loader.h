#pragma once
// Fills the chart's history from monitor.txt.

// Takes every SHOW/300-th record back from the end of monitor.txt into the
// history window, newest first, and repaints the main window. False, with
// the history unchanged, when monitor.txt is missing or held by another program.
bool loadHistory();
