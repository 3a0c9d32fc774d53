// One station's submission as the sponsor receives it: a folder with any of
// the seven per-mode logs of QSO lines and the summary sheet. Reading it keeps
// every readable QSO line and tells, with file and line number, about each
// line and file that cannot be read.
//
// Submissions come from strangers, so every size is bounded: a file is read
// only when it is a regular file of at most kMaxFileBytes (a link is followed
// only to a regular file inside the folder), a QSO line's fields have the
// lengths below, at most kMaxLogFiles per-mode logs and kMaxUnreadKept
// unreadable lines are kept per folder (the rest are counted), and nothing
// read is ever quoted whole.
//
// Used on one thread; the text pool is shared by all submissions of a run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/common/score_table.h"
#include "tools/check/text_pool.h"

// A call is at most this long, any "/P"-style suffix included; a serial too.
inline constexpr std::size_t kMaxCallChars = 20;
inline constexpr std::size_t kMaxSerialChars = 20;
// A line longer than this is no QSO line (the report run's are about 70).
inline constexpr std::size_t kMaxLineBytes = 256;
// About 200 times the largest log a station of a two-day contest sends.
inline constexpr std::size_t kMaxFileBytes = std::size_t{16} << 20;
// Per folder: the seven logs and room for copies under other letter cases.
inline constexpr std::size_t kMaxLogFiles = 32;
inline constexpr std::size_t kMaxUnreadKept = 1000;

// QSO dates (and the contest period) lie in the years 1900 to 2099: days
// since 30 December 1899.
inline constexpr long kFirstDay = 2;     // 1900-01-01
inline constexpr long kLastDay = 73050;  // 2099-12-31

// One claimed QSO line. Texts are numbers in the run's text pool; calls are
// kept in capitals.
struct LoggedQso {
  std::int32_t station = -1;  // set when the submission joins the contest
  std::int32_t call = -1;     // the worked call
  std::int32_t sent = -1;     // serial sent
  std::int32_t rcvd = -1;     // serial received
  std::int32_t minute = 0;    // minutes since 30 December 1899 00:00
  std::int32_t khz = 0;
  std::int32_t line = 0;   // line number in its file, from 1
  std::uint8_t file = 0;   // index into the submission's files (< kMaxLogFiles)
  std::uint8_t band = 0;   // index into kOperatorBands
  std::uint8_t group = 0;  // index into kModeGroups
  std::uint8_t code = 0;   // which of the group's codes the line carries
};
static_assert(kMaxLogFiles <= 256, "LoggedQso::file holds the index of a log file");

// The fields of one QSO line: "QSO: kHz CODE YYYY-MM-DD HHMM OWNCALL SENT
// THEIRCALL RCVD", blanks or tabs between them (the report run pads columns).
struct QsoLineFields {
  int khz = 0;
  int band = -1;
  int group = -1;
  int code = 0;
  int minute = 0;
  std::string_view ownCall;
  std::string_view sent;
  std::string_view theirCall;
  std::string_view rcvd;
};

// False, with the reason in `reason`, for a line that is not a readable QSO
// line of the contest (a wrong field count, a frequency off the contest's
// bands, an unknown mode code, a date or time that is not one or lies outside
// the years this checker takes, a call or serial too long or holding what no
// call holds). What the reason quotes is made safe to show.
bool ParseQsoLine(std::string_view line, QsoLineFields& out, std::string& reason);

// Why a text cannot be a call (too long, or holding what no call holds), or
// an empty text. What it quotes is made safe to show.
std::string CallFault(std::string_view call);

// Calls `f(number, line)` for each line of `bytes`, numbered from 1, without
// its line end: CR LF, LF or a lone CR. A UTF-8 byte-order mark in front is
// not part of the first line.
template <class F>
void ForEachTextLine(std::string_view bytes, F&& f) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    bytes.remove_prefix(3);
  }
  const std::size_t size = bytes.size();
  std::size_t at = 0;
  int number = 0;
  while (at < size) {
    std::size_t end = at;
    while (end < size && bytes[end] != '\n' && bytes[end] != '\r') {
      ++end;
    }
    f(++number, bytes.substr(at, end - at));
    at = end + 1;
    if (end < size && bytes[end] == '\r' && at < size && bytes[at] == '\n') {
      ++at;
    }
  }
}

struct UnreadLine {
  int file = 0;  // index into the submission's files
  int line = 0;
  std::string reason;
};

struct SubmittedLog {
  std::string folder;              // as given on the command line
  bool isFolder = true;            // false: the path is no folder that can be listed
  std::vector<std::string> files;  // per-mode log names as found (made safe to show)
  std::vector<LoggedQso> qsos;     // file by file, in line order
  std::vector<UnreadLine> unread;  // in file and line order, the first kMaxUnreadKept
  std::size_t unreadMore = 0;      // unreadable lines past those
  std::size_t lines = 0;           // lines of the logs that are not blank
  // Every own call the lines name (a pool number), with the files naming it.
  std::map<int, std::vector<std::string>> ownCalls;
  // The summary sheets found: file name, what they state, their table.
  struct Sheet {
    std::string file;
    std::string call;
    std::optional<tools::ScoreTable> table;
    std::string category;          // CATEGORY-POWER as written (made safe to show)
    std::string club;              // Team/Club
    std::optional<long> firstDay;  // Contest Date(s), as day numbers
    std::optional<long> lastDay;
  };
  std::vector<Sheet> sheets;
  // Problems with the folder or a whole file, each a sentence naming it.
  std::vector<std::string> messages;

  // The path of one of the folder's files for messages.
  std::string PathOf(const std::string& file) const;
};

// Reads the per-mode logs and summary sheets of one folder. Log names are
// matched ignoring case, as Windows does; other files are named in a message.
SubmittedLog ReadSubmission(const std::string& folder, TextPool& texts);

// One file as a sender named and sent it, held in memory.
struct SubmittedFile {
  std::string name;
  std::string bytes;
};

// Reads files held in memory as ReadSubmission reads a folder's: the name
// alone says what a file is (a per-mode log, a summary sheet or neither) and
// is never used as a path; messages name the files as sent, made safe to show.
SubmittedLog ReadSubmittedFiles(const std::vector<SubmittedFile>& files, TextPool& texts);

// Reads a summary sheet's text (what ReadSubmission does with each sheet).
SubmittedLog::Sheet ParseSheet(std::string_view bytes);
