// The week chart of the window, read back from its plan: the day lines and
// their labels, the scale, the curve with its gaps and red stretches.
#include "display/week_chart_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "display/chart_geometry.h"
#include "display/week_plan.h"
#include "../printing/page_trace.h"

namespace {

// A client area of 1000 x 700: the frame runs from x 50 to 950 and from y 35 to 665.
constexpr int width = 1000, height = 700;
constexpr int left = 50, right = 950, top = 35, bottom = 665;

// Wednesday 05.06.2024 12:00 UTC: the week began on Wednesday 29.05. at 12:00.
const int64_t june5 = minuteOf(2024, 6, 5, 12, 0);

MonitorSettings settingsIn(UiLanguage language, int32_t LO = 0)
{
    MonitorSettings settings{};
    settings.LANG = language;
    settings.LO = LO;
    return settings;
}

PageTrace weekPage(const std::vector<WeekRecord>& records, int64_t now, UiLanguage language = German,
                   int32_t LO = 0, const ChartBanner& banner = ChartBanner{})
{
    return PageTrace(screenWeekSteps(width, height, records, now, settingsIn(language, LO), banner));
}

int xOf(int64_t minute, int64_t now) { return left + static_cast<int>((right - left) * (minute - now + weekMinutes) / weekMinutes); }

std::vector<int> verticalsWith(const PageTrace& page, Pen pen)
{
    std::vector<int> xs;
    for (const PlannedLine& l : page.linesWith(pen))
        if (l.x0 == l.x1 && std::min(l.y0, l.y1) == top && std::max(l.y0, l.y1) == bottom) xs.push_back(l.x0);
    return xs;
}

std::vector<std::string> textsBelowTheFrame(const PageTrace& page)
{
    std::vector<std::string> out;
    for (const PlannedText& t : page.texts)
        if (t.y > bottom) out.push_back(t.text);
    return out;
}

// Records every five minutes from `from` to `to` (minutes), pressure rising 0.01 hPa a record.
std::vector<WeekRecord> series(int64_t from, int64_t to, uint8_t windAlarm = 0)
{
    std::vector<WeekRecord> out;
    for (int64_t m = from; m <= to; m += 5) out.push_back({m, 100000 + static_cast<int32_t>((m - from) / 5), windAlarm});
    return out;
}

} // namespace

TEST(WeekPlan, ALineAtEveryMidnightLabelledWithWeekdayAndDateInTheWindowsLanguage)
{
    const std::vector<std::string> german = {"Do 30.05.", "Fr 31.05.", "Sa 01.06.", "So 02.06.",
                                             "Mo 03.06.", "Di 04.06.", "Mi"};
    // Twelve hours into its day the newest day's full label would run past the frame's end.
    const std::vector<std::string> english = {"Thu 30 May", "Fri 31 May", "Sat 1 Jun", "Sun 2 Jun",
                                              "Mon 3 Jun", "Tue 4 Jun", "Wed"};
    const std::vector<std::string> french = {"jeu. 30 mai", "ven. 31 mai", "sam. 1 juin", "dim. 2 juin",
                                             "lun. 3 juin", "mar. 4 juin", "mer."};
    const std::pair<UiLanguage, const std::vector<std::string>*> languages[] = {
        {German, &german}, {English, &english}, {French, &french}};
    for (const auto& [language, labels] : languages) {
        PageTrace page = weekPage({}, june5, language);
        EXPECT_EQ(textsBelowTheFrame(page), *labels) << int(language);
        // The frame's own sides are black too; the day lines stand between them.
        std::vector<int> days = verticalsWith(page, Pen::Frame);
        days.erase(std::remove_if(days.begin(), days.end(), [](int x) { return x == left || x == right; }),
                   days.end());
        ASSERT_EQ(days.size(), 7u);
        for (int d = 0; d < 7; ++d) {
            const int64_t midnight = minuteOf(2024, 5, 30 + d, 0, 0);  // 30.05. + d, normalised by the count
            EXPECT_EQ(days[d], xOf(midnight, june5)) << d;
        }
        // Each label begins just right of its line, below the frame.
        size_t n = 0;
        for (const PlannedText& t : page.texts)
            if (t.y > bottom) {
                EXPECT_EQ(t.x, days[n++] + 3);
                EXPECT_EQ(t.y, bottom + 6);
            }
    }
    EXPECT_EQ(xOf(minuteOf(2024, 5, 30, 0, 0), june5), 114);  // 12 of 168 hours across 900 dots
}

TEST(WeekPlan, LighterLinesEverySixHoursAndTheScaleOfADrum)
{
    PageTrace page = weekPage({}, june5);
    // 29.05. 18:00 to 05.06. 06:00 every six hours, the midnights left to the day lines.
    std::vector<int> six = verticalsWith(page, Pen::Grid);
    ASSERT_EQ(six.size(), 20u);
    EXPECT_EQ(six.front(), xOf(minuteOf(2024, 5, 29, 18, 0), june5));
    EXPECT_EQ(six.back(), xOf(minuteOf(2024, 6, 5, 6, 0), june5));
    // A fine line at every hPa, a strong one at every 10 hPa inside the frame.
    std::vector<PlannedLine> fine = page.linesWith(Pen::WeekFine), strong = page.linesWith(Pen::WeekStrong);
    EXPECT_EQ(fine.size(), 90u);
    ASSERT_EQ(strong.size(), 9u);
    for (const PlannedLine& l : strong) {
        EXPECT_EQ(l.y0, l.y1);
        EXPECT_EQ(std::min(l.x0, l.x1), left);
        EXPECT_EQ(std::max(l.x0, l.x1), right);
    }
    EXPECT_EQ(strong[4].y0, bottom - 5 * (bottom - top) / 10);  // 1000 hPa in the middle
    EXPECT_EQ(fine[0].y0, bottom - (bottom - top) / 100);
    // Labelled every 10 hPa left of the frame, centred on the lines, on the scale LO chooses.
    std::vector<std::string> labels;
    for (const PlannedText& t : page.texts)
        if (t.x + 4 * 8 < left) labels.push_back(t.text);
    EXPECT_EQ(labels, (std::vector<std::string>{" 950", " 960", " 970", " 980", " 990", "1000", "1010", "1020",
                                                "1030", "1040", "1050"}));
    PageTrace low = weekPage({}, june5, German, 1);
    EXPECT_TRUE(std::any_of(low.texts.begin(), low.texts.end(), [](const PlannedText& t) { return t.text == " 900"; }));
    EXPECT_TRUE(low.linesWith(Pen::Tendency1h).empty() && low.linesWith(Pen::Tendency3h).empty())
        << "no tendency curves in this view";
}

TEST(WeekPlan, TheCurveJoinsRecordsUpToFifteenMinutesApartAndLeavesLongerGapsEmpty)
{
    std::vector<WeekRecord> records = series(june5 - 600, june5 - 420);  // 10 h to 7 h before now
    std::vector<WeekRecord> after = series(june5 - 405, june5 - 300);     // 15 minutes later
    std::vector<WeekRecord> late = series(june5 - 120, june5);            // after a gap of three hours
    records.insert(records.end(), after.begin(), after.end());
    records.insert(records.end(), late.begin(), late.end());
    PageTrace page = weekPage(records, june5);
    std::vector<PlannedLine> curve = page.linesWith(Pen::Pressure);
    ASSERT_FALSE(curve.empty());
    const int gapFrom = xOf(june5 - 300, june5), gapTo = xOf(june5 - 120, june5);
    for (const PlannedLine& l : curve) {
        EXPECT_FALSE(std::min(l.x0, l.x1) < gapTo && std::max(l.x0, l.x1) > gapFrom)
            << "a line across the gap from " << l.x0 << " to " << l.x1;
        EXPECT_EQ(std::max(l.y0, l.y1) <= bottom && std::min(l.y0, l.y1) >= top, true);
    }
    // The fifteen-minute step is joined.
    const int stepFrom = xOf(june5 - 420, june5), stepTo = xOf(june5 - 405, june5);
    EXPECT_TRUE(std::any_of(curve.begin(), curve.end(),
                            [&](const PlannedLine& l) { return l.x0 == stepFrom && l.x1 == stepTo; }));
    // The curve ends at the newest record: 1000.24 hPa at the present minute.
    EXPECT_EQ(curve.back().x1, right);
    EXPECT_EQ(curve.back().y1, weekValue(WeekFrame{left, right, bottom, top, 0, 0, 0, 0, {}}, 100024, 0));
    EXPECT_TRUE(page.linesWith(Pen::PressureFalling).empty()) << "no wind alarm, nothing red";
}

TEST(WeekPlan, RecordsWithTheWindAlarmAreRed)
{
    std::vector<WeekRecord> records = series(june5 - 600, june5 - 300);
    for (WeekRecord& r : records)
        if (r.minute > june5 - 500 && r.minute <= june5 - 400) r.windAlarm = 1;  // 20 records
    records.push_back({june5 - 100, 99000, 1});                              // one on its own
    PageTrace page = weekPage(records, june5);
    std::vector<PlannedLine> red = page.linesWith(Pen::PressureFalling);
    ASSERT_EQ(red.size(), 21u);
    for (size_t k = 0; k < 20; ++k) {
        EXPECT_EQ(red[k].x0, xOf(june5 - 500 + 5 * static_cast<int64_t>(k), june5)) << k;
        EXPECT_EQ(red[k].x1, xOf(june5 - 495 + 5 * static_cast<int64_t>(k), june5)) << k;
    }
    EXPECT_EQ(red[20].x1, xOf(june5 - 100, june5));
    EXPECT_EQ(red[20].x0, red[20].x1 - 2) << "a lone record is a short stroke up to it";
    // Red is drawn over the black curve, which is complete beneath it.
    EXPECT_GT(page.linesWith(Pen::Pressure).size(), 60u);
}

// At any minute of the day every midnight of the week has its label, wholly
// between the frame's sides: at 00:00 the week's first day begins at its left
// side; in the first hours of a day its label is the weekday alone, before
// its line at first, never over the label of the day before.
TEST(WeekPlan, EveryMidnightOfTheWeekIsLabelledWithinTheFrameAtAnyMinute)
{
    for (int minute : {0, 1, 59, 3 * 60, 12 * 60, 15 * 60, 23 * 60 + 59, 24 * 60}) {
        const int64_t now = minuteOf(2024, 6, 5, 0, 0) + minute;
        PageTrace page = weekPage({}, now);
        std::vector<std::string> expected;
        for (int64_t m = minuteOf(2024, 5, 29, 0, 0); m <= now; m += 1440) {
            if (m < now - weekMinutes) continue;
            const std::string label = dayLabel(m, German);
            expected.push_back(xOf(m, now) + 3 + 8 * static_cast<int>(label.size()) <= right ? label
                                                                                              : label.substr(0, 2));
        }
        EXPECT_EQ(textsBelowTheFrame(page), expected) << minute;
        int previousEnd = left;
        for (const PlannedText& t : page.texts)
            if (t.y > bottom) {
                EXPECT_GE(t.x, previousEnd) << minute << " " << t.text;
                previousEnd = t.x + static_cast<int>(t.text.size()) * 8;
                EXPECT_LE(previousEnd, right) << minute << " " << t.text;
            }
    }
    EXPECT_EQ(textsBelowTheFrame(weekPage({}, minuteOf(2024, 6, 5, 0, 0))).front(), "Mi 29.05.");
}

TEST(WeekPlan, AWeekAcrossTheEndOfAMonthAndOfAYear)
{
    const int64_t now = minuteOf(2025, 1, 3, 6, 0);
    PageTrace page = weekPage({}, now);
    EXPECT_EQ(textsBelowTheFrame(page), (std::vector<std::string>{"Sa 28.12.", "So 29.12.", "Mo 30.12.", "Di 31.12.",
                                                                  "Mi 01.01.", "Do 02.01.", "Fr"}));
    EXPECT_EQ(page.texts.front().text, "Barogramm 7 Tage   27.12.2024 - 03.01.2025");
    PageTrace english = weekPage({}, minuteOf(2024, 3, 2, 6, 0), English);  // a leap February
    EXPECT_EQ(textsBelowTheFrame(english), (std::vector<std::string>{"Sun 25 Feb", "Mon 26 Feb", "Tue 27 Feb",
                                                                     "Wed 28 Feb", "Thu 29 Feb", "Fri 1 Mar",
                                                                     "Sat"}));
}

TEST(WeekPlan, AnEmptyWeekSaysSoInTheMiddleOfTheFrame)
{
    const char* const words[] = {"Keine Aufzeichnungen in den letzten 7 Tagen", "No records in the last 7 days",
                                 "Pas d'enregistrements depuis 7 jours"};
    for (UiLanguage language : {German, English, French}) {
        // Records older than the week count as none.
        PageTrace page = weekPage(series(june5 - weekMinutes - 600, june5 - weekMinutes), june5, language);
        auto said = std::find_if(page.texts.begin(), page.texts.end(),
                                 [&](const PlannedText& t) { return t.text == words[language]; });
        ASSERT_NE(said, page.texts.end()) << int(language);
        EXPECT_GT(said->x, left);
        EXPECT_LT(said->x + 8 * static_cast<int>(said->text.size()), right);
        EXPECT_NEAR(said->y + 8, (top + bottom) / 2, 1);
        EXPECT_TRUE(page.linesWith(Pen::Pressure).empty());
    }
    PageTrace one = weekPage({{june5 - 60, 101325, 0}}, june5);
    for (const char* w : words)
        EXPECT_TRUE(std::none_of(one.texts.begin(), one.texts.end(), [&](const PlannedText& t) { return t.text == w; }));
}

TEST(WeekPlan, ASingleRecordIsAVisibleStroke)
{
    PageTrace page = weekPage({{june5 - 60, 101325, 0}}, june5);
    std::vector<PlannedLine> curve = page.linesWith(Pen::Pressure);
    ASSERT_EQ(curve.size(), 1u);
    EXPECT_EQ(curve[0].x1, xOf(june5 - 60, june5));
    EXPECT_EQ(curve[0].x0, curve[0].x1 - 2);
    EXPECT_EQ(curve[0].y0, bottom - static_cast<int>((1013.25 - 950) * (bottom - top) / 100 + 0.5));
}

TEST(WeekPlan, TheStormWarningBannerStandsWhereTheHoursChartHasIt)
{
    ChartBanner banner;
    banner.alarmLevel = 2;
    banner.tendency1h = -40;
    banner.tendency3h = -85;
    PageTrace week = weekPage({}, june5, English, 0, banner);
    PageTrace hours(screenChartSteps(width, height, PressureHistory{}, settingsIn(English), banner));
    ASSERT_EQ(week.boxes.size(), 1u);
    ASSERT_EQ(hours.boxes.size(), 1u);
    EXPECT_EQ(week.boxes[0].left, hours.boxes[0].left);
    EXPECT_EQ(week.boxes[0].top, hours.boxes[0].top);
    EXPECT_EQ(week.boxes[0].right, hours.boxes[0].right);
    EXPECT_EQ(week.boxes[0].colour, bannerRed);
}
