#include "scoring/qso_store.h"

#include <algorithm>
#include <iterator>

#include "scoring/error_log.h"

namespace {

bool IsWarcBand(const std::string& band) { return band == "30m" || band == "17m" || band == "12m"; }

bool IsRefusedMode(const std::string& mode) { return mode == "CW" || mode == "SSB"; }

// Texts from the host never hold a NUL, so it separates the key's parts.
std::string CallBandKey(const std::string& call, const std::string& band) {
  std::string key = call;
  key += '\0';
  key += band;
  return key;
}

std::string MatchKey(const std::string& call, const std::string& band, const std::string& mode) {
  std::string key = CallBandKey(call, band);
  key += '\0';
  key += mode;
  return key;
}

void Decrement(std::unordered_map<std::string, std::size_t>& counts, const std::string& key) {
  auto it = counts.find(key);
  if (it != counts.end() && --it->second == 0) {
    counts.erase(it);
  }
}

}  // namespace

const CInfo& QsoStore::at(std::size_t i) const {
  auto it = records_.begin();
  std::advance(it, static_cast<std::ptrdiff_t>(i));
  return *it;
}

void QsoStore::Clear() {
  records_.clear();
  matchCounts_.clear();
  prefixCounts_.clear();
  byCallBand_.clear();
}

void QsoStore::Append(CInfo record) {
  ++matchCounts_[MatchKey(record.m_call, record.m_band, record.m_mode)];
  ++prefixCounts_[record.m_prefix];
  const std::string key = CallBandKey(record.m_call, record.m_band);
  records_.push_back(std::move(record));
  byCallBand_[key].push_back(std::prev(records_.end()));
}

std::size_t QsoStore::CountMatches(const std::string& call, const std::string& band,
                                   const std::string& mode) const {
  auto it = matchCounts_.find(MatchKey(call, band, mode));
  return it == matchCounts_.end() ? 0 : it->second;
}

bool QsoStore::HasPrefix(const std::string& prefix) const {
  return prefixCounts_.count(prefix) != 0;
}

bool QsoStore::RemoveFirst(const std::string& call, const std::string& band) {
  auto found = byCallBand_.find(CallBandKey(call, band));
  if (found == byCallBand_.end()) {
    return false;
  }
  const Records::iterator victim = found->second.front();
  found->second.pop_front();
  if (found->second.empty()) {
    byCallBand_.erase(found);
  }
  Decrement(matchCounts_, MatchKey(victim->m_call, victim->m_band, victim->m_mode));
  Decrement(prefixCounts_, victim->m_prefix);
  records_.erase(victim);
  return true;
}

int32_t KhzFromHertz(uint32_t hertz) { return static_cast<int32_t>(hertz / 1000u); }

int AddQso(QsoStore& store, BandList& bands, ErrorLog& log, const std::string& ownCall,
           CInfo qso) {
  if (std::find(bands.begin(), bands.end(), qso.m_band) == bands.end()) {
    bands.push_back(qso.m_band);
  }
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
  // reported twice, as the log checkers expect.
  const std::size_t matches = store.CountMatches(qso.m_call, qso.m_band, qso.m_mode);
  if (matches > 0) {
    const std::string line = ErrorLogLine(qso, ownCall, kMsgDupe);
    for (std::size_t i = 0; i < matches; ++i) {
      log.Append(line);
    }
    qso.m_isDupe = 1;
  }
  store.Append(std::move(qso));
  return 1;
}
