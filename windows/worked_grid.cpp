#include "windows/worked_grid.h"

#include <algorithm>
#include <cmath>

#include "platform/ole_date_time.h"
#include "scoring/mode_groups.h"

namespace {

// Whole megahertz of each band index; index 6 (6 m) has no grid row.
constexpr std::array<double, 7> kBandMegahertz = {1, 3, 7, 14, 21, 28, 50};

}  // namespace

void ClearWorkedCells(WorkedGrid& grid) {
  for (std::vector<std::string>& row : grid) {
    if (row.size() < static_cast<std::size_t>(kGridTexts)) {
      row.resize(kGridTexts);
    }
    for (int cell = 1; cell < kGridTexts; ++cell) {
      row[cell] = kClearedCell;
    }
  }
}

void FillWorkedGrid(WorkedGrid& grid, const QsoStore& qsos,
                    const std::vector<std::string>& bandLabels, const std::string& call) {
  const std::size_t rows = std::min<std::size_t>(bandLabels.size(), kGridRows);
  for (const CInfo& qso : qsos.records()) {
    if (qso.m_call != call) {
      continue;
    }
    const int group = ModeGroupOf(qso.m_mode);
    if (group < 0) {
      continue;
    }
    for (std::size_t l = 0; l < rows; ++l) {
      if (qso.m_band == bandLabels[l] && grid[l].size() > static_cast<std::size_t>(group + 1)) {
        grid[l][group + 1] = FormatDateTime(qso.m_time, "%H:%M");
      }
    }
  }
}

int BandIndexFromHertz(double hertz) {
  // Compared as doubles so that NaN and frequencies past the int range fall
  // through to -1 instead of overflowing a conversion.
  const double megahertz = std::trunc(hertz / 1000000.0);
  for (std::size_t i = 0; i < kBandMegahertz.size(); ++i) {
    if (megahertz == kBandMegahertz[i]) {
      return static_cast<int>(i);
    }
  }
  return -1;
}
