// stats-robot: the sponsor's log robot. Stations upload their logs on a web
// page and are answered at once, with a receipt or every problem listed; the
// public sees the logs received; the sponsor takes the logs and publishes the
// results of stats-check from a back office. All state lives in DIR/robot.db.
//
// Exit codes: 0 done (served until stopped, password set, exported), 1 the
// data folder, the plug-in, the password or the address could not be used,
// 2 the command line could not be used.
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "platform/program.h"
#include "plugin_scorer.h"
#include "publish.h"
#include "robot_options.h"
#include "robot_security.h"
#include "robot_server.h"
#include "robot_store.h"

#ifndef STATS_PLUGIN_FILE_NAME
#error "the build names the plug-in's file"
#endif

namespace {

namespace fs = std::filesystem;

constexpr char kProgram[] = "stats-robot";
constexpr std::size_t kMinPasswordChars = 10;

enum ExitCode { kDone = 0, kUnusable = 1, kBadCommandLine = 2 };

int Fail(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
  return kUnusable;
}

// A line from standard input, not echoed when a person types it.
std::string ReadSecretLine(const char* prompt) {
  const bool terminal = isatty(STDIN_FILENO) != 0;
  termios saved{};
  if (terminal) {
    std::fprintf(stderr, "%s", prompt);
    tcgetattr(STDIN_FILENO, &saved);
    termios quiet = saved;
    quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
    tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
  }
  std::string line;
  std::getline(std::cin, line);
  if (terminal) {
    tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    std::fprintf(stderr, "\n");
  }
  if (!line.empty() && line.back() == '\r') {
    line.pop_back();
  }
  return line;
}

int SetPassword(RobotStore& store) {
  const std::string password = ReadSecretLine("New password for the back office: ");
  if (password.size() < kMinPasswordChars) {
    return Fail("a password has at least " + std::to_string(kMinPasswordChars) +
                " characters; none was set");
  }
  if (isatty(STDIN_FILENO) != 0 && ReadSecretLine("The same again: ") != password) {
    return Fail("the two passwords differ; none was set");
  }
  store.SetSetting("password", HashPassword(password));
  std::fprintf(stderr, "%s: the back office's password is set\n", kProgram);
  return kDone;
}

int Serve(const RobotOptions& options, RobotStore& store, const fs::path& data) {
  // SIGINT and SIGTERM end the serving from a thread of their own; every
  // other thread starts with them blocked.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  const std::string pluginPath = options.pluginPath.empty()
                                     ? ExecutableFolder() + STATS_PLUGIN_FILE_NAME
                                     : fs::absolute(options.pluginPath).string();
  PluginScorer scorer;
  std::string error;
  if (!scorer.Start(pluginPath, error)) {
    return Fail(error);
  }
  RobotConfig config;
  config.period.startMinute = options.startMinute;
  config.period.endMinute = options.endMinute;
  config.deadlineMinute = options.deadlineMinute;
  config.threads = options.threads;
  config.uploadsPerHour = options.uploadsPerHour;
  config.loginsPerQuarter = options.loginsPerQuarter;
  config.behindProxy = options.behindProxy;
  config.publish.workFolder = data / "publishing";
  config.publish.checkerPath = options.checkerPath.empty()
                                   ? ExecutableFolder() + "stats-check"
                                   : fs::absolute(options.checkerPath).string();
  config.publish.pluginPath = pluginPath;
  config.publish.startMinute = options.startMinute;
  config.publish.endMinute = options.endMinute;
  RobotServer server(config, store, scorer);
  if (!server.Bind(options.host, options.port, error)) {
    return Fail(error);
  }
  std::thread stopper([&server, stopSignals] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.Stop();
  });
  std::printf("%s: listening on http://%s:%d/ (data in %s)\n", kProgram,
              options.host.find(':') != std::string::npos ? ("[" + options.host + "]").c_str()
                                                           : options.host.c_str(),
              server.Port(), data.c_str());
  std::fflush(stdout);
  server.Run();
  // The stopper still waits when the serving ended for another reason.
  pthread_kill(stopper.native_handle(), SIGTERM);
  stopper.join();
  std::fprintf(stderr, "%s: stopped\n", kProgram);
  return kDone;
}

int Main(const RobotOptions& options) {
  if (!SecurityReady()) {
    return Fail("the system's random source cannot be used");
  }
  std::error_code ec;
  const fs::path data = fs::absolute(options.dataDir, ec);
  fs::create_directories(data, ec);
  if (ec || !fs::is_directory(data)) {
    return Fail("cannot use " + options.dataDir + " as the data folder");
  }
  RobotStore store;
  std::string error;
  if (!store.Open((data / "robot.db").string(), error)) {
    return Fail(error);
  }
  switch (options.command) {
    case RobotOptions::Command::kSetPassword:
      return SetPassword(store);
    case RobotOptions::Command::kExport: {
      int stations = 0;
      if (!ExportLatest(store, options.exportDir, error, &stations)) {
        return Fail(error);
      }
      std::fprintf(stderr, "%s: %d stations' latest logs written to %s\n", kProgram, stations,
                   options.exportDir.c_str());
      return kDone;
    }
    case RobotOptions::Command::kServe:
      break;
  }
  return Serve(options, store, data);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    RobotOptions options;
    std::string message;
    switch (ParseRobotOptions(std::vector<std::string>(argv + 1, argv + argc), options, message)) {
      case CommandLine::kHelp:
        std::fputs(message.c_str(), stdout);
        return kDone;
      case CommandLine::kUnusable:
        std::fprintf(stderr, "%s: %s (see %s --help)\n", kProgram, message.c_str(), kProgram);
        return kBadCommandLine;
      case CommandLine::kRun:
        break;
    }
    return Main(options);
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
}
