#include "tools/submitted_log.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "contest/bands.h"
#include "contest/mode_groups.h"
#include "platform/ole_date_time.h"
#include "platform/text.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kQsoLineFields = 9;
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

// The host's day number of "YYYY-MM-DD" from 1900 on, or -1.
long DayOfDate(std::string_view date) {
  if (date.size() != 10 || date[4] != '-' || date[7] != '-' || !AllDigits(date.substr(0, 4)) ||
      !AllDigits(date.substr(5, 2)) || !AllDigits(date.substr(8, 2))) {
    return -1;
  }
  const int year = DigitsValue(date.substr(0, 4));
  const int month = DigitsValue(date.substr(5, 2));
  const int day = DigitsValue(date.substr(8, 2));
  if (year < 1900 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) {
    return -1;
  }
  return static_cast<long>(HostDayOfDate(year, month, day));
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
  std::FILE* f = std::fopen(path.string().c_str(), "rb");
  if (f == nullptr) {
    error = std::strerror(errno);
    return false;
  }
  const std::uintmax_t size = fs::file_size(path, ec);
  if (!ec) {
    bytes.reserve(static_cast<std::size_t>(size));
  }
  char buffer[1 << 16];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
    bytes.append(buffer, n);
  }
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) {
    error = "read error";
    return false;
  }
  return true;
}

// The score column whose log is named `name`, ignoring case; -1 for none.
int GroupOfLogName(const std::string& name) {
  const std::string upper = ToUpperAscii(name);
  for (int g = 0; g < kModeGroupCount; ++g) {
    if (upper == ToUpperAscii(kModeGroups[g].logName)) {
      return g;
    }
  }
  return -1;
}

bool IsSheetName(const std::string& name) {
  return name.size() > 4 && ToUpperAscii(name.substr(name.size() - 4)) == ".SUM";
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
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
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
  const long day = DayOfDate(fields[3]);
  if (day < 0) {
    reason = "'" + std::string(fields[3]) + "' is not a date (YYYY-MM-DD)";
    return false;
  }
  const std::string_view time = fields[4];
  if (time.size() != 4 || !AllDigits(time) || DigitsValue(time.substr(0, 2)) > 23 ||
      DigitsValue(time.substr(2, 2)) > 59) {
    reason = "'" + std::string(time) + "' is not a time (HHMM)";
    return false;
  }
  out.minute = static_cast<int>(day) * 1440 + DigitsValue(time.substr(0, 2)) * 60 +
               DigitsValue(time.substr(2, 2));
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
    const int group = GroupOfLogName(name);
    if (group >= 0) {
      logs.push_back(Entry{group, name, it->path()});
    } else if (IsSheetName(name)) {
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
