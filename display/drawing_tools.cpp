#include "display/drawing_tools.h"

#include <vector>

#include "records/event_log.h"

DrawingToolSet drawingTools = {};

namespace {

// How each pen is made, one row a pen in the order of Pen, by day and at night.
// At night every pen is dim red: the curves are told apart by brightness
// and width where the day tells them by colour, the quick falls brightest
// and widest; only the banners are brighter.
struct PenMaking {
    Pen pen;
    int style, width;
    COLORREF colour;
    int nightWidth;
    COLORREF nightColour;
};
constexpr PenMaking pensMade[] = {
    {Pen::Grid, PS_DOT, 1, RGB(200, 200, 200), 1, RGB(80, 0, 0)},            // grid and time lines
    {Pen::Frame, PS_SOLID, 1, RGB(0, 0, 0), 1, RGB(120, 0, 0)},              // frame, ticks, pressure's legend sample
    {Pen::Pressure, PS_SOLID, 3, RGB(0, 0, 0), 3, RGB(165, 0, 0)},           // pressure curve and its variation bars
    {Pen::Tendency3h, PS_SOLID, 2, RGB(0, 180, 0), 2, RGB(100, 0, 0)},
    {Pen::Tendency1h, PS_SOLID, 2, RGB(0, 0, 255), 1, RGB(150, 0, 0)},
    {Pen::PressureFalling, PS_SOLID, 3, RGB(220, 0, 0), 5, RGB(215, 0, 0)},  // the pressure curve where it fell quickly
    {Pen::WeekFine, PS_SOLID, 1, RGB(228, 228, 238), 1, RGB(35, 0, 0)},
    {Pen::WeekStrong, PS_SOLID, 1, RGB(150, 150, 165), 1, RGB(75, 0, 0)},
    {Pen::PrintGrid, PS_DOT, 1, RGB(32, 32, 32), 1, RGB(80, 0, 0)},
    {Pen::PrintBlack7, PS_SOLID, 7, RGB(0, 0, 0), 7, RGB(165, 0, 0)},
    {Pen::PrintBlack5, PS_SOLID, 5, RGB(0, 0, 0), 5, RGB(165, 0, 0)},
    {Pen::PrintBlack3, PS_SOLID, 3, RGB(0, 0, 0), 3, RGB(120, 0, 0)},
    {Pen::PrintGreen, PS_SOLID, 5, RGB(0, 255, 0), 5, RGB(100, 0, 0)},
    {Pen::PrintBlue, PS_SOLID, 5, RGB(0, 0, 255), 3, RGB(150, 0, 0)},
    {Pen::PrintRed, PS_SOLID, 7, RGB(220, 0, 0), 9, RGB(215, 0, 0)},
    {Pen::PrintWeekFine, PS_SOLID, 1, RGB(190, 190, 190), 1, RGB(35, 0, 0)},
    {Pen::PrintWeekStrong, PS_SOLID, 3, RGB(110, 110, 110), 3, RGB(75, 0, 0)},
};
constexpr int penRows = static_cast<int>(sizeof pensMade / sizeof pensMade[0]);
// A pen is made by its place in the table: count the rows before the first one out of place.
constexpr int rowsInPenOrder(int n = 0) { return n < penRows && pensMade[n].pen == Pen(n) ? rowsInPenOrder(n + 1) : n; }
static_assert(penRows == penCount, "pensMade: one row a pen");
static_assert(rowsInPenOrder() == penCount, "pensMade: the rows in the order of Pen");
constexpr uint32_t rgbOf(COLORREF c)
{
    return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}
constexpr bool nightPensKeepNightVision(int n = 0)
{
    return n == penRows || (keepsNightVision(rgbOf(pensMade[n].nightColour)) && nightPensKeepNightVision(n + 1));
}
static_assert(nightPensKeepNightVision(), "pensMade: a night pen breaks the night rule");

// The pens from `from` up to, not including, `to`.
void makePens(Pen from, Pen to)
{
    for (int n = static_cast<int>(from); n < static_cast<int>(to); ++n) {
        HPEN& pen = drawingPen(pensMade[n].pen);
        pen = CreatePen(pensMade[n].style, pensMade[n].width, pensMade[n].colour);
        if (!pen) logEvent(eventCreatePenFailed);
    }
    for (int n = static_cast<int>(from); n < static_cast<int>(to); ++n) {
        HPEN& pen = nightPen(pensMade[n].pen);
        pen = CreatePen(pensMade[n].style, pensMade[n].nightWidth, pensMade[n].nightColour);
        if (!pen) logEvent(eventCreatePenFailed);
    }
}

template <typename Handle>
void deleteHandle(Handle& handle)
{
    if (handle) DeleteObject(handle);
    handle = nullptr;
}

// The fonts selectSystemFont has put into a device context, so that none of
// them outlives its use: the context's own font and the one last created.
struct FontInUse {
    HDC dc;
    HGDIOBJ originalFont;
    HFONT createdFont;
};

std::vector<FontInUse> fontsInUse;

FontInUse* findFontInUse(HDC dc)
{
    for (FontInUse& entry : fontsInUse)
        if (entry.dc == dc) return &entry;
    return nullptr;
}

} // namespace

void createScreenPens()
{
    makePens(Pen::Grid, Pen::PrintGrid);
    drawingTools.chartBrush = CreateSolidBrush(RGB(245, 245, 255));
    if (!drawingTools.chartBrush) logEvent(eventCreateBrushFailed);
}

void createPrinterPens() { makePens(Pen::PrintGrid, Pen::Count); }

namespace {

// Height 0 asks the device for its default size, which some printer
// drivers make a screen size (16 dots at 300 dpi). On a printer the text
// takes the height of the context's own font instead: the font whose
// metrics placed it. Screens and metafiles keep height 0.
int defaultFontHeight(HDC dc)
{
    if (GetDeviceCaps(dc, TECHNOLOGY) != DT_RASPRINTER) return 0;
    // After our first font the context's own one is the font it replaced.
    FontInUse* entry = findFontInUse(dc);
    HGDIOBJ current = entry ? SelectObject(dc, entry->originalFont) : nullptr;
    TEXTMETRICA metrics = {};
    BOOL measured = GetTextMetricsA(dc, &metrics);
    if (current) SelectObject(dc, current);
    return measured && metrics.tmHeight > 0 ? metrics.tmHeight : 0;
}

} // namespace

void selectSystemFont(HDC dc, int escapement)
{
    HFONT font = CreateFontA(defaultFontHeight(dc), 0, escapement, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "SYSTEM_FONT");
    if (!font) {
        logEvent(eventFontCreateFailed);
        fatalError(fatalFontCreateFailed);
        // Go on: the selection below fails and reports fatal error 100 as well.
    }
    HGDIOBJ previous = SelectObject(dc, font);
    if (!previous) {
        fatalError(fatalFontSelectFailed);
        if (font) DeleteObject(font);
        return;
    }
    FontInUse* entry = findFontInUse(dc);
    if (!entry) {
        fontsInUse.push_back(FontInUse{dc, previous, font});
        return;
    }
    // Our earlier font has just been replaced: it is no longer in use. The
    // context's own font stays the one to put back on release.
    if (entry->createdFont) DeleteObject(entry->createdFont);
    entry->createdFont = font;
}

void releaseSystemFont(HDC dc)
{
    for (size_t i = 0; i < fontsInUse.size(); ++i) {
        if (fontsInUse[i].dc != dc) continue;
        SelectObject(dc, fontsInUse[i].originalFont);
        if (fontsInUse[i].createdFont) DeleteObject(fontsInUse[i].createdFont);
        fontsInUse.erase(fontsInUse.begin() + static_cast<std::ptrdiff_t>(i));
        return;
    }
}

void resetDrawingTools()
{
    for (HPEN& pen : drawingTools.pens) deleteHandle(pen);
    for (HPEN& pen : drawingTools.nightPens) deleteHandle(pen);
    deleteHandle(drawingTools.chartBrush);
    while (!fontsInUse.empty()) releaseSystemFont(fontsInUse.back().dc);
}
