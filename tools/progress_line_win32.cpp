#include <io.h>

#include <cstdio>

#include "tools/progress_line.h"

bool StderrIsTerminal() { return _isatty(_fileno(stderr)) != 0; }
