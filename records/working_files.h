#pragma once
// Deleting a file of the working folder, and nothing else.
#include <windows.h>

enum class DeleteOutcome { Deleted, Missing, Refused };

// Deletes `name` in the current folder only: unlike a search by bare name, it
// can never reach a file of the same name beside the program or on the PATH.
// Missing: there was no such file there (as good as deleted). Refused: the
// file is there and stays (held by another program, read-only).
DeleteOutcome deleteWorkingFile(const char* name);
