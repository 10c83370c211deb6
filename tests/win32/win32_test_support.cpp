#include "win32_test_support.h"

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
