#pragma once
// Fills the week chart's records from monitor.txt.
#include <cstdint>

// The present UTC minute, in minutes since 01.01.1970.
int64_t presentUtcMinute();

// Reads the week before nowMinute from the end of monitor.txt into
// weekHold, with the records kept in memory for the file behind them. A file
// held by another program leaves what was read last; one that is missing or
// cannot be read leaves no records. Nothing is logged either way.
void loadWeek(int64_t nowMinute);
