#include "app/commands.h"

#include <windows.h>

void runCommand(unsigned id)
{
    switch (id) {
    case cmdQuit:
        // The window is destroyed during shutdown, after the loop.
        PostQuitMessage(0);
        break;
    default:
        break;
    }
}
