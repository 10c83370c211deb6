#pragma once
// Which records of monitor.txt go into which history slot, without file access.
#include <cstdint>
#include <functional>

#include "settings/monitor_settings.h"

// Reads up to 80 bytes of the record file from `offset` into `bytes`;
// answers how many it read.
using RecordReader = std::function<uint32_t(uint32_t offset, char* bytes)>;

// Records per history slot for a SHOW setting: 300 -> 1, 600 -> 2, 900 -> 3,
// 1800 -> 6.
uint32_t recordsPerSlot(uint32_t show);

// Clears the history window and fills slots 0.. from the record file of
// `fileSize` bytes, newest record first, every recordsPerSlot(show)-th record
// back from the last one, skipping records that cannot be read whole or fail
// parseRecordLine(mode). Fills at most (records / stride) slots, at most 104,
// and always examines the last record once. Ends, at the latest, when the
// next record would start before the file does. Answers the slots filled.
uint32_t fillHistoryFromRecords(uint32_t fileSize, uint32_t show, DataMode mode,
                                const RecordReader& readAt);
