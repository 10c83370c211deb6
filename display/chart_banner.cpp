#include "display/chart_banner.h"

#include <cstdio>

#include "acquisition/data_watch.h"
#include "acquisition/low_pressure_alarm.h"
#include "acquisition/wind_alarm.h"
#include "settings/ui_text.h"

ChartBanner currentChartBanner()
{
    ChartBanner banner;
    banner.alarmLevel = windAlarmLevel();
    // What the last sentence said, also when a mode command cleared the reading since.
    banner.tendency1h = windAlarmLevels.tendency1h;
    banner.tendency3h = windAlarmLevels.tendency3h;
    banner.raisedAt = windAlarmRaisedAt();
    banner.noData = dataWatch.silent;
    banner.lastData = dataWatch.lastData;
    banner.lowLimit = lowPressureAlarm.on ? lowPressureAlarm.limit : 0;
    return banner;
}

std::vector<BannerLine> bannerLines(const ChartBanner& banner, UiLanguage language, size_t widthChars)
{
    std::vector<BannerLine> lines;
    char text[160];
    if (banner.alarmLevel != 0) {
        uint32_t fill = banner.alarmLevel == 2 ? bannerRed : bannerAmber;
        std::string words = uiText(banner.alarmLevel == 2 ? txtBannerGaleAlarm : txtBannerWindWarning, language);
        std::snprintf(text, sizeof text, uiText(txtBannerDetails, language), banner.tendency1h * 0.1,
                      banner.tendency3h * 0.1, banner.raisedAt.hour, banner.raisedAt.minute);
        std::string oneRow = words + "  " + text;
        if (oneRow.size() <= widthChars) {
            lines.push_back({oneRow, fill});
        } else {
            lines.push_back({words, fill});
            lines.push_back({text, fill});
        }
    } else if (banner.lowLimit != 0) {
        std::snprintf(text, sizeof text, uiText(txtBannerLowPressure, language), unsigned(banner.lowLimit));
        lines.push_back({text, bannerAmber});
    }
    if (banner.noData) {
        std::snprintf(text, sizeof text, uiText(txtBannerNoData, language), banner.lastData.hour,
                      banner.lastData.minute);
        lines.push_back({text, bannerGrey});
    }
    return lines;
}

int bannerDepth(const ChartPlan& chart, const BannerPlace& place, size_t rows)
{
    if (rows == 0) return 0;
    return place.inset + static_cast<int>(rows) * (chart.font.lineHeight + 2 * place.padding);
}

void planBanners(ChartPlan& chart, const std::vector<BannerLine>& lines, const BannerPlace& place)
{
    // Inward from the high side is against the values' growth; a text hangs
    // inward of its point either way (below it upright, left of it turned).
    const int inward = -valueUp(chart.turned);
    const int row = chart.font.lineHeight + 2 * place.padding;
    int from = place.highSide + inward * place.inset;
    for (const BannerLine& line : lines) {
        int to = from + inward * row;
        int v0 = from < to ? from : to, v1 = from < to ? to : from;
        DrawingStep box;
        box.kind = DrawingStep::FillBox;
        box.colour = line.fill;
        if (chart.turned) {
            box.x = v0, box.right = v1, box.y = place.oldSide, box.bottom = place.newSide;
        } else {
            box.x = place.oldSide, box.right = place.newSide, box.y = v0, box.bottom = v1;
        }
        chart.steps.push_back(box);
        addText(chart, place.oldSide + place.padding, from + inward * place.padding, line.text);
        chart.steps.back().kind = DrawingStep::ColouredText;
        chart.steps.back().colour = line.fill == bannerRed ? 0xFFFFFF : 0x000000;
        from = to;
    }
}
