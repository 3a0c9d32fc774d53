// The host's view of the QSOs of one station of a contest check: each
// claimed line as the host hands a contact to AddData0, prefixes by the WPX
// rules as the host works them out. Used on one thread; holds a view of the
// logs it was made for.
#pragma once

#include <string>
#include <vector>

#include "tools/check/check_results.h"
#include "tools/check/contest_logs.h"
#include "tools/common/host_contact.h"

class HostQsos {
 public:
  explicit HostQsos(const ContestLogs& logs) : logs_(logs), prefixes_(logs.texts.Size()) {}

  // Every line of the station, or with `verdicts` only those kept by the
  // check. Valid until the next call.
  const std::vector<HostContact>& Of(const Station& station,
                                     const std::vector<LineVerdict>* verdicts,
                                     const CheckSettings& settings);

 private:
  const std::string& PrefixOf(int callText);

  const ContestLogs& logs_;
  std::vector<std::string> prefixes_;
  std::vector<HostContact> qsos_;
};
