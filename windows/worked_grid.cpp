#include "windows/worked_grid.h"

#include <algorithm>

#include "platform/ole_date_time.h"

std::vector<std::string> PanelBandLabels() {
  std::vector<std::string> labels;
  for (int row = 0; row < kGridRows; ++row) {
    labels.emplace_back(kOperatorBands[row].label);
  }
  return labels;
}

void LabelGridRows(WorkedGrid& grid) {
  for (int row = 0; row < kGridRows; ++row) {
    grid[row].assign(kGridTexts, "-");
    grid[row][0] = std::string(kOperatorBands[row].label);
  }
}

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
