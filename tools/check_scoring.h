// The checked score, worked out by the plug-in library itself: each station's
// QSOs are played through ResetStats0, AddData0 and GetResult0 with the host's
// argument lists, as the replay command plays a log, so the table is the one
// the plug-in would show for that log.
//
// The plug-in writes its error log and settings relative to the current
// folder; the scorer moves the process into a temporary folder of its own for
// its lifetime and removes it afterwards. One scorer per process, used from one
// thread.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ole_date_time.h"
#include "tools/score_table.h"

// One QSO as the host passes it to AddData0.
struct PlayedQso {
  std::string call;
  std::string band;  // the host's band name, "20m"
  std::string mode;  // the host's mode name, "BPSK31"
  std::string nrSent;
  std::string nrRcvd;
  std::string prefix;
  unsigned int hertz = 0;
  COleDateTime time;
};

class CheckScoring {
 public:
  CheckScoring();
  ~CheckScoring();
  CheckScoring(const CheckScoring&) = delete;
  CheckScoring& operator=(const CheckScoring&) = delete;

  // Loads the library at `pluginPath` (an absolute path) and enters the
  // working folder. False, with the reason, when either fails.
  bool Open(const std::string& pluginPath, std::string& error);

  // One statistics pass over `qsos` in their order; empty when the result text
  // holds no score table.
  std::optional<ScoreTable> Score(const std::string& ownCall, std::vector<PlayedQso>& qsos,
                                  COleDateTime start, COleDateTime end);

 private:
  struct Plugin;
  std::filesystem::path home_;
  std::filesystem::path workFolder_;
  std::unique_ptr<Plugin> plugin_;
};
