#include "tools/log_matcher.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <unordered_map>

#include "tools/call_variants.h"

namespace {

using Key = std::uint64_t;

// Own station, worked call, band and score column in one number. Stations and
// texts are far below 2^32 and 2^26; bands and columns below 8.
Key KeyOf(std::int64_t station, std::int64_t callText, int band, int group) {
  return (static_cast<Key>(station) << 32) | (static_cast<Key>(callText) << 6) |
         (static_cast<Key>(band) << 3) | static_cast<Key>(group);
}

Key KeyOf(const LoggedQso& q) { return KeyOf(q.station, q.call, q.band, q.group); }

struct Range {
  std::uint32_t begin = 0;
  std::uint32_t end = 0;
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
    order_.resize(qsos_.size());
    keys_.resize(qsos_.size());
    for (std::size_t i = 0; i < qsos_.size(); ++i) {
      order_[i] = static_cast<std::int32_t>(i);
      keys_[i] = KeyOf(qsos_[i]);
    }
    std::sort(order_.begin(), order_.end(), [&](std::int32_t a, std::int32_t b) {
      const Key ka = keys_[static_cast<std::size_t>(a)];
      const Key kb = keys_[static_cast<std::size_t>(b)];
      if (ka != kb) {
        return ka < kb;
      }
      return Qso(a).minute != Qso(b).minute ? Qso(a).minute < Qso(b).minute : a < b;
    });
    ranges_.reserve(qsos_.size());
    loggers_.assign(static_cast<std::size_t>(logs_.texts.Size()), 0);
    std::int64_t lastStation = -1;
    std::int32_t lastCall = -1;
    for (std::uint32_t i = 0; i < order_.size();) {
      const Key key = keys_[static_cast<std::size_t>(order_[i])];
      std::uint32_t j = i + 1;
      while (j < order_.size() && keys_[static_cast<std::size_t>(order_[j])] == key) {
        ++j;
      }
      ranges_.emplace(key, Range{i, j});
      const LoggedQso& q = Qso(order_[i]);
      if (q.station != lastStation || q.call != lastCall) {
        ++loggers_[static_cast<std::size_t>(q.call)];
        lastStation = q.station;
        lastCall = q.call;
      }
      i = j;
    }
    paired_.assign(qsos_.size(), Pairing::kNone);
  }

  const Range* Find(Key key) const {
    const auto found = ranges_.find(key);
    return found != ranges_.end() ? &found->second : nullptr;
  }

  // Repeats of a call on a band and column: the first line read is the QSO,
  // the later ones are dupes, as the plug-in marks them in arrival order.
  void MarkDupes() {
    for (const auto& entry : ranges_) {
      const Range& r = entry.second;
      if (r.end - r.begin < 2) {
        continue;
      }
      const auto begin = order_.begin() + r.begin;
      const auto end = order_.begin() + r.end;
      const std::int32_t first = *std::min_element(begin, end);
      for (auto it = begin; it != end; ++it) {
        if (*it != first) {
          VerdictOf(*it).verdict = Verdict::kDupe;
          VerdictOf(*it).other = first;
        }
      }
    }
  }

  // Adds the pairings within the window between the lines of two ranges.
  void Collect(const Range& a, const Range& b, std::vector<Candidate>& out) const {
    std::uint32_t from = b.begin;
    for (std::uint32_t i = a.begin; i < a.end; ++i) {
      const std::int32_t x = order_[i];
      if (paired_[static_cast<std::size_t>(x)] != Pairing::kNone) {
        continue;
      }
      const int t = Qso(x).minute;
      while (from < b.end && Qso(order_[from]).minute < t - window_) {
        ++from;
      }
      for (std::uint32_t j = from; j < b.end && Qso(order_[j]).minute <= t + window_; ++j) {
        const std::int32_t y = order_[j];
        if (paired_[static_cast<std::size_t>(y)] == Pairing::kNone) {
          out.push_back(Candidate{std::abs(Qso(y).minute - t), x, y});
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
    for (const auto& entry : ranges_) {
      const LoggedQso& q = Qso(order_[entry.second.begin]);
      const int other = logs_.StationOfCall(q.call);
      // Each pair of stations once, from the lower one's side.
      if (other <= q.station) {
        continue;
      }
      const int ownCall = logs_.stations[static_cast<std::size_t>(q.station)].callText;
      if (const Range* back = Find(KeyOf(other, ownCall, q.band, q.group))) {
        Collect(entry.second, *back, candidates);
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
    for (const auto& entry : ranges_) {
      const Range& r = entry.second;
      if (std::all_of(order_.begin() + r.begin, order_.begin() + r.end, [&](std::int32_t i) {
            return paired_[static_cast<std::size_t>(i)] != Pairing::kNone;
          })) {
        continue;
      }
      const LoggedQso& q = Qso(order_[r.begin]);
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
          const int gap = std::abs(Qso(order_[j]).minute - q.minute);
          if (best < 0 || gap < best) {
            best = gap;
            v.other = order_[j];
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
  std::vector<std::int32_t> order_;
  std::vector<Key> keys_;
  std::unordered_map<Key, Range> ranges_;
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

std::string_view VerdictWord(Verdict verdict) {
  switch (verdict) {
    case Verdict::kOk:
      return "OK";
    case Verdict::kNil:
      return "NIL";
    case Verdict::kBustedCall:
      return "BUSTED-CALL";
    case Verdict::kBustedExch:
      return "BUSTED-EXCH";
    case Verdict::kUnique:
      return "UNIQUE";
    case Verdict::kUnchecked:
      return "UNCHECKED";
    case Verdict::kDupe:
      return "DUPE";
  }
  return "?";
}

bool SameSerial(std::string_view a, std::string_view b) {
  const long long x = SerialNumber(a);
  const long long y = SerialNumber(b);
  return x >= 0 && y >= 0 ? x == y : a == b;
}

std::vector<LineVerdict> MatchLogs(const ContestLogs& logs, int windowMinutes) {
  return Matcher(logs, windowMinutes).Run();
}
