#pragma once
// The week chart as one printed barogram page, upright or turned as the
// 52-hour chart is (printed_chart_geometry.h), in device units of the page.
#include <cstdint>
#include <vector>

#include "display/chart_banner.h"
#include "display/chart_plan.h"
#include "settings/monitor_settings.h"
#include "storedata/week_records.h"

// Heading with the dates the week spans, frame, grid, labels and curve of
// the week ending at nowMinute, and the storm warning's banners, in the
// printer pens and a "SYSTEM_FONT" at the printer's default height. A failed
// pen selection raises its fatal error; the context's own pen is put back.
// Every text is kept on the page.
DrawingPlan printedWeekSteps(int Wd, int Hd, const TextMetrics& font, const std::vector<WeekRecord>& records,
                             int64_t nowMinute, const MonitorSettings& settings,
                             const ChartBanner& banner = ChartBanner{});
