#include "display/colour_scheme.h"

#include "display/chart_banner.h"

namespace {

struct NightFill {
    uint32_t day, night;
};

// The banners stay the brightest things at night: the gale alarm at full
// red, the warning the same with a little amber in it, the no-data banner
// dim as its grey is by day.
constexpr NightFill nightFills[] = {
    {0xFFFFFF, nightGround},
    {bannerRed, 0xDC0000},
    {bannerAmber, 0xDC4000},
    {bannerGrey, 0x6E0000},
};

constexpr bool allKeepNightVision()
{
    for (const NightFill& fill : nightFills)
        if (!keepsNightVision(fill.night)) return false;
    return true;
}
static_assert(allKeepNightVision(), "nightFills: a night fill breaks the night rule");

} // namespace

uint32_t schemeFill(ColourScheme scheme, uint32_t rgb)
{
    if (scheme == ColourScheme::Day) return rgb;
    for (const NightFill& fill : nightFills)
        if (fill.day == rgb) return fill.night;
    return nightPixel;  // a fill of no banner: marked, dimly
}

uint32_t schemeTextColour(ColourScheme scheme, uint32_t rgb) { return scheme == ColourScheme::Day ? rgb : 0x000000; }
