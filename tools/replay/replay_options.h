// The command line of stats-replay. Pure; safe on any thread.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/common/command_line.h"

struct CallCheck {
  std::string call;
  std::string band;
  std::string mode;
  std::string prefix;
};

struct ReplayOptions {
  std::string logPath;
  std::string pluginPath;              // empty: the library beside the program
  std::optional<std::string> ownCall;  // empty: the log's own
  std::optional<long> startDay;        // days since 30 December 1899
  std::optional<long> endDay;
  bool report = false;
  bool summary = false;      // also say what became of every record
  std::string outDir;        // empty: the current folder
  std::string cabrilloPath;  // empty: no Cabrillo log
  std::vector<CallCheck> checks;
};

// Reads the arguments after the program name. kHelp puts the usage text in
// `message`, kUnusable a one-line reason.
CommandLine ParseReplayOptions(const std::vector<std::string>& args, ReplayOptions& out,
                               std::string& message);

