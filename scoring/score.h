// The score table: QSOs, distinct prefixes and QSOs x prefixes per mode group,
// recomputed from the stored QSOs on every request.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "contest/mode_groups.h"
#include "scoring/qso_store.h"

using PrefixLists = std::array<std::vector<std::string>, kModeGroupCount>;

struct ScoreTable {
  std::array<int32_t, kModeGroupCount> qsos{};
  std::array<int32_t, kModeGroupCount> prefixes{};
  std::array<int32_t, kModeGroupCount> scores{};
  // Distinct prefixes per group in the order first met (bands in sorted
  // order, then list order within a band).
  PrefixLists prefixLists;
};

// The values that head the result text, set by each reset.
struct ResultHeading {
  std::string startDate;
  std::string endDate;
  std::string modeWord;
  std::string contestant;
};

// Sorts the band list in place: descending by names left-padded with '0' to
// 20 characters, which gives 160m, 80m, 40m ... 6m, 2m.
void SortBandList(BandList& bands);

// Sorts `bands` and tallies `store` over it.
ScoreTable ComputeScore(const QsoStore& store, BandList& bands);

// Wraps on overflow instead of invoking undefined behaviour.
int32_t MultiplyScore(int32_t qsos, int32_t prefixes);

// Sum of the seven scores, wrapping like the products themselves.
int32_t ClaimedScore(const ScoreTable& table);

// The text GetResult0 returns. `addCredit` appends the "Created by" line.
std::string ResultText(const ResultHeading& heading, const ScoreTable& table, bool addCredit);

// The line-feed copy of the table that the summary sheet prints.
std::string TableText(const ScoreTable& table);
