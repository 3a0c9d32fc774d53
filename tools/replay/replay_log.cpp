#include "tools/replay/replay_log.h"

#include <algorithm>
#include <utility>

#include "tools/replay/host_qso.h"
#include "tools/common/read_whole_file.h"

bool ReadReplayLog(const std::string& path, ReplayLog& out, std::string& error) {
  std::string bytes;
  std::string reason;
  if (!ReadWholeFile(path, bytes, reason)) {
    error = "cannot read the log " + path + ": " + reason;
    return false;
  }
  out = ReplayLog();
  out.adif = ParseAdif(bytes);
  out.warnings = std::move(out.adif.warnings);
  out.adif.warnings.clear();
  for (const AdifRecord& r : out.adif.records) {
    ReplayedContact c;
    if (MapRecord(r, c, out.warnings)) {
      c.record = r.number;
      out.contacts.push_back(std::move(c));
    }
  }
  std::stable_sort(out.warnings.begin(), out.warnings.end(),
                   [](const AdifWarning& a, const AdifWarning& b) { return a.line < b.line; });
  return true;
}

ContestDays ContestDaysOf(const std::vector<ReplayedContact>& contacts,
                          std::optional<long> startDay, std::optional<long> endDay) {
  std::optional<long> first = startDay;
  std::optional<long> last = endDay;
  for (const ReplayedContact& c : contacts) {
    if (c.time.m_status != COleDateTime::valid) {
      continue;
    }
    const long day = static_cast<long>(c.time.m_dt);
    if (!startDay && (!first || day < *first)) {
      first = day;
    }
    if (!endDay && (!last || day > *last)) {
      last = day;
    }
  }
  const COleDateTime noTime{0.0, COleDateTime::null};
  return ContestDays{first ? HostDateTime(*first) : noTime, last ? HostDateTime(*last) : noTime};
}
