// The printed chart and table as GDI really records them in an enhanced
// metafile, and the print jobs around them with the printing calls stood in
// for, so that every refusal of the dialog and the spooler can be staged.
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>
#include <winspool.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "acquisition/measurement_state.h"
#include "acquisition/serial_port.h"
#include "app/startup.h"
#include "settings/shell_seam.h"
#include "display/drawing_tools.h"
#include "printing/print_jobs.h"
#include "printing/printed_chart.h"
#include "printing/printed_chart_geometry.h"
#include "printing/printed_nmea_table.h"
#include "settings/monitor_settings.h"
#include "win32_test_support.h"

namespace {

// ---------------------------------------------------------------------------
// Reading a metafile back through EnumEnhMetaFile.

struct PenSeen {
    UINT style;
    LONG width;
    COLORREF colour;
};
struct FontSeen {
    LONG height;
    LONG escapement;
    std::string face;
};
struct LineSeen {
    POINT from, to;
    PenSeen pen;
};
struct TextSeen {
    POINT at;
    std::string text;
    FontSeen font;  // escapement -1 while the context's own font is in use
};
struct PixelSeen {
    POINT at;
    COLORREF colour;
};

struct Recording {
    std::vector<LineSeen> lines;
    std::vector<TextSeen> texts;
    std::vector<PixelSeen> pixels;
    std::vector<FontSeen> fontsCreated;
    int penSelections = 0;

    std::vector<LineSeen> linesIn(COLORREF colour, LONG width) const
    {
        std::vector<LineSeen> out;
        for (const LineSeen& line : lines)
            if (line.pen.colour == colour && line.pen.width == width) out.push_back(line);
        return out;
    }
};

struct RecordingState {
    Recording* out = nullptr;
    struct Object {
        bool isPen;
        PenSeen pen;
        FontSeen font;
    };
    std::map<DWORD, Object> objects;
    PenSeen pen{PS_SOLID, 1, RGB(0, 0, 0)};
    FontSeen font{0, -1, ""};
    POINT position{0, 0};
};

std::string narrow(const WCHAR* wide, int count)
{
    std::string text(static_cast<size_t>(count) * 2 + 1, '\0');
    int n = WideCharToMultiByte(1252, 0, wide, count, &text[0], static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return text;
}

int CALLBACK recordOne(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM param)
{
    auto* state = reinterpret_cast<RecordingState*>(param);
    Recording& out = *state->out;
    const auto* at = reinterpret_cast<const BYTE*>(record);
    switch (record->iType) {
    case EMR_CREATEPEN: {
        const auto* r = reinterpret_cast<const EMRCREATEPEN*>(record);
        state->objects[r->ihPen] = {true, {r->lopn.lopnStyle, r->lopn.lopnWidth.x, r->lopn.lopnColor}, {}};
        break;
    }
    case EMR_EXTCREATEPEN: {
        const auto* r = reinterpret_cast<const EMREXTCREATEPEN*>(record);
        state->objects[r->ihPen] = {
            true, {r->elp.elpPenStyle & PS_STYLE_MASK, static_cast<LONG>(r->elp.elpWidth), r->elp.elpColor}, {}};
        break;
    }
    case EMR_EXTCREATEFONTINDIRECTW: {
        const auto* r = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record);
        const LOGFONTW& font = r->elfw.elfLogFont;
        FontSeen seen{font.lfHeight, font.lfEscapement, narrow(font.lfFaceName, lstrlenW(font.lfFaceName))};
        state->objects[r->ihFont] = {false, {}, seen};
        out.fontsCreated.push_back(seen);
        break;
    }
    case EMR_SELECTOBJECT: {
        DWORD index = reinterpret_cast<const EMRSELECTOBJECT*>(record)->ihObject;
        if (index & 0x80000000) {
            // A stock object: the context's own font or a stock pen.
            HGDIOBJ stock = GetStockObject(static_cast<int>(index & 0x7FFFFFFF));
            if (GetObjectType(stock) == OBJ_FONT) {
                state->font = FontSeen{0, -1, ""};
            } else if (GetObjectType(stock) == OBJ_PEN) {
                LOGPEN pen{};
                GetObjectA(stock, sizeof pen, &pen);
                state->pen = PenSeen{pen.lopnStyle, pen.lopnWidth.x, pen.lopnColor};
            }
            break;
        }
        auto found = state->objects.find(index);
        if (found == state->objects.end()) break;
        if (found->second.isPen) {
            state->pen = found->second.pen;
            ++out.penSelections;
        } else {
            state->font = found->second.font;
        }
        break;
    }
    case EMR_MOVETOEX: {
        const POINTL& p = reinterpret_cast<const EMRMOVETOEX*>(record)->ptl;
        state->position = POINT{p.x, p.y};
        break;
    }
    case EMR_LINETO: {
        const POINTL& p = reinterpret_cast<const EMRLINETO*>(record)->ptl;
        out.lines.push_back(LineSeen{state->position, POINT{p.x, p.y}, state->pen});
        state->position = POINT{p.x, p.y};
        break;
    }
    case EMR_SETPIXELV: {
        const auto* r = reinterpret_cast<const EMRSETPIXELV*>(record);
        out.pixels.push_back(PixelSeen{POINT{r->ptlPixel.x, r->ptlPixel.y}, r->crColor});
        break;
    }
    case EMR_EXTTEXTOUTA:
    case EMR_EXTTEXTOUTW: {
        const EMRTEXT& t = reinterpret_cast<const EMREXTTEXTOUTW*>(record)->emrtext;
        std::string text = record->iType == EMR_EXTTEXTOUTA
                               ? std::string(reinterpret_cast<const char*>(at + t.offString), t.nChars)
                               : narrow(reinterpret_cast<const WCHAR*>(at + t.offString), static_cast<int>(t.nChars));
        out.texts.push_back(TextSeen{POINT{t.ptlReference.x, t.ptlReference.y}, text, state->font});
        break;
    }
    default:
        break;
    }
    return 1;
}

Recording readMetafile(HENHMETAFILE metafile)
{
    Recording recording;
    RecordingState state;
    state.out = &recording;
    EnumEnhMetaFile(nullptr, metafile, recordOne, &state, nullptr);
    DeleteEnhMetaFile(metafile);
    return recording;
}

template <typename Draw>
Recording record(Draw draw)
{
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    draw(dc);
    releaseSystemFont(dc);
    return readMetafile(CloseEnhMetaFile(dc));
}

std::vector<int> coords(const LineSeen& line) { return {line.from.x, line.from.y, line.to.x, line.to.y}; }
std::vector<int> coords(const POINT& point) { return {point.x, point.y}; }

const COLORREF black = RGB(0, 0, 0);
const int tenUnitPositions[] = {350, 528, 706, 884, 1062, 1240, 1418, 1596, 1774, 1952, 2130};

// Wine's metafile contexts report no text metrics, so the printer's default
// font is stood in for: these are what a printer driver reports. A font the
// program created gets the cell of a scalable fixed-pitch face of its height,
// `advancePerHundred` dots wide per 100 dots of height.
TEXTMETRICA printerMetrics;
int metricsReads = 0;
bool metricsReadInOwnFont = true;
int advancePerHundred = 52;

BOOL WINAPI standInGetTextMetricsA(HDC dc, TEXTMETRICA* metrics)
{
    ++metricsReads;
    HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
    if (font != GetStockObject(SYSTEM_FONT)) {
        metricsReadInOwnFont = false;
        LOGFONTA created{};
        GetObjectA(font, sizeof created, &created);
        *metrics = TEXTMETRICA{};
        metrics->tmHeight = created.lfHeight < 0 ? -created.lfHeight : created.lfHeight;
        metrics->tmAveCharWidth = metrics->tmHeight * advancePerHundred / 100;
        metrics->tmMaxCharWidth = 2 * metrics->tmAveCharWidth;
        return TRUE;
    }
    *metrics = printerMetrics;
    return TRUE;
}

void reportMetrics(LONG height, LONG leading, LONG advance, LONG maxWidth)
{
    printerMetrics = TEXTMETRICA{};
    printerMetrics.tmHeight = height;
    printerMetrics.tmExternalLeading = leading;
    printerMetrics.tmInternalLeading = 17;  // neither of these may count
    printerMetrics.tmAveCharWidth = advance;
    printerMetrics.tmMaxCharWidth = maxWidth;
}

class PrintedPages : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetMonitorSettings();
        installShellSeam();
        monitorSettings.LO = 0;
        monitorSettings.T1 = 1;
        monitorSettings.T3 = 1;
        monitorSettings.LANG = German;
        std::memset(&pressureHistory, 0, sizeof pressureHistory);
        clearNmeaLines();
        resetDrawingTools();
        createPrinterPens();
        // The advance and widest glyph box of Wine's PostScript printer font.
        reportMetrics(96, 4, 52, 110);
        advancePerHundred = 52;
        metricsReads = 0;
        metricsReadInOwnFont = true;
        metrics_ = new ImportPatch("GetTextMetricsA", reinterpret_cast<void*>(standInGetTextMetricsA));
        ASSERT_TRUE(metrics_->applied());
    }
    void TearDown() override
    {
        delete metrics_;
        resetDrawingTools();
        resetSeamTables();
        resetMonitorSettings();
        std::memset(&pressureHistory, 0, sizeof pressureHistory);
        clearNmeaLines();
        resetPrintJob();
    }
    ImportPatch* metrics_ = nullptr;
};

} // namespace

TEST_F(PrintedPages, LandscapeChartAsRecorded)
{
    pressureHistory.slots[0].pressure = 101325;
    pressureHistory.slots[0].tendency1h = 12;
    pressureHistory.slots[2].pressure = 106000;
    pressureHistory.slots[50].pressure = 110000;
    pressureHistory.slots[103].pressure = 90000;
    Recording page = record([](HDC dc) { drawPrintedChartPage(dc, 3508, 2480); });
    EXPECT_EQ(metricsReads, 1);
    EXPECT_TRUE(metricsReadInOwnFont) << "metrics of the default font, before any font is selected";

    std::vector<LineSeen> black5 = page.linesIn(black, 5);
    ASSERT_EQ(black5.size(), 4u + 11 + 21 + 2 * 101);
    EXPECT_EQ(coords(black5[0]), (std::vector<int>{350, 350, 350, 2130}));
    EXPECT_EQ(coords(black5[1]), (std::vector<int>{350, 2130, 3158, 2130}));
    EXPECT_EQ(coords(black5[2]), (std::vector<int>{3158, 2130, 3158, 350}));
    EXPECT_EQ(coords(black5[3]), (std::vector<int>{3158, 350, 350, 350}));
    for (int j = 0; j <= 10; ++j)
        EXPECT_EQ(coords(black5[4 + j]), (std::vector<int>{350, tenUnitPositions[j], 325, tenUnitPositions[j]}));
    for (int j = 0; j <= 20; ++j)
        EXPECT_EQ(coords(black5[15 + j]), (std::vector<int>{3158, 350 + 89 * j, 3183, 350 + 89 * j}));
    EXPECT_EQ(coords(black5[36 + 2]), (std::vector<int>{350, 368, 337, 368}));  // minor tick of unit 1
    EXPECT_EQ(coords(black5[36 + 3]), (std::vector<int>{3158, 368, 3171, 368}));

    // Dotted dark grey grid.
    std::vector<LineSeen> grid = page.linesIn(RGB(32, 32, 32), 1);
    ASSERT_EQ(grid.size(), 19u);
    for (int j = 1; j <= 19; ++j) {
        EXPECT_EQ(coords(grid[j - 1]), (std::vector<int>{350, 350 + 89 * j, 3158, 350 + 89 * j}));
        EXPECT_EQ(grid[j - 1].pen.style, static_cast<UINT>(PS_DOT));
    }

    // Pressure curve, 7 units wide: out of scale above the page drawn at 0.
    std::vector<LineSeen> pressure = page.linesIn(black, 7);
    ASSERT_EQ(pressure.size(), 4u);
    EXPECT_EQ(coords(pressure[0]), (std::vector<int>{3157, 1004, 3158, 1004}));
    EXPECT_EQ(coords(pressure[1].to), (std::vector<int>{3104, 172}));
    EXPECT_EQ(coords(pressure[2].to), (std::vector<int>{1808, 0}));
    EXPECT_EQ(coords(pressure[3].to), (std::vector<int>{377, 3020}));
    std::vector<LineSeen> oneHour = page.linesIn(RGB(0, 0, 255), 5);
    ASSERT_EQ(oneHour.size(), 4u);
    EXPECT_EQ(coords(oneHour[0]), (std::vector<int>{3157, 1133, 3158, 1133}));
    EXPECT_EQ(coords(oneHour[1].to), (std::vector<int>{3104, 1240}));
    EXPECT_EQ(page.linesIn(RGB(0, 255, 0), 5).size(), 4u);
    // Six pens chosen: frame, grid, three curves, time marks.
    EXPECT_EQ(page.penSelections, 6);

    // Texts: title, 11 + 21 scale labels, 8 time labels, all horizontal.
    ASSERT_EQ(page.texts.size(), 41u);
    EXPECT_EQ(page.texts[0].text, "Zudoderozezavedi Messdaten");
    EXPECT_EQ(coords(page.texts[0].at), (std::vector<int>{1754, 175}));
    for (const TextSeen& text : page.texts) {
        EXPECT_EQ(text.font.escapement, 0) << text.text;
        EXPECT_EQ(text.font.face, "SYSTEM_FONT") << text.text;
        EXPECT_EQ(text.font.height, 0) << text.text;
    }
    // Six advances left of the frame, not six widest glyph boxes (350 - 660).
    for (int j = 0; j <= 10; ++j)
        EXPECT_EQ(coords(page.texts[1 + j].at), (std::vector<int>{350 - 6 * 52, tenUnitPositions[j] - 50}));
    EXPECT_EQ(page.texts[1].text, "1050");
    EXPECT_EQ(page.texts[11].text, " 950");
    for (int j = 0; j <= 20; ++j)
        EXPECT_EQ(coords(page.texts[12 + j].at), (std::vector<int>{3198, 350 + 89 * j - 50}));
    EXPECT_EQ(page.texts[12].text, "+10");
    EXPECT_EQ(page.texts[21].text, " +1");
    EXPECT_EQ(page.texts[22].text, "  0");
    EXPECT_EQ(page.texts[32].text, "-10");
    const char* timeLabels[] = {" -6h", "-12h", "-18h", "-24h", "-30h", "-36h", "-42h", "-48h"};
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(coords(page.texts[32 + n].at), (std::vector<int>{3158 - 324 * n - 10, 2142}));
        EXPECT_EQ(page.texts[32 + n].text, timeLabels[n - 1]);
    }

    // Nine time marks of five black pixels below the frame.
    ASSERT_EQ(page.pixels.size(), 45u);
    for (int mark = 0; mark < 9; ++mark)
        for (int k = 1; k <= 5; ++k) {
            const PixelSeen& pixel = page.pixels[5 * mark + k - 1];
            EXPECT_EQ(coords(pixel.at), (std::vector<int>{3158 - 324 * mark, 2130 + k}));
            EXPECT_EQ(pixel.colour, black);
        }
    // Three fonts, all horizontal: title, labels, time marks.
    ASSERT_EQ(page.fontsCreated.size(), 3u);
    for (const FontSeen& f : page.fontsCreated) EXPECT_EQ(f.escapement, 0);

    // A fixed-pitch device font, whose widest glyph is its pitch: the labels
    // stand six pitches left of the frame, as they always did.
    reportMetrics(46, 4, 30, 30);
    Recording device = record([](HDC dc) { drawPrintedChartPage(dc, 3508, 2480); });
    ASSERT_EQ(device.texts.size(), 41u);
    for (int j = 0; j <= 10; ++j)
        EXPECT_EQ(coords(device.texts[1 + j].at), (std::vector<int>{350 - 6 * 30, tenUnitPositions[j] - 25}));
}

TEST_F(PrintedPages, PortraitChartIsTurnedWithTextRunningDown)
{
    monitorSettings.T1 = 0;
    monitorSettings.T3 = 0;
    pressureHistory.slots[0].pressure = 101325;
    pressureHistory.slots[0].tendency1h = 12;
    Recording page = record([](HDC dc) { drawPrintedChartPage(dc, 2480, 3508); });
    EXPECT_TRUE(metricsReadInOwnFont);

    std::vector<LineSeen> black5 = page.linesIn(black, 5);
    ASSERT_EQ(black5.size(), 4u + 21 + 21 + 2 * 101);
    EXPECT_EQ(coords(black5[0]), (std::vector<int>{350, 350, 350, 3158}));
    EXPECT_EQ(coords(black5[2]), (std::vector<int>{2130, 3158, 2130, 350}));
    for (int j = 0; j <= 20; ++j) {
        EXPECT_EQ(coords(black5[4 + j]), (std::vector<int>{350 + 89 * j, 350, 350 + 89 * j, 325}));
        EXPECT_EQ(coords(black5[25 + j]), (std::vector<int>{350 + 89 * j, 3158, 350 + 89 * j, 3183}));
    }
    std::vector<LineSeen> grid = page.linesIn(RGB(32, 32, 32), 1);
    ASSERT_EQ(grid.size(), 19u);
    EXPECT_EQ(coords(grid[0]), (std::vector<int>{439, 350, 439, 3158}));

    // The pressure curve only, one unit long at the bottom edge, at x 1476.
    std::vector<LineSeen> pressure = page.linesIn(black, 7);
    ASSERT_EQ(pressure.size(), 1u);
    EXPECT_EQ(coords(pressure[0]), (std::vector<int>{1476, 3157, 1476, 3158}));
    EXPECT_TRUE(page.linesIn(RGB(0, 0, 255), 5).empty());
    EXPECT_TRUE(page.linesIn(RGB(0, 255, 0), 5).empty());

    // Time marks: 30-unit lines left of the frame, 3 units wide; no pixels.
    std::vector<LineSeen> marks = page.linesIn(black, 3);
    ASSERT_EQ(marks.size(), 9u);
    for (int mark = 0; mark < 9; ++mark)
        EXPECT_EQ(coords(marks[mark]), (std::vector<int>{350, 3158 - 324 * mark, 320, 3158 - 324 * mark}));
    EXPECT_TRUE(page.pixels.empty());

    ASSERT_EQ(page.texts.size(), 41u);
    EXPECT_EQ(page.texts[0].text, "Zudoderozezavedi Messdaten");
    EXPECT_EQ(coords(page.texts[0].at), (std::vector<int>{2305, 1654}));
    for (const TextSeen& text : page.texts) EXPECT_EQ(text.font.escapement, 2700) << text.text;
    for (int j = 0; j <= 10; ++j)
        EXPECT_EQ(coords(page.texts[1 + j].at), (std::vector<int>{tenUnitPositions[j] + 50, 350 - 5 * 52}));
    EXPECT_EQ(page.texts[1].text, " 950");
    EXPECT_EQ(page.texts[11].text, "1050");
    for (int j = 0; j <= 20; ++j)
        EXPECT_EQ(coords(page.texts[12 + j].at), (std::vector<int>{350 + 89 * j + 50, 3193}));
    EXPECT_EQ(page.texts[12].text, "-10");
    EXPECT_EQ(page.texts[22].text, "  0");
    EXPECT_EQ(page.texts[32].text, "+10");
    EXPECT_EQ(coords(page.texts[33].at), (std::vector<int>{300, 3158 - 324 - 60}));
    EXPECT_EQ(page.texts[33].text, " -6h");
    EXPECT_EQ(page.texts[40].text, "-48h");
    // Title, labels, back to horizontal after the labels, time marks.
    ASSERT_EQ(page.fontsCreated.size(), 4u);
    EXPECT_EQ((std::vector<LONG>{page.fontsCreated[0].escapement, page.fontsCreated[1].escapement,
                                 page.fontsCreated[2].escapement, page.fontsCreated[3].escapement}),
              (std::vector<LONG>{2700, 2700, 0, 2700}));
}

TEST_F(PrintedPages, ChartTakesThePageSizeFromThePrinterContext)
{
    printJob.printerDc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    int Wd = GetDeviceCaps(printJob.printerDc, HORZRES);
    int Hd = GetDeviceCaps(printJob.printerDc, VERTRES);
    ASSERT_GT(Wd, 0);
    ASSERT_GT(Hd, 0);
    drawPrintedChart();
    releaseSystemFont(printJob.printerDc);
    Recording page = readMetafile(CloseEnhMetaFile(printJob.printerDc));
    printJob.printerDc = nullptr;

    PrintedChartLayout c = printedChartLayout(Wd, Hd, 0);
    std::vector<LineSeen> black5 = page.linesIn(black, 5);
    ASSERT_GE(black5.size(), 4u);
    EXPECT_EQ(coords(black5[0]), (std::vector<int>{c.left, c.top, c.left, c.bottom}));
    EXPECT_EQ(coords(black5[1]), (std::vector<int>{c.left, c.bottom, c.right, c.bottom}));
    EXPECT_EQ(c.left, (Wd >= Hd ? Wd : Hd) / 10);
}

TEST_F(PrintedPages, FailedPenSelectionsAreFatalAndDrawingGoesOn)
{
    ScratchFolder folder;
    HPEN frame = drawingPen(Pen::PrintBlack5);
    HPEN grid = drawingPen(Pen::PrintGrid);
    HPEN blue = drawingPen(Pen::PrintBlue);
    drawingPen(Pen::PrintBlack5) = nullptr;
    drawingPen(Pen::PrintGrid) = nullptr;
    drawingPen(Pen::PrintBlue) = nullptr;
    Recording landscape, portrait;
    std::vector<BoxAnswerer::Seen> boxes;
    {
        BoxAnswerer answerer;
        landscape = record([](HDC dc) { drawPrintedChartPage(dc, 3508, 2480); });
        portrait = record([](HDC dc) { drawPrintedChartPage(dc, 2480, 3508); });
        boxes = answerer.seen();
    }
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "the program is asked to end";
    discardQuitMessage();
    drawingPen(Pen::PrintBlack5) = frame;
    drawingPen(Pen::PrintGrid) = grid;
    drawingPen(Pen::PrintBlue) = blue;

    std::string log = folder.read("monitor.err");
    std::vector<std::string> numbers;
    for (size_t at = log.find("fatal error nr. "); at != std::string::npos;
         at = log.find("fatal error nr. ", at + 1))
        numbers.push_back(log.substr(at + 16, 3));
    EXPECT_EQ(numbers, (std::vector<std::string>{"007", "009", "022", "007", "011", "022"}));
    // The first box's loop meets the quit request of the next one, so the
    // later boxes may close at once; the log holds every error.
    ASSERT_FALSE(boxes.empty());
    EXPECT_NE(boxes[0].text.find("Fehler Nr. 007"), std::string::npos) << boxes[0].text;
    // Nothing stops the drawing: the curves and the labels are all there.
    EXPECT_EQ(landscape.texts.size(), 41u);
    EXPECT_EQ(portrait.texts.size(), 41u);
    EXPECT_EQ(landscape.pixels.size(), 45u);
    EXPECT_EQ(landscape.linesIn(RGB(0, 255, 0), 5).size(), 0u);  // no history, no curve
}

// The printer pens live until program end, so the page puts the context's
// own pen back, also when its first pen could not be selected.
TEST_F(PrintedPages, TheContextsOwnPenIsBackAfterThePage)
{
    auto ownPenBack = [](int width, int height) {
        bool back = false;
        record([&](HDC dc) {
            HGDIOBJ own = GetCurrentObject(dc, OBJ_PEN);
            drawPrintedChartPage(dc, width, height);
            back = GetCurrentObject(dc, OBJ_PEN) == own;
        });
        return back;
    };
    EXPECT_TRUE(ownPenBack(3508, 2480));
    EXPECT_TRUE(ownPenBack(2480, 3508));

    ScratchFolder folder;
    HPEN frame = drawingPen(Pen::PrintBlack5);
    drawingPen(Pen::PrintBlack5) = nullptr;
    {
        BoxAnswerer answerer;
        EXPECT_TRUE(ownPenBack(3508, 2480));
        EXPECT_TRUE(ownPenBack(2480, 3508));
    }
    discardQuitMessage();
    drawingPen(Pen::PrintBlack5) = frame;
}

TEST_F(PrintedPages, NmeaTableInTheDefaultFont)
{
    for (int i = 0; i < 82; ++i) {
        std::string line = "$GPGGA," + std::to_string(i) + ",\x01\xB0*00\r\n";
        pushNmeaLine(line.data(), line.size());
    }
    // Pitch 52; a row of 91 advances of 26 after the indent fits 2479 dots.
    reportMetrics(48, 2, 26, 110);
    Recording page = record([](HDC dc) { drawPrintedNmeaTablePage(dc, 2479, 3300); });

    EXPECT_TRUE(page.fontsCreated.empty());
    EXPECT_TRUE(metricsReadInOwnFont);
    // 58 rows from y 156 to 3120; the 24 oldest of the 82 sentences are left out.
    ASSERT_EQ(page.texts.size(), 1u + 58);
    EXPECT_EQ(page.texts[0].text, "NMEA Daten");
    EXPECT_EQ(coords(page.texts[0].at), (std::vector<int>{20, 0}));
    for (int i = 0; i < 58; ++i) {
        const TextSeen& row = page.texts[1 + i];
        EXPECT_EQ(coords(row.at), (std::vector<int>{20, 156 + 52 * i})) << i;
        std::string expected = "$GPGGA," + std::to_string(81 - i) + ",  *00  ";
        expected.resize(91, ' ');
        EXPECT_EQ(row.text, expected) << i;
        EXPECT_EQ(row.font.escapement, -1) << "the context's own font";
    }
    EXPECT_EQ(page.texts.back().at.y, 3120);

    // A printer reporting a height of -2 and no leading: ten rows, all at the top.
    reportMetrics(-2, 0, 10, 110);
    printJob.printerDc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    printJob.printPageHeight = 3300;
    drawPrintedNmeaTable();
    Recording flat = readMetafile(CloseEnhMetaFile(printJob.printerDc));
    printJob.printerDc = nullptr;
    ASSERT_EQ(flat.texts.size(), 1u + 10);
    for (const TextSeen& row : flat.texts) EXPECT_EQ(row.at.y, 0);
}

TEST_F(PrintedPages, NmeaRowsTooWideForThePageTakeAFittedFixedPitchFont)
{
    std::string sentence82 = "$GPRMC," + std::string(75, '7');
    for (int i = 0; i < 82; ++i) {
        std::string line = sentence82 + "\r\n";
        pushNmeaLine(line.data(), line.size());
    }
    // Wine's PostScript font: 20 + 91 x 52 dots do not fit A4 either way round.
    reportMetrics(100, 0, 52, 110);
    HGDIOBJ ownFont = nullptr;
    Recording upright = record([&](HDC dc) {
        ownFont = GetCurrentObject(dc, OBJ_FONT);
        drawPrintedNmeaTablePage(dc, 2479, 3508);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), ownFont) << "the context's own font is back";
    });
    // One fixed-pitch font of height 50, advancing 26: 20 + 91 x 26 = 2386.
    ASSERT_EQ(upright.fontsCreated.size(), 1u);
    EXPECT_EQ(upright.fontsCreated[0].height, 50);
    EXPECT_EQ(upright.fontsCreated[0].escapement, 0);
    // Pitch 52 from that font: 3508 / 52 - 5 = 62 rows, all 82 sentences whole.
    ASSERT_EQ(upright.texts.size(), 1u + 62);
    for (int i = 0; i < 62; ++i) {
        const TextSeen& row = upright.texts[1 + i];
        EXPECT_EQ(coords(row.at), (std::vector<int>{20, 156 + 52 * i})) << i;
        EXPECT_EQ(row.text, sentence82 + std::string(9, ' ')) << i;
        EXPECT_EQ(row.font.height, 50) << i;
    }
    EXPECT_EQ(upright.texts[0].font.height, 50) << "the heading as well";

    // A face that comes out wider than its height promises (60 per 100) is
    // made smaller until its advance is at most 38, on the turned page.
    advancePerHundred = 60;
    Recording turned = record([](HDC dc) { drawPrintedNmeaTablePage(dc, 3508, 2479); });
    ASSERT_FALSE(turned.fontsCreated.empty());
    LONG used = turned.fontsCreated.back().height;
    EXPECT_LE(used * 60 / 100, 38);
    EXPECT_GT((used + 1) * 60 / 100, 38) << "no smaller than it needs to be";
    ASSERT_GT(turned.texts.size(), 1u);
    EXPECT_EQ(turned.texts[1].font.height, used);
    int pitch = static_cast<int>(used) + 2;
    EXPECT_EQ(turned.texts.size(), 1u + static_cast<size_t>(2479 / pitch - 5));
}

namespace {

// ---------------------------------------------------------------------------
// Print jobs with the dialog, the spooler, the port and the boxes stood in for.

struct JobStage {
    // What the stand-ins answer.
    bool dialogGivesPrinter = true;
    int startDoc = 1;
    int startPage = 1;
    int endPage = 1;
    // What they saw, in order.
    std::vector<std::string> calls;
    PRINTDLGA dialogAsked{};
    HGLOBAL devMode = nullptr;
    HGLOBAL devNames = nullptr;
    std::vector<HGLOBAL> freed;
    DWORD docInfoSize = 0;
    std::string docName;
    bool docOutputNull = false, docDatatypeNull = false;
    DWORD docType = 99;
    HDC printer = nullptr;
    HGDIOBJ fontAtDelete = nullptr;
    HENHMETAFILE page = nullptr;
    HANDLE fakePort = nullptr;
    std::vector<HFONT> fontsCreated;
    struct Box {
        HWND owner;
        std::string text, caption;
        UINT style;
    };
    std::vector<Box> boxes;
    // A print command that arrives while the dialog or a box is open.
    void (*commandInDialog)() = nullptr;
    void (*commandInBox)() = nullptr;
    ImportPatch* patches[12] = {};
};

// Takes the staged command, so that it arrives once.
void arrive(void (*&command)())
{
    if (!command) return;
    void (*job)() = command;
    command = nullptr;
    runPrintCommand(job);
}

JobStage* stage = nullptr;

template <typename Function>
Function original(int index)
{
    return reinterpret_cast<Function>(stage->patches[index]->original());
}

BOOL WINAPI standInPrintDlgA(PRINTDLGA* dialog)
{
    stage->calls.push_back("PrintDlgA");
    stage->dialogAsked = *dialog;
    arrive(stage->commandInDialog);
    if (!stage->dialogGivesPrinter) return FALSE;
    stage->printer = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    stage->devMode = GlobalAlloc(GMEM_MOVEABLE, 64);
    stage->devNames = GlobalAlloc(GMEM_MOVEABLE, 64);
    dialog->hDC = stage->printer;
    dialog->hDevMode = stage->devMode;
    dialog->hDevNames = stage->devNames;
    return TRUE;
}

HGLOBAL WINAPI standInGlobalFree(HGLOBAL memory)
{
    if (memory == stage->devMode || memory == stage->devNames) stage->freed.push_back(memory);
    return original<HGLOBAL(WINAPI*)(HGLOBAL)>(0)(memory);
}

int WINAPI standInStartDocA(HDC dc, const DOCINFOA* document)
{
    stage->calls.push_back(dc == stage->printer ? "StartDocA" : "StartDocA elsewhere");
    stage->docInfoSize = static_cast<DWORD>(document->cbSize);
    stage->docName = document->lpszDocName ? document->lpszDocName : "";
    stage->docOutputNull = document->lpszOutput == nullptr;
    stage->docDatatypeNull = document->lpszDatatype == nullptr;
    stage->docType = document->fwType;
    return stage->startDoc;
}

int WINAPI standInStartPage(HDC)
{
    stage->calls.push_back("StartPage");
    return stage->startPage;
}

int WINAPI standInEndPage(HDC)
{
    stage->calls.push_back("EndPage");
    return stage->endPage;
}

int WINAPI standInEndDoc(HDC)
{
    stage->calls.push_back("EndDoc");
    return 1;
}

BOOL WINAPI standInDeleteDC(HDC dc)
{
    if (dc != stage->printer) return original<BOOL(WINAPI*)(HDC)>(5)(dc);
    stage->calls.push_back("DeleteDC");
    stage->fontAtDelete = GetCurrentObject(dc, OBJ_FONT);
    // Keep what was drawn: close the recording instead of discarding it.
    stage->page = CloseEnhMetaFile(dc);
    return TRUE;
}

HANDLE WINAPI standInCreateFileA(const char* name, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security,
                                 DWORD disposition, DWORD flags, HANDLE model)
{
    if (std::strncmp(name, "\\\\.\\COM", 7) == 0) stage->calls.push_back(std::string("open ") + (name + 4));
    return original<decltype(&CreateFileA)>(6)(name, access, share, security, disposition, flags, model);
}

BOOL WINAPI standInCloseHandle(HANDLE handle)
{
    // Only the first close: the handle value is free for reuse afterwards.
    if (handle == stage->fakePort) {
        stage->calls.push_back("close port");
        stage->fakePort = nullptr;
    }
    return original<BOOL(WINAPI*)(HANDLE)>(7)(handle);
}

int WINAPI standInMessageBoxA(HWND owner, const char* text, const char* caption, UINT style)
{
    stage->calls.push_back("box");
    stage->boxes.push_back(JobStage::Box{owner, text, caption, style});
    arrive(stage->commandInBox);
    return IDOK;
}

HFONT WINAPI standInCreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                                DWORD underline, DWORD strikeOut, DWORD charSet, DWORD precision, DWORD clipping,
                                DWORD quality, DWORD pitch, const char* face)
{
    HFONT font = original<decltype(&CreateFontA)>(9)(height, width, escapement, orientation, weight, italic,
                                                      underline, strikeOut, charSet, precision, clipping, quality,
                                                      pitch, face);
    stage->fontsCreated.push_back(font);
    return font;
}

class PrintJobs : public PrintedPages {
protected:
    void SetUp() override
    {
        PrintedPages::SetUp();
        monitorSettings.ERR = 1;
        monitorSettings.COM = 5;  // missing under Wine: the reopening fails silently
        stage = &stage_;
        const std::pair<const char*, void*> standIns[] = {
            {"GlobalFree", reinterpret_cast<void*>(standInGlobalFree)},
            {"StartDocA", reinterpret_cast<void*>(standInStartDocA)},
            {"StartPage", reinterpret_cast<void*>(standInStartPage)},
            {"EndPage", reinterpret_cast<void*>(standInEndPage)},
            {"EndDoc", reinterpret_cast<void*>(standInEndDoc)},
            {"DeleteDC", reinterpret_cast<void*>(standInDeleteDC)},
            {"CreateFileA", reinterpret_cast<void*>(standInCreateFileA)},
            {"CloseHandle", reinterpret_cast<void*>(standInCloseHandle)},
            {"MessageBoxA", reinterpret_cast<void*>(standInMessageBoxA)},
            {"CreateFontA", reinterpret_cast<void*>(standInCreateFontA)},
        };
        int n = 0;
        for (const auto& standIn : standIns) {
            stage_.patches[n] = new ImportPatch(standIn.first, standIn.second);
            ASSERT_TRUE(stage_.patches[n]->applied()) << standIn.first;
            ++n;
        }
        printJob.printDialog = standInPrintDlgA;
        openFakePort();
        serialPort.state = PortState::Open;
    }
    void TearDown() override
    {
        for (ImportPatch*& patch : stage_.patches) {
            delete patch;
            patch = nullptr;
        }
        if (stage_.page) DeleteEnhMetaFile(stage_.page);
        if (serialPort.handle != INVALID_HANDLE_VALUE) CloseHandle(serialPort.handle);
        resetSerialPort();
        stage = nullptr;
        discardQuitMessage();
        PrintedPages::TearDown();
    }

    void runChart()
    {
        choosePrinter();
        printChart();
    }
    void runTable()
    {
        choosePrinter();
        printNmeaTable();
    }

    // A fresh stand-in for the open port before the next job.
    void openFakePort() { serialPort.handle = stage_.fakePort = CreateEventA(nullptr, FALSE, FALSE, nullptr); }

    ScratchFolder folder_;
    JobStage stage_;
};

using Calls = std::vector<std::string>;

// The size fields carry the build's own record sizes; those of 32-bit Windows
// are the ones the print dialog and the spooler documentation quote.
#ifdef _WIN64
static_assert(sizeof(PRINTDLGA) == 120 && sizeof(DOCINFOA) == 40, "64-bit record sizes");
#else
static_assert(sizeof(PRINTDLGA) == 66 && sizeof(DOCINFOA) == 20, "32-bit record sizes");
#endif

} // namespace

TEST_F(PrintJobs, DialogRecordAndAChartJobOnOnePage)
{
    pressureHistory.slots[0].pressure = 99860;
    EXPECT_EQ(choosePrinter(), 1);
    EXPECT_EQ(stage_.dialogAsked.lStructSize, sizeof(PRINTDLGA));
    EXPECT_EQ(stage_.dialogAsked.Flags, static_cast<DWORD>(PD_RETURNDC));
    EXPECT_EQ(stage_.dialogAsked.hwndOwner, nullptr);
    EXPECT_EQ(stage_.dialogAsked.hDevMode, nullptr);
    EXPECT_EQ(stage_.dialogAsked.hDevNames, nullptr);
    EXPECT_EQ(stage_.dialogAsked.nCopies, 0);
    EXPECT_EQ(stage_.freed, (std::vector<HGLOBAL>{stage_.devMode, stage_.devNames}));
    EXPECT_EQ(printJob.printerDc, stage_.printer);
    EXPECT_EQ(printJob.printPageHeight, GetDeviceCaps(stage_.printer, VERTRES));

    printChart();
    EXPECT_EQ(stage_.calls, (Calls{"PrintDlgA", "close port", "StartDocA", "StartPage", "EndPage", "EndDoc",
                                   "DeleteDC", "open COM5"}));
    EXPECT_EQ(stage_.docInfoSize, sizeof(DOCINFOA));
    EXPECT_EQ(stage_.docName, "Zudoderozezavedi Druckjob");
    EXPECT_TRUE(stage_.docOutputNull);
    EXPECT_TRUE(stage_.docDatatypeNull);
    EXPECT_EQ(stage_.docType, 0u);
    EXPECT_EQ(printJob.printerDc, nullptr);
    EXPECT_FALSE(portIsOpen()) << "COM5 is missing";
    EXPECT_TRUE(stage_.boxes.empty());
    EXPECT_FALSE(folder_.exists("monitor.err"));

    // The page was drawn, and its fonts were gone before the context was.
    ASSERT_NE(stage_.page, nullptr);
    Recording page = readMetafile(stage_.page);
    stage_.page = nullptr;
    EXPECT_EQ(page.linesIn(black, 7).size(), 1u);
    EXPECT_EQ(page.texts.size(), 41u);
    EXPECT_EQ(GetObjectType(stage_.fontAtDelete), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(stage_.fontAtDelete, GetStockObject(SYSTEM_FONT)) << "the context's own font is back";
    ASSERT_EQ(stage_.fontsCreated.size(), 3u);
    for (HFONT font : stage_.fontsCreated) EXPECT_EQ(GetObjectType(font), 0u) << "font deleted";
}

TEST_F(PrintJobs, TableJobPrintsOnePageUnderTheSameName)
{
    std::string line = "$GPGLL,1*00\r\n";
    pushNmeaLine(line.data(), line.size());
    runTable();
    EXPECT_EQ(stage_.calls, (Calls{"PrintDlgA", "close port", "StartDocA", "StartPage", "EndPage", "EndDoc",
                                   "DeleteDC", "open COM5"}));
    EXPECT_EQ(stage_.docName, "Zudoderozezavedi Druckjob");
    Recording page = readMetafile(stage_.page);
    stage_.page = nullptr;
    ASSERT_EQ(page.texts.size(), 2u);
    EXPECT_EQ(page.texts[1].text, "$GPGLL,1*00" + std::string(80, ' '));
    // Rows of the printer font's advance are wider than a metafile's page: the
    // one fitted font is gone, and the context's own font back, before the
    // context is.
    ASSERT_EQ(stage_.fontsCreated.size(), 1u);
    EXPECT_EQ(GetObjectType(stage_.fontsCreated[0]), 0u);
    EXPECT_EQ(stage_.fontAtDelete, GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(printJob.printerDc, nullptr);
}

TEST_F(PrintJobs, CancelledDialogBeforeTheTableShowsAndLogsNothing)
{
    stage_.dialogGivesPrinter = false;
    EXPECT_EQ(choosePrinter(), 0);
    printNmeaTable();
    EXPECT_EQ(stage_.calls, (Calls{"PrintDlgA", "close port", "open COM5"}));
    EXPECT_FALSE(folder_.exists("monitor.err"));
}

TEST_F(PrintJobs, CancelledDialogBeforeTheChartLogsEventEightAndSaysSo)
{
    stage_.dialogGivesPrinter = false;
    const char* texts[] = {"Fehler beim Drucken", "error printing", "erreur imprimer"};
    const char* captions[] = {"Drucker", "Printer", "Imprimer"};
    for (UiLanguage language : {German, English, French}) {
        monitorSettings.LANG = language;
        stage_.calls.clear();
        stage_.boxes.clear();
        runChart();
        EXPECT_EQ(stage_.calls, (Calls{"PrintDlgA", "close port", "box", "open COM5"}));
        ASSERT_EQ(stage_.boxes.size(), 1u);
        EXPECT_EQ(stage_.boxes[0].text, texts[language]);
        EXPECT_EQ(stage_.boxes[0].caption, captions[language]);
        EXPECT_EQ(stage_.boxes[0].owner, nullptr);
        EXPECT_EQ(stage_.boxes[0].style, static_cast<UINT>(MB_ICONERROR));
        openFakePort();
    }
    std::string log = folder_.read("monitor.err");
    size_t count = 0;
    for (size_t at = log.find("  event nr. 8 print error \r\n"); at != std::string::npos;
         at = log.find("  event nr. 8 print error \r\n", at + 1))
        ++count;
    EXPECT_EQ(count, 3u) << log;
}

TEST_F(PrintJobs, RefusedDocument)
{
    const char* texts[] = {"Fehler beim Drucken", "error printing", "eurreur imprimer"};
    const char* captions[] = {"Drucker", "Printer", "Imprimer"};
    for (int refusal : {0, -1}) {
        for (UiLanguage language : {German, English, French}) {
            monitorSettings.LANG = language;
            stage_.startDoc = refusal;
            stage_.calls.clear();
            stage_.boxes.clear();
            runChart();
            EXPECT_EQ(stage_.calls, (Calls{"PrintDlgA", "close port", "StartDocA", "box", "DeleteDC", "open COM5"}));
            ASSERT_EQ(stage_.boxes.size(), 1u);
            EXPECT_EQ(stage_.boxes[0].text, texts[language]);
            EXPECT_EQ(stage_.boxes[0].caption, captions[language]);
            EXPECT_EQ(stage_.boxes[0].style, static_cast<UINT>(MB_ICONERROR));
            EXPECT_EQ(printJob.printerDc, nullptr);
            DeleteEnhMetaFile(stage_.page);
            stage_.page = nullptr;
            openFakePort();
        }
        stage_.calls.clear();
        runTable();
        EXPECT_EQ(stage_.calls, (Calls{"PrintDlgA", "close port", "StartDocA", "DeleteDC", "open COM5"}));
        DeleteEnhMetaFile(stage_.page);
        stage_.page = nullptr;
        openFakePort();
    }
    EXPECT_FALSE(folder_.exists("monitor.err")) << "a refused document logs no event";
}

TEST_F(PrintJobs, RefusedPageStillEndsThePageAndAFailedEndPageSkipsEndDoc)
{
    pressureHistory.slots[0].pressure = 99860;
    stage_.startPage = 0;
    runChart();
    EXPECT_EQ(stage_.calls, (Calls{"PrintDlgA", "close port", "StartDocA", "StartPage", "EndPage", "EndDoc",
                                   "DeleteDC", "open COM5"}));
    Recording nothing = readMetafile(stage_.page);
    stage_.page = nullptr;
    EXPECT_TRUE(nothing.lines.empty()) << "nothing drawn on a refused page";
    EXPECT_TRUE(nothing.texts.empty());

    for (int failure : {0, -1}) {
        stage_.startPage = 1;
        stage_.endPage = failure;
        stage_.calls.clear();
        openFakePort();
        runTable();
        EXPECT_EQ(stage_.calls, (Calls{"PrintDlgA", "close port", "StartDocA", "StartPage", "EndPage", "DeleteDC",
                                       "open COM5"}));
        DeleteEnhMetaFile(stage_.page);
        stage_.page = nullptr;
    }
    EXPECT_TRUE(stage_.boxes.empty());
}

TEST_F(PrintJobs, FatalPenErrorStillCompletesTheJob)
{
    HPEN frame = drawingPen(Pen::PrintBlack5);
    drawingPen(Pen::PrintBlack5) = nullptr;
    runChart();
    drawingPen(Pen::PrintBlack5) = frame;
    EXPECT_EQ(stage_.calls, (Calls{"PrintDlgA", "close port", "StartDocA", "StartPage", "box", "EndPage", "EndDoc",
                                   "DeleteDC", "open COM5"}));
    EXPECT_NE(folder_.read("monitor.err").find("fatal error nr. 007"), std::string::npos);
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    for (HFONT font : stage_.fontsCreated) EXPECT_EQ(GetObjectType(font), 0u);
}

TEST_F(PrintJobs, NoFontOutlivesItsUseAcrossJobs)
{
    for (int job = 0; job < 3; ++job) {
        runChart();
        openFakePort();
        DeleteEnhMetaFile(stage_.page);
        stage_.page = nullptr;
    }
    ASSERT_EQ(stage_.fontsCreated.size(), 9u);
    for (HFONT font : stage_.fontsCreated) EXPECT_EQ(GetObjectType(font), 0u);

    // A context still held at the end of the program is released with its font.
    stage_.fontsCreated.clear();
    choosePrinter();
    selectSystemFont(printJob.printerDc, 0);
    selectSystemFont(printJob.printerDc, 2700);
    ASSERT_EQ(stage_.fontsCreated.size(), 2u);
    EXPECT_EQ(GetObjectType(stage_.fontsCreated[0]), 0u) << "replaced, so deleted";
    EXPECT_EQ(GetObjectType(stage_.fontsCreated[1]), static_cast<DWORD>(OBJ_FONT)) << "in use";
    releasePrinterDc();
    EXPECT_EQ(printJob.printerDc, nullptr);
    EXPECT_EQ(GetObjectType(stage_.fontsCreated[1]), 0u);
    EXPECT_EQ(stage_.calls.back(), "DeleteDC");
    releasePrinterDc();  // nothing held: nothing happens
    EXPECT_EQ(stage_.calls.back(), "DeleteDC");
}

TEST_F(PrintJobs, APrintCommandWhileAJobIsUnderWayDoesNothing)
{
    // The refused document's box is open while the job still holds its printer.
    stage_.startDoc = 0;
    stage_.commandInBox = printChart;
    runPrintCommand(printChart);
    EXPECT_EQ(stage_.calls, (Calls{"PrintDlgA", "close port", "StartDocA", "box", "DeleteDC", "open COM5"}));
    EXPECT_EQ(stage_.boxes.size(), 1u);
    EXPECT_EQ(printJob.printerDc, nullptr);
    EXPECT_EQ(GetObjectType(stage_.printer), 0u) << "the one context was released";
    DeleteEnhMetaFile(stage_.page);
    stage_.page = nullptr;

    // The same while the dialog is open, for either command, and a job that
    // went through leaves the next command free to print.
    stage_.startDoc = 1;
    for (void (*job)() : {printChart, printNmeaTable}) {
        stage_.calls.clear();
        openFakePort();
        stage_.commandInDialog = job == printChart ? printNmeaTable : printChart;
        runPrintCommand(job);
        EXPECT_EQ(stage_.calls, (Calls{"PrintDlgA", "close port", "StartDocA", "StartPage", "EndPage", "EndDoc",
                                       "DeleteDC", "open COM5"}));
        EXPECT_EQ(printJob.printerDc, nullptr);
        DeleteEnhMetaFile(stage_.page);
        stage_.page = nullptr;
    }
    stage_.calls.clear();
    openFakePort();
    runPrintCommand(printNmeaTable);
    EXPECT_EQ(stage_.calls.front(), "PrintDlgA");
    EXPECT_EQ(stage_.calls.size(), 8u);
}

namespace {

// The system's default printer, opened as the print dialog would open it;
// null when there is none (no print spooler with a queue is running).
HDC openDefaultPrinter()
{
    char name[256] = {};
    DWORD size = sizeof name;
    if (!GetDefaultPrinterA(name, &size)) return nullptr;
    return CreateDCA(nullptr, name, nullptr, nullptr);
}

} // namespace

// A real printer context under Wine: its PostScript driver, at 300 dpi, on
// the PDF queue the end-to-end printing tests set up and run these under.
// Without a printer there is nothing to measure.
TEST(RealPrinter, DefaultFontMetricsThePagePlansUse)
{
    HDC dc = openDefaultPrinter();
    if (!dc) GTEST_SKIP() << "no printer";
    EXPECT_EQ(GetDeviceCaps(dc, TECHNOLOGY), DT_RASPRINTER);
    ASSERT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 300);
    TEXTMETRICA metrics{};
    ASSERT_TRUE(GetTextMetricsA(dc, &metrics));
    SIZE zero{};
    ASSERT_TRUE(GetTextExtentPoint32A(dc, "0", 1, &zero));
    // The printer's default font with the fonts every test machine has: line
    // height 99 and advance 53, next to the page-plan tests' 100 and 52; its
    // widest glyph box must not place anything.
    EXPECT_EQ(metrics.tmHeight + metrics.tmExternalLeading, 99);
    EXPECT_EQ(metrics.tmAveCharWidth, 53);
    EXPECT_EQ(zero.cx, 53);
    EXPECT_EQ(metrics.tmMaxCharWidth, 56);
    // Fixed pitch: the low bit of the pitch field is clear.
    EXPECT_EQ(metrics.tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
    // A4 at 300 dpi, upright by default.
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 2479);
    EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 3508);
    DeleteDC(dc);
}

TEST(RealPrinter, SystemFontTakesTheHeightOfThePrintersOwnFont)
{
    HDC dc = openDefaultPrinter();
    if (!dc) GTEST_SKIP() << "no printer";
    TEXTMETRICA own{};
    ASSERT_TRUE(GetTextMetricsA(dc, &own));
    ASSERT_GT(own.tmHeight, 16) << "a 300 dpi font is higher than the stock device font";
    HGDIOBJ ownFont = GetCurrentObject(dc, OBJ_FONT);
    for (int escapement : {0, 2700, 0}) {
        selectSystemFont(dc, escapement);
        HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
        ASSERT_NE(font, ownFont);
        LOGFONTA asked{};
        GetObjectA(font, sizeof asked, &asked);
        EXPECT_EQ(asked.lfHeight, own.tmHeight) << escapement;
        EXPECT_EQ(asked.lfEscapement, escapement);
        EXPECT_STREQ(asked.lfFaceName, "SYSTEM_FONT");
        TEXTMETRICA got{};
        ASSERT_TRUE(GetTextMetricsA(dc, &got));
        // The font mapper gives the nearest size it has: a dot either way.
        EXPECT_NEAR(got.tmHeight, own.tmHeight, 1) << escapement;
    }
    releaseSystemFont(dc);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), ownFont);
    DeleteDC(dc);

    // A screen keeps the device's default height.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    selectSystemFont(memory, 0);
    LOGFONTA onScreen{};
    GetObjectA(GetCurrentObject(memory, OBJ_FONT), sizeof onScreen, &onScreen);
    EXPECT_EQ(onScreen.lfHeight, 0);
    releaseSystemFont(memory);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}
