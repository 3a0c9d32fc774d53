// The files that close a report run: one log per mode group that has lines,
// then the summary sheet named after the file word.
//
// Host's thread only. Names are relative: the files land in the host's
// current folder.
#include <fstream>

#include "reports/contest_report.h"
#include "reports/summary_sheet.h"

std::string CContestReport::WriteReports(const std::string& tableText,
                                         const COleDateTime& today) const {
  for (int order = 0; order < kModeGroupCount; ++order) {
    const std::vector<std::string>& lines = m_modeLines[order];
    if (lines.empty()) {
      continue;  // an older log of this mode stays as it is
    }
    const std::string name(kModeGroups[ModeGroupOfLogOrder(order)].logName);
    std::ofstream log(name, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines) {
      log.write(line.data(), static_cast<std::streamsize>(line.size()));
    }
  }

  const std::string sheetName = m_fileWord + ".sum";
  const std::string bytes = TextModeBytes(SummarySheetText(*this, tableText, today));
  std::ofstream sheet(sheetName, std::ios::binary | std::ios::trunc);
  sheet.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return "File produced: " + sheetName;
}
