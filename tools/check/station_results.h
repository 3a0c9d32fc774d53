// What stats-check works out for each station beside its score: the
// verdicts counted, which lines keep their points, places overall and within
// a category, a clock that looks off and a claim that cannot be true. The
// scoring policy the texts and pages of check_results and results_page show.
//
// Pure functions; safe on any thread.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "tools/check/contest_logs.h"
#include "tools/check/log_matcher.h"
#include "tools/common/score_table.h"

struct CheckSettings {
  int windowMinutes = 10;
  bool removeUniques = false;
  // The contest period the lines were kept for, and where it came from ("the
  // command line", "the summary sheets" ...); empty ends are open.
  std::optional<int> startMinute;
  std::optional<int> endMinute;
  std::string periodSource;
};

struct StationResult {
  int station = 0;
  tools::ScoreTable claimed;
  bool claimedFromSheet = false;  // else worked out from its logs, unchecked
  std::string claimFault;         // why the sheet's figures cannot be true, or empty
  tools::ScoreTable checked;
  std::array<int, kVerdictCount> counts{};  // by Verdict
  int place = 0;
  int categoryPlace = 0;            // place among the stations of its category
  std::optional<int> clockMinutes;  // its clock against its partners', when clearly off
};

// A station's category for ranking: its summary sheet's CATEGORY-POWER when
// that is HIGH, LOW or QRP, else kOtherCategory.
inline constexpr char kOtherCategory[] = "not stated";
std::string CategoryOf(const Station& station);
// "in category HIGH", or for the other group what it holds.
// Gives each ranked station its place within its category (equal scores
// share one).
void PlaceInCategories(const ContestLogs& logs, std::vector<StationResult>& ranked);

// How many minutes a station's clock looks off against its partners: the
// median of (its time minus the partner's) over its QSOs paired with the
// partner's line (OK, BUSTED-EXCH) and its NILs' nearest lines of the worked
// station within two hours, when at least five of them say so, two thirds lie
// within five minutes of that median and it is at least five minutes.
// Positive: its clock runs ahead.
std::optional<int> ClockOffset(const ContestLogs& logs, const std::vector<LineVerdict>& verdicts,
                               int station);

// True when a station is credited with far more than it claims: its checked
// score exceeds a credible claim by more than a tenth (say, invented calls
// kept as UNIQUE that its sheet did not count).
bool CreditedFarAboveClaim(const StationResult& result);

// Whether a line stays in the log that the checked score is worked out from. A
// DUPE earns nothing: it is not played, so it cannot earn points when the QSO
// it repeats was removed.
bool KeptForScore(Verdict verdict, const CheckSettings& settings);

// Counts each station's verdicts into `results` (indexed by station).
void CountVerdicts(const ContestLogs& logs, const std::vector<LineVerdict>& verdicts,
                   std::vector<StationResult>& results);

// Sorts by checked score, highest first (equal scores by call), and gives
// places; equal scores share a place.
void RankStations(const ContestLogs& logs, std::vector<StationResult>& results);

// Why a claimed score table cannot be true (a negative figure, more prefixes
// than QSOs, a score other than QSOs times prefixes, more QSOs than any
// station makes), or empty.
std::string ClaimFault(const tools::ScoreTable& claimed);
