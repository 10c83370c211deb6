#include "settings/shell_seam.h"

ShellSeam shellSeam = {};

void resetShellSeam() { shellSeam = ShellSeam{}; }
