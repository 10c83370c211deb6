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

// The program's real main window with its menu bar on a 1000 x 700 screen,
// through the shell seam, as the program opens it; closed again with its
// pens, menus and seam.
bool openRealMainWindow();
void closeRealMainWindow();

// The local date and time as the log writes it, "dd.mm.yyyy hh:mm".
std::string localStampNow();

// Points this test program's import of one system function (by name) at a
// stand-in for the life of the object, so a test can make a call fail.
class ImportPatch {
public:
    ImportPatch(const char* function, void* standIn);
    ~ImportPatch();
    bool applied() const { return slot_ != nullptr; }
    void* original() const { return original_; }

private:
    void** slot_ = nullptr;
    void* original_ = nullptr;
};

// What a drawing routine really emitted: its GDI calls recorded into an
// enhanced metafile and read back as shapes, with the pen and brush in effect.
struct TracedPen {
    UINT style;
    LONG width;
    COLORREF colour;
};
struct TracedLine {
    POINT from, to;
    TracedPen pen;
};
struct TracedText {
    POINT at;
    std::string text;
};
struct TracedRectangle {
    RECT box;
    TracedPen pen;
    COLORREF brushColour;
};
struct MetafileTrace {
    // Calls draw with a fresh metafile device context.
    template <typename Draw>
    explicit MetafileTrace(Draw draw)
    {
        HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
        draw(dc);
        read(CloseEnhMetaFile(dc));
    }
    std::vector<TracedLine> lines;
    std::vector<TracedText> texts;
    std::vector<POINT> moves;
    std::vector<POINT> pixels;
    std::vector<COLORREF> pixelColours;  // one per pixel
    std::vector<TracedRectangle> rectangles;

private:
    void read(HENHMETAFILE metafile);
};
