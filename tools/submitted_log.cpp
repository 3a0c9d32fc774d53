#include "tools/submitted_log.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "contest/bands.h"
#include "contest/mode_groups.h"
#include "platform/text.h"
#include "tools/host_qso.h"
#include "tools/plugin_files.h"
#include "tools/read_whole_file.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kQsoLineFields = 9;
constexpr long kMinutesPerDay = 1440;
constexpr std::string_view kSheetCallLabel = "Callsign Used :";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool AllDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int DigitsValue(std::string_view s) {
  int v = 0;
  for (char c : s) {
    v = v * 10 + (c - '0');
  }
  return v;
}

// The band of a frequency in kHz as the operator windows tell it (by its whole
// megahertz), one of the contest's six, or -1.
int BandOfKhz(int khz) {
  const int band = OperatorBandOfHertz(khz * 1000.0);
  return band < kGridRows ? band : -1;
}

// The mode group of a Cabrillo mode code, with the place in the group of the
// first host mode printed with it (BPSK31 for "PS") in `*mode`; -1 for a code
// the contest does not know.
int GroupOfCode(std::string_view code, int* mode) {
  const int group = ModeGroupOfCode(code);
  if (group < 0) {
    return -1;
  }
  const auto& modes = kModeGroups[static_cast<std::size_t>(group)].modes;
  for (std::size_t m = 0; m < modes.size(); ++m) {
    if (!modes[m].name.empty() && modes[m].code == code) {
      *mode = static_cast<int>(m);
      break;
    }
  }
  return group;
}

bool ReadFile(const fs::path& path, std::string& bytes, std::string& error) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) {
    error = "it is a folder";
    return false;
  }
  return ReadWholeFile(path.string(), bytes, error);
}

// Calls each line of `bytes` with its number and text (without the line end).
template <class F>
void ForEachLine(const std::string& bytes, F&& f) {
  std::size_t at = 0;
  int number = 0;
  while (at < bytes.size()) {
    std::size_t end = bytes.find('\n', at);
    if (end == std::string::npos) {
      end = bytes.size();
    }
    std::string_view line(bytes.data() + at, end - at);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    f(++number, line);
    at = end + 1;
  }
}

void ReadSheet(SubmittedLog& log, const fs::path& path, const std::string& name) {
  std::string bytes;
  std::string error;
  if (!ReadFile(path, bytes, error)) {
    log.messages.push_back("cannot read " + log.PathOf(name) + ": " + error);
    return;
  }
  SubmittedLog::Sheet sheet;
  sheet.file = name;
  ForEachLine(bytes, [&](int, std::string_view line) {
    const std::size_t label = line.find(kSheetCallLabel);
    if (sheet.call.empty() && label != std::string_view::npos) {
      sheet.call = ToUpperAscii(TrimWhiteSpace(line.substr(label + kSheetCallLabel.size())));
    }
  });
  sheet.table = ParseScoreTable(bytes);
  if (!sheet.table) {
    log.messages.push_back(log.PathOf(name) +
                           " holds no readable score table; the claimed score is worked out "
                           "from the logs");
  }
  log.sheets.push_back(std::move(sheet));
}

void ReadLog(SubmittedLog& log, const fs::path& path, const std::string& name, TextPool& texts) {
  std::string bytes;
  std::string error;
  if (!ReadFile(path, bytes, error)) {
    log.messages.push_back("cannot read " + log.PathOf(name) + ": " + error);
    return;
  }
  const int file = static_cast<int>(log.files.size());
  log.files.push_back(name);
  // A report run's line is about 70 bytes long.
  log.qsos.reserve(log.qsos.size() + bytes.size() / 64);
  std::string reason;
  QsoLineFields q;
  std::string upper;
  auto intern = [&](std::string_view text, bool capitals) {
    if (!capitals) {
      return texts.Intern(text);
    }
    upper.assign(text);
    for (char& c : upper) {
      c = ToUpperAscii(c);
    }
    return texts.Intern(upper);
  };
  ForEachLine(bytes, [&](int number, std::string_view line) {
    if (std::all_of(line.begin(), line.end(), IsBlank)) {
      return;  // an empty line carries nothing to lose
    }
    if (!ParseQsoLine(line, q, reason)) {
      log.unread.push_back(UnreadLine{file, number, reason});
      return;
    }
    LoggedQso qso;
    qso.call = intern(q.theirCall, true);
    qso.sent = intern(q.sent, false);
    qso.rcvd = intern(q.rcvd, false);
    qso.minute = q.minute;
    qso.khz = q.khz;
    qso.line = number;
    qso.file = static_cast<std::uint8_t>(file);
    qso.band = static_cast<std::uint8_t>(q.band);
    qso.group = static_cast<std::uint8_t>(q.group);
    qso.code = static_cast<std::uint8_t>(q.code);
    log.qsos.push_back(qso);
    std::vector<std::string>& naming = log.ownCalls[intern(q.ownCall, true)];
    if (naming.empty() || naming.back() != name) {
      naming.push_back(name);
    }
  });
}

}  // namespace

bool ParseQsoLine(std::string_view line, QsoLineFields& out, std::string& reason) {
  std::string_view fields[kQsoLineFields];
  std::size_t count = 0;
  std::size_t i = 0;
  while (i < line.size()) {
    if (IsBlank(line[i])) {
      ++i;
      continue;
    }
    std::size_t j = i;
    while (j < line.size() && !IsBlank(line[j])) {
      ++j;
    }
    if (count < kQsoLineFields) {
      fields[count] = line.substr(i, j - i);
    }
    ++count;
    i = j;
  }
  if (count == 0 || fields[0] != "QSO:") {
    reason = "not a QSO line";
    return false;
  }
  if (count != kQsoLineFields) {
    reason =
        "a QSO line has 9 fields (QSO: kHz mode date time own-call sent call received), "
        "this one " +
        std::to_string(count);
    return false;
  }
  if (!AllDigits(fields[1]) || fields[1].size() > 7) {
    reason = "frequency '" + std::string(fields[1]) + "' is not a number of kHz";
    return false;
  }
  out.khz = DigitsValue(fields[1]);
  out.band = BandOfKhz(out.khz);
  if (out.band < 0) {
    reason = std::string(fields[1]) + " kHz lies on none of the contest's bands";
    return false;
  }
  out.group = GroupOfCode(fields[2], &out.code);
  if (out.group < 0) {
    reason = "mode '" + std::string(fields[2]) + "' is none of the contest's";
    return false;
  }
  const std::optional<long> day = DayNumberOfIsoDate(fields[3]);
  if (!day) {
    reason = "'" + std::string(fields[3]) + "' is not a date (YYYY-MM-DD)";
    return false;
  }
  const std::string_view time = fields[4];
  const std::optional<long> seconds =
      time.size() == 4 ? SecondsOfTime(time) : std::optional<long>();
  if (!seconds) {
    reason = "'" + std::string(time) + "' is not a time (HHMM)";
    return false;
  }
  out.minute = static_cast<int>(*day * kMinutesPerDay + *seconds / 60);
  out.ownCall = fields[5];
  out.sent = fields[6];
  out.theirCall = fields[7];
  out.rcvd = fields[8];
  return true;
}

std::string SubmittedLog::PathOf(const std::string& file) const {
  return (fs::path(folder) / file).string();
}

SubmittedLog ReadSubmission(const std::string& folder, TextPool& texts) {
  SubmittedLog log;
  log.folder = folder;
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    log.messages.push_back(folder + " is not a folder");
    return log;
  }
  struct Entry {
    int group;
    std::string name;
    fs::path path;
  };
  std::vector<Entry> logs;
  std::vector<Entry> sheets;
  std::vector<std::string> others;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const int group = ModeGroupOfLogFileName(name);
    if (group >= 0) {
      logs.push_back(Entry{group, name, it->path()});
    } else if (IsSummarySheetFileName(name)) {
      sheets.push_back(Entry{-1, name, it->path()});
    } else {
      others.push_back(name);
    }
  }
  if (ec) {
    log.messages.push_back("cannot list " + folder + ": " + ec.message());
    return log;
  }
  auto byGroupAndName = [](const Entry& a, const Entry& b) {
    return a.group != b.group ? a.group < b.group : a.name < b.name;
  };
  std::sort(logs.begin(), logs.end(), byGroupAndName);
  std::sort(sheets.begin(), sheets.end(), byGroupAndName);
  std::sort(others.begin(), others.end());
  for (const std::string& name : others) {
    log.messages.push_back(log.PathOf(name) +
                           " is neither a per-mode log nor a summary sheet; not read");
  }
  for (const Entry& e : logs) {
    ReadLog(log, e.path, e.name, texts);
  }
  for (const Entry& e : sheets) {
    ReadSheet(log, e.path, e.name);
  }
  return log;
}
