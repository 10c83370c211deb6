// Drives the running monitor.exe from outside for the end-to-end tests.
// It reads one command per line on stdin and answers on stdout:
//   wait-window MS          "ok" once the main window exists, else "timeout"
//   title                   "ok <title>"
//   maximized               "ok 1" when the main window is maximised, else "ok 0"
//   command ID              posts WM_COMMAND with ID to the main window
//   close                   posts WM_CLOSE to the main window
//   boxes                   "ok N", then N lines "<hwnd>\t<caption>\t<text>\t<id:label,...>"
//                           (message boxes and the print dialog; never the Options dialog)
//   wait-boxes N MS         as boxes, once at least N message boxes are open
//   wait-options MS         "ok <hwnd>" once the Options dialog is open, else "timeout"
//   controls HWND           "ok <caption>\t<left,top,right,bottom>" of the dialog, then its child windows
//                           as "<id>\t<class>\t<text>\t<left,top,right,bottom>\t<checked>\t<focused>"
//                           (screen pixels), then "end"
//   set HWND ID TEXT        puts TEXT into the edit control ID of the dialog, as typing would
//   check HWND ID N         checks (1) or clears (0) the check box ID of the dialog
//   press HWND ID           clicks the button ID of the message box HWND
//   menu                    "ok N", then the N lines of the program's menu bar as menu_probe
//                           writes them (the driver and the program share a working folder)
//   char CODE [repeat]      posts WM_CHAR with CODE (3: Ctrl+C) to the main window; with "repeat"
//                           as a held key repeats it (bit 30 of lParam: the key was down before)
//   key CODE                posts WM_KEYDOWN with the virtual key CODE to the main window
//   drop-down               "ok <left,top,right,bottom>" of the open drop-down menu, else "none"
//   alt CODE                posts WM_SYSCOMMAND SC_KEYMENU with the character CODE, as Alt
//                           and that letter do: the menu bar opens the letter's drop-down
//   client                  "ok W H": the main window's client size
//   client-origin           "ok X Y": where the client area begins on the screen
//   clipboard               "ok <format>,...", the formats on the clipboard, then
//                           "emf <records> <bytes>" and "bitmap <width> <height>" when present
//   clipboard-bitmap PATH   writes the clipboard's bitmap to PATH as a binary PPM; "ok W H"
//   hold PATH               opens the file PATH without sharing, until release
//   hold-read PATH          opens the file PATH for reading, shared with readers, until release
//                           (as a virus scanner or a backup reads it)
//   release PATH            closes what hold or hold-read opened
//   orientation PRINTER N   makes N (1 upright, 2 landscape) the paper orientation of the
//                           printer's default settings; "ok <previous>"
//   end-leftovers           ends every other process that shows a monitor window or a box; "ok N"
//   quit
// Texts are the program's own Windows-1252 bytes with \n, \r, \t and \\ escaped.
// The driver only posts messages and reads window texts: Wine lets another
// process do both, and posting never blocks on a modal loop of the program.
#include <windows.h>
#include <winspool.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

const char mainWindowClass[] = "Fensterklasse";
std::map<std::string, HANDLE> heldFiles;

std::string escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\\': out += "\\\\"; break;
        default: out += c;
        }
    }
    return out;
}

std::string windowText(HWND window)
{
    char text[2048] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void reply(const std::string& line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

HWND mainWindow() { return FindWindowA(mainWindowClass, nullptr); }

// The Options dialog is a dialog box as a message box is; its first field,
// an edit control with id 1661, tells it from one.
constexpr int firstOptionsField = 1661;

bool isOptionsDialog(HWND window)
{
    HWND field = GetDlgItem(window, firstOptionsField);
    char className[64] = {};
    return field && GetClassNameA(field, className, sizeof className) && _stricmp(className, "Edit") == 0;
}

struct Box {
    HWND window;
    std::string caption;
    std::string text;
    std::string buttons;
};

BOOL CALLBACK collectButton(HWND child, LPARAM param)
{
    char className[64] = {};
    GetClassNameA(child, className, sizeof className);
    if (_stricmp(className, "Button") == 0 && IsWindowVisible(child)) {
        auto* buttons = reinterpret_cast<std::string*>(param);
        if (!buttons->empty()) *buttons += ",";
        *buttons += std::to_string(GetDlgCtrlID(child)) + ":" + windowText(child);
    }
    return TRUE;
}

BOOL CALLBACK collectBox(HWND window, LPARAM param)
{
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    if (isOptionsDialog(window)) return TRUE;
    Box box{window, windowText(window), "", ""};
    // A message box shows its text in the static control with id 0xFFFF.
    if (HWND text = GetDlgItem(window, 0xFFFF)) box.text = windowText(text);
    EnumChildWindows(window, collectButton, reinterpret_cast<LPARAM>(&box.buttons));
    reinterpret_cast<std::vector<Box>*>(param)->push_back(box);
    return TRUE;
}

std::vector<Box> openBoxes()
{
    std::vector<Box> boxes;
    EnumWindows(collectBox, reinterpret_cast<LPARAM>(&boxes));
    return boxes;
}

void replyBoxes(const std::vector<Box>& boxes)
{
    reply("ok " + std::to_string(boxes.size()));
    for (const Box& box : boxes) {
        char handle[32];
        std::snprintf(handle, sizeof handle, "%llu",
                      static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(box.window)));
        reply(std::string(handle) + "\t" + escaped(box.caption) + "\t" + escaped(box.text) + "\t" +
              escaped(box.buttons));
    }
}

BOOL CALLBACK collectLeftover(HWND window, LPARAM param)
{
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, mainWindowClass) != 0 && std::strcmp(className, "#32770") != 0) return TRUE;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    auto* processes = reinterpret_cast<std::vector<DWORD>*>(param);
    if (process != GetCurrentProcessId() &&
        std::find(processes->begin(), processes->end(), process) == processes->end())
        processes->push_back(process);
    return TRUE;
}

// Ends every process that still shows a monitor window or a box after a test
// has stopped its own: one that a failed check left running would otherwise
// answer the next test's questions in place of that test's program.
int endLeftovers()
{
    std::vector<DWORD> processes;
    EnumWindows(collectLeftover, reinterpret_cast<LPARAM>(&processes));
    int ended = 0;
    for (DWORD id : processes) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (!process) continue;
        if (TerminateProcess(process, 99)) {
            WaitForSingleObject(process, 5000);
            ++ended;
        }
        CloseHandle(process);
    }
    return ended;
}

BOOL CALLBACK findOptions(HWND window, LPARAM param)
{
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "#32770") != 0 || !IsWindowVisible(window) || !isOptionsDialog(window)) return TRUE;
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
}

HWND optionsDialog()
{
    HWND found = nullptr;
    EnumWindows(findOptions, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The system's menu windows are of class #32768; a hidden one may stand ready.
BOOL CALLBACK findDropDown(HWND window, LPARAM param)
{
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "#32768") != 0 || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
}

HWND handleArgument(const std::string& argument, char** rest)
{
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(argument.c_str(), rest, 10)));
}

std::string rectText(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// A control's text as the control holds it: an edit control keeps its own,
// which only a message to it reads from another process.
std::string controlText(HWND control)
{
    char text[512] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000,
                        &ignored);
    return text;
}

struct ControlList {
    HWND focus;
    std::vector<std::string> lines;
};

BOOL CALLBACK collectControl(HWND child, LPARAM param)
{
    auto* list = reinterpret_cast<ControlList*>(param);
    char className[64] = {};
    GetClassNameA(child, className, sizeof className);
    DWORD_PTR checked = 0;
    if (_stricmp(className, "Button") == 0)
        SendMessageTimeoutA(child, BM_GETCHECK, 0, 0, SMTO_NORMAL, 5000, &checked);
    list->lines.push_back(std::to_string(GetDlgCtrlID(child)) + "\t" + className + "\t" +
                          escaped(controlText(child)) + "\t" + rectText(child) + "\t" +
                          std::to_string(checked == BST_CHECKED) + "\t" + std::to_string(child == list->focus) +
                          "\t" + std::to_string(IsWindowEnabled(child) != FALSE));
    return TRUE;
}

void replyControls(HWND dialog)
{
    if (!IsWindow(dialog)) {
        reply("none");
        return;
    }
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof thread;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread);
    ControlList list{thread.hwndFocus, {}};
    EnumChildWindows(dialog, collectControl, reinterpret_cast<LPARAM>(&list));
    reply("ok " + escaped(windowText(dialog)) + "\t" + rectText(dialog));
    for (const std::string& line : list.lines) reply(line);
    reply("end");
}

HHOOK menuHook = nullptr;
DWORD hookedThread = 0;

// Hooks menu_probe.dll (beside the driver) into the program's thread, once
// for each run of the program.
bool hookMenuProbe(HWND window)
{
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (menuHook && thread == hookedThread) return true;
    if (menuHook) UnhookWindowsHookEx(menuHook);
    menuHook = nullptr;
    hookedThread = thread;
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    char* slash = std::strrchr(path, '\\');
    if (!slash) return false;
    std::strcpy(slash + 1, "menu_probe.dll");
    HMODULE probe = LoadLibraryA(path);
    if (!probe) return false;
    auto hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, "menuProbeHook")));
    if (!hook) return false;
    menuHook = SetWindowsHookExA(WH_GETMESSAGE, hook, probe, thread);
    return menuHook != nullptr;
}

void replyMenu()
{
    HWND window = mainWindow();
    if (!window || !hookMenuProbe(window)) {
        reply("none");
        return;
    }
    DeleteFileA("menu-dump.txt");
    // Posted, so that it is answered after every command posted before it.
    PostMessageA(window, RegisterWindowMessageA("MonitorMenuDump"), 0, 0);
    // The probe moves its finished dump onto the name. Wine's MoveFile holds
    // the file open for deletion until the move is done, a moment after the
    // name appears: an open that does not share deletion fails then with a
    // sharing violation (fopen's does not), so this one shares it, and tries
    // again until the program has had its time.
    const DWORD start = GetTickCount();
    HANDLE dump = INVALID_HANDLE_VALUE;
    while (GetTickCount() - start < 20000) {
        dump = CreateFileA("menu-dump.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (dump != INVALID_HANDLE_VALUE) break;
        Sleep(20);
    }
    if (dump == INVALID_HANDLE_VALUE) {
        // Asked only now, so that the asking cannot have let the dump through.
        DWORD_PTR ignored = 0;
        const bool answers = SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &ignored) != 0;
        reply(answers ? "timeout (the program answers sent messages)" : "timeout (the program does not answer)");
        return;
    }
    std::string content;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(dump, chunk, sizeof chunk, &got, nullptr) && got > 0) content.append(chunk, got);
    CloseHandle(dump);
    std::vector<std::string> lines;
    for (size_t from = 0; from < content.size();) {
        size_t end = content.find('\n', from);
        if (end == std::string::npos) end = content.size();
        lines.push_back(content.substr(from, end - from));
        from = end + 1;
    }
    DeleteFileA("menu-dump.txt");
    reply("ok " + std::to_string(lines.size()));
    for (const std::string& text : lines) reply(text);
}

// The print dialog starts from the printer's default settings, which other
// processes read afresh: so a test can have pages printed either way round.
std::string setDefaultOrientation(const std::string& argument)
{
    size_t space = argument.rfind(' ');
    if (space == std::string::npos) return "none";
    std::string printerName = argument.substr(0, space);
    short orientation = static_cast<short>(std::strtol(argument.c_str() + space + 1, nullptr, 10));
    PRINTER_DEFAULTSA access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!OpenPrinterA(&printerName[0], &printer, &access)) return "fail " + std::to_string(GetLastError());
    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    std::string result;
    auto* info = reinterpret_cast<PRINTER_INFO_2A*>(buffer.data());
    if (!needed || !GetPrinterA(printer, 2, buffer.data(), needed, &needed) || !info->pDevMode) {
        result = "fail " + std::to_string(GetLastError());
    } else {
        short previous = info->pDevMode->dmOrientation;
        info->pDevMode->dmOrientation = orientation;
        info->pDevMode->dmFields |= DM_ORIENTATION;
        info->pSecurityDescriptor = nullptr;  // unchanged
        result = SetPrinterA(printer, 2, buffer.data(), 0) ? "ok " + std::to_string(previous)
                                                            : "fail " + std::to_string(GetLastError());
    }
    ClosePrinter(printer);
    return result;
}

// What the clipboard holds: its formats, and what the enhanced metafile and
// the bitmap on it are, as another program that pastes finds them.
void replyClipboard()
{
    if (!OpenClipboard(nullptr)) {
        reply("fail " + std::to_string(GetLastError()));
        return;
    }
    std::string formats;
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format))
        formats += (formats.empty() ? "" : ",") + std::to_string(format);
    std::string details;
    if (auto metafile = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE))) {
        ENHMETAHEADER header = {};
        if (GetEnhMetaFileHeader(metafile, sizeof header, &header))
            details += "emf " + std::to_string(header.nRecords) + " " + std::to_string(header.nBytes) + "\n";
    }
    if (auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
        BITMAP shape = {};
        if (GetObjectA(bitmap, sizeof shape, &shape))
            details += "bitmap " + std::to_string(shape.bmWidth) + " " + std::to_string(shape.bmHeight) + "\n";
    }
    CloseClipboard();
    reply("ok " + (formats.empty() ? std::string("none") : formats));
    std::fputs(details.c_str(), stdout);
    std::fputs("end\n", stdout);
    std::fflush(stdout);
}

// The pixels of the bitmap on the clipboard, as a pasting program gets them.
std::string writeClipboardBitmap(const std::string& path)
{
    if (!OpenClipboard(nullptr)) return "fail " + std::to_string(GetLastError());
    std::string result = "none";
    auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAP shape = {};
    if (bitmap && GetObjectA(bitmap, sizeof shape, &shape)) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = shape.bmWidth;
        info.bmiHeader.biHeight = -shape.bmHeight;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        std::vector<BYTE> pixels(static_cast<size_t>(shape.bmWidth) * shape.bmHeight * 4);
        HDC screen = GetDC(nullptr);
        int rows = GetDIBits(screen, bitmap, 0, shape.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
        FILE* out = rows == shape.bmHeight ? std::fopen(path.c_str(), "wb") : nullptr;
        if (out) {
            std::fprintf(out, "P6\n%ld %ld\n255\n", shape.bmWidth, shape.bmHeight);
            for (size_t i = 0; i < pixels.size(); i += 4) {
                const BYTE rgb[3] = {pixels[i + 2], pixels[i + 1], pixels[i]};
                std::fwrite(rgb, 1, 3, out);
            }
            std::fclose(out);
            result = "ok " + std::to_string(shape.bmWidth) + " " + std::to_string(shape.bmHeight);
        } else {
            result = "fail " + std::to_string(rows);
        }
    }
    CloseClipboard();
    return result;
}

void runCommand(const std::string& name, const std::string& argument)
{
    if (name == "wait-window") {
        DWORD limit = GetTickCount() + std::strtoul(argument.c_str(), nullptr, 10);
        while (!mainWindow() && GetTickCount() < limit) Sleep(50);
        reply(mainWindow() ? "ok" : "timeout");
    } else if (name == "title") {
        HWND window = mainWindow();
        reply(window ? "ok " + escaped(windowText(window)) : "none");
    } else if (name == "maximized") {
        HWND window = mainWindow();
        reply(window ? std::string("ok ") + (IsZoomed(window) ? "1" : "0") : "none");
    } else if (name == "command") {
        HWND window = mainWindow();
        unsigned id = std::strtoul(argument.c_str(), nullptr, 10);
        reply(window && PostMessageA(window, WM_COMMAND, id, 0) ? "ok" : "none");
    } else if (name == "key") {
        // A key pressed while the window has the focus.
        HWND window = mainWindow();
        WPARAM key = std::strtoul(argument.c_str(), nullptr, 10);
        reply(window && PostMessageA(window, WM_KEYDOWN, key, 1) ? "ok" : "none");
    } else if (name == "alt") {
        // Alt and a letter as the system hands them to the window: the menu
        // bar opens the drop-down of that Alt letter (0: the bar alone).
        HWND window = mainWindow();
        WPARAM code = std::strtoul(argument.c_str(), nullptr, 10);
        reply(window && PostMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(code)) ? "ok" : "none");
    } else if (name == "drop-down") {
        // The open drop-down: the system's menu window, wherever it stands.
        HWND menu = nullptr;
        EnumWindows(findDropDown, reinterpret_cast<LPARAM>(&menu));
        reply(menu ? "ok " + rectText(menu) : "none");
    } else if (name == "char") {
        // A character as the program's message loop translates a key to it.
        HWND window = mainWindow();
        char* rest = nullptr;
        WPARAM code = std::strtoul(argument.c_str(), &rest, 10);
        LPARAM flags = std::strcmp(rest, " repeat") == 0 ? LPARAM(1) << 30 : 0;
        reply(window && PostMessageA(window, WM_CHAR, code, flags | 1) ? "ok" : "none");
    } else if (name == "client") {
        HWND window = mainWindow();
        RECT client = {};
        reply(window && GetClientRect(window, &client)
                  ? "ok " + std::to_string(client.right) + " " + std::to_string(client.bottom)
                  : "none");
    } else if (name == "client-origin") {
        HWND window = mainWindow();
        POINT origin = {0, 0};
        reply(window && ClientToScreen(window, &origin)
                  ? "ok " + std::to_string(origin.x) + " " + std::to_string(origin.y)
                  : "none");
    } else if (name == "clipboard") {
        replyClipboard();
    } else if (name == "clipboard-bitmap") {
        reply(writeClipboardBitmap(argument));
    } else if (name == "click") {
        // A left click at x y of the client area.
        HWND window = mainWindow();
        char* rest = nullptr;
        int x = static_cast<int>(std::strtol(argument.c_str(), &rest, 10));
        int y = static_cast<int>(std::strtol(rest, nullptr, 10));
        reply(window && PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)) &&
                      PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y))
                  ? "ok"
                  : "none");
    } else if (name == "open-menu") {
        // Drop-down N of the bar opens (WM_INITMENUPOPUP), as when the user clicks its title.
        HWND window = mainWindow();
        WPARAM index = std::strtoul(argument.c_str(), nullptr, 10);
        reply(window && hookMenuProbe(window) &&
                      PostMessageA(window, RegisterWindowMessageA("MonitorMenuOpen"), index, 0)
                  ? "ok"
                  : "none");
    } else if (name == "end-session") {
        // Windows ends the session: it asks, then tells.
        HWND window = mainWindow();
        DWORD_PTR answer = 0;
        if (!window || !SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 10000, &answer)) {
            reply("none");
        } else {
            DWORD_PTR ignored = 0;
            SendMessageTimeoutA(window, WM_ENDSESSION, answer ? TRUE : FALSE, 0, SMTO_NORMAL, 30000, &ignored);
            reply("ok " + std::to_string(answer));
        }
    } else if (name == "power") {
        // A power broadcast, as Windows sends it around a sleep (PBT_... in the argument).
        HWND window = mainWindow();
        WPARAM event = std::strtoul(argument.c_str(), nullptr, 10);
        reply(window && PostMessageA(window, WM_POWERBROADCAST, event, 0) ? "ok" : "none");
    } else if (name == "close") {
        HWND window = mainWindow();
        reply(window && PostMessageA(window, WM_CLOSE, 0, 0) ? "ok" : "none");
    } else if (name == "menu") {
        replyMenu();
    } else if (name == "boxes") {
        replyBoxes(openBoxes());
    } else if (name == "wait-boxes") {
        char* rest = nullptr;
        size_t wanted = std::strtoul(argument.c_str(), &rest, 10);
        DWORD limit = GetTickCount() + std::strtoul(rest, nullptr, 10);
        std::vector<Box> boxes = openBoxes();
        while (boxes.size() < wanted && GetTickCount() < limit) {
            Sleep(50);
            boxes = openBoxes();
        }
        replyBoxes(boxes);
    } else if (name == "press") {
        char* rest = nullptr;
        auto box = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(argument.c_str(), &rest, 10)));
        int id = static_cast<int>(std::strtol(rest, nullptr, 10));
        HWND button = GetDlgItem(box, id);
        bool posted = button && PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                                             reinterpret_cast<LPARAM>(button));
        reply(posted ? "ok" : "none");
    } else if (name == "wait-options") {
        DWORD limit = GetTickCount() + std::strtoul(argument.c_str(), nullptr, 10);
        HWND dialog = optionsDialog();
        while (!dialog && GetTickCount() < limit) {
            Sleep(50);
            dialog = optionsDialog();
        }
        reply(dialog ? "ok " + std::to_string(reinterpret_cast<uintptr_t>(dialog)) : "timeout");
    } else if (name == "controls") {
        replyControls(handleArgument(argument, nullptr));
    } else if (name == "set" || name == "check") {
        char* rest = nullptr;
        HWND dialog = handleArgument(argument, &rest);
        int id = static_cast<int>(std::strtol(rest, &rest, 10));
        std::string value = *rest == ' ' ? rest + 1 : rest;
        HWND control = GetDlgItem(dialog, id);
        DWORD_PTR ignored = 0;
        bool sent = control && (name == "set"
            ? SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()), SMTO_NORMAL,
                                  5000, &ignored)
            : SendMessageTimeoutA(control, BM_SETCHECK, value == "1" ? BST_CHECKED : BST_UNCHECKED, 0, SMTO_NORMAL,
                                  5000, &ignored));
        reply(sent ? "ok" : "none");
    } else if (name == "hold" || name == "hold-read") {
        const bool reader = name == "hold-read";
        HANDLE file = CreateFileA(argument.c_str(), reader ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE,
                                  reader ? FILE_SHARE_READ : 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            reply("fail " + std::to_string(GetLastError()));
        } else {
            heldFiles[argument] = file;
            reply("ok");
        }
    } else if (name == "release") {
        auto held = heldFiles.find(argument);
        if (held == heldFiles.end()) {
            reply("none");
        } else {
            CloseHandle(held->second);
            heldFiles.erase(held);
            reply("ok");
        }
    } else if (name == "end-leftovers") {
        reply("ok " + std::to_string(endLeftovers()));
    } else if (name == "orientation") {
        reply(setDefaultOrientation(argument));
    } else {
        reply("unknown " + name);
    }
}

} // namespace

int main()
{
    // Answers are bytes; no CR may be added before the line feed.
    _setmode(_fileno(stdout), _O_BINARY);
    char line[4096];
    while (std::fgets(line, sizeof line, stdin)) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        size_t space = text.find(' ');
        std::string name = text.substr(0, space);
        std::string argument = space == std::string::npos ? "" : text.substr(space + 1);
        if (name == "quit") break;
        if (!name.empty()) runCommand(name, argument);
    }
    for (auto& held : heldFiles) CloseHandle(held.second);
    if (menuHook) UnhookWindowsHookEx(menuHook);
    return 0;
}
