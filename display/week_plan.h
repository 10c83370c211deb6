#pragma once
// The seven-day barogram as the paper of a drum barograph shows it: a line
// at every hPa and a stronger, labelled one at every 10 hPa, a line at every
// midnight UTC labelled with the weekday and date, lighter ones every six
// hours, and the pressure of the records of the week. Planned once for the
// window, the printed page and the clipboard; each says where the frame and
// labels stand and which pens draw.
#include <cstdint>
#include <string>
#include <vector>

#include "display/chart_plan.h"
#include "settings/monitor_settings.h"
#include "storedata/week_records.h"

// Records further apart than this are not joined: the gap stays empty.
constexpr int64_t weekJoinMinutes = 15;

struct WeekPens {
    Pen hPa, tens, sixHours, days, frame, curve, windAlarm;
    int eventNumber;       // logged when a selection fails
    int fatalErrorNumber;  // or raised
};

struct WeekFrame {
    int oldSide, newSide;    // time coordinates of the week's start and of the present minute
    int lowSide, highSide;   // value coordinates of the bottom and top of the scale
    int scaleLabelTime;      // the pressure labels begin at this time
    int dayLabelShift;       // a day's label begins this far after its midnight line
    int dayLabelGap;         // and this far outward from the low side
    int dotLength;           // a record joined to none is a stroke this long, ending at its time
                             // (the newest record stands on the frame's side)
    WeekPens pens;
};

// "Mo 03.06." / "Mon 3 Jun" / "lun. 3 juin": the day that begins at this minute.
std::string dayLabel(int64_t minute, UiLanguage language);

// "03.06.2024 - 10.06.2024": the dates of the week ending at nowMinute.
std::string weekDates(int64_t nowMinute);

// Value coordinate of a pressure in hundredths of a hPa, time coordinate of a minute.
int weekValue(const WeekFrame& frame, int32_t pressure, int32_t LO);
int weekTime(const WeekFrame& frame, int64_t minute, int64_t nowMinute);

// Grid, frame, labels and curve of the records of the week ending at
// nowMinute (held oldest first; those outside the week are passed over), in
// the frame's pens; with no record in the week, the words saying so in the
// middle of the frame. The frame's outline comes after the grid, which would
// break it; a fill beneath and the heading are the caller's.
void planWeek(ChartPlan& chart, const WeekFrame& frame, const std::vector<WeekRecord>& records,
              int64_t nowMinute, int32_t LO, UiLanguage language);
