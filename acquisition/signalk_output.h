#pragma once
// The program's alarms and its pressure as Signal K deltas, while SIGNALK is
// on. Each notification (storm, low, noData) is sent at once whenever its
// state or method changes, again every signalKRepeatMs while it stands (UDP
// may lose a datagram, the server may restart), and "normal" for all three
// at the first chance of a run, so that one left standing by a run that was
// killed is cleared. In Nmea mode every one is "normal"; nothing else goes
// out there. The program only sends: what a phone acknowledges stays there.
#include <cstdint>

#include "acquisition/signalk_delta.h"

constexpr uint32_t signalKRepeatMs = 60000;

enum class SignalKAlarm : uint8_t { Storm, Low, NoData };
constexpr int signalKAlarmCount = 3;

struct SignalKOutput {
    struct Sent {
        bool known;  // sent in this run, since sending was last switched on
        NotificationState state;
        bool sound;
        uint32_t sinceMs;  // since it was last sent
    } sent[signalKAlarmCount];  // by SignalKAlarm
    bool clockRead;
    uint32_t lastClockMs;
};

extern SignalKOutput signalKOutput;

// Nothing sent yet: as at a start, and when sending is switched on.
void resetSignalKOutput();

// The delta of an accepted sentence's (corrected) pressure.
void sendSignalKPressure(uint32_t pressure);

// Sends each notification whose state or method is not what was last sent.
void followSignalKAlarms();

// The clock at a timer tick, in milliseconds that wrap: a standing
// notification again once signalKRepeatMs have passed, then any change.
void tickSignalKAlarms(uint32_t nowMs);

// "normal" for each one standing: at a normal end, or before sending is
// switched off or moved to another server.
void clearSignalKAlarms();

// What the server is told of one of them now, in the window's language.
Notification signalKNotification(SignalKAlarm alarm);
