// The robot's web server (cpp-httplib): the upload form and its check, the
// logs received, the sponsor's back office and the published results.
//
// Requests are answered by a fixed number of worker threads; connections
// beyond those wait in a bounded queue (and then in the system's), each read
// and write has a timeout, and a request larger than kMaxRequestBytes is
// answered 413 unread. Every answer carries a content security policy and
// nosniff; nothing a request holds is ever used as a path.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "publish.h"
#include "upload_check.h"

class RobotStore;
class PluginScorer;

struct RobotConfig {
  ContestPeriod period;
  std::optional<int> deadlineMinute;  // minutes since 30 December 1899, UTC
  int threads = 8;
  int uploadsPerHour = 30;
  int loginsPerQuarter = 10;
  bool behindProxy = false;
  PublishSettings publish;
  // Seconds since 1970; the system's clock when empty (tests set their own).
  std::function<std::int64_t()> now;
};

class RobotServer {
 public:
  RobotServer(RobotConfig config, RobotStore& store, PluginScorer& scorer);
  ~RobotServer();
  RobotServer(const RobotServer&) = delete;
  RobotServer& operator=(const RobotServer&) = delete;

  // Binds to `host` and `port` (0: a free port). False, with the reason.
  bool Bind(const std::string& host, int port, std::string& error);
  int Port() const;
  // Answers requests until Stop() is called (from any thread).
  void Run();
  void Stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
