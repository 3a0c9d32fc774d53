// The plug-in's score table: per score column the QSOs that count, the
// distinct prefixes and the score (QSOs times prefixes), as the result text and
// the summary sheet print it. The station's total is the sum of the seven
// scores, as the plug-in adds it for its claimed score.
//
// Pure; safe on any thread.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "contest/mode_groups.h"

// In a namespace of its own: the plug-in's scoring floor has a ScoreTable of
// its 32-bit figures, and tests link both.
namespace tools {

struct ScoreTable {
  // Wide enough for any number of up to 18 digits a sheet can hold, and for
  // the sum of seven of them.
  std::array<std::int64_t, kModeGroupCount> qsos{};
  std::array<std::int64_t, kModeGroupCount> prefixes{};
  std::array<std::int64_t, kModeGroupCount> scores{};

  std::int64_t TotalQsos() const;
  std::int64_t TotalScore() const;
};

// Reads the rows "QSO", "PFX" and "Score" (with or without a colon after the
// label, seven numbers each) out of a result text or a summary sheet; empty
// when one of them is missing or holds anything but seven numbers.
std::optional<ScoreTable> ParseScoreTable(std::string_view text);

}  // namespace tools
