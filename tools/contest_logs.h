// All stations of a contest check: the submissions that name one own call
// each, one submission per call, their readable QSO lines side by side, and
// which worked calls sent a log. Submissions that cannot be told apart (two
// own calls in one folder, two folders for one call, no readable line) are
// left out with a message naming their files; the rest of the run goes on.
//
// Built once on one thread, then only read.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/submitted_log.h"
#include "tools/text_pool.h"

struct Station {
  std::string call;
  int callText = -1;  // the call's number in the text pool
  std::string folder;
  std::vector<std::string> files;
  std::optional<ScoreTable> sheet;  // the claimed table of its summary sheet
  std::string sheetFile;
  std::vector<UnreadLine> unread;  // in file and line order
  int firstQso = 0;                // its QSOs in ContestLogs::qsos
  int qsoCount = 0;
};

struct ContestLogs {
  TextPool texts;
  std::vector<Station> stations;  // in call order
  std::vector<LoggedQso> qsos;    // station by station, each in reading order
  int firstMinute = 0;            // the earliest and latest QSO kept
  int lastMinute = 0;

  // The station that sent a log under a call (a text number), or -1.
  int StationOfCall(int callText) const {
    return callText >= 0 && callText < static_cast<int>(stationOfText.size())
               ? stationOfText[static_cast<std::size_t>(callText)]
               : -1;
  }
  // The path of a station's file, for messages.
  std::string PathOf(int station, int file) const;

  std::vector<int> stationOfText;  // by text number: the station of that call, or -1
};

// Joins the submissions read with `texts`; every submission left out, and
// every summary sheet not used, gets a message.
ContestLogs AssembleContest(std::vector<SubmittedLog> submissions, TextPool texts,
                            std::vector<std::string>& messages);

// Keeps the QSOs from `startMinute` to `endMinute` (either end open when
// empty); each other line joins its station's unread lines.
void KeepContestPeriod(ContestLogs& logs, std::optional<int> startMinute,
                       std::optional<int> endMinute);

// "YYYY-MM-DD HHMM" of a minute count, as the QSO lines print it.
std::string MinuteText(int minute);
