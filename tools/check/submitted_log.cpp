#include "tools/check/submitted_log.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "contest/bands.h"
#include "contest/mode_groups.h"
#include "contest/report_formats.h"
#include "platform/text.h"
#include "tools/common/contest_time.h"
#include "tools/common/plugin_files.h"
#include "tools/common/read_whole_file.h"
#include "tools/check/shown_text.h"

namespace {

namespace fs = std::filesystem;

// What a sheet states about the station is shown in lists: a few words.
constexpr std::size_t kSheetValueChars = 30;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

int DigitsValue(std::string_view s) {
  int v = 0;
  for (char c : s) {
    v = v * 10 + (c - '0');
  }
  return v;
}

// A call or serial as a line may carry it: printable ASCII without blanks.
bool AllPrintable(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c > ' ' && c < 0x7F; });
}

std::string Quoted(std::string_view field) { return "'" + ShownText(field) + "'"; }

std::string SerialFault(std::string_view serial) {
  if (serial.size() > kMaxSerialChars || !AllPrintable(serial)) {
    return "serial " + Quoted(serial) + " is not one (at most " + std::to_string(kMaxSerialChars) +
           " letters, digits or signs)";
  }
  return std::string();
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

// A file whose text this reader cannot take whole: UTF-16.
bool PlainText(const std::string& bytes, std::string& error) {
  const std::string_view start(bytes.data(), std::min<std::size_t>(bytes.size(), 2));
  if (start == "\xFF\xFE" || start == "\xFE\xFF") {
    error = "it is UTF-16 text, not plain text";
    return false;
  }
  return true;
}

bool ReadFile(const fs::path& path, std::string& bytes, std::string& error) {
  std::error_code ec;
  if (fs::is_directory(fs::symlink_status(path, ec))) {
    error = "it is a folder";
    return false;
  }
  if (!ReadRegularFile(path.string(), kMaxFileBytes, bytes, error)) {
    return false;
  }
  return PlainText(bytes, error);
}

// "13-Feb-2016" as a day number.
std::optional<long> SheetDay(std::string_view text) {
  static constexpr std::string_view kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const std::size_t first = text.find('-');
  const std::size_t second = first == std::string_view::npos ? first : text.find('-', first + 1);
  if (second == std::string_view::npos || first == 0 || first > 2 || second != first + 4 ||
      text.size() != second + 5 || !AllDigits(text.substr(0, first)) ||
      !AllDigits(text.substr(second + 1))) {
    return std::nullopt;
  }
  const auto month = std::find(std::begin(kMonths), std::end(kMonths), text.substr(first + 1, 3));
  if (month == std::end(kMonths)) {
    return std::nullopt;
  }
  const std::string iso = std::string(text.substr(second + 1)) + "-" +
                          FormatText("%02d-%02d", static_cast<int>(month - kMonths) + 1,
                                     DigitsValue(text.substr(0, first)));
  const std::optional<long> day = DayNumberOfIsoDate(iso);
  return day && *day >= kFirstDay && *day <= kLastDay ? day : std::nullopt;
}

// The text after `label` on a line holding it, trimmed, or empty.
std::optional<std::string_view> ValueAfter(std::string_view line, std::string_view label) {
  const std::size_t at = line.find(label);
  if (at == std::string_view::npos) {
    return std::nullopt;
  }
  return TrimWhiteSpace(line.substr(at + label.size()));
}

struct Entry {
  int group;
  std::string name;                     // as shown
  fs::path path;                        // what is read
  const std::string* held = nullptr;    // or the bytes, when they were sent
};

// The entry's bytes: read from its file, or as sent.
const std::string* BytesOf(const Entry& e, std::string& buffer, std::string& error) {
  if (e.held == nullptr) {
    return ReadFile(e.path, buffer, error) ? &buffer : nullptr;
  }
  if (e.held->size() > kMaxFileBytes) {
    error = "it is larger than " + std::to_string(kMaxFileBytes >> 20) + " MiB";
    return nullptr;
  }
  return PlainText(*e.held, error) ? e.held : nullptr;
}

void ReadSheet(SubmittedLog& log, const Entry& e) {
  std::string buffer;
  std::string error;
  const std::string* bytes = BytesOf(e, buffer, error);
  if (bytes == nullptr) {
    log.messages.push_back("cannot read " + log.PathOf(e.name) + ": " + error);
    return;
  }
  SubmittedLog::Sheet sheet = ParseSheet(*bytes);
  sheet.file = e.name;
  log.sheets.push_back(std::move(sheet));
}

void ReadLog(SubmittedLog& log, const Entry& e, TextPool& texts) {
  std::string buffer;
  std::string error;
  const std::string* held = BytesOf(e, buffer, error);
  if (held == nullptr) {
    log.messages.push_back("cannot read " + log.PathOf(e.name) + ": " + error);
    return;
  }
  const std::string& bytes = *held;
  const int file = static_cast<int>(log.files.size());
  const std::string& name = e.name;
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
  ForEachTextLine(bytes, [&](int number, std::string_view line) {
    if (std::all_of(line.begin(), line.end(), IsBlank)) {
      return;  // an empty line carries nothing to lose
    }
    ++log.lines;
    if (!ParseQsoLine(line, q, reason)) {
      if (log.unread.size() < kMaxUnreadKept) {
        log.unread.push_back(UnreadLine{file, number, reason});
      } else {
        ++log.unreadMore;
      }
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

// What the folder's entry `path` leads to: itself, or for a link the regular
// file inside the folder it names. Empty, with the reason, for anything else.
std::optional<fs::path> Readable(const fs::path& folder, const fs::directory_entry& entry,
                                 std::string& reason) {
  std::error_code ec;
  if (!entry.is_symlink(ec)) {
    return entry.path();
  }
  const fs::path target = fs::canonical(entry.path(), ec);
  if (ec) {
    reason = "it is a link that leads nowhere";
    return std::nullopt;
  }
  const fs::path home = fs::canonical(folder, ec);
  const auto [end, unused] = std::mismatch(home.begin(), home.end(), target.begin(), target.end());
  if (ec || end != home.end()) {
    reason = "it is a link out of the folder";
    return std::nullopt;
  }
  if (!fs::is_regular_file(fs::symlink_status(target, ec))) {
    reason = "it is a link to something that is not a regular file";
    return std::nullopt;
  }
  return target;
}

// Reads the logs and sheets found, in group and name order, and names the
// other files.
void ReadEntries(SubmittedLog& log, std::vector<Entry>& logs, std::vector<Entry>& sheets,
                 std::vector<std::string>& others, TextPool& texts) {
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
  for (std::size_t i = 0; i < logs.size(); ++i) {
    if (i < kMaxLogFiles) {
      ReadLog(log, logs[i], texts);
    } else {
      log.messages.push_back(log.PathOf(logs[i].name) + ": more than " +
                             std::to_string(kMaxLogFiles) + " per-mode logs; not read");
    }
  }
  for (std::size_t i = 0; i < sheets.size(); ++i) {
    if (i < kMaxLogFiles) {
      ReadSheet(log, sheets[i]);
    } else {
      log.messages.push_back(log.PathOf(sheets[i].name) + ": more than " +
                             std::to_string(kMaxLogFiles) + " summary sheets; not read");
    }
  }
}

}  // namespace

std::string CallFault(std::string_view call) {
  if (call.size() > kMaxCallChars) {
    return "call " + Quoted(call) + " is longer than " + std::to_string(kMaxCallChars) +
           " characters";
  }
  if (!AllPrintable(call)) {
    return "call " + Quoted(call) + " holds characters no call has";
  }
  return std::string();
}

bool ParseQsoLine(std::string_view line, QsoLineFields& out, std::string& reason) {
  if (line.size() > kMaxLineBytes) {
    reason = "a line of " + std::to_string(line.size()) + " bytes is too long for a QSO line";
    return false;
  }
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
  if (count == 0 || fields[0] != kQsoLineWord) {
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
    reason = "frequency " + Quoted(fields[1]) + " is not a number of kHz";
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
    reason = "mode " + Quoted(fields[2]) + " is none of the contest's";
    return false;
  }
  const std::optional<long> day = DayNumberOfIsoDate(fields[3]);
  if (!day) {
    reason = Quoted(fields[3]) + " is not a date (YYYY-MM-DD)";
    return false;
  }
  if (*day < kFirstDay || *day > kLastDay) {
    reason = Quoted(fields[3]) + " lies outside the years 1900 to 2099";
    return false;
  }
  const std::string_view time = fields[4];
  const std::optional<long> seconds =
      time.size() == 4 ? SecondsOfTime(time) : std::optional<long>();
  if (!seconds) {
    reason = Quoted(time) + " is not a time (HHMM)";
    return false;
  }
  for (const std::string_view call : {fields[5], fields[7]}) {
    reason = CallFault(call);
    if (!reason.empty()) {
      return false;
    }
  }
  for (const std::string_view serial : {fields[6], fields[8]}) {
    reason = SerialFault(serial);
    if (!reason.empty()) {
      return false;
    }
  }
  out.minute = static_cast<int>(*day * kMinutesPerDay + *seconds / 60);
  out.ownCall = fields[5];
  out.sent = fields[6];
  out.theirCall = fields[7];
  out.rcvd = fields[8];
  return true;
}

SubmittedLog::Sheet ParseSheet(std::string_view bytes) {
  SubmittedLog::Sheet sheet;
  bool dates = false;
  ForEachTextLine(bytes, [&](int, std::string_view line) {
    if (sheet.call.empty()) {
      if (const auto value = ValueAfter(line, kSheetCallLabel)) {
        sheet.call = ToUpperAscii(*value);
      }
    }
    if (!dates) {
      if (const auto value = ValueAfter(line, kSheetDatesLabel)) {
        dates = true;
        const std::size_t dash = value->find(" - ");
        sheet.firstDay = SheetDay(value->substr(0, dash));
        sheet.lastDay =
            dash == std::string_view::npos ? sheet.firstDay : SheetDay(value->substr(dash + 3));
        if (!sheet.firstDay || !sheet.lastDay || *sheet.lastDay < *sheet.firstDay) {
          sheet.firstDay.reset();
          sheet.lastDay.reset();
        }
      }
    }
    if (sheet.category.empty()) {
      if (const auto value = ValueAfter(line, kSheetPowerLabel)) {
        sheet.category = ShownText(ToUpperAscii(*value), kSheetValueChars);
      }
    }
    if (sheet.club.empty()) {
      if (const auto value = ValueAfter(line, kSheetClubLabel)) {
        sheet.club = ShownText(*value, kSheetValueChars);
      }
    }
  });
  sheet.table = tools::ParseScoreTable(bytes);
  return sheet;
}

std::string SubmittedLog::PathOf(const std::string& file) const {
  return ShownText((fs::path(folder) / file).string(), 300);
}

SubmittedLog ReadSubmission(const std::string& folder, TextPool& texts) {
  SubmittedLog log;
  log.folder = folder;
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    log.isFolder = false;
    log.messages.push_back(ShownText(folder, 300) + " is not a folder");
    return log;
  }
  std::vector<Entry> logs;
  std::vector<Entry> sheets;
  std::vector<std::string> others;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name;
    try {
      name = ShownText(it->path().filename().string(), 60);
    } catch (const std::exception&) {
      name = "?";  // a name the system cannot give in this program's code page
    }
    const int group = ModeGroupOfLogFileName(name);
    const bool sheet = group < 0 && IsSummarySheetFileName(name);
    if (group < 0 && !sheet) {
      others.push_back(name);
      continue;
    }
    std::string reason;
    const std::optional<fs::path> path = Readable(folder, *it, reason);
    if (!path) {
      log.messages.push_back("cannot read " + log.PathOf(name) + ": " + reason);
      continue;
    }
    (sheet ? sheets : logs).push_back(Entry{group, name, *path});
  }
  if (ec) {
    log.isFolder = false;
    log.messages.push_back("cannot list " + ShownText(folder, 300) + ": " + ec.message());
    return log;
  }
  ReadEntries(log, logs, sheets, others, texts);
  return log;
}

SubmittedLog ReadSubmittedFiles(const std::vector<SubmittedFile>& files, TextPool& texts) {
  SubmittedLog log;
  std::vector<Entry> logs;
  std::vector<Entry> sheets;
  std::vector<std::string> others;
  for (const SubmittedFile& file : files) {
    const std::string name = ShownText(file.name, 60);
    const int group = ModeGroupOfLogFileName(name);
    if (group < 0 && !IsSummarySheetFileName(name)) {
      others.push_back(name);
      continue;
    }
    (group < 0 ? sheets : logs).push_back(Entry{group, name, fs::path(), &file.bytes});
  }
  ReadEntries(log, logs, sheets, others, texts);
  return log;
}
