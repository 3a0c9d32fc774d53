// The command line of stats-replay. Pure; safe on any thread.
#pragma once

#include <optional>
#include <string>
#include <vector>

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
  std::string outDir;        // empty: the current folder
  std::string cabrilloPath;  // empty: no Cabrillo log
  std::vector<CallCheck> checks;
  bool help = false;
};

extern const char kReplayUsage[];

// Reads the arguments after the program name. False, with a one-line reason in
// `error`, for a command line that cannot be used.
bool ParseReplayOptions(const std::vector<std::string>& args, ReplayOptions& out,
                        std::string& error);

// A date given as YYYY-MM-DD or YYYYMMDD, as days since 30 December 1899.
std::optional<long> ParseOptionDate(const std::string& text);
