#include <unistd.h>

#include "tools/progress_line.h"

bool StderrIsTerminal() { return isatty(STDERR_FILENO) != 0; }
