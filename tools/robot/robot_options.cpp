#include "robot_options.h"

#include <CLI/CLI.hpp>

#include "tools/check/check_options.h"

namespace {

constexpr char kDateForm[] = "YYYY-MM-DD or \"YYYY-MM-DD HHMM\" in the years 1900 to 2099";

bool ParseListen(const std::string& text, std::string& host, int& port) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 == text.size() ||
      text.size() - colon - 1 > 5) {
    return false;
  }
  int value = 0;
  for (std::size_t i = colon + 1; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') {
      return false;
    }
    value = value * 10 + (text[i] - '0');
  }
  if (value > 65535) {
    return false;
  }
  host = text.substr(0, colon);
  if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
    host = host.substr(1, host.size() - 2);
  }
  port = value;
  return true;
}

bool ParseMinute(const std::string& option, const std::string& text, bool lastMinuteOfDay,
                 std::optional<int>& out, std::string& message) {
  if (text.empty()) {
    return true;
  }
  out = ParsePeriodEnd(text, lastMinuteOfDay);
  if (!out) {
    message = option + ": '" + text + "' is not " + kDateForm;
    return false;
  }
  return true;
}

}  // namespace

CommandLine ParseRobotOptions(const std::vector<std::string>& args, RobotOptions& out,
                              std::string& message) {
  out = RobotOptions();
  CLI::App app(
      "The sponsor's log robot of the KOVA Brawlcup Digital Prefix Contest: a web\n"
      "server where stations upload their logs and are checked at once, with the\n"
      "public list of logs received and the sponsor's back office.",
      "stats-robot");
  app.footer(
      "Commands (after the options):\n"
      "  set-password   sets the back office's password, read from standard input\n"
      "  export OUT     writes each station's latest files into OUT/<CALL>/, folders\n"
      "                 that stats-check reads\n"
      "Without a command the robot serves until it is stopped (SIGINT or SIGTERM).\n"
      "Exit codes: 0 done; 1 the data folder, the plug-in or the address could not\n"
      "be used; 2 the command line could not be used.");
  std::string listen;
  std::string start;
  std::string end;
  std::string deadline;
  std::vector<std::string> command;
  app.add_option("--data", out.dataDir, "folder of the robot's database (made when missing)")
      ->type_name("DIR")
      ->required();
  app.add_option("--listen", listen, "address and port to answer on (default 127.0.0.1:8080)")
      ->type_name("HOST:PORT");
  app.add_option("--start", start, "contest start, YYYY-MM-DD or \"YYYY-MM-DD HHMM\" (UTC);\n"
                                   "earlier QSO lines refuse an upload")
      ->type_name("DATE");
  app.add_option("--end", end, "contest end, YYYY-MM-DD (to its last minute) or\n"
                               "\"YYYY-MM-DD HHMM\"; later QSO lines refuse an upload")
      ->type_name("DATE");
  app.add_option("--deadline", deadline, "last minute uploads are taken, \"YYYY-MM-DD HHMM\" (UTC)")
      ->type_name("DATE");
  app.add_option("--threads", out.threads, "workers answering requests, 1 to 256")
      ->check(CLI::Range(1, 256).description(""))
      ->capture_default_str();
  app.add_option("--uploads-per-hour", out.uploadsPerHour,
                 "uploads taken from one address in an hour")
      ->check(CLI::Range(1, 1000000).description(""))
      ->capture_default_str();
  app.add_option("--logins-per-quarter", out.loginsPerQuarter,
                 "login attempts taken from one address in 15 minutes")
      ->check(CLI::Range(1, 1000).description(""))
      ->capture_default_str();
  app.add_flag("--behind-proxy", out.behindProxy,
               "a reverse proxy on this machine forwards the requests:\n"
               "addresses from X-Forwarded-For, cookies only over HTTPS");
  app.add_option("--plugin", out.pluginPath, "the plug-in library that scores the logs")
      ->type_name("PATH");
  app.add_option("--checker", out.checkerPath, "the stats-check program that publishes")
      ->type_name("PATH");
  app.add_option("COMMAND", command, "")->type_name("")->expected(0, 2);
  const CommandLine result = ParseCommandLine(app, args, message);
  if (result != CommandLine::kRun) {
    return result;
  }
  if (!command.empty() && command[0] == "set-password" && command.size() == 1) {
    out.command = RobotOptions::Command::kSetPassword;
  } else if (!command.empty() && command[0] == "export") {
    if (command.size() != 2 || command[1].empty()) {
      message = "export: the folder to write into is missing";
      return CommandLine::kUnusable;
    }
    out.command = RobotOptions::Command::kExport;
    out.exportDir = command[1];
  } else if (!command.empty()) {
    message = "unexpected argument " + command.back();
    return CommandLine::kUnusable;
  }
  if (!listen.empty() && !ParseListen(listen, out.host, out.port)) {
    message = "--listen: '" + listen + "' is not HOST:PORT";
    return CommandLine::kUnusable;
  }
  if (!ParseMinute("--start", start, false, out.startMinute, message) ||
      !ParseMinute("--end", end, true, out.endMinute, message) ||
      !ParseMinute("--deadline", deadline, true, out.deadlineMinute, message)) {
    return CommandLine::kUnusable;
  }
  if (out.startMinute && out.endMinute && *out.endMinute < *out.startMinute) {
    message = "--end lies before --start";
    return CommandLine::kUnusable;
  }
  return CommandLine::kRun;
}
