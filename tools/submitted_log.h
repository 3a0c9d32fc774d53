// One station's submission as the sponsor receives it: a folder with any of
// the seven per-mode logs of QSO lines and the summary sheet. Reading it keeps
// every readable QSO line and tells, with file and line number, about each
// line and file that cannot be read.
//
// Used on one thread; the text pool is shared by all submissions of a run.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/score_table.h"
#include "tools/text_pool.h"

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
  std::uint8_t file = 0;   // index into the submission's files
  std::uint8_t band = 0;   // index into kOperatorBands
  std::uint8_t group = 0;  // index into kModeGroups
  std::uint8_t code = 0;   // which of the group's codes the line carries
};

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
// bands, an unknown mode code, a date or time that is not one).
bool ParseQsoLine(std::string_view line, QsoLineFields& out, std::string& reason);

struct UnreadLine {
  int file = 0;  // index into the submission's files
  int line = 0;
  std::string reason;
};

struct SubmittedLog {
  std::string folder;              // as given on the command line
  std::vector<std::string> files;  // per-mode log names as found in the folder
  std::vector<LoggedQso> qsos;     // file by file, in line order
  std::vector<UnreadLine> unread;  // in file and line order
  // Every own call the lines name (a pool number), with the files naming it.
  std::map<int, std::vector<std::string>> ownCalls;
  // The summary sheets found: file name, the call they name, their table.
  struct Sheet {
    std::string file;
    std::string call;
    std::optional<ScoreTable> table;
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
