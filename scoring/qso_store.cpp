#include "scoring/qso_store.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>
#include <vector>

#include "contest/bands.h"
#include "contest/mode_groups.h"
#include "scoring/error_log.h"

namespace {

bool IsWarcBand(const std::string& band) {
  return std::find(kRefusedBands.begin(), kRefusedBands.end(), band) != kRefusedBands.end();
}

bool IsRefusedMode(const std::string& mode) {
  return std::find(kRefusedModes.begin(), kRefusedModes.end(), mode) != kRefusedModes.end();
}

}  // namespace

const CInfo& QsoStore::at(std::size_t i) const {
  auto it = records_.begin();
  std::advance(it, static_cast<std::ptrdiff_t>(i));
  return *it;
}

void QsoStore::Clear() {
  byCallBand_.clear();
  prefixCounts_.clear();
  records_.clear();
}

std::size_t QsoStore::CallBandHash::operator()(const CallBand& k) const {
  const std::hash<std::string_view> h;
  return h(k.call) * 31u + h(k.band);
}

void QsoStore::Append(CInfo record) {
  // Every step that may run out of memory comes before any step that cannot
  // be taken back, and a failed step takes back the ones before it: a record
  // is either listed, indexed and counted, or not there at all.
  const auto [prefix, newPrefix] = prefixCounts_.try_emplace(record.m_prefix, 0);
  try {
    records_.push_back(std::move(record));
  } catch (...) {
    if (newPrefix) {
      prefixCounts_.erase(prefix);
    }
    throw;
  }
  const Records::iterator added = std::prev(records_.end());
  try {
    auto [chain, isNew] = byCallBand_.try_emplace(CallBand{added->m_call, added->m_band});
    if (isNew) {
      chain->second.first = added;
    } else {
      chain->second.more.push_back(added);
    }
  } catch (...) {
    records_.erase(added);
    if (newPrefix) {
      prefixCounts_.erase(prefix);
    }
    throw;
  }
  ++prefix->second;
}

std::size_t QsoStore::CountMatches(const std::string& call, const std::string& band,
                                   const std::string& mode) const {
  auto found = byCallBand_.find(CallBand{call, band});
  if (found == byCallBand_.end()) {
    return 0;
  }
  // A station is worked on one band in a handful of modes: the chain is short.
  const Chain& chain = found->second;
  std::size_t n = chain.first->m_mode == mode ? 1 : 0;
  for (std::size_t i = chain.taken; i < chain.more.size(); ++i) {
    n += chain.more[i]->m_mode == mode ? 1 : 0;
  }
  return n;
}

bool QsoStore::HasPrefix(const std::string& prefix) const {
  return prefixCounts_.count(prefix) != 0;
}

bool QsoStore::RemoveFirst(const std::string& call, const std::string& band) {
  auto found = byCallBand_.find(CallBand{call, band});
  if (found == byCallBand_.end()) {
    return false;
  }
  Chain& chain = found->second;
  const Records::iterator victim = chain.first;
  if (chain.taken < chain.more.size()) {
    chain.first = chain.more[chain.taken++];
    found->first.call = chain.first->m_call;
    found->first.band = chain.first->m_band;
    if (chain.taken * 2 >= chain.more.size()) {
      chain.more.erase(chain.more.begin(),
                       chain.more.begin() + static_cast<std::ptrdiff_t>(chain.taken));
      chain.taken = 0;
    }
  } else {
    byCallBand_.erase(found);
  }
  auto prefix = prefixCounts_.find(victim->m_prefix);
  if (prefix != prefixCounts_.end() && --prefix->second == 0) {
    prefixCounts_.erase(prefix);
  }
  records_.erase(victim);
  return true;
}

std::string QsoStore::Inconsistency() const {
  std::unordered_map<const CInfo*, std::size_t> position;
  std::unordered_map<std::string, std::size_t> prefixes;
  for (const CInfo& record : records_) {
    position.emplace(&record, position.size());
    ++prefixes[record.m_prefix];
  }
  if (prefixes != prefixCounts_) {
    return "the prefix counts differ from the records' prefixes";
  }
  std::size_t chained = 0;
  for (const auto& [key, chain] : byCallBand_) {
    std::vector<Records::iterator> members{chain.first};
    if (chain.taken > chain.more.size()) {
      return "a chain has taken more records than it holds";
    }
    members.insert(members.end(), chain.more.begin() + static_cast<std::ptrdiff_t>(chain.taken),
                   chain.more.end());
    std::size_t last = 0;
    for (std::size_t i = 0; i < members.size(); ++i) {
      const auto at = position.find(&*members[i]);
      if (at == position.end()) {
        return "a chain holds a record that is not listed";
      }
      if (members[i]->m_call != key.call || members[i]->m_band != key.band) {
        return "chain " + std::string(key.call) + "/" + std::string(key.band) +
               " holds a record of another call or band";
      }
      if (i > 0 && at->second <= last) {
        return "chain " + std::string(key.call) + "/" + std::string(key.band) +
               " is out of arrival order";
      }
      last = at->second;
    }
    if (key.call.data() != chain.first->m_call.data() ||
        key.band.data() != chain.first->m_band.data()) {
      return "a chain's key does not look into its first record";
    }
    chained += members.size();
  }
  if (chained != records_.size()) {
    return std::to_string(records_.size()) + " records listed but " + std::to_string(chained) +
           " chained";
  }
  return {};
}

std::string BandListInconsistency(const QsoStore& store, const BandList& bands) {
  for (std::size_t i = 0; i < bands.size(); ++i) {
    if (std::find(bands.begin() + static_cast<std::ptrdiff_t>(i) + 1, bands.end(), bands[i]) !=
        bands.end()) {
      return "band " + bands[i] + " is listed twice";
    }
  }
  for (const CInfo& record : store.records()) {
    if (std::find(bands.begin(), bands.end(), record.m_band) == bands.end()) {
      return "band " + record.m_band + " of a stored QSO is not listed";
    }
  }
  return {};
}

int32_t KhzFromHertz(uint32_t hertz) { return static_cast<int32_t>(hertz / 1000u); }

int AddQso(QsoStore& store, BandList& bands, ErrorLog& log, const std::string& ownCall,
           CInfo qso) {
  const bool newBand = std::find(bands.begin(), bands.end(), qso.m_band) == bands.end();
  if (newBand) {
    bands.push_back(qso.m_band);
  }
  try {
    qso.m_isDupe = 0;
    const char* refusal = nullptr;
    if (IsWarcBand(qso.m_band)) {
      refusal = kMsgNoContestBand;
    } else if (IsRefusedMode(qso.m_mode)) {
      refusal = kMsgNoContestMode;
    } else if (qso.m_nrRcvd.empty() || qso.m_nrSent.empty()) {
      refusal = kMsgNoRxNumber;
    }
    if (refusal != nullptr) {
      log.Append(ErrorLogLine(qso, ownCall, refusal));
      return 0;
    }

    // One line per earlier match: a contact that repeats two stored ones is
    // reported twice, as the log checkers expect. The line is made before the
    // QSO is stored, so that nothing can fail once it is.
    const std::size_t matches = store.CountMatches(qso.m_call, qso.m_band, qso.m_mode);
    std::string dupeLine;
    if (matches > 0) {
      dupeLine = ErrorLogLine(qso, ownCall, kMsgDupe);
      qso.m_isDupe = 1;
    }
    store.Append(std::move(qso));
    for (std::size_t i = 0; i < matches; ++i) {
      log.Append(dupeLine);
    }
    return 1;
  } catch (...) {
    if (newBand) {
      bands.pop_back();
    }
    throw;
  }
}
