#include "display/colour_scheme.h"

#include "display/chart_banner.h"

namespace {

struct NightFill {
    uint32_t day, night;
};

// The banners stay the brightest things at night: the gale alarm at full
// red, the warning the same with a little amber in it; the no-data banner
// dark, its words lit.
constexpr NightFill nightFills[] = {
    {0xFFFFFF, nightGround},
    {bannerRed, 0xDC0000},
    {bannerAmber, 0xDC4000},
    {bannerGrey, nightNoDataFill},
};

constexpr bool allKeepNightVision()
{
    for (const NightFill& fill : nightFills)
        if (!keepsNightVision(fill.night)) return false;
    return true;
}
static_assert(allKeepNightVision(), "nightFills: a night fill breaks the night rule");
static_assert(keepsNightVision(nightNoDataText), "the no-data banner's words break the night rule");

} // namespace

uint32_t schemeFill(ColourScheme scheme, uint32_t rgb)
{
    if (scheme == ColourScheme::Day) return rgb;
    for (const NightFill& fill : nightFills)
        if (fill.day == rgb) return fill.night;
    return nightPixel;  // a fill of no banner: marked, dimly
}

uint32_t schemeTextColour(ColourScheme scheme, uint32_t rgb, uint32_t fillBeneath)
{
    if (scheme == ColourScheme::Day) return rgb;
    return fillBeneath == bannerGrey ? nightNoDataText : 0x000000;
}
