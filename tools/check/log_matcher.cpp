#include "tools/check/log_matcher.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <tuple>
#include <unordered_map>

#include "contest/bands.h"
#include "contest/mode_groups.h"
#include "tools/check/call_variants.h"

namespace {

using Key = std::uint64_t;

// Own station, worked call, band and score column in one number. Stations and
// texts are far below 2^32 and 2^26; bands and columns below 8, as the
// compiler checks.
constexpr int kGroupBits = 3;
constexpr int kBandBits = 3;
static_assert(kModeGroupCount <= (1 << kGroupBits), "a score column no longer fits its bits");
static_assert(kOperatorBands.size() <= (1u << kBandBits), "a band no longer fits its bits");
Key KeyOf(std::int64_t station, std::int64_t callText, int band, int group) {
  return (static_cast<Key>(station) << 32) |
         (static_cast<Key>(callText) << (kBandBits + kGroupBits)) |
         (static_cast<Key>(band) << kGroupBits) | static_cast<Key>(group);
}

Key KeyOf(const LoggedQso& q) { return KeyOf(q.station, q.call, q.band, q.group); }

// One line in the sorted index, with what the pairing reads of it.
struct Entry {
  Key key;
  std::int32_t minute;
  std::int32_t qso;
  bool operator<(const Entry& o) const {
    return std::tie(key, minute, qso) < std::tie(o.key, o.minute, o.qso);
  }
};

// The lines of one key: entries [begin, end) of the index.
struct Range {
  Key key = 0;
  std::uint32_t begin = 0;
  std::uint32_t end = 0;
};

// Key -> range, open addressing with linear probing: one probe is one cache
// line, where a node-based map costs an allocation per key and a miss per
// look-up.
class RangeTable {
 public:
  explicit RangeTable(const std::vector<Range>& ranges) : ranges_(ranges) {
    std::size_t size = 16;
    while (size < ranges.size() * 2) {
      size *= 2;
    }
    slots_.assign(size, kEmpty);
    mask_ = size - 1;
    for (std::size_t r = 0; r < ranges.size(); ++r) {
      std::size_t at = Hash(ranges[r].key);
      while (slots_[at] != kEmpty) {
        at = (at + 1) & mask_;
      }
      slots_[at] = static_cast<std::uint32_t>(r);
    }
  }

  const Range* Find(Key key) const {
    for (std::size_t at = Hash(key);; at = (at + 1) & mask_) {
      const std::uint32_t r = slots_[at];
      if (r == kEmpty) {
        return nullptr;
      }
      if (ranges_[r].key == key) {
        return &ranges_[r];
      }
    }
  }

 private:
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
  std::size_t Hash(Key key) const {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 20) & mask_;
  }

  const std::vector<Range>& ranges_;
  std::vector<std::uint32_t> slots_;
  std::size_t mask_ = 0;
};

// A possible pairing of two lines, the closest in time first; ties go to the
// earlier line so the outcome does not depend on the order of the work.
struct Candidate {
  std::int32_t gap;
  std::int32_t a;
  std::int32_t b;
  bool operator<(const Candidate& o) const {
    return std::tie(gap, a, b) < std::tie(o.gap, o.a, o.b);
  }
};

enum class Pairing : std::uint8_t { kNone, kSameCall, kMiscopied, kMiscopiedBy };

class Matcher {
 public:
  Matcher(const ContestLogs& logs, int window)
      : logs_(logs), window_(window), qsos_(logs.qsos), verdicts_(qsos_.size()) {}

  std::vector<LineVerdict> Run() {
    Index();
    MarkDupes();
    PairSameCalls();
    PairMiscopiedCalls();
    Decide();
    return std::move(verdicts_);
  }

 private:
  const LoggedQso& Qso(std::int32_t i) const { return qsos_[static_cast<std::size_t>(i)]; }
  LineVerdict& VerdictOf(std::int32_t i) { return verdicts_[static_cast<std::size_t>(i)]; }

  // Lines sorted by key, then time, then reading order; one range per key.
  void Index() {
    index_.resize(qsos_.size());
    for (std::size_t i = 0; i < qsos_.size(); ++i) {
      index_[i] = Entry{KeyOf(qsos_[i]), qsos_[i].minute, static_cast<std::int32_t>(i)};
    }
    std::sort(index_.begin(), index_.end());
    loggers_.assign(static_cast<std::size_t>(logs_.texts.Size()), 0);
    std::int64_t lastStation = -1;
    std::int32_t lastCall = -1;
    for (std::uint32_t i = 0; i < index_.size();) {
      const Key key = index_[i].key;
      std::uint32_t j = i + 1;
      while (j < index_.size() && index_[j].key == key) {
        ++j;
      }
      ranges_.push_back(Range{key, i, j});
      const LoggedQso& q = Qso(index_[i].qso);
      if (q.station != lastStation || q.call != lastCall) {
        ++loggers_[static_cast<std::size_t>(q.call)];
        lastStation = q.station;
        lastCall = q.call;
      }
      i = j;
    }
    paired_.assign(qsos_.size(), Pairing::kNone);
    table_ = std::make_unique<RangeTable>(ranges_);
  }

  const Range* Find(Key key) const { return table_->Find(key); }

  std::int32_t QsoAt(std::uint32_t position) const { return index_[position].qso; }

  // Repeats of a call on a band and column: the first line read is the QSO,
  // the later ones are dupes, as the plug-in marks them in arrival order.
  void MarkDupes() {
    for (const Range& r : ranges_) {
      if (r.end - r.begin < 2) {
        continue;
      }
      std::int32_t first = QsoAt(r.begin);
      for (std::uint32_t i = r.begin + 1; i < r.end; ++i) {
        first = std::min(first, QsoAt(i));
      }
      for (std::uint32_t i = r.begin; i < r.end; ++i) {
        if (QsoAt(i) != first) {
          VerdictOf(QsoAt(i)).verdict = Verdict::kDupe;
          VerdictOf(QsoAt(i)).other = first;
        }
      }
    }
  }

  // Adds the pairings within the window between the lines of two ranges.
  void Collect(const Range& a, const Range& b, std::vector<Candidate>& out) const {
    std::uint32_t from = b.begin;
    for (std::uint32_t i = a.begin; i < a.end; ++i) {
      const std::int32_t x = index_[i].qso;
      if (paired_[static_cast<std::size_t>(x)] != Pairing::kNone) {
        continue;
      }
      const int t = index_[i].minute;
      while (from < b.end && index_[from].minute < t - window_) {
        ++from;
      }
      for (std::uint32_t j = from; j < b.end && index_[j].minute <= t + window_; ++j) {
        const std::int32_t y = index_[j].qso;
        if (paired_[static_cast<std::size_t>(y)] == Pairing::kNone) {
          out.push_back(Candidate{std::abs(index_[j].minute - t), x, y});
        }
      }
    }
  }

  // Takes the pairings closest in time first; a line serves one QSO at most.
  void Take(std::vector<Candidate>& candidates, Pairing first, Pairing second) {
    std::sort(candidates.begin(), candidates.end());
    for (const Candidate& c : candidates) {
      if (paired_[static_cast<std::size_t>(c.a)] != Pairing::kNone ||
          paired_[static_cast<std::size_t>(c.b)] != Pairing::kNone) {
        continue;
      }
      paired_[static_cast<std::size_t>(c.a)] = first;
      paired_[static_cast<std::size_t>(c.b)] = second;
      // A dupe keeps pointing at the line it repeats.
      if (VerdictOf(c.a).verdict != Verdict::kDupe) {
        VerdictOf(c.a).other = c.b;
      }
      if (VerdictOf(c.b).verdict != Verdict::kDupe) {
        VerdictOf(c.b).other = c.a;
      }
    }
    candidates.clear();
  }

  void PairSameCalls() {
    std::vector<Candidate> candidates;
    for (const Range& r : ranges_) {
      const LoggedQso& q = Qso(QsoAt(r.begin));
      const int other = logs_.StationOfCall(q.call);
      // Each pair of stations once, from the lower one's side.
      if (other <= q.station) {
        continue;
      }
      const int ownCall = logs_.stations[static_cast<std::size_t>(q.station)].callText;
      if (const Range* back = Find(KeyOf(other, ownCall, q.band, q.group))) {
        Collect(r, *back, candidates);
        Take(candidates, Pairing::kSameCall, Pairing::kSameCall);
      }
    }
  }

  // A line still alone whose call is one edit from a station that sent a log,
  // against that station's lines still alone that hold this station's call.
  void PairMiscopiedCalls() {
    OneEditIndex senders;
    for (std::size_t s = 0; s < logs_.stations.size(); ++s) {
      senders.Add(static_cast<int>(s), logs_.stations[s].call);
    }
    std::unordered_map<std::int32_t, std::vector<int>> nearCache;
    std::vector<Candidate> candidates;
    for (const Range& r : ranges_) {
      bool alone = false;
      for (std::uint32_t i = r.begin; i < r.end && !alone; ++i) {
        alone = paired_[static_cast<std::size_t>(QsoAt(i))] == Pairing::kNone;
      }
      if (!alone) {
        continue;
      }
      const LoggedQso& q = Qso(QsoAt(r.begin));
      auto cached = nearCache.find(q.call);
      if (cached == nearCache.end()) {
        cached = nearCache.emplace(q.call, senders.Near(logs_.texts.Text(q.call))).first;
      }
      const int ownCall = logs_.stations[static_cast<std::size_t>(q.station)].callText;
      for (int station : cached->second) {
        if (station == q.station) {
          continue;
        }
        if (const Range* back = Find(KeyOf(station, ownCall, q.band, q.group))) {
          Collect(r, *back, candidates);
        }
      }
    }
    Take(candidates, Pairing::kMiscopied, Pairing::kMiscopiedBy);
  }

  void Decide() {
    for (std::size_t i = 0; i < qsos_.size(); ++i) {
      LineVerdict& v = verdicts_[i];
      if (v.verdict == Verdict::kDupe) {
        continue;
      }
      const LoggedQso& q = qsos_[i];
      switch (paired_[i]) {
        case Pairing::kSameCall:
        case Pairing::kMiscopiedBy: {
          const LoggedQso& o = Qso(v.other);
          v.verdict = SameSerial(logs_.texts.Text(q.rcvd), logs_.texts.Text(o.sent))
                          ? Verdict::kOk
                          : Verdict::kBustedExch;
          break;
        }
        case Pairing::kMiscopied:
          v.verdict = Verdict::kBustedCall;
          break;
        case Pairing::kNone:
          DecideAlone(q, v);
          break;
      }
    }
  }

  void DecideAlone(const LoggedQso& q, LineVerdict& v) const {
    const int worked = logs_.StationOfCall(q.call);
    if (worked >= 0) {
      v.verdict = Verdict::kNil;
      const int ownCall = logs_.stations[static_cast<std::size_t>(q.station)].callText;
      if (const Range* back = Find(KeyOf(worked, ownCall, q.band, q.group))) {
        int best = -1;
        for (std::uint32_t j = back->begin; j < back->end; ++j) {
          const int gap = std::abs(index_[j].minute - q.minute);
          if (best < 0 || gap < best) {
            best = gap;
            v.other = index_[j].qso;
          }
        }
      }
      return;
    }
    v.otherLoggers = loggers_[static_cast<std::size_t>(q.call)] - 1;
    v.verdict = v.otherLoggers > 0 ? Verdict::kUnchecked : Verdict::kUnique;
  }

  const ContestLogs& logs_;
  const int window_;
  const std::vector<LoggedQso>& qsos_;
  std::vector<LineVerdict> verdicts_;
  std::vector<Entry> index_;
  std::vector<Range> ranges_;  // in key order
  std::unique_ptr<RangeTable> table_;
  std::vector<std::int32_t> loggers_;  // by call text: how many stations logged it
  std::vector<Pairing> paired_;
};

// The value of a serial made of digits only, or -1.
long long SerialNumber(std::string_view s) {
  if (s.empty() || s.size() > 18) {
    return -1;
  }
  long long v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') {
      return -1;
    }
    v = v * 10 + (c - '0');
  }
  return v;
}

}  // namespace

bool SameSerial(std::string_view a, std::string_view b) {
  const long long x = SerialNumber(a);
  const long long y = SerialNumber(b);
  return x >= 0 && y >= 0 ? x == y : a == b;
}

std::vector<LineVerdict> MatchLogs(const ContestLogs& logs, int windowMinutes) {
  return Matcher(logs, windowMinutes).Run();
}
