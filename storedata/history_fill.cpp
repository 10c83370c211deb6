#include "storedata/history_fill.h"

#include "acquisition/measurement_state.h"
#include "records/record_line.h"
#include "storedata/record_parser.h"

uint32_t recordsPerSlot(uint32_t show)
{
    uint32_t stride = show / 300;
    // The settings reader admits only the four values; anything else still
    // must not stall the loader on one record.
    return stride == 0 ? 1 : stride;
}

uint32_t fillHistoryFromRecords(uint32_t fileSize, uint32_t show, DataMode mode,
                                const RecordReader& readAt)
{
    clearHistory();
    const uint32_t stride = recordsPerSlot(show);
    uint32_t count = fileSize / recordLineLength / stride;
    if (count > historyWindowSlots) count = static_cast<uint32_t>(historyWindowSlots);

    // A file shorter than one record cannot be entered 80 bytes before its
    // end: reading starts at its beginning and comes up short.
    uint32_t position = fileSize >= recordLineLength ? fileSize - recordLineLength : 0;
    const uint32_t stepBack = (stride + 1) * recordLineLength;
    uint32_t slot = 0;
    do {
        char line[recordLineLength];
        uint32_t got = readAt(position, line);
        // Outside Barograph mode nothing is parsed and the slot takes zeros.
        ParsedRecord record = {};
        if (got == recordLineLength && parseRecordLine(mode, line, record)) {
            HistorySlot& s = pressureHistory.slots[slot];
            s.year = static_cast<uint32_t>(record.year);
            s.month = static_cast<uint8_t>(record.month);
            s.day = static_cast<uint8_t>(record.day);
            s.hour = static_cast<uint8_t>(record.hour);
            s.minute = static_cast<uint8_t>(record.minute);
            s.pressure = record.pressure;
            s.tendency1h = record.tendency1h;
            s.tendency3h = record.tendency3h;
            s.variation = record.variation;
            s.windAlarm = record.windAlarm;
            ++slot;
        }
        // Back to the start of the record `stride` records before this one;
        // when that lies before the file, there is nothing older to take.
        uint32_t after = position + got;
        if (after < stepBack) break;
        position = after - stepBack;
    } while (slot < count);
    return slot;
}
