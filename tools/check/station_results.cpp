#include "tools/check/station_results.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "contest/mode_groups.h"

namespace {

// More QSOs than this in one score column no station makes in a contest.
constexpr std::int64_t kMostQsosPerColumn = 1000000;

}  // namespace

std::string CategoryOf(const Station& station) {
  for (const char* known : {"HIGH", "LOW", "QRP"}) {
    if (station.category == known) {
      return known;
    }
  }
  return kOtherCategory;
}

void PlaceInCategories(const ContestLogs& logs, std::vector<StationResult>& ranked) {
  struct Last {
    int count = 0;
    std::int64_t score = 0;
    int place = 0;
  };
  std::map<std::string, Last> last;
  for (StationResult& r : ranked) {
    Last& l = last[CategoryOf(logs.StationAt(r.station))];
    ++l.count;
    const std::int64_t score = r.checked.TotalScore();
    if (l.count == 1 || score != l.score) {
      l.place = l.count;
    }
    l.score = score;
    r.categoryPlace = l.place;
  }
}

std::optional<int> ClockOffset(const ContestLogs& logs, const std::vector<LineVerdict>& verdicts,
                               int station) {
  constexpr int kFarthest = 120;
  constexpr int kLeast = 5;
  const Station& s = logs.StationAt(station);
  std::vector<int> offsets;
  for (int i = s.firstQso; i < s.firstQso + s.qsoCount; ++i) {
    const LineVerdict& v = verdicts[static_cast<std::size_t>(i)];
    if (!ClassOf(v.verdict).showsClocks || v.other < 0) {
      continue;
    }
    const int offset = logs.QsoAt(i).minute - logs.QsoAt(v.other).minute;
    if (std::abs(offset) <= kFarthest) {
      offsets.push_back(offset);
    }
  }
  if (offsets.size() < static_cast<std::size_t>(kLeast)) {
    return std::nullopt;
  }
  std::nth_element(offsets.begin(), offsets.begin() + offsets.size() / 2, offsets.end());
  const int median = offsets[offsets.size() / 2];
  const auto near = std::count_if(offsets.begin(), offsets.end(),
                                  [&](int o) { return std::abs(o - median) <= 5; });
  if (std::abs(median) < kLeast || near * 3 < static_cast<std::ptrdiff_t>(offsets.size()) * 2) {
    return std::nullopt;
  }
  return median;
}

bool CreditedFarAboveClaim(const StationResult& r) {
  const std::int64_t claimed = r.claimed.TotalScore();
  return r.claimedFromSheet && r.claimFault.empty() && r.checked.TotalScore() * 10 > claimed * 11 &&
         r.checked.TotalScore() > claimed;
}

bool KeptForScore(Verdict verdict, const CheckSettings& settings) {
  switch (ClassOf(verdict).effect) {
    case VerdictEffect::kCounts:
    case VerdictEffect::kKept:
      return true;
    case VerdictEffect::kKeptUnlessPurged:
      return !settings.removeUniques;
    case VerdictEffect::kRemoved:
    case VerdictEffect::kNoPoints:
      return false;
  }
  return false;
}

void CountVerdicts(const ContestLogs& logs, const std::vector<LineVerdict>& verdicts,
                   std::vector<StationResult>& results) {
  for (std::size_t i = 0; i < logs.qsos.size(); ++i) {
    StationResult& r = results[static_cast<std::size_t>(logs.qsos[i].station)];
    ++r.counts[static_cast<std::size_t>(verdicts[i].verdict)];
  }
}

void RankStations(const ContestLogs& logs, std::vector<StationResult>& results) {
  std::sort(results.begin(), results.end(), [&](const StationResult& a, const StationResult& b) {
    const std::int64_t sa = a.checked.TotalScore();
    const std::int64_t sb = b.checked.TotalScore();
    return sa != sb ? sa > sb : logs.StationAt(a.station).call < logs.StationAt(b.station).call;
  });
  for (std::size_t i = 0; i < results.size(); ++i) {
    const bool tied =
        i > 0 && results[i].checked.TotalScore() == results[i - 1].checked.TotalScore();
    results[i].place = tied ? results[i - 1].place : static_cast<int>(i) + 1;
  }
}

std::string ClaimFault(const tools::ScoreTable& claimed) {
  for (std::size_t g = 0; g < claimed.qsos.size(); ++g) {
    const std::int64_t qsos = claimed.qsos[g];
    const std::int64_t prefixes = claimed.prefixes[g];
    const std::int64_t score = claimed.scores[g];
    const std::string column = std::string(kModeGroups[g].heading) + ": ";
    if (qsos < 0 || prefixes < 0 || score < 0) {
      return column + "a negative figure";
    }
    if (qsos > kMostQsosPerColumn) {
      return column + std::to_string(qsos) + " QSOs";
    }
    if (prefixes > qsos) {
      return column + "more prefixes than QSOs";
    }
    if (score != qsos * prefixes) {
      return column + "score " + std::to_string(score) + " is not " + std::to_string(qsos) +
             " QSOs times " + std::to_string(prefixes) + " prefixes";
    }
  }
  return std::string();
}
