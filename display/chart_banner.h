#pragma once
// The storm warning on the chart: banners across the top of the plot, one
// for the wind alarm (amber for level 1, red for level 2) and one, grey, for
// data that stopped. Planned once for the screen and the printed page.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "display/chart_plan.h"
#include "records/record_line.h"
#include "settings/monitor_settings.h"

struct ChartBanner {
    int alarmLevel = 0;  // 0, 1 or 2
    int32_t tendency1h = 0, tendency3h = 0;  // the last sentence's, tenths of a hPa
    UtcStamp raisedAt{};
    bool noData = false;
    UtcStamp lastData{};
    uint16_t lowLimit = 0;  // hPa, while the low-pressure alarm stands; its banner yields to a level's
};

// The banner state of the running program.
ChartBanner currentChartBanner();

constexpr uint32_t bannerAmber = 0xFFBF00, bannerRed = 0xD00000, bannerGrey = 0xB4B4B4;

struct BannerLine {
    std::string text;
    uint32_t fill;  // 0xRRGGBB
};

// The rows of the banners in that language: the alarm's words, then its
// tendencies and the time it came on, on one row, or on two when one row
// would be longer than widthChars, or, with no level standing, the
// low-pressure alarm's row; then the no-data banner.
std::vector<BannerLine> bannerLines(const ChartBanner& banner, UiLanguage language, size_t widthChars);

// Where the rows go, in the chart's time and value coordinates: from the
// frame's old side to its new side, beginning `inset` inside its high side
// and growing inward, each row a line of text with `padding` around it.
struct BannerPlace {
    int oldSide, newSide, highSide;
    int inset, padding;
};

// The depth of that many rows, along the values.
int bannerDepth(const ChartPlan& chart, const BannerPlace& place, size_t rows);

void planBanners(ChartPlan& chart, const std::vector<BannerLine>& lines, const BannerPlace& place);
