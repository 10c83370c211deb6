#include "display/week_plan.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "settings/ui_text.h"

namespace {

constexpr int64_t sixHours = 6 * 60;
constexpr int64_t oneDay = 24 * 60;

// The n-th word of a text of words separated by single spaces.
std::string wordOf(const char* words, int n)
{
    std::string all = words;
    size_t from = 0;
    for (int k = 0; k < n && from != std::string::npos; ++k) {
        from = all.find(' ', from);
        if (from != std::string::npos) ++from;
    }
    if (from == std::string::npos) return {};
    return all.substr(from, all.find(' ', from) - from);
}

int64_t firstBoundaryAfter(int64_t minute, int64_t every)
{
    int64_t r = minute % every;
    if (r < 0) r += every;
    return minute - r + every;
}

void addSpan(ChartPlan& chart, const WeekFrame& f, int64_t minute, int64_t nowMinute)
{
    int time = weekTime(f, minute, nowMinute);
    addLine(chart, time, f.lowSide, time, f.highSide);
}

} // namespace

std::string dayLabel(int64_t minute, UiLanguage language)
{
    const UtcStamp d = stampOf(minute);
    const std::string weekday = wordOf(uiText(txtWeekdayNames, language), weekdayOf(minute));
    const std::string month = wordOf(uiText(txtMonthNames, language), d.month - 1);
    char text[48];
    if (language == German) std::snprintf(text, sizeof text, "%s %02d.%02d.", weekday.c_str(), d.day, d.month);
    else std::snprintf(text, sizeof text, "%s %d %s", weekday.c_str(), d.day, month.c_str());
    return text;
}

std::string weekDates(int64_t nowMinute)
{
    const UtcStamp from = stampOf(nowMinute - weekMinutes), to = stampOf(nowMinute);
    char text[48];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d - %02d.%02d.%04d", from.day, from.month, from.year, to.day,
                  to.month, to.year);
    return text;
}

int weekValue(const WeekFrame& f, int32_t pressure, int32_t LO)
{
    const double above = static_cast<double>(pressure) / 100.0 - lowestPressureLabel(LO);
    const double v = f.lowSide + (f.highSide - f.lowSide) * above / 100.0;
    return static_cast<int>(v < 0 ? v - 0.5 : v + 0.5);
}

int weekTime(const WeekFrame& f, int64_t minute, int64_t nowMinute)
{
    const int64_t sinceStart = minute - (nowMinute - weekMinutes);
    return f.oldSide + static_cast<int>((f.newSide - f.oldSide) * sinceStart / weekMinutes);
}

void planWeek(ChartPlan& chart, const WeekFrame& f, const std::vector<WeekRecord>& records, int64_t nowMinute,
              int32_t LO, UiLanguage language)
{
    const WeekPens& pens = f.pens;
    const int64_t start = nowMinute - weekMinutes;
    auto hPaLine = [&](int i) {
        int value = f.lowSide + (f.highSide - f.lowSide) * i / 100;
        addLine(chart, f.oldSide, value, f.newSide, value);
        return value;
    };

    addPen(chart, pens.hPa, pens.eventNumber, pens.fatalErrorNumber);
    for (int i = 1; i < 100; ++i)
        if (i % 10 != 0) hPaLine(i);
    addPen(chart, pens.sixHours, pens.eventNumber, pens.fatalErrorNumber);
    for (int64_t m = firstBoundaryAfter(start, sixHours); m < nowMinute; m += sixHours)
        if (m % oneDay != 0) addSpan(chart, f, m, nowMinute);
    addPen(chart, pens.tens, pens.eventNumber, pens.fatalErrorNumber);
    std::vector<int> tens;
    for (int i = 0; i <= 10; ++i) tens.push_back(i == 0 || i == 10 ? f.lowSide + (f.highSide - f.lowSide) * i / 10
                                                                     : hPaLine(10 * i));
    // These marks are listed from the bottom of the scale up, whatever the chart's own order.
    const bool highFirst = chart.highFirst;
    chart.highFirst = false;
    planLabels(chart, tens, f.scaleLabelTime, [&](int i) { return pressureLabel(i, LO); });
    chart.highFirst = highFirst;

    addPen(chart, pens.days, pens.eventNumber, pens.fatalErrorNumber);
    const int outward = -valueUp(chart.turned);
    // A label longer than its day (a printer's font is wide) takes two rows:
    // the weekday, and the date beneath it.
    const int dayWidth = weekTime(f, start + oneDay, nowMinute) - weekTime(f, start, nowMinute);
    // Every midnight of the week has its label, the one at the week's start
    // (whose line is the frame's) too. A label that would run past the
    // frame's end gives its weekday alone, which stands before its line if
    // even that would: the full label there would cover the day before's.
    for (int64_t m = firstBoundaryAfter(start - 1, oneDay); m <= nowMinute; m += oneDay) {
        if (m > start) addSpan(chart, f, m, nowMinute);
        const int line = weekTime(f, m, nowMinute);
        auto fits = [&](size_t chars) {
            return line + f.dayLabelShift + static_cast<int>(chars) * chart.font.charWidth <= f.newSide;
        };
        const std::string label = dayLabel(m, language);
        const size_t space = label.find(' ');
        const int row = f.lowSide + outward * f.dayLabelGap;
        const bool oneRow = static_cast<int>(label.size() + 1) * chart.font.charWidth <= std::abs(dayWidth) ||
                            space == std::string::npos;
        const size_t widest = oneRow ? label.size() : std::max(space, label.size() - space - 1);
        if (fits(widest) && oneRow) {
            addText(chart, line + f.dayLabelShift, row, label);
        } else if (fits(widest)) {
            addText(chart, line + f.dayLabelShift, row, label.substr(0, space));
            addText(chart, line + f.dayLabelShift, row + outward * chart.font.lineHeight, label.substr(space + 1));
        } else {
            const std::string weekday = label.substr(0, space);
            const int width = static_cast<int>(weekday.size()) * chart.font.charWidth;
            addText(chart, fits(weekday.size()) ? line + f.dayLabelShift : line - f.dayLabelShift - width, row,
                    weekday);
        }
    }

    addPen(chart, pens.frame, pens.eventNumber, pens.fatalErrorNumber);
    addLine(chart, f.oldSide, f.lowSide, f.newSide, f.lowSide);
    addPoint(chart, DrawingStep::LineTo, f.newSide, f.highSide);
    addPoint(chart, DrawingStep::LineTo, f.oldSide, f.highSide);
    addPoint(chart, DrawingStep::LineTo, f.oldSide, f.lowSide);

    // The records of the week, and where each stretch of joined records begins.
    std::vector<const WeekRecord*> shown;
    for (const WeekRecord& r : records)
        if (r.minute > start && r.minute <= nowMinute) shown.push_back(&r);
    if (shown.empty()) {
        const std::string words = uiText(txtWeekEmpty, language);
        const int length = static_cast<int>(words.size()) * chart.font.charWidth;
        addText(chart, (f.oldSide + f.newSide - length) / 2,
                (f.lowSide + f.highSide) / 2 + valueUp(chart.turned) * (chart.font.lineHeight / 2), words);
        return;
    }
    auto joined = [&](size_t k) { return k > 0 && shown[k]->minute - shown[k - 1]->minute <= weekJoinMinutes; };
    auto timeOf = [&](size_t k) { return weekTime(f, shown[k]->minute, nowMinute); };
    auto valueOf = [&](size_t k) { return weekValue(f, shown[k]->pressure, LO); };
    auto lone = [&](size_t k) { return !joined(k) && !(k + 1 < shown.size() && joined(k + 1)); };

    addPen(chart, pens.curve, pens.eventNumber, pens.fatalErrorNumber);
    for (size_t k = 0; k < shown.size(); ++k) {
        if (lone(k)) addLine(chart, timeOf(k) - f.dotLength, valueOf(k), timeOf(k), valueOf(k));
        else addPoint(chart, joined(k) ? DrawingStep::LineTo : DrawingStep::MoveTo, timeOf(k), valueOf(k));
    }
    // A record of a cycle with a wind alarm is red, with the stretch that leads to it.
    bool redSelected = false;
    for (size_t k = 0; k < shown.size(); ++k) {
        if (shown[k]->windAlarm != 1) continue;
        if (!redSelected) addPen(chart, pens.windAlarm, pens.eventNumber, pens.fatalErrorNumber);
        redSelected = true;
        if (joined(k)) addLine(chart, timeOf(k - 1), valueOf(k - 1), timeOf(k), valueOf(k));
        else addLine(chart, timeOf(k) - f.dotLength, valueOf(k), timeOf(k), valueOf(k));
    }
}
