#include "records/working_files.h"

#include <string>

DeleteOutcome deleteWorkingFile(const char* name)
{
    // ".\" pins the name to the current folder, whatever its length.
    std::string path = std::string(".\\") + name;
    if (DeleteFileA(path.c_str())) return DeleteOutcome::Deleted;
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return DeleteOutcome::Missing;
    return DeleteOutcome::Refused;
}
