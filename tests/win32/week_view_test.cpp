// The week view through the real main window, menu bar and files: the
// records read from monitor.txt and those appended after, the menu's marks
// and greying, and the copy onto the clipboard with the clipboard's rules
// enforced by stand-ins (Wine lets each of them pass).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "app/menu_bar.h"
#include "app/menu_layout.h"
#include "app/commands.h"
#include "app/shell_state.h"
#include "app/startup.h"
#include "app/window_procedure.h"
#include "display/colour_scheme.h"
#include "display/chart_view.h"
#include "display/drawing_tools.h"
#include "records/record_backlog.h"
#include "records/record_files.h"
#include "records/record_line.h"
#include "settings/monitor_settings.h"
#include "settings/shell_seam.h"
#include "storedata/week_loader.h"
#include "storedata/week_records.h"
#include "win32_test_support.h"

namespace {

// The clipboard as the documentation has it: SetClipboardData only between
// OpenClipboard and CloseClipboard and after EmptyClipboard, a CF_ENHMETAFILE
// that is an enhanced metafile, a CF_BITMAP that is a bitmap selected into no
// context, and a handle the clipboard took never deleted by the program.
struct ClipboardRules {
    bool open = false, emptied = false;
    bool refuse = false;  // SetClipboardData fails
    std::map<HDC, HGDIOBJ> selectedBitmaps;
    std::vector<HANDLE> taken;
    std::vector<UINT> formats;
    std::vector<std::string> misuse;
    std::vector<DWORD> deletedTypes;  // GetObjectType of each handle the program deleted
    ImportPatch* patches[8] = {};
} rules;

template <typename Function>
Function real(int n)
{
    return reinterpret_cast<Function>(rules.patches[n]->original());
}

BOOL WINAPI openClipboard(HWND owner)
{
    BOOL opened = real<decltype(&OpenClipboard)>(0)(owner);
    rules.open = opened != FALSE;
    rules.emptied = false;
    return opened;
}

BOOL WINAPI emptyClipboard()
{
    if (!rules.open) rules.misuse.push_back("EmptyClipboard before OpenClipboard");
    rules.emptied = true;
    return real<decltype(&EmptyClipboard)>(1)();
}

HANDLE WINAPI setClipboardData(UINT format, HANDLE data)
{
    if (!rules.open || !rules.emptied) rules.misuse.push_back("SetClipboardData on a clipboard not opened and emptied");
    if (format == CF_ENHMETAFILE && GetObjectType(data) != OBJ_ENHMETAFILE)
        rules.misuse.push_back("CF_ENHMETAFILE not an HENHMETAFILE");
    if (format == CF_BITMAP) {
        if (GetObjectType(data) != OBJ_BITMAP) rules.misuse.push_back("CF_BITMAP not an HBITMAP");
        for (const auto& [dc, bitmap] : rules.selectedBitmaps)
            if (bitmap == data) rules.misuse.push_back("CF_BITMAP still selected into a context");
    }
    if (rules.refuse) return nullptr;
    HANDLE result = real<decltype(&SetClipboardData)>(2)(format, data);
    if (result) {
        rules.taken.push_back(data);
        rules.formats.push_back(format);
    }
    return result;
}

BOOL WINAPI closeClipboard()
{
    rules.open = false;
    return real<decltype(&CloseClipboard)>(3)();
}

HGDIOBJ WINAPI selectObject(HDC dc, HGDIOBJ object)
{
    HGDIOBJ before = real<decltype(&SelectObject)>(4)(dc, object);
    if (before && GetObjectType(object) == OBJ_BITMAP) rules.selectedBitmaps[dc] = object;
    return before;
}

void noteDeleted(HANDLE handle)
{
    rules.deletedTypes.push_back(GetObjectType(handle));
    for (HANDLE taken : rules.taken)
        if (taken == handle) rules.misuse.push_back("a handle the clipboard owns deleted");
}

BOOL WINAPI deleteObject(HGDIOBJ object)
{
    noteDeleted(object);
    return real<decltype(&DeleteObject)>(5)(object);
}

BOOL WINAPI deleteEnhMetaFile(HENHMETAFILE metafile)
{
    noteDeleted(metafile);
    return real<decltype(&DeleteEnhMetaFile)>(6)(metafile);
}

BOOL WINAPI deleteDc(HDC dc)
{
    rules.selectedBitmaps.erase(dc);
    return real<decltype(&DeleteDC)>(7)(dc);
}

// A Windows 10 before 20H1 knows the dark title bar by its earlier number only.
std::vector<std::pair<DWORD, BOOL>> attributeCalls;
std::vector<UINT> positionFlags;
void* realGetProcAddress = nullptr;
HRESULT WINAPI setWindowAttribute(HWND, DWORD attribute, LPCVOID value, DWORD)
{
    attributeCalls.emplace_back(attribute, *static_cast<const BOOL*>(value));
    return attribute == 19 ? S_OK : E_INVALIDARG;
}
FARPROC WINAPI getProcAddress(HMODULE module, LPCSTR name)
{
    if (HIWORD(reinterpret_cast<ULONG_PTR>(name)) && std::string(name) == "DwmSetWindowAttribute")
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(setWindowAttribute));
    return reinterpret_cast<decltype(&GetProcAddress)>(realGetProcAddress)(module, name);
}
BOOL WINAPI setWindowPos(HWND, HWND, int, int, int, int, UINT flags) { return positionFlags.push_back(flags), TRUE; }

// 80-byte record lines, `count` of them five minutes apart up to `last`.
std::string recordsUpTo(int64_t last, int count, uint8_t windAlarm = 0)
{
    std::string out;
    for (int i = count - 1; i >= 0; --i) {
        char line[recordLineLength];
        formatRecordLine(static_cast<uint32_t>(count - i), stampOf(last - 5 * i), 100000 + 10 * i, 0, 0, 4,
                         windAlarm, line);
        out.append(line, sizeof line);
    }
    return out;
}

class WeekView : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetMonitorSettings();
        resetChartView();
        resetWeekHold();
        resetRecordBacklogs();
        ASSERT_TRUE(openRealMainWindow());
        rules = ClipboardRules{};
    }

    void TearDown() override
    {
        for (ImportPatch*& patch : rules.patches) {
            delete patch;
            patch = nullptr;
        }
        closeRealMainWindow();
        resetRecordWatch();
        resetRecordBacklogs();
        resetWeekHold();
        resetChartView();
        resetMonitorSettings();
    }

    void enforceClipboardRules()
    {
        const std::pair<const char*, void*> standIns[] = {
            {"OpenClipboard", reinterpret_cast<void*>(openClipboard)},
            {"EmptyClipboard", reinterpret_cast<void*>(emptyClipboard)},
            {"SetClipboardData", reinterpret_cast<void*>(setClipboardData)},
            {"CloseClipboard", reinterpret_cast<void*>(closeClipboard)},
            {"SelectObject", reinterpret_cast<void*>(selectObject)},
            {"DeleteObject", reinterpret_cast<void*>(deleteObject)},
            {"DeleteEnhMetaFile", reinterpret_cast<void*>(deleteEnhMetaFile)},
            {"DeleteDC", reinterpret_cast<void*>(deleteDc)}};
        for (int n = 0; n < 8; ++n) {
            rules.patches[n] = new ImportPatch(standIns[n].first, standIns[n].second);
            ASSERT_TRUE(rules.patches[n]->applied()) << standIns[n].first;
        }
    }

    static UINT itemState(unsigned id) { return GetMenuState(menuBar.handle, id, MF_BYCOMMAND); }

    ScratchFolder folder_;
};

} // namespace

TEST_F(WeekView, ChoosingTheWeekReadsItOnceAndAppendedRecordsJoinWithoutAnotherRead)
{
    const int64_t now = presentUtcMinute();
    // Thirty days every five minutes: only the last seven are held, and two read.
    folder_.write("monitor.txt", recordsUpTo(now - 5, 30 * 288));
    runCommand(cmdShowWeek);
    EXPECT_EQ(chartView.shown, ChartKind::Week);
    ASSERT_EQ(weekHold.reads, 1u);
    EXPECT_GE(weekHold.records.size(), 7u * 288 - 1);
    EXPECT_LE(weekHold.records.size(), 7u * 288);
    EXPECT_LE(weekHold.bytesRead, uint64_t{weekReadBackRecords} * 80 + 64 * 1024) << "two weeks and the rest of a chunk";
    EXPECT_TRUE(itemState(cmdShowWeek) & MF_CHECKED);
    EXPECT_FALSE(itemState(cmdShowHours) & MF_CHECKED);

    const uint64_t bytesRead = weekHold.bytesRead;
    char line[recordLineLength];
    formatRecordLine(9999, stampOf(now), 101234, 0, 0, 4, 1, line);
    appendRecord(line);
    EXPECT_EQ(weekHold.reads, 1u);
    EXPECT_EQ(weekHold.bytesRead, bytesRead);
    EXPECT_EQ(weekHold.records.back().minute, now);
    EXPECT_EQ(weekHold.records.back().pressure, 101234);
    EXPECT_EQ(folder_.read("monitor.txt").size(), (30u * 288 + 1) * 80) << "and the file has it";

    runCommand(cmdShowHours);
    EXPECT_EQ(chartView.shown, ChartKind::Hours52);
    EXPECT_TRUE(itemState(cmdShowHours) & MF_CHECKED);
}

TEST_F(WeekView, AHeldFileShowsWhatWasReadLastAndAMissingOneNothingAndNeitherIsLogged)
{
    monitorSettings.ERR = 1;
    const int64_t now = presentUtcMinute();
    folder_.write("monitor.txt", recordsUpTo(now, 12));
    loadWeek(now);
    ASSERT_EQ(weekHold.records.size(), 12u);
    {
        HANDLE held = CreateFileA("monitor.txt", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        loadWeek(now);
        EXPECT_EQ(weekHold.records.size(), 12u) << "what was read last";
        CloseHandle(held);
    }
    ASSERT_TRUE(DeleteFileA("monitor.txt"));
    loadWeek(now);
    EXPECT_TRUE(weekHold.records.empty());
    EXPECT_FALSE(folder_.exists("monitor.err")) << "nothing logged";
}

TEST_F(WeekView, RecordsKeptForAHeldFileAreInTheWeekToo)
{
    const int64_t now = presentUtcMinute();
    folder_.write("monitor.txt", recordsUpTo(now - 10, 3));
    HANDLE held = CreateFileA("monitor.txt", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    char line[recordLineLength];
    formatRecordLine(4, stampOf(now - 5), 100500, 0, 0, 4, 0, line);
    appendRecord(line);  // kept in memory: the file is held
    CloseHandle(held);
    ASSERT_EQ(recordBacklogs.monitor.lines.size(), 1u);
    loadWeek(now);
    ASSERT_EQ(weekHold.records.size(), 4u);
    EXPECT_EQ(weekHold.records.back().pressure, 100500);
}

TEST_F(WeekView, ViewsAndCopyAreGreyInNmeaModeAndDoNothingThere)
{
    for (unsigned id : {cmdShowHours, cmdShowWeek, cmdCopyChart}) EXPECT_FALSE(itemState(id) & MF_GRAYED) << id;
    runCommand(cmdNmeaMode);
    for (unsigned id : {cmdShowHours, cmdShowWeek, cmdCopyChart}) EXPECT_TRUE(itemState(id) & MF_GRAYED) << id;
    enforceClipboardRules();
    runCommand(cmdShowWeek);
    runCommand(cmdCopyChart);
    EXPECT_EQ(chartView.shown, ChartKind::Hours52);
    EXPECT_TRUE(rules.formats.empty());
    runCommand(cmdBarographMode);
    EXPECT_FALSE(itemState(cmdShowWeek) & MF_GRAYED);
}

TEST_F(WeekView, TheCopyPutsTheShownChartOnTheClipboardAsAMetafileAndABitmapByTheRules)
{
    const int64_t now = presentUtcMinute();
    folder_.write("monitor.txt", recordsUpTo(now, 24, 1));
    runCommand(cmdShowWeek);
    enforceClipboardRules();
    // Ctrl+C as the message loop delivers it.
    SendMessageA(mainWindow, WM_CHAR, 3, 1);
    EXPECT_EQ(rules.misuse, std::vector<std::string>{});
    EXPECT_EQ(rules.formats, (std::vector<UINT>{CF_ENHMETAFILE, CF_BITMAP}));

    RECT client;
    GetClientRect(mainWindow, &client);
    ASSERT_TRUE(OpenClipboard(nullptr));
    auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAP shape = {};
    ASSERT_TRUE(bitmap && GetObjectA(bitmap, sizeof shape, &shape));
    EXPECT_EQ(shape.bmWidth, client.right);
    EXPECT_EQ(shape.bmHeight, client.bottom);
    // The metafile holds the week chart as the window draws it: its heading,
    // its day labels and the red curve of the records with the wind alarm.
    auto metafile = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
    ASSERT_NE(metafile, nullptr);
    HENHMETAFILE copy = CopyEnhMetaFileA(metafile, nullptr);
    CloseClipboard();
    MetafileTrace trace([&](HDC dc) { PlayEnhMetaFile(dc, copy, &client); });
    DeleteEnhMetaFile(copy);
    bool heading = false;
    for (const TracedText& text : trace.texts) heading |= text.text.rfind("Barogramm 7 Tage", 0) == 0;
    EXPECT_TRUE(heading);
    size_t red = 0;
    for (const TracedLine& line : trace.lines) red += line.pen.colour == RGB(220, 0, 0);
    EXPECT_EQ(red, 24u);  // the first record a stroke of its own, 23 joined to the one before
}

TEST_F(WeekView, AClipboardThatRefusesLeavesNoHandleBehind)
{
    enforceClipboardRules();
    rules.refuse = true;
    runCommand(cmdCopyChart);
    EXPECT_EQ(rules.misuse, std::vector<std::string>{});
    EXPECT_TRUE(rules.formats.empty());
    // The metafile and the bitmap made for the clipboard are deleted again.
    EXPECT_EQ(std::count(rules.deletedTypes.begin(), rules.deletedTypes.end(), DWORD(OBJ_ENHMETAFILE)), 1);
    EXPECT_EQ(std::count(rules.deletedTypes.begin(), rules.deletedTypes.end(), DWORD(OBJ_BITMAP)), 1);
}

TEST_F(WeekView, NightColoursEraseBlackAndAskForTheDarkTitleBarByEitherNumber)
{
    ImportPatch procedures("GetProcAddress", reinterpret_cast<void*>(getProcAddress));
    ImportPatch positions("SetWindowPos", reinterpret_cast<void*>(setWindowPos));
    ASSERT_TRUE(procedures.applied() && positions.applied());
    realGetProcAddress = procedures.original();
    runCommand(cmdNightColours);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(GetClassLongPtrA(mainWindow, GCLP_HBRBACKGROUND)), GetStockObject(BLACK_BRUSH));
    SendMessageA(mainWindow, WM_CHAR, 14, 1);  // Ctrl+N as the message loop delivers it
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(GetClassLongPtrA(mainWindow, GCLP_HBRBACKGROUND)), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(attributeCalls, (std::vector<std::pair<DWORD, BOOL>>{{20, TRUE}, {19, TRUE}, {20, FALSE}, {19, FALSE}}));
    const UINT redraw = SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;
    EXPECT_EQ(positionFlags.size(), 2u);
    for (UINT flags : positionFlags) EXPECT_EQ(flags & redraw, redraw);
}

namespace {

// The menus' rules as the documentation has them, which Wine does not hold
// to: each MENUITEMINFOA and MENUINFO of its own size, MIIM_TYPE never with
// MIIM_FTYPE or MIIM_STRING, and an owner-drawn item that is no separator
// given its text through MIIM_STRING, so that it keeps it.
std::vector<std::string> menuMisuse;
void* realSetMenuItemInfo = nullptr;
void* realSetMenuInfo = nullptr;

BOOL WINAPI setMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOA info)
{
    if (info->cbSize != sizeof(MENUITEMINFOA)) menuMisuse.push_back("MENUITEMINFOA size");
    if ((info->fMask & MIIM_TYPE) && (info->fMask & (MIIM_FTYPE | MIIM_STRING))) menuMisuse.push_back("MIIM_TYPE");
    if ((info->fMask & MIIM_FTYPE) && (info->fType & MFT_OWNERDRAW) && !(info->fType & MFT_SEPARATOR) &&
        (!(info->fMask & MIIM_STRING) || !info->dwTypeData))
        menuMisuse.push_back("owner-drawn without its text");
    return reinterpret_cast<decltype(&SetMenuItemInfoA)>(realSetMenuItemInfo)(menu, item, byPosition, info);
}

BOOL WINAPI setMenuInfo(HMENU menu, LPCMENUINFO info)
{
    if (info->cbSize != sizeof(MENUINFO)) menuMisuse.push_back("MENUINFO size");
    return reinterpret_cast<decltype(&SetMenuInfo)>(realSetMenuInfo)(menu, info);
}

// The flags of each text with an Alt letter drawn (not measured).
std::vector<UINT> drawnTextFlags;
void* realDrawTextA = nullptr;
int WINAPI recordDrawTextFlags(HDC dc, LPCSTR text, int length, LPRECT box, UINT flags)
{
    if (std::strchr(text, '&') && !(flags & DT_CALCRECT)) drawnTextFlags.push_back(flags);
    return reinterpret_cast<decltype(&DrawTextA)>(realDrawTextA)(dc, text, length, box, flags);
}

struct ItemFacts {
    UINT type, state, id;
    ULONG_PTR data;
    std::string text;
    bool operator==(const ItemFacts& other) const
    {
        return type == other.type && state == other.state && id == other.id && data == other.data &&
               text == other.text;
    }
};

// Every item of the bar and its drop-downs, in order, with its data.
std::vector<ItemFacts> menuItems(HMENU menu)
{
    std::vector<ItemFacts> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[256] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_DATA | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = sizeof text - 1;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        items.push_back({info.fType, info.fState, info.hSubMenu ? 0 : info.wID, info.dwItemData, text});
        if (info.hSubMenu)
            for (const ItemFacts& item : menuItems(info.hSubMenu)) items.push_back(item);
    }
    return items;
}

} // namespace

TEST_F(WeekView, NightMenusAreDrawnByTheProgramAsWindowsAsksAndTheDayMenusComeBack)
{
    const WPARAM setup = reinterpret_cast<WPARAM>(GetSubMenu(menuBar.handle, 3));
    mainWindowProcedure(mainWindow, WM_INITMENUPOPUP, setup, 3);  // the ports probed, as whenever Setup opens
    const std::vector<ItemFacts> day = menuItems(menuBar.handle);
    {
        ImportPatch items("SetMenuItemInfoA", reinterpret_cast<void*>(setMenuItemInfo));
        ImportPatch menus("SetMenuInfo", reinterpret_cast<void*>(setMenuInfo));
        ASSERT_TRUE(items.applied() && menus.applied());
        realSetMenuItemInfo = items.original();
        realSetMenuInfo = menus.original();
        runCommand(cmdNightColours);
        // The Setup menu opening at night places its port items anew: they are the program's too.
        mainWindowProcedure(mainWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(menuBar.handle, 3)), 3);
    }
    EXPECT_EQ(menuMisuse, std::vector<std::string>{});
    const std::vector<ItemFacts> night = menuItems(menuBar.handle);
    HDC screen = GetDC(mainWindow);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 300, 40);
    ReleaseDC(mainWindow, screen);
    SelectObject(dc, bitmap);
    const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT), pen = GetCurrentObject(dc, OBJ_PEN);
    for (const ItemFacts& item : night) {
        EXPECT_TRUE(item.type & MFT_OWNERDRAW) << item.text;
        // Both sizes are the program's to give, the bar's height too, which Wine takes as its own.
        MEASUREITEMSTRUCT size = {ODT_MENU, 0, item.id, 0, 0, item.data};
        EXPECT_EQ(mainWindowProcedure(mainWindow, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&size)), TRUE);
        EXPECT_GT(size.itemWidth, 0u) << item.text;
        EXPECT_GT(size.itemHeight, 0u) << item.text;
    }
    // The File menu's title, selected, on a context that goes back to the system as it came.
    const auto drawFileTitle = [&](UINT state) {
        SetTextColor(dc, RGB(1, 2, 3));
        DRAWITEMSTRUCT item = {ODT_MENU, 0, 0, ODA_DRAWENTIRE, state,
                               reinterpret_cast<HWND>(menuBar.handle), dc, {0, 0, 300, 40}, night[0].data};
        EXPECT_EQ(mainWindowProcedure(mainWindow, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)), TRUE);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
        EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
        std::map<COLORREF, int> drawn;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 300; ++x) ++drawn[GetPixel(dc, x, y)];
        return drawn;
    };
    std::map<COLORREF, int> drawn = drawFileTitle(ODS_SELECTED | ODS_NOACCEL);
    for (const auto& [pixel, count] : drawn)
        EXPECT_TRUE(keepsNightVision((uint32_t(GetRValue(pixel)) << 16) | (GetGValue(pixel) << 8) | GetBValue(pixel)))
            << std::hex << pixel;
    EXPECT_GT(drawn[RGB(0x34, 0, 0)], 8000) << "the selected ground";
    EXPECT_GT(drawn[RGB(0x8C, 0, 0)], 10) << "the text";
    // With the keyboard cues hidden the Alt letter has no underline, shown (Alt pressed) it has. Wine's
    // DrawText gives the same pixels here with or without DT_HIDEPREFIX, so the flags passed are checked.
    {
        ImportPatch text("DrawTextA", reinterpret_cast<void*>(recordDrawTextFlags));
        ASSERT_TRUE(text.applied());
        realDrawTextA = text.original();
        drawFileTitle(ODS_SELECTED | ODS_NOACCEL);
        drawFileTitle(ODS_SELECTED);
    }
    ASSERT_EQ(drawnTextFlags.size(), 2u);
    EXPECT_TRUE(drawnTextFlags[0] & DT_HIDEPREFIX) << "the cues hidden";
    EXPECT_FALSE(drawnTextFlags[1] & (DT_HIDEPREFIX | DT_NOPREFIX)) << "the cues shown";
    DeleteDC(dc);
    DeleteObject(bitmap);
    // Alt and a letter the system did not find among the items it draws itself: the program finds it.
    EXPECT_EQ(mainWindowProcedure(mainWindow, WM_MENUCHAR, 'a', reinterpret_cast<LPARAM>(menuBar.handle)),
              MAKELRESULT(2, MNC_EXECUTE));
    runCommand(cmdNightColours);
    const std::vector<ItemFacts> dayAgain = menuItems(menuBar.handle);
    ASSERT_EQ(dayAgain.size(), day.size());
    for (size_t i = 0; i < day.size(); ++i)
        EXPECT_TRUE(dayAgain[i] == day[i]) << "the day menus as they were: " << day[i].text << " type " << day[i].type
                                           << "/" << dayAgain[i].type << " state " << day[i].state << "/"
                                           << dayAgain[i].state << " data " << day[i].data << "/" << dayAgain[i].data;
}
