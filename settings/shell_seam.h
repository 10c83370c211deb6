#pragma once
// What the layers below the window need of it. They never include the shell:
// the shell fills this table at start, tests fill it with their own. An
// empty entry does nothing, so code that runs before the window exists (or
// in a test that does not care) needs no checks of its own.
#include "settings/ui_text.h"

enum class MessageKind {
    Error,         // owned by the main window, error icon
    Notice,        // owned by the main window, OK button only
    ErrorUnowned,  // no owner: the menu stays live while it is open
    Information,   // no owner, information icon
};

struct ShellSeam {
    void (*setTitle)(const char* text);
    void (*repaint)();
    // A message box under the caption of that id.
    void (*showMessage)(TextId caption, const char* text, MessageKind kind);
    // A port found again after the start-up probe greyed it.
    void (*enablePortItem)(char portDigit);
    void (*beep)(unsigned type);
    // The storm warning sounds (flash the taskbar button, offer its
    // acknowledgement) or has fallen silent.
    void (*showAlarmSignal)(bool sounding);
    // Asks the message loop to end once it next takes a message.
    void (*endProgram)();
};

inline ShellSeam shellSeam = {};

// Empties every entry.
inline void resetShellSeam() { shellSeam = ShellSeam{}; }

inline void setShellTitle(const char* text) { if (shellSeam.setTitle) shellSeam.setTitle(text); }
inline void repaintShell() { if (shellSeam.repaint) shellSeam.repaint(); }
inline void showShellMessage(TextId caption, const char* text, MessageKind kind)
{
    if (shellSeam.showMessage) shellSeam.showMessage(caption, text, kind);
}
inline void showShellMessage(TextId text, TextId caption, MessageKind kind)
{
    showShellMessage(caption, uiText(text), kind);
}
inline void enableShellPortItem(char portDigit) { if (shellSeam.enablePortItem) shellSeam.enablePortItem(portDigit); }
inline void shellBeep(unsigned type) { if (shellSeam.beep) shellSeam.beep(type); }
inline void showShellAlarmSignal(bool sounding) { if (shellSeam.showAlarmSignal) shellSeam.showAlarmSignal(sounding); }
inline void endShellProgram() { if (shellSeam.endProgram) shellSeam.endProgram(); }
