#include "win32_test_support.h"

#include "app/menu_bar.h"
#include "app/shell_state.h"
#include "app/startup.h"
#include "display/chart_geometry.h"
#include "display/drawing_tools.h"
#include "settings/shell_seam.h"

#include <cstdio>
#include <fstream>
#include <sstream>

ScratchFolder::ScratchFolder()
{
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    previous_ = current;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static int counter = 0;
    char name[MAX_PATH];
    std::snprintf(name, sizeof name, "%smonitor-w32-%lu-%d", temp, GetCurrentProcessId(), ++counter);
    path_ = name;
    CreateDirectoryA(path_.c_str(), nullptr);
    SetCurrentDirectoryA(path_.c_str());
}

ScratchFolder::~ScratchFolder()
{
    SetCurrentDirectoryA(previous_.c_str());
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string entry = path_ + "\\" + found.cFileName;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (found.cFileName[0] != '.') RemoveDirectoryA(entry.c_str());
            } else {
                DeleteFileA(entry.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path_.c_str());
}

std::string ScratchFolder::read(const char* name) const
{
    std::ifstream in(path_ + "\\" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void ScratchFolder::write(const char* name, const std::string& bytes) const
{
    std::ofstream out(path_ + "\\" + name, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool ScratchFolder::exists(const char* name) const
{
    return GetFileAttributesA((path_ + "\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK findOwnBox(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->process && std::string(className) == "#32770" && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

std::string textOf(HWND window)
{
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

} // namespace

BoxAnswerer::BoxAnswerer()
{
    InitializeCriticalSection(&lock_);
    thread_ = CreateThread(nullptr, 0, run, this, 0, nullptr);
}

BoxAnswerer::~BoxAnswerer()
{
    InterlockedExchange(&stop_, 1);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    DeleteCriticalSection(&lock_);
}

std::vector<BoxAnswerer::Seen> BoxAnswerer::seen()
{
    EnterCriticalSection(&lock_);
    std::vector<Seen> copy = seen_;
    LeaveCriticalSection(&lock_);
    return copy;
}

DWORD WINAPI BoxAnswerer::run(void* param)
{
    auto* self = static_cast<BoxAnswerer*>(param);
    HWND answered = nullptr;
    while (!self->stop_) {
        Search search{GetCurrentProcessId(), nullptr};
        EnumWindows(findOwnBox, reinterpret_cast<LPARAM>(&search));
        if (search.found && search.found != answered) {
            Seen box{textOf(search.found), ""};
            if (HWND text = GetDlgItem(search.found, 0xFFFF)) box.text = textOf(text);
            EnterCriticalSection(&self->lock_);
            self->seen_.push_back(box);
            LeaveCriticalSection(&self->lock_);
            PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(search.found, IDOK)));
            answered = search.found;
        }
        Sleep(20);
    }
    return 0;
}

void discardQuitMessage()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

std::string localStampNow()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d", now.wDay, now.wMonth, now.wYear,
                  now.wHour, now.wMinute);
    return text;
}

ImportPatch::ImportPatch(const char* function, void* standIn)
{
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
    for (; module->Name && !slot_; ++module) {
        if (!module->OriginalFirstThunk) continue;
        auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
        auto* address = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
        for (; name->u1.AddressOfData; ++name, ++address) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
            if (std::string(reinterpret_cast<char*>(byName->Name)) == function) {
                slot_ = reinterpret_cast<void**>(&address->u1.Function);
                break;
            }
        }
    }
    if (!slot_) return;
    DWORD protection;
    VirtualProtect(slot_, sizeof(void*), PAGE_READWRITE, &protection);
    original_ = *slot_;
    *slot_ = standIn;
    VirtualProtect(slot_, sizeof(void*), protection, &protection);
}

ImportPatch::~ImportPatch()
{
    if (!slot_) return;
    DWORD protection;
    VirtualProtect(slot_, sizeof(void*), PAGE_READWRITE, &protection);
    *slot_ = original_;
    VirtualProtect(slot_, sizeof(void*), protection, &protection);
}

void MetafileTrace::read(HENHMETAFILE metafile)
{
    std::vector<BYTE> bits(GetEnhMetaFileBits(metafile, 0, nullptr));
    GetEnhMetaFileBits(metafile, static_cast<UINT>(bits.size()), bits.data());
    DeleteEnhMetaFile(metafile);

    // Pens and brushes by metafile index; the context starts with black pen, white brush.
    std::vector<std::pair<bool, TracedPen>> objects(64);  // is a pen; pen, or brush colour in .colour
    TracedPen pen{PS_SOLID, 0, RGB(0, 0, 0)};
    COLORREF brushColour = RGB(255, 255, 255);
    POINT position{0, 0};
    for (size_t offset = 0; offset + sizeof(EMR) <= bits.size();) {
        const BYTE* at = &bits[offset];
        const auto* record = reinterpret_cast<const ENHMETARECORD*>(at);
        auto point = [&](const POINTL& p) { return POINT{p.x, p.y}; };
        if (record->iType == EMR_CREATEPEN) {
            const auto* r = reinterpret_cast<const EMRCREATEPEN*>(at);
            objects.at(r->ihPen) = {true, {r->lopn.lopnStyle, r->lopn.lopnWidth.x, r->lopn.lopnColor}};
        } else if (record->iType == EMR_CREATEBRUSHINDIRECT) {
            const auto* r = reinterpret_cast<const EMRCREATEBRUSHINDIRECT*>(at);
            objects.at(r->ihBrush) = {false, {0, 0, r->lb.lbColor}};
        } else if (record->iType == EMR_SELECTOBJECT) {
            DWORD index = reinterpret_cast<const EMRSELECTOBJECT*>(at)->ihObject;
            if (!(index & 0x80000000)) {  // stock objects do not occur in our drawings
                if (objects.at(index).first) pen = objects[index].second;
                else brushColour = objects[index].second.colour;
            }
        } else if (record->iType == EMR_MOVETOEX) {
            position = point(reinterpret_cast<const EMRMOVETOEX*>(at)->ptl);
            moves.push_back(position);
        } else if (record->iType == EMR_LINETO) {
            POINT to = point(reinterpret_cast<const EMRLINETO*>(at)->ptl);
            lines.push_back(TracedLine{position, to, pen});
            position = to;
        } else if (record->iType == EMR_SETPIXELV) {
            const auto* r = reinterpret_cast<const EMRSETPIXELV*>(at);
            pixels.push_back(point(r->ptlPixel));
            pixelColours.push_back(r->crColor);
        } else if (record->iType == EMR_RECTANGLE) {
            const RECTL& box = reinterpret_cast<const EMRRECTANGLE*>(at)->rclBox;
            rectangles.push_back(TracedRectangle{RECT{box.left, box.top, box.right, box.bottom}, pen, brushColour});
        } else if (record->iType == EMR_EXTTEXTOUTW) {
            const EMRTEXT& t = reinterpret_cast<const EMREXTTEXTOUTW*>(at)->emrtext;
            std::string text(t.nChars * 2, '\0');
            int n = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const WCHAR*>(at + t.offString),
                                        static_cast<int>(t.nChars), &text[0], static_cast<int>(text.size()),
                                        nullptr, nullptr);
            text.resize(n > 0 ? static_cast<size_t>(n) : 0);
            texts.push_back(TracedText{point(t.ptlReference), text});
        }
        if (record->nSize == 0) break;
        offset += record->nSize;
    }
}

bool openRealMainWindow()
{
    resetDrawingTools();
    installShellSeam();
    instanceHandle = GetModuleHandleA(nullptr);
    screenWidth = 1000;
    screenHeight = 700;
    registerMainWindowClass();  // a second registration in this process fails harmlessly
    if (!createMainWindow()) return false;
    buildMenus();
    refreshMenuMarks();
    return true;
}

void closeRealMainWindow()
{
    destroyMenus();
    DestroyWindow(mainWindow);
    discardQuitMessage();  // the main window's end posts one
    mainWindow = nullptr;
    resetDrawingTools();
    resetMenuBar();
    resetSeamTables();
}
