#include "display/pressure_chart.h"

#include "acquisition/measurement_state.h"
#include "display/chart_geometry.h"
#include "display/chart_view.h"
#include "display/plan_replay.h"
#include "display/week_chart_geometry.h"
#include "settings/monitor_settings.h"
#include "storedata/week_loader.h"
#include "storedata/week_records.h"

DrawingPlan shownChartSteps(int clientWidth, int clientHeight)
{
    if (chartView.shown == ChartKind::Week)
        return screenWeekSteps(clientWidth, clientHeight, weekHold.records, presentUtcMinute(), monitorSettings,
                               currentChartBanner());
    return screenChartSteps(clientWidth, clientHeight, pressureHistory, monitorSettings, currentChartBanner());
}

void drawPressureChart(HDC dc, int clientWidth, int clientHeight, ColourScheme scheme)
{
    replayPlan(dc, shownChartSteps(clientWidth, clientHeight), scheme);
}
