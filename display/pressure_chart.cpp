#include "display/pressure_chart.h"

#include "acquisition/measurement_state.h"
#include "display/chart_geometry.h"
#include "display/plan_replay.h"
#include "settings/monitor_settings.h"

void drawPressureChart(HDC dc, int clientWidth, int clientHeight)
{
    replayPlan(dc, screenChartSteps(clientWidth, clientHeight, pressureHistory, monitorSettings,
                                    currentChartBanner()));
}
