#pragma once
// Handles of the application shell, shared by every Win32 file.
#include <windows.h>

extern HINSTANCE instanceHandle;
extern HWND mainWindow;
extern int screenWidth;
extern int screenHeight;

constexpr UINT_PTR timerIdentifier = 275;
constexpr UINT timerPeriodMs = 200;
