#include "display/chart_view.h"

ChartView chartView = {ChartKind::Hours52};

void resetChartView() { chartView = ChartView{ChartKind::Hours52}; }
