// The checked score, worked out by the plug-in library itself: each station's
// QSOs are played through a plug-in session (reset, one AddData0 per QSO, the
// result, with the host's argument lists), as the replay command plays a log,
// so the table is the one the plug-in would show for that log.
//
// The plug-in writes its error log and settings relative to the current
// folder; the scorer moves the process into a temporary folder of its own for
// its lifetime and removes it afterwards. One scorer per process, used from one
// thread.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/ole_date_time.h"
#include "tools/common/host_contact.h"
#include "tools/common/plugin_session.h"
#include "tools/common/score_table.h"

class CheckScoring {
 public:
  CheckScoring() = default;
  ~CheckScoring();
  CheckScoring(const CheckScoring&) = delete;
  CheckScoring& operator=(const CheckScoring&) = delete;

  // Loads the library at `pluginPath` (an absolute path) and enters the
  // working folder. False, with the reason, when either fails.
  bool Open(const std::string& pluginPath, std::string& error);

  // One statistics pass over `qsos` in their order; empty when the result text
  // holds no score table.
  std::optional<tools::ScoreTable> Score(const std::string& ownCall, const std::vector<HostContact>& qsos,
                                  COleDateTime start, COleDateTime end);

 private:
  std::filesystem::path home_;
  std::filesystem::path workFolder_;
  PluginSession plugin_;
};
