#pragma once
// The shared measurement state: the last reading, the five-minute cycle, the
// counters, the 52-hour pressure history and the store of recent NMEA lines.
// Each exists once; measured values are integers in fixed units.
#include <cstddef>
#include <cstdint>

#include "records/record_line.h"

struct CurrentReading {
    // The pressures and tendencies of an accepted sentence carry the user's
    // correction (pressure_correction.h) from the moment it is taken in.
    uint32_t pressure;        // hundredths of a hPa, 80000..110000 as sent (0 before the first sentence)
    uint32_t converterValue;  // raw converter counts, 0..highestConverterValue
    int32_t tendency1h;       // tenths of a hPa, -999..999
    int32_t tendency3h;       // tenths of a hPa, -999..999
    uint32_t minutesAgo;      // age of pressureThen, 0..3120
    uint32_t pressureThen;    // hundredths of a hPa, 0..150000
    int32_t parseResult;      // 0 accepted, 1..5 wrong header characters, 6 damaged
    UtcStamp sampleTime;      // when the last barograph line was handled
    uint8_t windAlarm;        // 1 once the wind alarm stood in this five-minute cycle
    // A sentence was accepted since the start or the last mode switch: until
    // then the fields hold no reading of this run.
    bool taken;
};

// The converter field carries the top 16 bits of the converter.
constexpr uint32_t highestConverterValue = 65535;

// 300 accepted sentences make one cycle.
struct VariationCycle {
    uint32_t acceptedSentences, converterMax, converterMin;
    uint32_t variation;  // max - min of the last closed cycle, at most 999
};

struct AcquisitionCounters {
    uint32_t sentenceCounter, recordCounter, nmeaLineCounter;
};

struct HistorySlot {
    uint32_t year;
    uint8_t month, day, hour, minute;
    int32_t pressure;  // hundredths of a hPa; 0 means no value
    int32_t tendency1h, tendency3h, variation;
    uint8_t windAlarm;
};

constexpr size_t historySlotCount = 128;
// Slots 0..103 are the 52 hours the charts draw, 30 minutes each, slot 0 newest.
constexpr size_t historyWindowSlots = 104;
constexpr uint32_t minutesPerSlot = 30;

struct PressureHistory {
    HistorySlot slots[historySlotCount];
    int32_t lastHistorySum;
};

constexpr size_t nmeaLineCount = 127, nmeaLineSize = 128;
// Longest stored line; the byte after it and the last byte stay zero.
constexpr size_t nmeaMaxLineLength = 126;
// Lines 0..81 are filled; 82..126 stay zero.
constexpr size_t nmeaFilledLines = 82;

// NMEA 0183 lines begin with '$' (a sentence) or '!' (an encapsulation
// sentence, as AIS sends); Nmea mode keeps these and no others.
inline bool beginsNmeaSentence(const char* line) { return line[0] == '$' || line[0] == '!'; }

struct NmeaLineStore {
    char lines[nmeaLineCount][nmeaLineSize];  // line 0 is the newest
};

extern CurrentReading currentReading;
extern VariationCycle variationCycle;
extern AcquisitionCounters acquisitionCounters;
extern PressureHistory pressureHistory;
extern NmeaLineStore nmeaLineStore;

// Every structure above as at program start: zeroes, the converter minimum
// at its highest value, no NMEA line.
void resetMeasurementState();

// A fresh five-minute cycle, as a mode switch starts one: no accepted
// sentence, no converter extremes, no wind alarm marked; nothing from before
// the switch reaches the next record.
void startFreshCycle();

// No reading, as at a start: a mode switch makes the reading from before it
// hours old. The time of the last line stays.
void clearReading();

// Zeroes slots 0..103; slots 104..127 and lastHistorySum are kept.
void clearHistory();

// A stored pressure further than this (hundredths of a hPa) from the pressure
// it came with is not filed: no weather moves that far in 52 hours, a damaged
// digit does.
constexpr uint32_t storedPressureReach = 8000;

// Slot 0 takes the current pressure, then the slot for minutesAgo takes
// pressureThen (so below 30 minutes the stored value wins in slot 0), unless
// pressureThen lies more than storedPressureReach from the current pressure:
// then that slot keeps what it had.
void storeHistoryPressures();

// Tendencies of slots 0..103 from the slot pressures two and six slots older.
void computeTendencies();

// True when the pressure sum of slots 0..103 differs from the last one seen;
// remembers the new sum.
bool historyChanged();

void clearNmeaLines();

// Puts `text` (cut to 126 bytes) in line 0 and moves lines 0..80 down by one.
void pushNmeaLine(const char* text, size_t length);
