// An ADIF log read for a replay: the contacts the host would have passed, in
// log order, with the warnings about what could not be used as given, and the
// contest days the log spans. Safe on any thread.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/ole_date_time.h"
#include "tools/replay/adif.h"
#include "tools/common/host_contact.h"

struct ReplayLog {
  AdifLog adif;                           // as read; its warnings moved out
  std::vector<ReplayedContact> contacts;  // the records the host could log
  std::vector<AdifWarning> warnings;      // in line order
};

// Reads and maps the log at `path`. False, with a sentence saying why in
// `error`, when the file cannot be read.
bool ReadReplayLog(const std::string& path, ReplayLog& out, std::string& error);

// The contest's first and last day as the host passes them to ResetStats0:
// those given, else the first and last day of a contact with a valid time, else
// a null date-time.
struct ContestDays {
  COleDateTime start;
  COleDateTime end;
};
ContestDays ContestDaysOf(const std::vector<ReplayedContact>& contacts,
                          std::optional<long> startDay, std::optional<long> endDay);
