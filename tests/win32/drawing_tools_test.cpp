// Pens and font of the charts against the real GDI under Wine. The failures
// are made by pointing this program's imports at stand-ins that fail.
#include <gtest/gtest.h>

#include "app/startup.h"
#include "display/drawing_tools.h"
#include "settings/monitor_settings.h"
#include "settings/shell_seam.h"
#include "win32_test_support.h"

namespace {

int callsSoFar = 0;
int failingCall = 0;
void* realCreatePen = nullptr;
void* realCreateFont = nullptr;
HFONT lastCreatedFont = nullptr;

HPEN WINAPI createPenFailingOnce(int style, int width, COLORREF colour)
{
    if (++callsSoFar == failingCall) return nullptr;
    return reinterpret_cast<decltype(&CreatePen)>(realCreatePen)(style, width, colour);
}

HBRUSH WINAPI failingCreateBrush(COLORREF) { return nullptr; }

// Fails while realCreateFont is null, else creates and remembers the font.
HFONT WINAPI standInCreateFont(int h, int w, int e, int o, int weight, DWORD i, DWORD u, DWORD s, DWORD c,
                               DWORD op, DWORD cp, DWORD q, DWORD pf, LPCSTR face)
{
    if (!realCreateFont) return nullptr;
    lastCreatedFont = reinterpret_cast<decltype(&CreateFontA)>(realCreateFont)(h, w, e, o, weight, i, u, s, c,
                                                                               op, cp, q, pf, face);
    return lastCreatedFont;
}

class DrawingTools : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetMonitorSettings();
        resetDrawingTools();
        installShellSeam();
        monitorSettings.ERR = 1;
    }
    void TearDown() override
    {
        resetDrawingTools();
        resetSeamTables();
        resetMonitorSettings();
    }
    size_t logged(const std::string& what) const
    {
        std::string log = folder_.read("monitor.err");
        size_t count = 0;
        for (size_t at = log.find(what); at != std::string::npos; at = log.find(what, at + 1)) ++count;
        return count;
    }

    ScratchFolder folder_;
};

} // namespace

TEST_F(DrawingTools, AFailingPenOrBrushIsLoggedOnceAndTheRestAreStillCreated)
{
    {
        ImportPatch pens("CreatePen", reinterpret_cast<void*>(createPenFailingOnce));
        ImportPatch brushes("CreateSolidBrush", reinterpret_cast<void*>(failingCreateBrush));
        ASSERT_TRUE(pens.applied() && brushes.applied());
        realCreatePen = pens.original();
        callsSoFar = 0;
        failingCall = 2;
        createScreenPens();
        callsSoFar = 0;
        failingCall = 4;
        createPrinterPens();
    }
    EXPECT_EQ(drawingPen(Pen::Frame), nullptr);
    EXPECT_EQ(drawingTools.chartBrush, nullptr);
    EXPECT_EQ(drawingPen(Pen::PrintBlack3), nullptr);
    HGDIOBJ created[] = {drawingPen(Pen::Grid), drawingPen(Pen::Pressure), drawingPen(Pen::Tendency3h),
                         drawingPen(Pen::Tendency1h), drawingPen(Pen::PrintGrid), drawingPen(Pen::PrintBlack7),
                         drawingPen(Pen::PrintBlack5), drawingPen(Pen::PrintGreen), drawingPen(Pen::PrintBlue)};
    for (HGDIOBJ pen : created) EXPECT_EQ(GetObjectType(pen), DWORD(OBJ_PEN));
    for (HPEN pen : drawingTools.nightPens) EXPECT_EQ(GetObjectType(pen), DWORD(OBJ_PEN));  // after the day's
    LOGPEN blue{};
    GetObjectA(drawingPen(Pen::PrintBlue), sizeof blue, &blue);
    EXPECT_EQ(blue.lopnWidth.x, 5);
    EXPECT_EQ(blue.lopnColor, RGB(0, 0, 255));
    EXPECT_EQ(logged("event nr. 23 error CreatePen\r\n"), 2u);
    EXPECT_EQ(logged("event nr. 25 error: CreateBrush\r\n"), 1u);
    EXPECT_EQ(logged("event nr."), 3u);

    resetDrawingTools();
    for (HGDIOBJ pen : created) EXPECT_EQ(GetObjectType(pen), 0u);
    EXPECT_EQ(drawingPen(Pen::Grid), nullptr);
    for (HPEN pen : drawingTools.nightPens) EXPECT_EQ(pen, nullptr);
}

TEST_F(DrawingTools, EachSystemFontIsDeletedOnceReplacedOrReleased)
{
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(nullptr);
    HGDIOBJ original = GetCurrentObject(first, OBJ_FONT);

    selectSystemFont(first, 0);
    HGDIOBJ horizontal = GetCurrentObject(first, OBJ_FONT);
    ASSERT_NE(horizontal, original);
    selectSystemFont(second, 0);
    HGDIOBJ other = GetCurrentObject(second, OBJ_FONT);
    selectSystemFont(first, 2700);
    HGDIOBJ downward = GetCurrentObject(first, OBJ_FONT);
    LOGFONTA font{};
    GetObjectA(downward, sizeof font, &font);
    EXPECT_EQ(font.lfEscapement, 2700);
    EXPECT_EQ(font.lfHeight, 0);
    EXPECT_STREQ(font.lfFaceName, "SYSTEM_FONT");
    EXPECT_EQ(GetObjectType(horizontal), 0u);
    EXPECT_EQ(GetObjectType(other), DWORD(OBJ_FONT));

    releaseSystemFont(first);
    EXPECT_EQ(GetCurrentObject(first, OBJ_FONT), original);
    EXPECT_EQ(GetObjectType(downward), 0u);
    EXPECT_EQ(GetObjectType(other), DWORD(OBJ_FONT));
    releaseSystemFont(second);
    EXPECT_EQ(GetObjectType(other), 0u);
    DeleteDC(first);
    DeleteDC(second);
    EXPECT_FALSE(folder_.exists("monitor.err"));
}

TEST_F(DrawingTools, TheResetGivesEveryContextItsOwnFontBackAndDeletesOurs)
{
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(nullptr);
    HGDIOBJ firstOwn = GetCurrentObject(first, OBJ_FONT);
    HGDIOBJ secondOwn = GetCurrentObject(second, OBJ_FONT);
    selectSystemFont(first, 0);
    selectSystemFont(second, 2700);
    HGDIOBJ ours[] = {GetCurrentObject(first, OBJ_FONT), GetCurrentObject(second, OBJ_FONT)};
    ASSERT_NE(ours[0], firstOwn);
    ASSERT_NE(ours[1], secondOwn);

    resetDrawingTools();
    EXPECT_EQ(GetCurrentObject(first, OBJ_FONT), firstOwn);
    EXPECT_EQ(GetCurrentObject(second, OBJ_FONT), secondOwn);
    for (HGDIOBJ font : ours) EXPECT_EQ(GetObjectType(font), 0u);
    DeleteDC(first);
    DeleteDC(second);
}

TEST_F(DrawingTools, FontFailuresAreFatal)
{
    BoxAnswerer answerer;
    ImportPatch patch("CreateFontA", reinterpret_cast<void*>(standInCreateFont));
    ASSERT_TRUE(patch.applied());
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ original = GetCurrentObject(dc, OBJ_FONT);
    realCreateFont = nullptr;
    selectSystemFont(dc, 0);
    discardQuitMessage();
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), original);
    std::string log = folder_.read("monitor.err");
    size_t fatal100 = log.find("fatal error nr. 100\n");
    ASSERT_NE(fatal100, std::string::npos);
    EXPECT_LT(log.find("event nr. 5 error FontSet2 \r\n"), log.find("fatal error nr. 060\n"));
    EXPECT_LT(log.find("fatal error nr. 060\n"), fatal100);
    DeleteDC(dc);

    // A context that takes no font: fatal error 100 alone, and the font is gone.
    realCreateFont = patch.original();
    selectSystemFont(dc, 0);
    discardQuitMessage();
    ASSERT_NE(lastCreatedFont, nullptr);
    EXPECT_EQ(GetObjectType(lastCreatedFont), 0u);
    EXPECT_EQ(logged("fatal error nr. 100"), 2u);
    EXPECT_EQ(logged("fatal error nr. 060"), 1u);
}
