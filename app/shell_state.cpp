#include "app/shell_state.h"

HINSTANCE instanceHandle = nullptr;
HWND mainWindow = nullptr;
int screenWidth = 0;
int screenHeight = 0;
