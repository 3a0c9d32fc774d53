// The files that close a report run: one log per mode group that has lines,
// then the summary sheet named after the file word.
//
// Host's thread only. Names are relative: the files land in the host's
// current folder. Each file is written whole or not at all, so a full disk
// leaves the last good file in place, and the operator is told which file
// was not written.
#include "platform/whole_file.h"
#include "reports/contest_report.h"
#include "reports/summary_sheet.h"

std::string CContestReport::WriteReports(const std::string& tableText,
                                         const COleDateTime& today) const {
  std::string failures;
  auto write = [&failures](const std::string& name, const std::string& bytes) {
    const std::string reason = WriteWholeFile(name, bytes);
    if (!reason.empty()) {
      failures += "\r\nNot written: " + name + " (" + reason + ")";
    }
    return reason.empty();
  };

  for (int order = 0; order < kModeGroupCount; ++order) {
    const std::vector<std::string>& lines = m_modeLines[order];
    if (lines.empty()) {
      continue;  // an older log of this mode stays as it is
    }
    std::string bytes;
    for (const std::string& line : lines) {
      bytes += line;
    }
    write(std::string(kModeGroups[ModeGroupOfLogOrder(order)].logName), bytes);
  }

  const std::string sheetName = m_fileWord + ".sum";
  if (!write(sheetName, TextModeBytes(SummarySheetText(*this, tableText, today)))) {
    return failures.substr(2);
  }
  return "File produced: " + sheetName + failures;
}
