#include "tools/check/contest_logs.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>

#include "contest/file_word.h"
#include "contest/report_formats.h"
#include "platform/ole_date_time.h"
#include "platform/text.h"
#include "tools/common/contest_time.h"
#include "tools/common/plugin_files.h"
#include "tools/check/shown_text.h"

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
void ChooseSheet(const SubmittedLog& log, Station& station) {
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
      station.messages.push_back(
          log.PathOf(sheet.file) + " names " +
          (sheet.call.empty() ? std::string("no call") : ShownText(sheet.call)) +
          ", not the logs' " + station.call + "; not used");
    } else if (&sheet != chosen) {
      station.messages.push_back(log.PathOf(sheet.file) + " is a second summary sheet of " +
                                 station.call + "; " + chosen->file + " is used");
    }
  }
  if (chosen != nullptr) {
    if (!chosen->table) {
      station.messages.push_back(log.PathOf(chosen->file) +
                                 " holds no readable score table; the claimed score is worked "
                                 "out from the logs");
    }
    station.sheetFile = chosen->file;
    station.sheet = chosen->table;
    station.category = chosen->category;
    station.club = chosen->club;
    station.sheetFirstDay = chosen->firstDay;
    station.sheetLastDay = chosen->lastDay;
  }
}

std::uint32_t Fnv1a(const std::string& text) {
  std::uint32_t hash = 2166136261u;
  for (char c : text) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  }
  return hash;
}

bool IsOrdinaryCall(const std::string& call) {
  if (call.empty() || call.front() == '/' || call.back() == '/') {
    return false;
  }
  return std::all_of(call.begin(), call.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/';
  });
}

// Unique words for the stations' files, also where hashes collide (compared
// ignoring case, as Windows compares file names).
void AssignFileWords(std::vector<Station>& stations) {
  std::map<std::string, int> taken;
  for (Station& s : stations) {
    s.fileWord = StationFileWord(s.call);
    const std::string key = ToUpperAscii(s.fileWord);
    int& count = taken[key];
    if (++count > 1) {
      s.fileWord += "-" + std::to_string(count);
      ++taken[ToUpperAscii(s.fileWord)];
    }
  }
}

}  // namespace

std::string StationFileWord(const std::string& call) {
  if (IsOrdinaryCall(call)) {
    return FileWordOf(call);
  }
  std::string word = call.substr(0, kMaxCallChars);
  for (char& c : word) {
    const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    c = keep ? c : '_';
  }
  return word + FormatText("~%08x", static_cast<unsigned>(Fnv1a(call)));
}

std::string ContestLogs::PathOf(int station, int file) const {
  const Station& s = stations[static_cast<std::size_t>(station)];
  return ShownText(
      (std::filesystem::path(s.folder) / s.files[static_cast<std::size_t>(file)]).string(), 300);
}

ContestLogs AssembleContest(std::vector<SubmittedLog> submissions, TextPool texts) {
  ContestLogs logs;
  logs.texts = std::move(texts);
  std::vector<int> unusedCalls;
  auto leaveOut = [&](SubmittedLog& log, std::string reason) {
    logs.unused.push_back(
        UnusedFolder{ShownText(log.folder, 300), std::move(reason), std::move(log.messages)});
  };
  // Own call -> the submissions that name it alone, in command-line order.
  std::map<std::string, std::vector<std::size_t>> byCall;
  for (std::size_t i = 0; i < submissions.size(); ++i) {
    SubmittedLog& log = submissions[i];
    if (log.ownCalls.empty()) {
      leaveOut(log, !log.isFolder       ? "is no folder that can be read"
                    : log.files.empty() ? "holds none of the per-mode logs"
                                        : "holds no readable QSO line");
      continue;
    }
    if (log.ownCalls.size() > 1) {
      std::string naming;
      std::size_t shown = 0;
      for (const auto& [call, files] : log.ownCalls) {
        unusedCalls.push_back(call);
        if (++shown <= 10) {
          naming += (naming.empty() ? "" : "; ") + logs.texts.Text(call) + " in " + Joined(files);
        }
      }
      if (shown > 10) {
        naming += "; " + std::to_string(shown - 10) + " more";
      }
      leaveOut(log, "its lines name more than one own call (" + naming + ")");
      continue;
    }
    byCall[logs.texts.Text(log.ownCalls.begin()->first)].push_back(i);
  }
  std::size_t total = 0;
  for (const auto& entry : byCall) {
    total += submissions[entry.second.back()].qsos.size();
  }
  logs.qsos.reserve(total);
  for (const auto& [call, which] : byCall) {
    SubmittedLog& log = submissions[which.back()];
    for (std::size_t k = 0; k + 1 < which.size(); ++k) {
      leaveOut(submissions[which[k]], "also holds " + call + "'s logs; " +
                                          ShownText(log.folder, 300) + ", named later, is used");
    }
    Station station;
    station.call = call;
    station.callText = logs.texts.Find(call);
    station.folder = log.folder;
    station.files = log.files;
    station.unread = std::move(log.unread);
    station.unreadMore = log.unreadMore;
    station.lines = log.lines;
    station.messages = std::move(log.messages);
    ChooseSheet(log, station);
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
  std::stable_sort(
      logs.unused.begin(), logs.unused.end(),
      [](const UnusedFolder& a, const UnusedFolder& b) { return a.folder < b.folder; });
  AssignFileWords(logs.stations);
  logs.stationOfText.assign(static_cast<std::size_t>(logs.texts.Size()), -1);
  for (std::size_t s = 0; s < logs.stations.size(); ++s) {
    logs.stationOfText[static_cast<std::size_t>(logs.stations[s].callText)] = static_cast<int>(s);
  }
  logs.unusedCallText.assign(static_cast<std::size_t>(logs.texts.Size()), false);
  for (int call : unusedCalls) {
    if (logs.StationOfCall(call) < 0) {
      logs.unusedCallText[static_cast<std::size_t>(call)] = true;
    }
  }
  KeepContestPeriod(logs, std::nullopt, std::nullopt);
  return logs;
}

std::vector<std::size_t> KeepContestPeriod(ContestLogs& logs, std::optional<int> startMinute,
                                           std::optional<int> endMinute) {
  const std::string period = "outside the contest period (" +
                             (startMinute ? MinuteText(*startMinute) : std::string("...")) +
                             " to " + (endMinute ? MinuteText(*endMinute) : std::string("...")) +
                             ")";
  std::vector<std::size_t> dropped(logs.stations.size(), 0);
  // Kept lines move up in place; the order stays.
  std::size_t kept = 0;
  bool any = false;
  for (std::size_t s = 0; s < logs.stations.size(); ++s) {
    Station& station = logs.stations[s];
    const int first = static_cast<int>(kept);
    for (int i = station.firstQso; i < station.firstQso + station.qsoCount; ++i) {
      const LoggedQso q = logs.qsos[static_cast<std::size_t>(i)];
      if ((startMinute && q.minute < *startMinute) || (endMinute && q.minute > *endMinute)) {
        if (station.unread.size() < kMaxUnreadKept) {
          station.unread.push_back(UnreadLine{q.file, q.line, period});
        } else {
          ++station.unreadMore;
        }
        ++dropped[s];
        continue;
      }
      logs.firstMinute = any ? std::min(logs.firstMinute, q.minute) : q.minute;
      logs.lastMinute = any ? std::max(logs.lastMinute, q.minute) : q.minute;
      any = true;
      logs.qsos[kept++] = q;
    }
    station.firstQso = first;
    station.qsoCount = static_cast<int>(kept) - first;
    if (dropped[s] > 0) {
      std::stable_sort(station.unread.begin(), station.unread.end(),
                       [](const UnreadLine& a, const UnreadLine& b) {
                         return a.file != b.file ? a.file < b.file : a.line < b.line;
                       });
    }
  }
  logs.qsos.resize(kept);
  return dropped;
}

std::optional<SheetPeriod> PeriodOfSheets(const ContestLogs& logs) {
  std::map<std::pair<long, long>, int> counts;
  for (const Station& s : logs.stations) {
    if (s.sheetFirstDay && s.sheetLastDay) {
      ++counts[{*s.sheetFirstDay, *s.sheetLastDay}];
    }
  }
  std::optional<SheetPeriod> best;
  for (const auto& [days, count] : counts) {
    if (!best || count > best->sheets) {
      best = SheetPeriod{days.first, days.second, count};
    }
  }
  return best;
}

std::string MinuteText(int minute) {
  return FormatDateTime(HostDateTimeOfMinute(minute), kQsoLineTimeFormat);
}
