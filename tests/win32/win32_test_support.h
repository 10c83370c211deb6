#pragma once
// Helpers for tests that run the real Win32 code under Wine.
#include <windows.h>

#include <string>
#include <vector>

// A fresh empty folder made the current directory for the life of the object.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    std::string read(const char* name) const;
    void write(const char* name, const std::string& bytes) const;
    bool exists(const char* name) const;

private:
    std::string previous_;
    std::string path_;
};

// Answers every message box this process opens (with OK, or the button given)
// from a second thread, and keeps what each box said.
class BoxAnswerer {
public:
    struct Seen {
        std::string caption;
        std::string text;
    };
    BoxAnswerer();
    ~BoxAnswerer();
    std::vector<Seen> seen();

private:
    static DWORD WINAPI run(void* self);
    HANDLE thread_;
    CRITICAL_SECTION lock_;
    volatile LONG stop_ = 0;
    std::vector<Seen> seen_;
};

// Removes a quit message that fatalError left in this thread's queue.
void discardQuitMessage();

// The local date and time as the log writes it, "dd.mm.yyyy hh:mm".
std::string localStampNow();
