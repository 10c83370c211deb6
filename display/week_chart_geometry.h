#pragma once
// The week chart of the main window: the frame of the 52-hour chart with the
// week drawn in it, in device units of the client area.
#include <cstdint>
#include <vector>

#include "display/chart_banner.h"
#include "display/drawing_plan.h"
#include "settings/monitor_settings.h"
#include "storedata/week_records.h"

// Heading with the dates, frame, grid, labels and curve of the week ending
// at nowMinute, with LO and LANG of the settings, in the screen pens and the
// context's own font, and the storm warning's banners where the 52-hour
// chart has them. A failed pen selection logs its event; the context's own
// pen is put back.
DrawingPlan screenWeekSteps(int clientWidth, int clientHeight, const std::vector<WeekRecord>& records,
                            int64_t nowMinute, const MonitorSettings& settings,
                            const ChartBanner& banner = ChartBanner{});
