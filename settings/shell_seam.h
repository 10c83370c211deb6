#pragma once
// What the layers below the window need of it, and the event log that every
// layer writes to. They never include the shell: the shell fills this table
// at start, tests fill it with their own. An
// empty entry does nothing, so code that runs before the window exists (or
// in a test that does not care) needs no checks of its own.
#include "settings/ui_text.h"

enum class MessageKind {
    Error,         // owned by the main window, error icon
    Notice,        // owned by the main window, OK button only
    ErrorUnowned,  // no owner: the menu stays live while it is open
    Information,   // no owner, information icon
};

// A message box, its caption by text id; callers name each argument:
// showShellMessage({.caption = txtPortCaption, .text = text, .kind = MessageKind::Error}).
struct ShellMessage {
    TextId caption;
    const char* text;
    MessageKind kind;
};

struct ShellSeam {
    void (*setTitle)(const char* text);
    void (*repaint)();
    void (*showMessage)(const ShellMessage& message);
    // A port found again after the start-up probe greyed it.
    void (*enablePortItem)(unsigned port);
    void (*beep)(unsigned type);
    // The storm warning sounds (flash the taskbar button, offer its
    // acknowledgement) or has fallen silent.
    void (*showAlarmSignal)(bool sounding);
    // Asks the message loop to end once it next takes a message.
    void (*endProgram)();
    // Appends a numbered event to monitor.err: every layer logs through here,
    // the byte-level code as the Win32 code.
    void (*logEvent)(int number);
};

inline ShellSeam shellSeam = {};

// Empties every entry.
inline void resetShellSeam() { shellSeam = ShellSeam{}; }

inline void setShellTitle(const char* text) { if (shellSeam.setTitle) shellSeam.setTitle(text); }
inline void repaintShell() { if (shellSeam.repaint) shellSeam.repaint(); }
inline void showShellMessage(const ShellMessage& message) { if (shellSeam.showMessage) shellSeam.showMessage(message); }
inline void enableShellPortItem(unsigned port) { if (shellSeam.enablePortItem) shellSeam.enablePortItem(port); }
inline void shellBeep(unsigned type) { if (shellSeam.beep) shellSeam.beep(type); }
inline void showShellAlarmSignal(bool sounding) { if (shellSeam.showAlarmSignal) shellSeam.showAlarmSignal(sounding); }
inline void endShellProgram() { if (shellSeam.endProgram) shellSeam.endProgram(); }
inline void logEvent(int number) { if (shellSeam.logEvent) shellSeam.logEvent(number); }
