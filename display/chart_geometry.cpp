#include "display/chart_geometry.h"

#include <cstdio>

#include "display/rounding.h"

// The scale steps and factors are single-precision floats and the products are
// formed in float before they are widened for rounding; positions therefore
// come out the same on every paint and on every compiler.

ChartLayout chartLayout(int clientWidth, int clientHeight)
{
    ChartLayout c{};
    c.R = clientWidth;
    c.B = clientHeight;
    c.yB = c.B - 35;
    c.H = c.B - 70;
    c.W = c.R - 100;
    c.xR = c.R - 50;
    c.yM = c.yB - c.H / 2;
    c.q = c.R / 4;
    c.e = c.R / 12;
    c.labelStep = static_cast<float>(c.H * 0.1);
    c.tickStep = static_cast<float>(c.H * 0.01);
    c.tendencyStep = static_cast<float>(c.H * 0.05);
    c.kT = static_cast<float>(c.H * 0.005);
    c.kP = static_cast<float>(c.H * 0.001);
    c.kV = static_cast<float>(c.H * (1.0 / 3000.0));
    c.sx = static_cast<float>(c.W + 1) / 104.0f;
    return c;
}

int clampToWindow(int y) { return y < 1 ? 0 : y; }

int scaleRow(const ChartLayout& layout, int i, float step)
{
    float offset = static_cast<float>(i) * step;
    return clampToWindow(layout.yB - static_cast<int>(roundHalfUp(offset)));
}

int slotX(const ChartLayout& layout, int slot)
{
    float offset = static_cast<float>(slot) * layout.sx;
    return layout.xR - static_cast<int>(offset);
}

int tendencyY(const ChartLayout& layout, int32_t tendency)
{
    float y = static_cast<float>(layout.yM) - static_cast<float>(tendency) * layout.kT;
    return static_cast<int>(roundHalfUp(y));
}

int pressureY(const ChartLayout& layout, uint32_t pressure, int32_t LO)
{
    float base = LO == 0 ? 9500.0f : 9000.0f;
    float tenths = static_cast<float>(pressure * 0.1);
    float above = tenths - base;
    float v = above * layout.kP;
    float y = static_cast<float>(layout.yB) - v;
    return static_cast<int>(roundHalfUp(y));
}

int variationMarkLength(const ChartLayout& layout, uint32_t variation)
{
    float d = static_cast<float>(variation) * layout.kV;
    return d > 2.0f ? static_cast<int>(d) : 0;
}

int lowestPressureLabel(int32_t LO) { return LO == 0 ? 950 : 900; }

const char* legendWord(UiLanguage language, int column)
{
    static const char* const words[3][3] = {
        {"Luftdruck", "1 Std Tendenz", "3 Std Tendenz"},
        {"air pressure", "1 hr tendency", "3 hrs tendency"},
        {"press. atmo.", "tendence 1 hr", "tendence 3 hr"},
    };
    int row = language == English ? 1 : language == French ? 2 : 0;
    return words[row][column - 1];
}

std::string pressureLabel(int i, int32_t LO)
{
    char text[16];
    std::snprintf(text, sizeof text, "%4d", lowestPressureLabel(LO) + 10 * i);
    return text;
}

std::string tendencyLabel(int i)
{
    int v = i - 10;
    if (v == 0) return "  0";
    char text[16];
    std::snprintf(text, sizeof text, "%+3d", v);
    return text;
}

std::string timeLabel(int slot)
{
    char text[16];
    std::snprintf(text, sizeof text, "%+3dh", -slot / 2);
    return text;
}
