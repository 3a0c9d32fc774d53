#include "tools/check/check_contacts.h"

#include "contest/bands.h"
#include "contest/mode_groups.h"
#include "tools/common/contest_time.h"
#include "tools/common/wpx_prefix.h"

namespace {
}

const std::vector<HostContact>& HostQsos::Of(const Station& station,
                                             const std::vector<LineVerdict>* verdicts,
                                             const CheckSettings& settings) {
  qsos_.clear();
  for (int i = station.firstQso; i < station.firstQso + station.qsoCount; ++i) {
    if (verdicts != nullptr &&
        !KeptForScore((*verdicts)[static_cast<std::size_t>(i)].verdict, settings)) {
      continue;
    }
    const LoggedQso& q = logs_.qsos[static_cast<std::size_t>(i)];
    HostContact h;
    h.call = logs_.texts.Text(q.call);
    h.band = std::string(kOperatorBands[q.band].label);
    h.mode = std::string(kModeGroups[q.group].modes[q.code].name);
    h.nrSent = logs_.texts.Text(q.sent);
    h.nrRcvd = logs_.texts.Text(q.rcvd);
    h.prefix = PrefixOf(q.call);
    h.hertz = static_cast<unsigned int>(q.khz) * 1000u;
    h.time = HostDateTimeOfMinute(q.minute);
    qsos_.push_back(std::move(h));
  }
  return qsos_;
}

const std::string& HostQsos::PrefixOf(int callText) {
  std::string& prefix = prefixes_[static_cast<std::size_t>(callText)];
  if (prefix.empty()) {
    prefix = WpxPrefix(logs_.texts.Text(callText));
  }
  return prefix;
}
