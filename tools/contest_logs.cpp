#include "tools/contest_logs.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "platform/ole_date_time.h"
#include "platform/text.h"
#include "tools/host_qso.h"
#include "tools/plugin_files.h"

namespace {

std::string Joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) {
    text += (text.empty() ? "" : ", ") + item;
  }
  return text;
}

// The summary sheet of a station: of those that name its call, the one under
// the name the report run gives it, else the first.
void ChooseSheet(const SubmittedLog& log, Station& station, std::vector<std::string>& messages) {
  const std::string usual = SummarySheetFileName(station.call);
  const SubmittedLog::Sheet* chosen = nullptr;
  for (const SubmittedLog::Sheet& sheet : log.sheets) {
    if (sheet.call == station.call && (chosen == nullptr || (EqualsNoCase(sheet.file, usual) &&
                                                             !EqualsNoCase(chosen->file, usual)))) {
      chosen = &sheet;
    }
  }
  for (const SubmittedLog::Sheet& sheet : log.sheets) {
    if (sheet.call != station.call) {
      messages.push_back(log.PathOf(sheet.file) + " names " +
                         (sheet.call.empty() ? std::string("no call") : sheet.call) +
                         ", not the logs' " + station.call + "; not used");
    } else if (&sheet != chosen) {
      messages.push_back(log.PathOf(sheet.file) + " is a second summary sheet of " + station.call +
                         "; " + chosen->file + " is used");
    }
  }
  if (chosen != nullptr) {
    station.sheetFile = chosen->file;
    station.sheet = chosen->table;
  }
}

}  // namespace

std::string ContestLogs::PathOf(int station, int file) const {
  const Station& s = stations[static_cast<std::size_t>(station)];
  return (std::filesystem::path(s.folder) / s.files[static_cast<std::size_t>(file)]).string();
}

ContestLogs AssembleContest(std::vector<SubmittedLog> submissions, TextPool texts,
                            std::vector<std::string>& messages) {
  ContestLogs logs;
  logs.texts = std::move(texts);
  // Own call -> the submissions that name it alone.
  std::map<std::string, std::vector<std::size_t>> byCall;
  for (std::size_t i = 0; i < submissions.size(); ++i) {
    const SubmittedLog& log = submissions[i];
    if (log.ownCalls.empty()) {
      if (log.files.empty()) {
        messages.push_back(log.folder + " holds none of the per-mode logs; left out");
      } else {
        messages.push_back(log.folder + " holds no readable QSO line; left out");
      }
      continue;
    }
    if (log.ownCalls.size() > 1) {
      std::string naming;
      for (const auto& [call, files] : log.ownCalls) {
        naming += (naming.empty() ? "" : "; ") + logs.texts.Text(call) + " in " + Joined(files);
      }
      messages.push_back(log.folder + ": its lines name more than one own call (" + naming +
                         "); left out");
      continue;
    }
    byCall[logs.texts.Text(log.ownCalls.begin()->first)].push_back(i);
  }
  std::size_t total = 0;
  for (const auto& entry : byCall) {
    total += entry.second.size() == 1 ? submissions[entry.second.front()].qsos.size() : 0;
  }
  logs.qsos.reserve(total);
  for (const auto& [call, which] : byCall) {
    if (which.size() > 1) {
      std::vector<std::string> folders;
      for (std::size_t i : which) {
        folders.push_back(submissions[i].folder);
      }
      messages.push_back(call + " sent more than one folder (" + Joined(folders) +
                         "); all left out");
      continue;
    }
    SubmittedLog& log = submissions[which.front()];
    Station station;
    station.call = call;
    station.callText = logs.texts.Find(call);
    station.folder = log.folder;
    station.files = log.files;
    station.unread = std::move(log.unread);
    ChooseSheet(log, station, messages);
    station.firstQso = static_cast<int>(logs.qsos.size());
    station.qsoCount = static_cast<int>(log.qsos.size());
    const int index = static_cast<int>(logs.stations.size());
    for (LoggedQso& q : log.qsos) {
      q.station = index;
      logs.qsos.push_back(q);
    }
    log.qsos = std::vector<LoggedQso>();
    logs.stations.push_back(std::move(station));
  }
  logs.stationOfText.assign(static_cast<std::size_t>(logs.texts.Size()), -1);
  for (std::size_t s = 0; s < logs.stations.size(); ++s) {
    logs.stationOfText[static_cast<std::size_t>(logs.stations[s].callText)] = static_cast<int>(s);
  }
  KeepContestPeriod(logs, std::nullopt, std::nullopt);
  return logs;
}

void KeepContestPeriod(ContestLogs& logs, std::optional<int> startMinute,
                       std::optional<int> endMinute) {
  const std::string period = "outside the contest period (" +
                             (startMinute ? MinuteText(*startMinute) : std::string("...")) +
                             " to " + (endMinute ? MinuteText(*endMinute) : std::string("...")) +
                             ")";
  // Kept lines move up in place; the order stays.
  std::size_t kept = 0;
  bool any = false;
  for (Station& station : logs.stations) {
    const int first = static_cast<int>(kept);
    bool dropped = false;
    for (int i = station.firstQso; i < station.firstQso + station.qsoCount; ++i) {
      const LoggedQso q = logs.qsos[static_cast<std::size_t>(i)];
      if ((startMinute && q.minute < *startMinute) || (endMinute && q.minute > *endMinute)) {
        station.unread.push_back(UnreadLine{q.file, q.line, period});
        dropped = true;
        continue;
      }
      logs.firstMinute = any ? std::min(logs.firstMinute, q.minute) : q.minute;
      logs.lastMinute = any ? std::max(logs.lastMinute, q.minute) : q.minute;
      any = true;
      logs.qsos[kept++] = q;
    }
    station.firstQso = first;
    station.qsoCount = static_cast<int>(kept) - first;
    if (dropped) {
      std::stable_sort(station.unread.begin(), station.unread.end(),
                       [](const UnreadLine& a, const UnreadLine& b) {
                         return a.file != b.file ? a.file < b.file : a.line < b.line;
                       });
    }
  }
  logs.qsos.resize(kept);
}

std::string MinuteText(int minute) {
  return FormatDateTime(HostDateTime(minute / 1440, minute % 1440 * 60L), "%Y-%m-%d %H%M");
}
