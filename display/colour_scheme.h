#pragma once
// The window's two colour schemes. By day the plans draw in the colours they
// carry; at night the window keeps the watch's night vision: a black ground
// and dim red light only. Printed pages and the clipboard copy are always day.
#include <cstdint>

enum class ColourScheme { Day, Night };

// The window's scheme by the NIGHT setting.
constexpr ColourScheme schemeOf(uint8_t NIGHT) { return NIGHT ? ColourScheme::Night : ColourScheme::Day; }

// Colours as the plans carry them, 0xRRGGBB.
constexpr int redOf(uint32_t rgb) { return static_cast<int>((rgb >> 16) & 0xFF); }
constexpr int greenOf(uint32_t rgb) { return static_cast<int>((rgb >> 8) & 0xFF); }
constexpr int blueOf(uint32_t rgb) { return static_cast<int>(rgb & 0xFF); }

// The rule every night colour keeps: no green or blue above 64, no red above 220.
constexpr bool keepsNightVision(uint32_t rgb) { return redOf(rgb) <= 220 && greenOf(rgb) <= 64 && blueOf(rgb) <= 64; }

constexpr uint32_t nightGround = 0x000000;  // the window's background and the plot's fill
constexpr uint32_t nightText = 0x8C0000;    // the texts drawn in the window's own colours
constexpr uint32_t nightPixel = 0x780000;   // the single pixels of the time axis, as bright as the frame

// The menu bar and its drop-downs at night, whose items the program draws:
// the texts, check marks and key names dim red, a disabled item's darker, the
// selected item on a dark red ground.
constexpr uint32_t nightMenuText = nightText;
constexpr uint32_t nightMenuGreyText = 0x500000;
constexpr uint32_t nightMenuSelection = 0x340000;
static_assert(keepsNightVision(nightMenuText) && keepsNightVision(nightMenuGreyText) &&
                  keepsNightVision(nightMenuSelection),
              "a menu colour breaks the night rule");

// A fill the plan carries (a banner's, the copy's white ground) as the scheme draws it.
uint32_t schemeFill(ColourScheme scheme, uint32_t rgb);

// The colour of a text the plan colours itself, on the fill the plan put
// beneath it. Such texts stand on the banners, which stay lit at night:
// there they are black, but on the no-data banner.
uint32_t schemeTextColour(ColourScheme scheme, uint32_t rgb, uint32_t fillBeneath);

// The no-data banner at night: a dark band with its words lit, readable
// (4.7:1) and no rival to the storm banner's red.
constexpr uint32_t nightNoDataFill = 0x140000, nightNoDataText = 0xDB4040;
