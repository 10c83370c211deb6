#include "display/drawing_tools.h"

#include <vector>

#include "records/event_log.h"

ScreenPens screenPens = {};
PrinterPens printerPens = {};

namespace {

// Every pen of both sets, in the order of Pen, which is the order they are made in.
struct PenMaking {
    HPEN* pen;
    int style, width;
    COLORREF colour;
};
const PenMaking pensMade[] = {
    {&screenPens.gridPen, PS_DOT, 1, RGB(200, 200, 200)},
    {&screenPens.framePen, PS_SOLID, 1, RGB(0, 0, 0)},
    {&screenPens.pressurePen, PS_SOLID, 3, RGB(0, 0, 0)},
    {&screenPens.tendency3hPen, PS_SOLID, 2, RGB(0, 180, 0)},
    {&screenPens.tendency1hPen, PS_SOLID, 2, RGB(0, 0, 255)},
    {&screenPens.fallingPen, PS_SOLID, 3, RGB(220, 0, 0)},
    {&screenPens.weekFinePen, PS_SOLID, 1, RGB(228, 228, 238)},
    {&screenPens.weekStrongPen, PS_SOLID, 1, RGB(150, 150, 165)},
    {&printerPens.printGridPen, PS_DOT, 1, RGB(32, 32, 32)},
    {&printerPens.printBlack7Pen, PS_SOLID, 7, RGB(0, 0, 0)},
    {&printerPens.printBlack5Pen, PS_SOLID, 5, RGB(0, 0, 0)},
    {&printerPens.printBlack3Pen, PS_SOLID, 3, RGB(0, 0, 0)},
    {&printerPens.printGreenPen, PS_SOLID, 5, RGB(0, 255, 0)},
    {&printerPens.printBluePen, PS_SOLID, 5, RGB(0, 0, 255)},
    {&printerPens.printRedPen, PS_SOLID, 7, RGB(220, 0, 0)},
    {&printerPens.printWeekFinePen, PS_SOLID, 1, RGB(190, 190, 190)},
    {&printerPens.printWeekStrongPen, PS_SOLID, 3, RGB(110, 110, 110)},
};
constexpr int firstPrinterPen = static_cast<int>(Pen::PrintGrid);
constexpr int penCount = static_cast<int>(sizeof pensMade / sizeof pensMade[0]);

void makePens(int from, int to)
{
    for (int n = from; n < to; ++n) {
        *pensMade[n].pen = CreatePen(pensMade[n].style, pensMade[n].width, pensMade[n].colour);
        if (!*pensMade[n].pen) logEvent(eventCreatePenFailed);
    }
}

template <typename Handle>
void deleteHandle(Handle& handle)
{
    if (handle) DeleteObject(handle);
    handle = nullptr;
}

void deletePens(int from, int to)
{
    for (int n = from; n < to; ++n) deleteHandle(*pensMade[n].pen);
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

HPEN drawingPen(Pen pen) { return *pensMade[static_cast<int>(pen)].pen; }

void createScreenPens()
{
    makePens(0, firstPrinterPen);
    screenPens.chartBrush = CreateSolidBrush(RGB(245, 245, 255));
    if (!screenPens.chartBrush) logEvent(eventCreateBrushFailed);
}

void createPrinterPens() { makePens(firstPrinterPen, penCount); }

void deleteScreenPens()
{
    deletePens(0, firstPrinterPen);
    deleteHandle(screenPens.chartBrush);
}

void deletePrinterPens() { deletePens(firstPrinterPen, penCount); }

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
