#include "acquisition/signalk_output.h"

#include <cstdio>

#include "acquisition/alarm_signal.h"
#include "acquisition/data_watch.h"
#include "acquisition/line_dispatch.h"
#include "acquisition/low_pressure_alarm.h"
#include "acquisition/measurement_state.h"
#include "acquisition/wind_alarm.h"
#include "records/event_text.h"
#include "settings/monitor_settings.h"
#include "settings/ui_text.h"

SignalKOutput signalKOutput = {};

void resetSignalKOutput() { signalKOutput = SignalKOutput{}; }

namespace {

struct AlarmRow {
    SignalKAlarm alarm;
    const char* path;
    AlarmCause cause;  // whose sound the method follows
    int endEvent;      // its text is the message of "normal"
};

constexpr AlarmRow alarmRows[signalKAlarmCount] = {
    {SignalKAlarm::Storm, "environment.outside.pressure.storm", AlarmCause::LevelRise, eventWindAlarmEnded},
    {SignalKAlarm::Low, "environment.outside.pressure.low", AlarmCause::LowPressure, eventLowPressureEnded},
    {SignalKAlarm::NoData, "environment.outside.pressure.noData", AlarmCause::DataStop, eventDataAgain},
};

bool sending() { return monitorSettings.SIGNALK != 0 && receiverFrontEnd.sendSignalKDatagram; }

DeltaTime now() { return receiverFrontEnd.deltaTimeNow ? receiverFrontEnd.deltaTimeNow() : DeltaTime{}; }

// The state the program is in for that alarm; Normal throughout Nmea mode.
NotificationState stateOf(SignalKAlarm alarm)
{
    if (monitorSettings.DATA != Barograph) return NotificationState::Normal;
    switch (alarm) {
    case SignalKAlarm::Storm:
        return windAlarmLevel() == 2   ? NotificationState::Alarm
               : windAlarmLevel() == 1 ? NotificationState::Warn
                                       : NotificationState::Normal;
    case SignalKAlarm::Low: return lowPressureAlarm.on ? NotificationState::Warn : NotificationState::Normal;
    case SignalKAlarm::NoData: return dataWatch.silent ? NotificationState::Alert : NotificationState::Normal;
    }
    return NotificationState::Normal;
}

// The banner's text of that cause, as the chart shows it on one row.
std::string bannerText(SignalKAlarm alarm)
{
    char text[200];
    switch (alarm) {
    case SignalKAlarm::Storm: {
        const UtcStamp since = windAlarmRaisedAt();
        std::snprintf(text, sizeof text, uiText(txtBannerDetails), currentReading.tendency1h * 0.1,
                      currentReading.tendency3h * 0.1, since.hour, since.minute);
        return std::string(uiText(windAlarmLevel() == 2 ? txtBannerGaleAlarm : txtBannerWindWarning)) + "  " + text;
    }
    case SignalKAlarm::Low:
        std::snprintf(text, sizeof text, uiText(txtBannerLowPressure), unsigned(lowPressureAlarm.limit));
        return text;
    case SignalKAlarm::NoData:
        std::snprintf(text, sizeof text, uiText(txtBannerNoData), dataWatch.lastData.hour, dataWatch.lastData.minute);
        return text;
    }
    return {};
}

// The end event's text, without the blank the log line ends in.
std::string endMessage(const AlarmRow& row)
{
    std::string message = eventText(row.endEvent);
    while (!message.empty() && message.back() == ' ') message.pop_back();
    return message;
}

void send(const AlarmRow& row, const Notification& notification)
{
    const std::string delta = notificationDelta(notification, now());
    receiverFrontEnd.sendSignalKDatagram(delta.data(), delta.size());
    signalKOutput.sent[int(row.alarm)] = {true, notification.state, notification.sound, 0};
}

} // namespace

Notification signalKNotification(SignalKAlarm alarm)
{
    const AlarmRow& row = alarmRows[int(alarm)];
    Notification notification{row.path, stateOf(alarm), false, {}};
    if (notification.state == NotificationState::Normal) {
        notification.message = endMessage(row);
        return notification;
    }
    notification.sound = alarmSignal.unacknowledged[int(row.cause)];
    notification.message = bannerText(alarm);
    return notification;
}

void sendSignalKPressure(uint32_t pressure)
{
    if (!sending()) return;
    const std::string delta = pressureDelta(pressure, now());
    receiverFrontEnd.sendSignalKDatagram(delta.data(), delta.size());
}

void followSignalKAlarms()
{
    if (!sending()) return;
    for (const AlarmRow& row : alarmRows) {
        // The message is made only for a send: this runs for every line received.
        const NotificationState state = stateOf(row.alarm);
        const bool sound = state != NotificationState::Normal && alarmSignal.unacknowledged[int(row.cause)];
        const SignalKOutput::Sent& sent = signalKOutput.sent[int(row.alarm)];
        if (sent.known && sent.state == state && sent.sound == sound) continue;
        send(row, signalKNotification(row.alarm));
    }
}

void tickSignalKAlarms(uint32_t nowMs)
{
    const uint32_t elapsed = signalKOutput.clockRead ? nowMs - signalKOutput.lastClockMs : 0;
    signalKOutput.clockRead = true;
    signalKOutput.lastClockMs = nowMs;
    if (!sending()) return;
    for (const AlarmRow& row : alarmRows) {
        SignalKOutput::Sent& sent = signalKOutput.sent[int(row.alarm)];
        if (!sent.known || sent.state == NotificationState::Normal) continue;
        // A long gap (the PC slept) gives one repeat, not one for every period missed.
        sent.sinceMs = elapsed >= signalKRepeatMs - sent.sinceMs ? signalKRepeatMs : sent.sinceMs + elapsed;
        if (sent.sinceMs >= signalKRepeatMs) send(row, signalKNotification(row.alarm));
    }
    followSignalKAlarms();
}

void clearSignalKAlarms()
{
    if (!sending()) return;
    for (const AlarmRow& row : alarmRows) {
        const SignalKOutput::Sent& sent = signalKOutput.sent[int(row.alarm)];
        if (!sent.known || sent.state == NotificationState::Normal) continue;
        send(row, {row.path, NotificationState::Normal, false, endMessage(row)});
    }
}
