// The command line of stats-robot. Pure; safe on any thread.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/common/command_line.h"

struct RobotOptions {
  enum class Command { kServe, kSetPassword, kExport };
  Command command = Command::kServe;
  std::string dataDir;
  std::string host = "127.0.0.1";
  int port = 8080;                    // 0: any free port (said on stdout)
  std::optional<int> startMinute;     // minutes since 30 December 1899, UTC
  std::optional<int> endMinute;
  std::optional<int> deadlineMinute;  // uploads are refused from this minute on
  int threads = 8;                    // workers answering requests
  int uploadsPerHour = 30;            // per address
  int loginsPerQuarter = 10;          // login attempts per address in 15 minutes
  bool behindProxy = false;           // trust X-Forwarded-For; cookies marked Secure
  std::string exportDir;
  std::string pluginPath;   // empty: the library beside the program
  std::string checkerPath;  // empty: stats-check beside the program
};

// Reads the arguments after the program name. kHelp puts the usage text in
// `message`, kUnusable a one-line reason.
CommandLine ParseRobotOptions(const std::vector<std::string>& args, RobotOptions& out,
                              std::string& message);
