// What the test host needs of the system beyond the library loader: the path
// form the system's loader accepts, whether the library exports the decorated
// names too, and the checks that drive the real windows.
#pragma once

#include <string>

#include "tools/common/entry_points.h"

// True where the library exports the decorated names beside the plain ones.
extern const bool kLibraryExportsDecoratedNames;

// An absolute path the system's library loader accepts for `path` as given on
// the command line.
std::string LoaderPath(const std::string& path);

// The GoogleTest checks that drive the real windows (header form, "Output"
// box, setup dialog) through the loaded entry points; where there are none,
// the calling test is skipped.
void RunWindowChecks(const PluginEntryPoints& stats);
