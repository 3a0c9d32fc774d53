#include "scoring/qso_store.h"

#include <algorithm>

#include "scoring/error_log.h"

namespace {

bool IsWarcBand(const std::string& band) { return band == "30m" || band == "17m" || band == "12m"; }

bool IsRefusedMode(const std::string& mode) { return mode == "CW" || mode == "SSB"; }

}  // namespace

std::size_t QsoStore::CountMatches(const std::string& call, const std::string& band,
                                   const std::string& mode) const {
  return static_cast<std::size_t>(std::count_if(records_.begin(), records_.end(), [&](const CInfo& r) {
    return r.m_call == call && r.m_band == band && r.m_mode == mode;
  }));
}

bool QsoStore::HasPrefix(const std::string& prefix) const {
  return std::any_of(records_.begin(), records_.end(),
                     [&](const CInfo& r) { return r.m_prefix == prefix; });
}

bool QsoStore::RemoveFirst(const std::string& call, const std::string& band) {
  auto it = std::find_if(records_.begin(), records_.end(),
                         [&](const CInfo& r) { return r.m_call == call && r.m_band == band; });
  if (it == records_.end()) {
    return false;
  }
  records_.erase(it);
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
