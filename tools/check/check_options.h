// The command line of stats-check. Pure; safe on any thread.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/common/command_line.h"

struct CheckOptions {
  std::string outDir;
  std::vector<std::string> submissions;  // one folder per station
  int windowMinutes = 10;
  bool removeUniques = false;
  bool privateUbn = false;         // station pages and UBN lists go to DIR-private
  std::optional<int> startMinute;  // minutes since 30 December 1899; empty: from the logs
  std::optional<int> endMinute;
  std::string pluginPath;  // empty: the library beside the program
};

// An end of the contest period, "YYYY-MM-DD" (the day's first minute, or its
// last for `lastMinuteOfDay`) or "YYYY-MM-DD HHMM", in the years a QSO line
// may carry, as minutes since 30 December 1899; empty for anything else.
std::optional<int> ParsePeriodEnd(const std::string& text, bool lastMinuteOfDay);

// Reads the arguments after the program name. kHelp puts the usage text in
// `message`, kUnusable a one-line reason.
CommandLine ParseCheckOptions(const std::vector<std::string>& args, CheckOptions& out,
                              std::string& message);
