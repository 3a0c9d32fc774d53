// Reading a tool's command line with CLI11: the one place that turns CLI11's
// outcome into what the programs act on (run, print the help, or refuse with
// a one-line reason and exit code 2). Each tool describes its options on a
// CLI::App of its own. Pure; safe on any thread.
#pragma once

#include <string>
#include <vector>

namespace CLI {
class App;
}

enum class CommandLine { kRun, kHelp, kUnusable };

// Parses `args` (the arguments after the program's name) with `app`. kHelp
// puts the help text in `message`, kUnusable a one-line reason: CLI11's, or
// for an argument no option or positional takes, "unknown option --x" or
// "unexpected argument x".
CommandLine ParseCommandLine(CLI::App& app, const std::vector<std::string>& args,
                             std::string& message);
