#include "acquisition/line_dispatch.h"

#include <cstdio>
#include <cstring>

#include "acquisition/alarm_signal.h"
#include "acquisition/barograph_parser.h"
#include "acquisition/data_watch.h"
#include "acquisition/low_pressure_alarm.h"
#include "acquisition/pressure_correction.h"
#include "acquisition/nmea_output.h"
#include "acquisition/signalk_output.h"
#include "acquisition/wind_alarm.h"
#include "records/event_text.h"
#include "settings/monitor_settings.h"
#include "settings/shell_seam.h"
#include "settings/ui_text.h"

ReceiverFrontEnd receiverFrontEnd = {};

namespace {

constexpr uint32_t variationLimit = 999;

void advanceWrapping(uint32_t& counter)
{
    ++counter;
    if (counter > sixDigitLimit) counter = 0;
}

void noteLineTaken(const UtcStamp& now)
{
    if (!noteDataTaken(now)) return;
    logEvent(eventDataAgain);
    endAlarmCause(AlarmCause::DataStop);
    repaintShell();  // the chart's no-data banner goes
}

// The levels follow the device's own tendencies in accepted sentences; the
// record of the cycle carries the alarm once it stood at any of them.
void followWindAlarm()
{
    int before = windAlarmLevel();
    int level = takeWindTendencies(currentReading.tendency1h, currentReading.tendency3h, currentReading.sampleTime);
    if (level != 0) currentReading.windAlarm = 1;
    if (level == before) return;
    logEvent(level == 2 ? eventGaleAlarm : level == 1 ? eventWindWarning : eventWindAlarmEnded);
    // Easing from level 2 to 1 leaves the rise standing as it was.
    if (level > before) soundAlarm(AlarmCause::LevelRise);
    else if (level == 0) endAlarmCause(AlarmCause::LevelRise);
    repaintShell();  // the chart's banner changes
}

// The low-pressure alarm follows the corrected pressure of accepted sentences.
void followLowPressure()
{
    switch (takeLowPressure(currentReading.pressure, monitorSettings.LOW)) {
    case LowAlarmChange::None: return;
    case LowAlarmChange::Raised:
        logEvent(eventLowPressure);
        soundAlarm(AlarmCause::LowPressure);
        break;
    case LowAlarmChange::Ended:
        logEvent(eventLowPressureEnded);
        endAlarmCause(AlarmCause::LowPressure);
        break;
    }
    repaintShell();  // the chart's banner changes
}

void sendDatagram(const char* bytes, size_t length)
{
    if (monitorSettings.SEND != 0 && receiverFrontEnd.sendDatagram) receiverFrontEnd.sendDatagram(bytes, length);
}

// A line that came in on a UDP port is not sent back to that port: every
// listener there has it already.
bool forwardingReturnsToSource()
{
    return monitorSettings.SOURCE.kind == SourceKind::Udp && monitorSettings.SENDTO.port == monitorSettings.SOURCE.udpPort;
}

void closeCycle(int parseResult)
{
    variationCycle.acceptedSentences = 0;
    if (parseResult == 0) {
        uint32_t spread = variationCycle.converterMax - variationCycle.converterMin;
        variationCycle.variation = spread > variationLimit ? variationLimit : spread;
        variationCycle.converterMax = 0;
        variationCycle.converterMin = highestConverterValue;
    }
    if (monitorSettings.SAVE != 0) {
        advanceWrapping(acquisitionCounters.recordCounter);
        if (receiverFrontEnd.appendBarographRecord) {
            char line[recordLineLength];
            formatBarographRecord(line);
            receiverFrontEnd.appendBarographRecord(line);
        }
    }
    currentReading.windAlarm = 0;
}

void handleBarographLine(const char* line, size_t length)
{
    advanceWrapping(acquisitionCounters.sentenceCounter);
    int result = parseBarographSentence(line, length);
    currentReading.parseResult = result;
    if (receiverFrontEnd.utcNow) currentReading.sampleTime = receiverFrontEnd.utcNow();
    if (result == 0) {
        // Everything downstream (title, history, alarms, records, datagrams)
        // carries the corrected values; the parser's checks saw the raw ones.
        correctReading(currentReading, {monitorSettings.OFFSET, monitorSettings.HEIGHT});
        ++variationCycle.acceptedSentences;
        noteLineTaken(currentReading.sampleTime);
        followWindAlarm();
        followLowPressure();
        char datagram[pressureDatagramSize];
        sendDatagram(datagram, formatPressureDatagram(currentReading.pressure, datagram));
        sendSignalKPressure(currentReading.pressure);
    }

    // Before the first reading of the run or of the mode there is nothing to
    // show or to file: the title stays the port's, and a rejected line folds
    // in no converter value (its zero, or one hours old, would be the next
    // record's variation).
    if (result == 0) currentReading.taken = true;
    if (!currentReading.taken) return;

    char title[liveTitleSize];
    formatLiveBarographTitle(monitorSettings.LANG, acquisitionCounters.sentenceCounter,
                             currentReading.sampleTime, currentReading.pressure,
                             currentReading.tendency1h, currentReading.tendency3h,
                             currentReading.minutesAgo, title);
    setShellTitle(title);

    // A rejected line folds the previous value in again.
    uint32_t converter = currentReading.converterValue;
    if (converter > variationCycle.converterMax) variationCycle.converterMax = converter;
    if (converter < variationCycle.converterMin) variationCycle.converterMin = converter;

    storeHistoryPressures();
    computeTendencies();
    if (historyChanged()) repaintShell();

    if (variationCycle.acceptedSentences >= sentencesPerCycle) closeCycle(result);
}

void handleNmeaLine(const char* line, size_t length)
{
    ++acquisitionCounters.nmeaLineCounter;
    pushNmeaLine(line, length);
    noteLineTaken(receiverFrontEnd.utcNow ? receiverFrontEnd.utcNow() : UtcStamp{});

    char bytes[nmeaMaxLineLength + 2];
    size_t count = formatNmeaRecord(nmeaLineStore.lines[0], length, bytes);
    if (receiverFrontEnd.appendNmeaLine) receiverFrontEnd.appendNmeaLine(bytes, count);
    // The navigation software gets NMEA 0183 only: a line it could not
    // parse is kept in nmea.txt but not sent.
    char datagram[nmeaSentenceLimit];
    if (size_t sent = formatNmeaDatagram(line, length, datagram); sent && !forwardingReturnsToSource())
        sendDatagram(datagram, sent);

    repaintShell();
    char title[liveTitleSize];
    formatNmeaCountTitle(monitorSettings.LANG, acquisitionCounters.nmeaLineCounter, title);
    setShellTitle(title);
}

} // namespace

void startReceiverTick(uint32_t nowMs, bool counting)
{
    // The repeat first: after a long gap a silence found now adds no second beep.
    tickAlarmSignal(nowMs);
    if (noteClock(nowMs, counting)) {
        logEvent(eventNoData);
        soundAlarm(AlarmCause::DataStop);
        repaintShell();  // the chart shows the no-data banner
    }
    tickSignalKAlarms(nowMs);
}

void dispatchLine(const char* line, size_t length)
{
    if (acquisitionCounters.recordCounter > sixDigitLimit) acquisitionCounters.recordCounter = 0;

    if (monitorSettings.DATA == Barograph) {
        handleBarographLine(line, length);
    } else if (length > 0 && beginsNmeaSentence(line)) {
        handleNmeaLine(line, length);
    }
    // Other lines in Nmea mode are not NMEA 0183 and are dropped.
    followSignalKAlarms();
}

void formatBarographRecord(char (&line)[recordLineLength])
{
    formatRecordLine(acquisitionCounters.recordCounter, currentReading.sampleTime,
                     currentReading.pressure, currentReading.tendency1h,
                     currentReading.tendency3h, variationCycle.variation,
                     currentReading.windAlarm, line);
}

size_t formatNmeaRecord(const char* kept, size_t length, char (&bytes)[nmeaMaxLineLength + 2])
{
    if (length <= nmeaMaxLineLength) {
        std::memcpy(bytes, kept, length);
        return length;
    }
    size_t count = nmeaMaxLineLength;
    std::memcpy(bytes, kept, count);
    if (bytes[count - 1] == '\r') --count;
    bytes[count] = '\r';
    bytes[count + 1] = '\n';
    return count + 2;
}

size_t formatLiveBarographTitle(UiLanguage language, uint32_t sentenceCounter,
                                const UtcStamp& time, uint32_t pressure, int32_t tendency1h,
                                int32_t tendency3h, uint32_t minutesAgo,
                                char (&title)[liveTitleSize])
{
    int n = std::snprintf(title, sizeof title, uiText(txtLiveBarographTitle, language),
                          static_cast<unsigned>(sentenceCounter), static_cast<int>(time.hour),
                          static_cast<int>(time.minute), pressure * 0.01, tendency1h * 0.1,
                          tendency3h * 0.1, static_cast<unsigned>(minutesAgo / 60));
    return n < 0 ? 0 : std::strlen(title);
}

size_t formatNmeaCountTitle(UiLanguage language, uint32_t nmeaLineCounter,
                            char (&title)[liveTitleSize])
{
    int n = std::snprintf(title, sizeof title, uiText(txtNmeaCountTitle, language),
                          static_cast<unsigned>(nmeaLineCounter));
    return n < 0 ? 0 : std::strlen(title);
}
