// The plug-in library, played as stats-check plays it (CheckScoring), on a
// thread of its own: the library is the host's to call from one thread, and
// its module state holds one log at a time, so the upload workers queue their
// logs here and wait for the score.
//
// The scoring moves the process into a working folder of its own for the
// robot's lifetime: everything else the robot opens is named by an absolute
// path. Score() is safe on any thread.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/ole_date_time.h"
#include "tools/common/host_contact.h"
#include "tools/common/score_table.h"

class CheckScoring;

class PluginScorer {
 public:
  PluginScorer() = default;
  ~PluginScorer();
  PluginScorer(const PluginScorer&) = delete;
  PluginScorer& operator=(const PluginScorer&) = delete;

  // Starts the thread and loads the library at `pluginPath` there. False,
  // with the reason, when it cannot be loaded.
  bool Start(const std::string& pluginPath, std::string& error);

  // The plug-in's score table for the log; empty when its result holds none.
  std::optional<tools::ScoreTable> Score(const std::string& ownCall,
                                  const std::vector<HostContact>& contacts, COleDateTime first,
                                  COleDateTime last);

 private:
  void Run(const std::string& pluginPath);

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> jobs_;
  bool stopping_ = false;
  bool opened_ = false;
  bool openDone_ = false;
  std::string openError_;
  CheckScoring* scorer_ = nullptr;  // the thread's own, while it runs
  std::thread thread_;
};
