// The plug-in's own copy of the contest log and the checks a QSO passes
// before it is stored.
//
// The store is changed only on the host's thread, by the exports, under the
// module lock; the panel thread reads it under the same lock.
#pragma once

#include <cstdint>
#include <list>
#include <memory_resource>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/ole_date_time.h"

class ErrorLog;

// One stored contact.
struct CInfo {
  std::string m_call;
  std::string m_extra1;
  std::string m_extra2;
  std::string m_band;
  std::string m_mode;
  std::string m_rstRcvd;
  std::string m_rstSent;
  std::string m_nrRcvd;
  std::string m_nrSent;
  std::string m_prefix;
  std::string m_extra3;
  int32_t m_freqKhz = 0;
  int32_t m_isDupe = 0;
  COleDateTime m_time;
};

using BandList = std::vector<std::string>;

// The QSO list in arrival order, duplicates included.
//
// The host replays the whole log at every pass and checks calls while the
// operator types, so the store keeps hash indexes beside the list: adding,
// removing, the duplicate count and the prefix look-up cost the same whatever
// the log's length. Every answer is the one a first-to-last walk would give.
class QsoStore {
 public:
  using Records = std::pmr::list<CInfo>;

  std::size_t size() const { return records_.size(); }
  bool empty() const { return records_.empty(); }
  // Arrival order; iterate, do not index.
  const Records& records() const { return records_; }
  // The record at a 0-based position, found by walking: for tests and tools.
  const CInfo& at(std::size_t i) const;

  void Clear();
  // Lists, indexes and counts the record. When memory runs out the store is
  // left as it was and the exception goes on.
  void Append(CInfo record);

  // Stored records with this call, band and mode (exact comparison).
  std::size_t CountMatches(const std::string& call, const std::string& band,
                           const std::string& mode) const;
  bool HasPrefix(const std::string& prefix) const;

  // Removes the first record with this call and band; false when none.
  // Never fails: a removal needs no memory.
  bool RemoveFirst(const std::string& call, const std::string& band);

  // Empty when the list, the call/band chains and the prefix counts agree;
  // otherwise what disagrees. A walk over everything: for tests and checks.
  std::string Inconsistency() const;

 private:
  // A call and band as views into the chain's first record: the key holds no
  // copies, and when that record goes the views move to the next one, whose
  // texts are equal, so the key's hash and place never change.
  struct CallBand {
    mutable std::string_view call;
    mutable std::string_view band;
    bool operator==(const CallBand& o) const { return call == o.call && band == o.band; }
  };
  struct CallBandHash {
    std::size_t operator()(const CallBand& k) const;
  };
  // A call and band's records in arrival order. Most have one record, which
  // costs no allocation beyond the map's own node.
  struct Chain {
    Records::iterator first;
    std::vector<Records::iterator> more;
    std::size_t taken = 0;  // entries of `more` already moved up to `first`
  };

  // Record and index nodes come from one pool that a reset hands back for the
  // next pass to reuse: the host replays the whole log every pass, and fresh
  // memory for every node each time costs more than the work on it.
  std::pmr::unsynchronized_pool_resource pool_;
  Records records_{&pool_};
  std::pmr::unordered_map<CallBand, Chain, CallBandHash> byCallBand_{&pool_};
  // prefix -> number of stored records carrying it.
  std::unordered_map<std::string, std::size_t> prefixCounts_;
};

// Frequency in kHz from the host's hertz: unsigned division, fraction dropped.
int32_t KhzFromHertz(uint32_t hertz);

// Empty when every stored record's band is in `bands` and no band is there
// twice; otherwise what disagrees.
std::string BandListInconsistency(const QsoStore& store, const BandList& bands);

// Checks and stores one contact (the work of AddData0). Returns 1 when stored
// (duplicate or not) and 0 when refused; refusals and each earlier duplicate
// match write one line to `log`. The band joins `bands` before any check.
// When memory runs out, store and bands are left as they were and the
// exception goes on.
int AddQso(QsoStore& store, BandList& bands, ErrorLog& log, const std::string& ownCall,
           CInfo qso);
