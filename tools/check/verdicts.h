// The verdicts a claimed QSO line can get, each with every fact of it in one
// row: its word, what it does to the checked score, whether its line's partner
// shows the clocks' difference, its place in the count columns and what the
// results page says of it. The texts, the pages and the scoring derive all of
// it from this table; a new verdict is one row here and one rule in
// log_matcher.
//
// Constant data; safe on any thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

enum class Verdict : std::uint8_t {
  kOk,
  kNil,
  kBustedCall,
  kBustedExch,
  kUnique,
  kUnchecked,
  kDupe,  // the last: kVerdictCount follows it
};
inline constexpr int kVerdictCount = static_cast<int>(Verdict::kDupe) + 1;

// What a verdict does to its line's QSO in the checked score.
enum class VerdictEffect : std::uint8_t {
  kCounts,           // confirmed by the other log
  kKept,             // nothing to hold it against
  kKeptUnlessPurged, // kept and flagged, unless the sponsor removes these
  kRemoved,
  kNoPoints,         // a repeat: never played, so it cannot earn anything
};

struct VerdictClass {
  Verdict verdict;
  std::string_view word;
  VerdictEffect effect;
  // Its line's `other` is the worked station's own record of the QSO (or
  // the nearest one), so their times show how far the two clocks differ.
  bool showsClocks;
  // Its place in the count columns of the results, the UBN lists and the
  // station pages (0 first).
  int countColumn;
  // The results page's words for it (HTML), before what it does to the score.
  std::string_view meaning;
};

inline constexpr std::array<VerdictClass, kVerdictCount> kVerdicts = {{
    {Verdict::kOk, "OK", VerdictEffect::kCounts, true, 0, "both stations logged the QSO alike"},
    {Verdict::kNil, "NIL", VerdictEffect::kRemoved, true, 1,
     "&ldquo;not in log&rdquo;: the worked station sent a log without this QSO"},
    {Verdict::kBustedCall, "BUSTED-CALL", VerdictEffect::kRemoved, false, 2,
     "the call was miscopied: a station one letter or digit away logged this QSO"},
    {Verdict::kBustedExch, "BUSTED-EXCH", VerdictEffect::kRemoved, true, 3,
     "the serial received is not the one the other station sent"},
    {Verdict::kUnique, "UNIQUE", VerdictEffect::kKeptUnlessPurged, false, 4,
     "a call that sent no log and is in no other log"},
    {Verdict::kUnchecked, "UNCHECKED", VerdictEffect::kKept, false, 6,
     "a call that sent no log but other logs hold"},
    {Verdict::kDupe, "DUPE", VerdictEffect::kNoPoints, false, 5,
     "the same call again on the same band and mode group"},
}};

namespace verdict_table {

// A row left out is filled with zeros: it would carry kOk's verdict in
// another verdict's place, or repeat a column.
constexpr bool RowsInOrder() {
  for (std::size_t i = 0; i < kVerdicts.size(); ++i) {
    if (static_cast<std::size_t>(kVerdicts[i].verdict) != i || kVerdicts[i].word.empty()) {
      return false;
    }
  }
  return true;
}

constexpr bool ColumnsDistinct() {
  std::array<bool, kVerdictCount> taken{};
  for (const VerdictClass& v : kVerdicts) {
    if (v.countColumn < 0 || v.countColumn >= kVerdictCount || taken[v.countColumn]) {
      return false;
    }
    taken[v.countColumn] = true;
  }
  return true;
}

constexpr std::array<Verdict, kVerdictCount> ByCountColumn() {
  std::array<Verdict, kVerdictCount> order{};
  for (const VerdictClass& v : kVerdicts) {
    order[v.countColumn] = v.verdict;
  }
  return order;
}

}  // namespace verdict_table

static_assert(verdict_table::RowsInOrder(), "kVerdicts: one row per verdict, in its order");
static_assert(verdict_table::ColumnsDistinct(), "kVerdicts: each count column once");

// The verdicts in the order of the count columns.
inline constexpr std::array<Verdict, kVerdictCount> kVerdictsByCountColumn =
    verdict_table::ByCountColumn();

constexpr const VerdictClass& ClassOf(Verdict verdict) {
  return kVerdicts[static_cast<std::size_t>(verdict)];
}

// "OK", "NIL", "BUSTED-CALL" ...
constexpr std::string_view VerdictWord(Verdict verdict) { return ClassOf(verdict).word; }

// The words of the verdicts `pick` chooses, in the count columns' order and
// joined by ", ".
template <typename Pick>
std::string VerdictWordsWhere(Pick pick) {
  std::string words;
  for (Verdict v : kVerdictsByCountColumn) {
    if (pick(ClassOf(v))) {
      words += words.empty() ? "" : ", ";
      words += VerdictWord(v);
    }
  }
  return words;
}
