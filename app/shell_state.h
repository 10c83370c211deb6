#pragma once
// Handles of the application shell, shared by every Win32 file.
#include <windows.h>

inline HINSTANCE instanceHandle = nullptr;
inline HWND mainWindow = nullptr;
inline int screenWidth = 0, screenHeight = 0;
// The end of the run was done: at the loop's end, or when Windows ended the session.
inline bool runFinished = false;

constexpr UINT_PTR timerIdentifier = 275;
constexpr UINT timerPeriodMs = 200;
