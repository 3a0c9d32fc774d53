#include "scoring/qso_store.h"

#include <algorithm>
#include <iterator>

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
  ++prefixCounts_[record.m_prefix];
  records_.push_back(std::move(record));
  const Records::iterator added = std::prev(records_.end());
  auto [chain, isNew] = byCallBand_.try_emplace(CallBand{added->m_call, added->m_band});
  if (isNew) {
    chain->second.first = added;
  } else {
    chain->second.more.push_back(added);
  }
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
