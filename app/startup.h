#pragma once
// Steps of start-up and shutdown that live in the shell.

bool registerMainWindowClass();
bool createMainWindow();
void checkFreeDiskSpace();
