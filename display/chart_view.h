#pragma once
// Which chart the window shows in Barograph mode. Chosen in the View menu,
// not stored: the program starts on the 52 hours.
enum class ChartKind { Hours52, Week };

struct ChartView {
    ChartKind shown;
};

extern ChartView chartView;

// Back to the 52 hours.
void resetChartView();
