// The receive path from bytes to dispatched lines, through a fake front end.
#include "acquisition/line_dispatch.h"

#include "acquisition/alarm_signal.h"
#include "acquisition/nmea_output.h"
#include "acquisition/measurement_state.h"
#include "acquisition/data_watch.h"
#include "acquisition/low_pressure_alarm.h"
#include "acquisition/pressure_correction.h"
#include "acquisition/receive_line.h"
#include "acquisition/signalk_output.h"
#include "acquisition/wind_alarm.h"
#include "display/chart_banner.h"
#include "records/event_text.h"
#include "records/record_line.h"
#include "settings/shell_seam.h"
#include "settings/monitor_settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const std::string exampleSentence = "$PXDR,0998.60,52684,+01.2,+03.5,-0300,0995.40\r\n";
const std::string secondSentence = "$WIXDR,P,0.9986,B\r\n";

struct FakeFrontEnd {
    UtcStamp now;
    std::vector<std::string> titles;
    int invalidations;
    std::vector<std::string> records;  // formatted when the record was asked for
    std::vector<std::string> nmeaWrites;
    std::vector<std::string> datagrams;
    std::vector<int> events;
    std::vector<unsigned> beeps;
    std::vector<bool> alarmShown;  // each call of the shell's alarm signal
};

FakeFrontEnd fake;

UtcStamp fakeUtcNow() { return fake.now; }
void fakeSetTitle(const char* text) { fake.titles.emplace_back(text); }
void fakeInvalidateWindow() { ++fake.invalidations; }
void fakeAppendBarographRecord(const char* line) { fake.records.emplace_back(line, recordLineLength); }
void fakeAppendNmeaLine(const char* bytes, size_t length) { fake.nmeaWrites.emplace_back(bytes, length); }
void fakeLogEvent(int number) { fake.events.push_back(number); }
void fakeSendDatagram(const char* bytes, size_t length) { fake.datagrams.emplace_back(bytes, length); }
void fakeBeep(unsigned type) { fake.beeps.push_back(type); }
void fakeShowAlarmSignal(bool sounding) { fake.alarmShown.push_back(sounding); }

// The bytes of one receiver tick; the alarm's clock stands still, so only a
// cause found in them can beep, once.
void feed(const std::string& bytes)
{
    tickAlarmSignal(alarmSignal.lastClockMs);
    receiveBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

std::string sentenceWithConverter(uint32_t converter)
{
    char text[64];
    std::snprintf(text, sizeof text, "$PXDR,0998.60,%05u,+01.2,+03.5,-0300,0995.40\r\n",
                  static_cast<unsigned>(converter));
    return text;
}

class LineDispatch : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetMonitorSettings();  // Barograph, SAVE 300, German
        resetMeasurementState();
        resetReceiveLine();
        resetWindAlarm();
        resetDataWatch();
        resetAlarmSignal();
        resetLowPressureAlarm();
        resetSignalKOutput();

        fake = FakeFrontEnd{};
        fake.now = UtcStamp{2003, 12, 28, 16, 5};
        receiverFrontEnd = ReceiverFrontEnd{fakeUtcNow, fakeAppendBarographRecord, fakeAppendNmeaLine, fakeSendDatagram,
                                            nullptr, nullptr};
        shellSeam.logEvent = fakeLogEvent;
        shellSeam.setTitle = fakeSetTitle;
        shellSeam.repaint = fakeInvalidateWindow;
        shellSeam.beep = fakeBeep;
        shellSeam.showAlarmSignal = fakeShowAlarmSignal;
    }

    void TearDown() override
    {
        receiverFrontEnd = ReceiverFrontEnd{};
        resetShellSeam();
        resetMonitorSettings();
        resetReceiveLine();
    }
};

} // namespace

TEST_F(LineDispatch, SeveralLinesInOneFeedAreEachHandled)
{
    feed(exampleSentence + secondSentence + "$PXDR,1001.00,52690,-00.4,+00.0,-0030,0999.00\r\n");
    EXPECT_EQ(acquisitionCounters.sentenceCounter, 3u);
    EXPECT_EQ(variationCycle.acceptedSentences, 2u);
    ASSERT_EQ(fake.titles.size(), 3u);
    EXPECT_EQ(fake.titles[0], "Zudoderozezavedi 1 16:05  998.6 hPa +1.2 hPa/Std +3.5 hPa/3Std (- 5h)");
    EXPECT_EQ(fake.titles[1], "Zudoderozezavedi 2 16:05  998.6 hPa +1.2 hPa/Std +3.5 hPa/3Std (- 5h)");
    EXPECT_EQ(fake.titles[2], "Zudoderozezavedi 3 16:05 1001.0 hPa -0.4 hPa/Std +0.0 hPa/3Std (- 0h)");
    EXPECT_EQ(currentReading.pressure, 100100u);
    EXPECT_EQ(variationCycle.converterMax, 52690u);
    EXPECT_EQ(variationCycle.converterMin, 52684u);

    monitorSettings.DATA = Nmea;
    feed("$GPGLL,1*00\r\n$GPRMC,2*00\r\n");
    ASSERT_EQ(fake.nmeaWrites.size(), 2u);
    EXPECT_EQ(fake.nmeaWrites[0], "$GPGLL,1*00\r\n");
    EXPECT_EQ(fake.nmeaWrites[1], "$GPRMC,2*00\r\n");
    EXPECT_STREQ(nmeaLineStore.lines[0], "$GPRMC,2*00\r\n");
    EXPECT_STREQ(nmeaLineStore.lines[1], "$GPGLL,1*00\r\n");
    EXPECT_EQ(acquisitionCounters.nmeaLineCounter, 2u);
}

TEST_F(LineDispatch, SplitSentenceIsHandledWhenItsLineFeedArrives)
{
    feed(exampleSentence.substr(0, 20));
    EXPECT_TRUE(fake.titles.empty());
    feed(exampleSentence.substr(20, exampleSentence.size() - 21));  // up to the carriage return
    EXPECT_TRUE(fake.titles.empty());
    EXPECT_EQ(acquisitionCounters.sentenceCounter, 0u);

    feed("\n");
    EXPECT_EQ(fake.titles.size(), 1u);
    EXPECT_EQ(acquisitionCounters.sentenceCounter, 1u);
    EXPECT_EQ(currentReading.parseResult, 0);
    EXPECT_EQ(currentReading.pressure, 99860u);
    EXPECT_EQ(currentReading.pressureThen, 99540u);
}

TEST_F(LineDispatch, OverlongLineIsDroppedWhole)
{
    // 1023 bytes, then a sentence: the line reaches 1024 bytes without a line
    // feed, so it goes up to and including that sentence's line feed.
    feed(std::string(1023, 'x') + exampleSentence);
    EXPECT_EQ(acquisitionCounters.sentenceCounter, 0u);
    EXPECT_TRUE(fake.titles.empty());
    EXPECT_EQ(currentReading.pressure, 0u);
    feed(exampleSentence);
    EXPECT_EQ(acquisitionCounters.sentenceCounter, 1u);
    EXPECT_EQ(currentReading.pressure, 99860u);

    monitorSettings.DATA = Nmea;
    feed("$" + std::string(1500, 'y'));
    feed("$GPGGA,tail\r\n$GPRMC,next\r\n");
    ASSERT_EQ(fake.nmeaWrites.size(), 1u);
    EXPECT_EQ(fake.nmeaWrites[0], "$GPRMC,next\r\n");
    EXPECT_EQ(acquisitionCounters.nmeaLineCounter, 1u);
    EXPECT_STREQ(nmeaLineStore.lines[0], "$GPRMC,next\r\n");
    EXPECT_STREQ(nmeaLineStore.lines[1], "");
}

TEST_F(LineDispatch, LineOfExactly1024BytesIsKept)
{
    monitorSettings.DATA = Nmea;
    const std::string longest = "$" + std::string(1021, 'a') + "\r\n";
    ASSERT_EQ(longest.size(), receiveLineCapacity);
    feed(longest);
    ASSERT_EQ(fake.nmeaWrites.size(), 1u);
    EXPECT_EQ(fake.nmeaWrites[0], longest.substr(0, 126) + "\r\n");

    feed("$" + std::string(1022, 'b') + "\r\n");  // one byte more: dropped
    feed("$OK\r\n");
    ASSERT_EQ(fake.nmeaWrites.size(), 2u);
    EXPECT_EQ(fake.nmeaWrites[1], "$OK\r\n");
}

TEST_F(LineDispatch, EveryThreeHundredAcceptedSentencesCloseACycleAndWriteOneRecord)
{
    for (int i = 0; i < 299; ++i) feed(exampleSentence + secondSentence);
    EXPECT_TRUE(fake.records.empty());
    EXPECT_EQ(variationCycle.acceptedSentences, 299u);

    feed(exampleSentence);
    feed(secondSentence);
    ASSERT_EQ(fake.records.size(), 1u);
    EXPECT_EQ(fake.records[0],
              "000001 28.12.2003 16:05 0998,60 hPa +01,2 hPa/hr +03,5 hPa/3h 00,0 hPa/h var 0\r\n");
    EXPECT_EQ(acquisitionCounters.recordCounter, 1u);
    EXPECT_EQ(acquisitionCounters.sentenceCounter, 600u);
    EXPECT_EQ(variationCycle.acceptedSentences, 0u);
    EXPECT_EQ(variationCycle.variation, 0u);
    // The rejected line after the close folded the previous value into the new cycle.
    EXPECT_EQ(variationCycle.converterMax, 52684u);
    EXPECT_EQ(variationCycle.converterMin, 52684u);
}

TEST_F(LineDispatch, WithoutRecordingTheCycleStillCloses)
{
    monitorSettings.SAVE = 0;
    const uint32_t values[] = {52684, 52690, 52679};
    for (int i = 0; i < 300; ++i) {
        feed(sentenceWithConverter(values[i % 3]));
        feed(secondSentence);
    }
    EXPECT_TRUE(fake.records.empty());
    EXPECT_EQ(acquisitionCounters.recordCounter, 0u);
    EXPECT_EQ(variationCycle.variation, 11u);
    EXPECT_EQ(variationCycle.acceptedSentences, 0u);
    // Reset at the close, then the last rejected line folded 52679 in again.
    EXPECT_EQ(variationCycle.converterMax, 52679u);
    EXPECT_EQ(variationCycle.converterMin, 52679u);
}

TEST_F(LineDispatch, VariationIsTheSpreadOfTheCycleCappedAt999)
{
    const uint32_t values[] = {52684, 52690, 52679};
    for (int i = 0; i < 300; ++i) feed(sentenceWithConverter(values[i % 3]));
    EXPECT_EQ(variationCycle.variation, 11u);
    ASSERT_EQ(fake.records.size(), 1u);
    EXPECT_EQ(fake.records[0].substr(62, 4), "01,1");
    EXPECT_EQ(variationCycle.converterMax, 0u);
    EXPECT_EQ(variationCycle.converterMin, 65535u);

    for (int i = 0; i < 300; ++i) feed(sentenceWithConverter(i == 150 ? 40000 : 52684));
    EXPECT_EQ(variationCycle.variation, 999u);
    ASSERT_EQ(fake.records.size(), 2u);
    EXPECT_EQ(fake.records[1].substr(0, 6), "000002");
    EXPECT_EQ(fake.records[1].substr(62, 4), "99,9");
}

TEST_F(LineDispatch, RejectedLineFoldsThePreviousConverterValue)
{
    // Nothing accepted yet: no reading to fold, the first record's variation
    // is that of its own sentences (a start in the middle of the device's
    // second sentence once gave 99,9 here), and no title of an empty reading.
    feed(secondSentence);
    EXPECT_EQ(variationCycle.converterMin, 65535u);
    EXPECT_EQ(variationCycle.acceptedSentences, 0u);
    EXPECT_TRUE(fake.titles.empty());
    EXPECT_EQ(acquisitionCounters.sentenceCounter, 1u);
    feed(sentenceWithConverter(52000));
    // A rejected line after a reading folds that reading again: no new spread.
    feed(secondSentence);
    for (int i = 0; i < 299; ++i) feed(sentenceWithConverter(52000 + i % 7));
    EXPECT_EQ(variationCycle.variation, 6u);
}

TEST_F(LineDispatch, RecordNumberNeverPassesSixDigits)
{
    acquisitionCounters.recordCounter = 999999;
    for (int i = 0; i < 300; ++i) feed(exampleSentence);
    ASSERT_EQ(fake.records.size(), 1u);
    EXPECT_EQ(fake.records[0].substr(0, 7), "000000 ");
    EXPECT_EQ(fake.records[0].size(), 80u);
    EXPECT_EQ(acquisitionCounters.recordCounter, 0u);

    // Any complete line puts a counter above 999999 back to 0, in both modes.
    acquisitionCounters.recordCounter = 1000005;
    feed(secondSentence);
    EXPECT_EQ(acquisitionCounters.recordCounter, 0u);
    monitorSettings.DATA = Nmea;
    acquisitionCounters.recordCounter = 1000005;
    feed("not a sentence\r\n");
    EXPECT_EQ(acquisitionCounters.recordCounter, 0u);
}

TEST_F(LineDispatch, SentenceCounterFollows999999With0)
{
    acquisitionCounters.sentenceCounter = 999998;
    feed(exampleSentence);
    EXPECT_EQ(acquisitionCounters.sentenceCounter, 999999u);
    feed(exampleSentence);
    EXPECT_EQ(acquisitionCounters.sentenceCounter, 0u);
    ASSERT_EQ(fake.titles.size(), 2u);
    EXPECT_EQ(fake.titles[1].substr(0, 19), "Zudoderozezavedi 0 ");
}

TEST_F(LineDispatch, TitleAndSampleTimeForEveryLine)
{
    acquisitionCounters.sentenceCounter = 41;
    feed(exampleSentence);
    ASSERT_EQ(fake.titles.size(), 1u);
    EXPECT_EQ(fake.titles[0], "Zudoderozezavedi 42 16:05  998.6 hPa +1.2 hPa/Std +3.5 hPa/3Std (- 5h)");

    // A rejected line: new time and result, previous reading in the title.
    fake.now = UtcStamp{2003, 12, 28, 16, 6};
    monitorSettings.LANG = English;
    feed(secondSentence);
    EXPECT_EQ(currentReading.parseResult, 4);
    EXPECT_EQ(currentReading.sampleTime.minute, 6);
    EXPECT_EQ(currentReading.pressure, 99860u);
    ASSERT_EQ(fake.titles.size(), 2u);
    EXPECT_EQ(fake.titles[1], "Air pressure monitor 43 16:06  998.6 hPa +1.2 hPa/hr +3.5 hPa/3hrs (- 5hr)");
}

TEST_F(LineDispatch, WindowIsInvalidatedWhenTheHistoryChanged)
{
    feed(exampleSentence);
    EXPECT_EQ(fake.invalidations, 1);
    EXPECT_EQ(pressureHistory.slots[0].pressure, 99860);
    EXPECT_EQ(pressureHistory.slots[10].pressure, 99540);
    EXPECT_EQ(pressureHistory.slots[0].tendency1h, 0);

    feed(exampleSentence);
    feed(secondSentence);  // stores the previous values again
    EXPECT_EQ(fake.invalidations, 1);

    feed("$PXDR,0998.60,52684,+01.2,+03.5,-0060,0997.40\r\n");
    EXPECT_EQ(fake.invalidations, 2);
    EXPECT_EQ(pressureHistory.slots[2].pressure, 99740);
    EXPECT_EQ(pressureHistory.slots[0].tendency1h, 12);
}

TEST_F(LineDispatch, MissingFrontEndEntriesAreSkipped)
{
    receiverFrontEnd = ReceiverFrontEnd{};
    for (int i = 0; i < 300; ++i) feed(exampleSentence);
    EXPECT_EQ(acquisitionCounters.recordCounter, 1u);
    EXPECT_EQ(acquisitionCounters.sentenceCounter, 300u);

    monitorSettings.DATA = Nmea;
    feed("$GPGLL,1*00\r\n" + std::string("$") + std::string(200, 'z') + "\r\n");
    EXPECT_EQ(acquisitionCounters.nmeaLineCounter, 2u);
    EXPECT_EQ(std::string(nmeaLineStore.lines[0]), "$" + std::string(125, 'z'));
}

TEST_F(LineDispatch, LineCutAfterItsCarriageReturnGetsOneLineEnd)
{
    monitorSettings.DATA = Nmea;
    const std::string line127 = "$" + std::string(124, 'r') + "\r\n";
    feed(line127);
    EXPECT_EQ(std::string(nmeaLineStore.lines[0]), line127.substr(0, 126));
    ASSERT_EQ(fake.nmeaWrites.size(), 1u);
    EXPECT_EQ(fake.nmeaWrites[0], line127);
}

TEST_F(LineDispatch, NmeaSentencesAreStoredAndHandedOnAsReceived)
{
    monitorSettings.DATA = Nmea;
    const std::string sentence = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545*";
    ASSERT_EQ(sentence.size(), 50u);
    feed(sentence + "\r\n");
    EXPECT_EQ(std::string(nmeaLineStore.lines[0]), sentence + "\r\n");
    ASSERT_EQ(fake.nmeaWrites.size(), 1u);
    EXPECT_EQ(fake.nmeaWrites[0], sentence + "\r\n");
    EXPECT_EQ(fake.nmeaWrites[0].size(), 52u);
    EXPECT_EQ(fake.invalidations, 1);
    ASSERT_EQ(fake.titles.size(), 1u);
    EXPECT_EQ(fake.titles[0], "1 NMEA - Datens\xE4" "tze ");

    // A long line: the store keeps its start, nmea.txt gets that start as a line.
    const std::string longLine = "$" + std::string(199, 'q');
    feed(longLine + "\r\n");
    EXPECT_EQ(std::string(nmeaLineStore.lines[0]), longLine.substr(0, 126));
    ASSERT_EQ(fake.nmeaWrites.size(), 2u);
    EXPECT_EQ(fake.nmeaWrites[1], longLine.substr(0, 126) + "\r\n");
    EXPECT_EQ(fake.nmeaWrites[1].size(), 128u);
    EXPECT_EQ(fake.titles.back(), "2 NMEA - Datens\xE4" "tze ");

    // The barograph path is not taken in Nmea mode.
    EXPECT_EQ(acquisitionCounters.sentenceCounter, 0u);
    feed(exampleSentence);
    EXPECT_EQ(acquisitionCounters.sentenceCounter, 0u);
    EXPECT_EQ(currentReading.pressure, 0u);
    EXPECT_EQ(acquisitionCounters.nmeaLineCounter, 3u);
}

TEST_F(LineDispatch, NmeaModeDropsLinesThatAreNoSentences)
{
    monitorSettings.DATA = Nmea;
    monitorSettings.LANG = French;
    feed("GPGGA,123519\r\n\r\n\n x$GPGGA\r\n");
    EXPECT_EQ(acquisitionCounters.nmeaLineCounter, 0u);
    EXPECT_TRUE(fake.nmeaWrites.empty());
    EXPECT_TRUE(fake.titles.empty());
    EXPECT_EQ(fake.invalidations, 0);
    EXPECT_STREQ(nmeaLineStore.lines[0], "");

    feed("$GPGGA\r\n");
    EXPECT_EQ(fake.titles.back(), "1 NMEA ");
}

TEST_F(LineDispatch, BarographModeLeavesTheNmeaStoreAlone)
{
    feed(exampleSentence + "$GPGGA,1\r\n");
    EXPECT_EQ(acquisitionCounters.sentenceCounter, 2u);
    EXPECT_EQ(acquisitionCounters.nmeaLineCounter, 0u);
    EXPECT_STREQ(nmeaLineStore.lines[0], "");
    EXPECT_TRUE(fake.nmeaWrites.empty());
}

namespace {

std::string sentenceWithTendencies(const char* t1, const char* t3)
{
    return std::string("$PXDR,0998.60,52684,") + t1 + "," + t3 + ",-0300,0995.40\r\n";
}

const std::string falling = sentenceWithTendencies("-01.0", "-03.8");
const std::string steady = sentenceWithTendencies("+00.0", "+00.2");
const std::string rejected = "$PXDQ,0998.60,52684,-01.0,-03.8,-0300,0995.40\r\n";

void feedTimes(int count, const std::string& line)
{
    for (int i = 0; i < count; ++i) feed(line);
}

} // namespace

TEST_F(LineDispatch, TheWindAlarmIsLoggedWhenItsLevelChangesAndMarksTheRecordsOfItsCycles)
{
    feedTimes(100, steady);
    // Rejected lines inside the run neither count nor break it.
    feedTimes(5, falling);
    feedTimes(3, rejected);
    feedTimes(4, falling);
    EXPECT_TRUE(fake.events.empty());
    EXPECT_EQ(currentReading.windAlarm, 0);
    EXPECT_TRUE(fake.beeps.empty());
    feed(falling);
    EXPECT_EQ(fake.events, (std::vector<int>{eventWindWarning}));
    EXPECT_EQ(currentReading.windAlarm, 1);
    EXPECT_EQ(fake.beeps, (std::vector<unsigned>{alarmBeepType}));
    EXPECT_EQ(fake.alarmShown, (std::vector<bool>{true}));
    acknowledgeAlarm();
    // Command 1300 in Barograph mode clears the reading, not the level: the
    // banner keeps the last sentence's tendencies, never a +0.0 of its own.
    clearReading();
    const std::string said = "Wind warning: pressure falling quickly  -1.0 hPa/hr  -3.8 hPa/3hrs";
    EXPECT_EQ(bannerLines(currentChartBanner(), English, 200)[0].text.substr(0, said.size()), said);

    // Cycle 1 closes at the 300th accepted sentence, with the alarm standing.
    feedTimes(300 - 110, falling);
    ASSERT_EQ(fake.records.size(), 1u);
    EXPECT_EQ(fake.records[0][77], '1');
    // A fall to 6.5 hPa in three hours: level 2 ten sentences on.
    feedTimes(10, sentenceWithTendencies("-01.0", "-06.5"));
    EXPECT_EQ(fake.events, (std::vector<int>{eventWindWarning, eventGaleAlarm}));
    EXPECT_EQ(fake.beeps.size(), 2u) << "the rise to level 2 sounds again";
    EXPECT_EQ(fake.alarmShown, (std::vector<bool>{true, false, true}));
    // Steady again: level 2 and level 1 end at their 600th sentence, in one go.
    feedTimes(599, steady);
    EXPECT_EQ(fake.events.size(), 2u);
    feed(steady);
    EXPECT_EQ(fake.events, (std::vector<int>{eventWindWarning, eventGaleAlarm, eventWindAlarmEnded}));
    EXPECT_FALSE(alarmSignal.sounding) << "the alarm ended unacknowledged: nothing is left to warn of";
    EXPECT_EQ(fake.beeps.size(), 2u);
    // It stood at sentences 110..909: cycles 1..4 carry it, cycle 5 does not.
    feedTimes(1500 - 300 - 10 - 600, steady);
    ASSERT_EQ(fake.records.size(), 5u);
    EXPECT_EQ(fake.records[1][77], '1');
    EXPECT_EQ(fake.records[2][77], '1');
    EXPECT_EQ(fake.records[3][77], '1');
    EXPECT_EQ(fake.records[4][77], '0');
    EXPECT_EQ(currentReading.windAlarm, 0);
}

TEST_F(LineDispatch, AMinuteWithoutDataIsLoggedOnceAndSoIsTheLineThatEndsIt)
{
    EXPECT_FALSE(noteClock(0, true));
    EXPECT_FALSE(noteClock(120000, true)) << "nothing received yet in this run";
    feed(steady);
    EXPECT_FALSE(noteClock(179999, true));
    // A print job's closed port stops the clock.
    EXPECT_FALSE(noteClock(400000, false));
    EXPECT_TRUE(noteClock(400001, true)) << "60 s counted";
    soundAlarm(AlarmCause::DataStop);  // as the receiver does when noteClock answers true
    EXPECT_FALSE(noteClock(900000, true)) << "once";
    EXPECT_TRUE(fake.events.empty());
    EXPECT_TRUE(alarmSignal.sounding) << "a silence sounds the alarm";
    EXPECT_EQ(fake.beeps.size(), 1u);
    EXPECT_EQ(dataWatch.lastData.minute, 5) << "the no-data banner's time";
    feed(rejected);
    EXPECT_TRUE(fake.events.empty()) << "a rejected line is no data";
    monitorSettings.DATA = Nmea;
    feed("!AIVDM,1,1,,A,13u?etPv2;0n:dDPwUM1U1Cb069D,0*24\r\n");  // AIS is data as well
    EXPECT_EQ(fake.events, (std::vector<int>{eventDataAgain}));
    EXPECT_FALSE(alarmSignal.sounding) << "data again ends an unacknowledged silence";
    feed("$GPGLL,2*00\r\n");
    EXPECT_EQ(fake.events.size(), 1u);
    // The clock wraps: the difference still counts.
    EXPECT_FALSE(noteClock(0xFFFFF000u, false));
    EXPECT_TRUE(noteClock(0xFFFFF000u + 60000u, true));
}

TEST_F(LineDispatch, TheAlarmSoundsEveryThirtySecondsUntilItIsAcknowledged)
{
    tickAlarmSignal(1000);
    feedTimes(10, sentenceWithTendencies("-00.5", "-03.8"));
    ASSERT_EQ(fake.beeps.size(), 1u) << "at the rise";
    tickAlarmSignal(30999);
    EXPECT_EQ(fake.beeps.size(), 1u);
    tickAlarmSignal(31000);
    EXPECT_EQ(fake.beeps.size(), 2u) << "30 s after the rise";
    tickAlarmSignal(61000);
    EXPECT_EQ(fake.beeps.size(), 3u);
    // A PC that slept ten minutes beeps once, not twenty times.
    tickAlarmSignal(661000);
    EXPECT_EQ(fake.beeps.size(), 4u);
    acknowledgeAlarm();
    for (uint32_t t = 661000; t < 900000; t += 200) tickAlarmSignal(t);
    EXPECT_EQ(fake.beeps.size(), 4u) << "silent once acknowledged";
    EXPECT_EQ(fake.alarmShown.back(), false);
    // A fall to 2.0 hPa in an hour raises level 2: unacknowledged again.
    feedTimes(10, sentenceWithTendencies("-02.0", "-03.8"));
    EXPECT_EQ(fake.beeps.size(), 5u);
    EXPECT_TRUE(alarmSignal.sounding);
    // Level 2 ending leaves level 1: the alarm sounds on.
    feedTimes(600, sentenceWithTendencies("-00.5", "-03.8"));
    EXPECT_EQ(windAlarmLevel(), 1);
    EXPECT_TRUE(alarmSignal.sounding);
}

// The signal sounds exactly while a cause stands that was not acknowledged
// (the receiver's ticks, a sleep and a print job: the Win32 storm test).
TEST_F(LineDispatch, OneAcknowledgementSilencesEveryCauseAndAnEasingChangesNothing)
{
    const std::string gale = sentenceWithTendencies("-02.5", "-03.8");
    feedTimes(10, gale);
    ASSERT_EQ(windAlarmLevel(), 2);
    startReceiverTick(0, true);
    startReceiverTick(60000, true);  // the repeat's beep; the silence adds none
    ASSERT_TRUE(dataWatch.silent);
    acknowledgeAlarm();
    feed(gale);
    EXPECT_FALSE(alarmSignal.sounding) << "data again after one acknowledgement of both causes";
    // Easing to level 1 logs 71, the state that now stands, and leaves the rise acknowledged.
    feedTimes(600, sentenceWithTendencies("-00.5", "-03.8"));
    ASSERT_EQ(windAlarmLevel(), 1);
    EXPECT_EQ(fake.events.back(), eventWindWarning);
    EXPECT_FALSE(alarmSignal.sounding);
    EXPECT_EQ(fake.beeps.size(), 2u);
}

// A damaged sentence is handled like a line with a wrong header: counted and
// shown with the last reading, but no reading of its own, no part of the
// cycle, and no say in the wind alarm.
TEST_F(LineDispatch, DamagedSentenceIsCountedButNeverTakenAsAReading)
{
    feedTimes(9, falling);
    const CurrentReading before = currentReading;
    const std::string damaged[] = {
        "$PXDR,0998.60,52684,-01.0,-03.8,-0300\r\n",                        // cut
        "$PXDR,0998.60,5268,-01.0,-03.8,-0300,0995.40\r\n",                 // a digit dropped
        "$PXDR,0998.60,52684,-01.0,-03.8,-03000,0995.40\r\n",               // a digit doubled
        "$PXDR,0998.60,5x684,-01.0,-03.8,-0300,0995.40\r\n",                // a letter
        "$PXDR,0998.6$PXDR,0998.60,52684,-01.0,-03.8,-0300,0995.40\r\n",    // run together
        "$PXDR,1998.60,52684,-01.0,-03.8,-0300,0995.40\r\n",                // pressure out of bounds
    };
    for (const std::string& line : damaged) feed(line);
    EXPECT_EQ(acquisitionCounters.sentenceCounter, 15u);
    EXPECT_EQ(currentReading.parseResult, 6);
    EXPECT_EQ(variationCycle.acceptedSentences, 9u);
    EXPECT_EQ(currentReading.pressure, before.pressure);
    EXPECT_EQ(currentReading.converterValue, before.converterValue);
    EXPECT_EQ(currentReading.minutesAgo, before.minutesAgo);
    EXPECT_EQ(currentReading.pressureThen, before.pressureThen);
    ASSERT_EQ(fake.titles.size(), 15u);
    EXPECT_EQ(fake.titles.back(), "Zudoderozezavedi 15 16:05  998.6 hPa -1.0 hPa/Std -3.8 hPa/3Std (- 5h)");
    EXPECT_EQ(pressureHistory.slots[0].pressure, 99860);
    EXPECT_EQ(pressureHistory.slots[10].pressure, 99540);
    // Six damaged falling sentences did not raise the warning; the tenth
    // accepted one does.
    EXPECT_TRUE(fake.events.empty());
    feed(falling);
    EXPECT_EQ(fake.events, (std::vector<int>{eventWindWarning}));
    EXPECT_EQ(variationCycle.acceptedSentences, 10u);
}

// The rest of a sentence whose stored pressure is far from its own is taken;
// only the history slot of that age keeps what it had.
TEST_F(LineDispatch, FarStoredPressureLeavesItsHistorySlotAlone)
{
    feed(exampleSentence);
    ASSERT_EQ(pressureHistory.slots[10].pressure, 99540);
    feed("$PXDR,0998.70,52690,+01.3,+03.6,-0300,0000.00\r\n");
    EXPECT_EQ(currentReading.parseResult, 0);
    EXPECT_EQ(variationCycle.acceptedSentences, 2u);
    EXPECT_EQ(currentReading.pressure, 99870u);
    EXPECT_EQ(currentReading.pressureThen, 0u);
    EXPECT_EQ(pressureHistory.slots[0].pressure, 99870);
    EXPECT_EQ(pressureHistory.slots[10].pressure, 99540);
    EXPECT_EQ(fake.titles.back(), "Zudoderozezavedi 2 16:05  998.7 hPa +1.3 hPa/Std +3.6 hPa/3Std (- 5h)");
    // A rejected line after it files the same again: still not the far value.
    feed(secondSentence);
    EXPECT_EQ(pressureHistory.slots[10].pressure, 99540);
    feed("$PXDR,0998.70,52690,+01.3,+03.6,-0300,1078.70\r\n");  // 80.00 hPa above: filed
    EXPECT_EQ(pressureHistory.slots[10].pressure, 107870);
}

// While sending is on, every accepted sentence goes out as one datagram of
// both sentences and every stored NMEA line as it came; nothing else does.
TEST_F(LineDispatch, ReadingsGoToTheNavigationSoftwareOnlyWhileSendingIsOn)
{
    feed(sentenceWithConverter(40000));
    EXPECT_TRUE(fake.datagrams.empty()) << "off by default";
    monitorSettings.SEND = 1;
    feed(sentenceWithConverter(40000));
    feed("$PXDR,garbage\r\n");
    ASSERT_EQ(fake.datagrams.size(), 1u) << "a rejected line sends nothing";
    EXPECT_EQ(fake.datagrams[0], "$WIMDA,29.4887,I,0.99860,B,,C,,C,,,,C,,T,,M,,N,,M*02\r\n"
                                 "$WIXDR,P,0.99860,B,Barometer*37\r\n");
    char datagram[pressureDatagramSize];
    EXPECT_EQ(std::string(datagram, formatPressureDatagram(101325, datagram)),
              "$WIMDA,29.9213,I,1.01325,B,,C,,C,,,,C,,T,,M,,N,,M*02\r\n$WIXDR,P,1.01325,B,Barometer*3D\r\n");
    monitorSettings.DATA = Nmea;
    feed("$GPGLL,5000.00,N,00800.00,E*6E\r\n");
    feed("not a sentence\r\n");
    ASSERT_EQ(fake.datagrams.size(), 2u);
    EXPECT_EQ(fake.datagrams[1], fake.nmeaWrites.back());
}

// What the server cannot show: the escapes of a message, and that the longest
// message (French, gale alarm, widest numbers) fits one datagram whole while
// one that would not is cut at a whole character.
TEST_F(LineDispatch, ASignalKDeltaEscapesItsMessageAndStaysWithinOneDatagram)
{
    const DeltaTime at{2026, 3, 9, 7, 5, 2, 40};
    EXPECT_EQ(notificationDelta({"environment.outside.pressure.low", NotificationState::Warn, false,
                                 "\"Sturm\" \\ f\xE4llt\x01\x1F \x80"},
                                at),
              "{\"context\":\"vessels.self\",\"updates\":[{\"timestamp\":\"2026-03-09T07:05:02.040Z\",\"values\":["
              "{\"path\":\"notifications.environment.outside.pressure.low\",\"value\":{\"state\":\"warn\","
              "\"method\":[\"visual\"],\"message\":\"\\\"Sturm\\\" \\\\ f\xC3\xA4llt\\u0001\\u001f \xE2\x82\xAC\"}}]}]}");

    monitorSettings.LANG = French;
    windAlarmLevels.on[1] = true;
    windAlarmLevels.raisedAt[1] = UtcStamp{2026, 12, 31, 23, 59};
    currentReading.tendency1h = currentReading.tendency3h = -999;
    alarmSignal.unacknowledged[int(AlarmCause::LevelRise)] = true;
    const Notification longest = signalKNotification(SignalKAlarm::Storm);
    EXPECT_EQ(longest.message, "Alarme coup de vent : pression en chute tres rapide  "
                               "-99.9 hPa/hr  -99.9 hPa/3hrs  depuis 23:59 UTC");
    const std::string whole = notificationDelta(longest, at);
    EXPECT_LE(whole.size(), signalKDatagramLimit);
    EXPECT_NE(whole.find("\"state\":\"alarm\",\"method\":[\"visual\",\"sound\"],\"message\":\"" + longest.message + "\""),
              std::string::npos);

    // Two bytes of UTF-8 each: cut to the bound, never inside a character.
    const std::string cut = notificationDelta({"x", NotificationState::Alert, true, std::string(800, '\xE9')}, at);
    EXPECT_LE(cut.size(), signalKDatagramLimit);
    EXPECT_GT(cut.size(), signalKDatagramLimit - 2);
    const size_t from = cut.find("\"message\":\"") + 11, to = cut.rfind("\"}}]}]}");
    EXPECT_EQ((to - from) % 2, 0u);
    EXPECT_EQ(cut.substr(from, to - from), [&] {
        std::string e;
        for (size_t i = 0; i < (to - from) / 2; ++i) e += "\xC3\xA9";
        return e;
    }());
}

// The correction applies to every value taken from an accepted sentence, the
// stored one too, and is rounded away from zero; a change of it moves the
// history with it. The converter value is the device's own.
TEST_F(LineDispatch, ACorrectionReachesEveryValueOfTheSentenceAndTheHistoryFollowsAChange)
{
    EXPECT_EQ(seaLevelFactor(0), 1.0) << "the defaults change no byte";
    EXPECT_NEAR(seaLevelFactor(372), 1.0452863, 5e-8);
    monitorSettings.OFFSET = 12, monitorSettings.HEIGHT = 372;
    feed("$PXDR,1013.25,40000,-02.7,-10.4,-0300,1020.00\r\n");
    EXPECT_EQ(currentReading.pressure, 106039u);      // (101325 + 120) * k = 106039.06
    EXPECT_EQ(currentReading.pressureThen, 106745u);  // (102000 + 120) * k = 106744.63
    EXPECT_EQ(currentReading.tendency1h, -28);        // -27 * k = -28.2
    EXPECT_EQ(currentReading.tendency3h, -109) << "-108.7, away from zero";
    EXPECT_EQ(currentReading.converterValue, 40000u);
    EXPECT_EQ(pressureHistory.slots[10].pressure, 106745);

    // Back to none: the very values the device sent; to another: as if taken with it.
    recorrectHistory({12, 372}, {0, 0});
    EXPECT_EQ(pressureHistory.slots[0].pressure, 101325);
    EXPECT_EQ(pressureHistory.slots[10].pressure, 102000);
    recorrectHistory({0, 0}, {-5, 100});
    EXPECT_EQ(pressureHistory.slots[10].pressure, correctPressure(102000, {-5, 100}));
    resetMonitorSettings();
}

TEST_F(LineDispatch, TheLowPressureAlarmStandsBelowTheLimitUntilItIsOneHectopascalAbove)
{
    monitorSettings.LOW = 999;
    auto at = [](const char* pressure) { return std::string("$PXDR,") + pressure + ",52684,+00.0,+00.0,-0010," + pressure + "\r\n"; };
    feedTimes(9, at("0998.90"));
    feed(at("0999.00"));
    feedTimes(9, at("0998.90"));
    EXPECT_TRUE(fake.events.empty()) << "a sentence at the limit breaks the run";
    feed(at("0998.90"));
    EXPECT_EQ(fake.events, (std::vector<int>{eventLowPressure}));
    EXPECT_EQ(currentChartBanner().lowLimit, 999);
    feedTimes(700, at("0999.99"));
    feedTimes(599, at("1000.00"));
    EXPECT_TRUE(lowPressureAlarm.on) << "below the limit plus 1.0, or not yet 600 sentences";
    feed(at("1000.00"));
    EXPECT_EQ(fake.events, (std::vector<int>{eventLowPressure, eventLowPressureEnded}));
    EXPECT_FALSE(alarmSignal.sounding) << "its cause ended";
    for (const std::string& record : fake.records) EXPECT_EQ(record[77], '0') << "the wind-alarm digit is the levels'";
    resetMonitorSettings();
}

// A mode switch clears the reading as the commands do: the lines after it
// that are no accepted sentence show and file nothing of the hours-old one.
TEST_F(LineDispatch, AfterTheReadingIsClearedOnlyAnAcceptedSentenceIsShownOrFiled)
{
    feed(exampleSentence);
    clearReading();
    clearHistory();
    feed(secondSentence + "$GPGGA,1\r\n");
    EXPECT_EQ(fake.titles.size(), 1u) << "the title stays the port's";
    EXPECT_EQ(pressureHistory.slots[0].pressure, 0);
    EXPECT_EQ(pressureHistory.slots[10].pressure, 0);
    feed("$PXDR,1001.00,52690,-00.4,+00.0,-0030,0999.00\r\n");
    ASSERT_EQ(fake.titles.size(), 2u);
    EXPECT_EQ(fake.titles[1].substr(0, 19), "Zudoderozezavedi 4 ");
    EXPECT_EQ(pressureHistory.slots[1].pressure, 99900);
}

// A data stop and a level rise found in one tick (the minute runs out as
// data comes back with the tenth falling sentence): one beep, not two.
TEST_F(LineDispatch, OneTickBeepsOnceWhateverCausesItFinds)
{
    startReceiverTick(0, true);
    feedTimes(9, falling);
    startReceiverTick(60000, true);
    EXPECT_EQ(fake.events, (std::vector<int>{eventNoData}));
    ASSERT_EQ(fake.beeps.size(), 1u) << "the silence";
    receiveBytes(reinterpret_cast<const uint8_t*>(falling.data()), falling.size());
    EXPECT_EQ(fake.events, (std::vector<int>{eventNoData, eventDataAgain, eventWindWarning}));
    EXPECT_TRUE(alarmSignal.sounding);
    EXPECT_EQ(fake.beeps.size(), 1u) << "the rise in the same tick";
    // The next tick's rise to level 2 sounds again.
    feedTimes(10, sentenceWithTendencies("-02.5", "-03.8"));
    EXPECT_EQ(windAlarmLevel(), 2);
    EXPECT_EQ(fake.beeps.size(), 2u);
}

// The edges of what goes out in Nmea mode beside those of the end-to-end test.
TEST_F(LineDispatch, OnlyNmeaSentencesGoOutAndEachWithCrLf)
{
    monitorSettings.DATA = Nmea;
    monitorSettings.SEND = 1;
    const std::string longest = "$" + std::string(79, 'a') + "\r\n";  // 82 with CR LF
    feed(longest + "$" + std::string(80, 'b') + "\r\n" + "$GP\x7F" "A\r\n" + "$GP\tD\r\n" + "$\x1B\r\n");
    EXPECT_EQ(fake.nmeaWrites.size(), 5u) << "nmea.txt keeps every line";
    EXPECT_EQ(fake.datagrams, (std::vector<std::string>{longest}));
}

TEST_F(LineDispatch, LinesThatCameOverUdpAreNotSentBackToTheirPort)
{
    monitorSettings.DATA = Nmea;
    monitorSettings.SEND = 1;
    monitorSettings.SOURCE = {SourceKind::Udp, 10110, 0, 0};
    monitorSettings.SENDTO.port = 10110;
    feed("$GPZDA,1*00\r\n");
    EXPECT_EQ(fake.nmeaWrites.size(), 1u);
    EXPECT_TRUE(fake.datagrams.empty());
    // Another port, or the same port with a TCP input, gets them.
    monitorSettings.SENDTO.port = 2000;
    feed("$GPZDA,2*00\r\n");
    monitorSettings.SENDTO.port = 10110;
    monitorSettings.SOURCE.kind = SourceKind::Tcp;
    feed("$GPZDA,3*00\r\n");
    EXPECT_EQ(fake.datagrams, (std::vector<std::string>{"$GPZDA,2*00\r\n", "$GPZDA,3*00\r\n"}));
}
