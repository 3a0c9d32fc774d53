// All stations of a contest check: the submissions that name one own call
// each, one submission per call, their readable QSO lines side by side, and
// which worked calls sent a log. A folder whose lines name more than one own
// call, or none, is left out; of two folders for one call the one named later
// on the command line is used (a resubmission replaces the earlier one). Every
// folder not used is listed with its reason; the rest of the run goes on.
//
// Built once on one thread, then only read.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "tools/check/submitted_log.h"
#include "tools/check/text_pool.h"

struct Station {
  std::string call;
  int callText = -1;     // the call's number in the text pool
  std::string fileWord;  // names its files; unique in the contest, whatever the calls
  std::string folder;
  std::vector<std::string> files;
  std::optional<tools::ScoreTable> sheet;    // the claimed table of its summary sheet
  std::string sheetFile;              // the sheet used, even when its table cannot be read
  std::string category;               // CATEGORY-POWER of the sheet, empty when none
  std::string club;                   // Team/Club of the sheet
  std::optional<long> sheetFirstDay;  // Contest Date(s) of the sheet
  std::optional<long> sheetLastDay;
  std::vector<UnreadLine> unread;     // in file and line order
  std::size_t unreadMore = 0;         // unreadable lines not kept
  std::size_t lines = 0;              // lines of its logs that are not blank
  std::vector<std::string> messages;  // about its files, each a sentence
  int firstQso = 0;                   // its QSOs in ContestLogs::qsos
  int qsoCount = 0;
};

// A folder that is not used, with the sentence saying why and what else was
// found wrong in it.
struct UnusedFolder {
  std::string folder;  // made safe to show
  std::string reason;
  std::vector<std::string> messages;
};

struct ContestLogs {
  TextPool texts;
  std::vector<Station> stations;  // in call order
  std::vector<LoggedQso> qsos;    // station by station, each in reading order
  int firstMinute = 0;            // the earliest and latest QSO kept
  int lastMinute = 0;
  std::vector<UnusedFolder> unused;  // in command-line order

  // A station or a QSO line by its number.
  const Station& StationAt(int station) const {
    return stations[static_cast<std::size_t>(station)];
  }
  const LoggedQso& QsoAt(int qso) const { return qsos[static_cast<std::size_t>(qso)]; }

  // The station that sent a log under a call (a text number), or -1.
  int StationOfCall(int callText) const {
    return callText >= 0 && callText < static_cast<int>(stationOfText.size())
               ? stationOfText[static_cast<std::size_t>(callText)]
               : -1;
  }
  // True for a call whose only folder was left out (it sent files, none used).
  bool SentUnusedLog(int callText) const {
    return callText >= 0 && callText < static_cast<int>(unusedCallText.size()) &&
           unusedCallText[static_cast<std::size_t>(callText)];
  }
  // The path of a station's file, for messages.
  std::string PathOf(int station, int file) const;

  std::vector<int> stationOfText;    // by text number: the station of that call, or -1
  std::vector<bool> unusedCallText;  // by text number
};

// Joins the submissions read with `texts`; every submission left out, and
// every summary sheet not used, is said so in `unused` or the station's
// messages.
ContestLogs AssembleContest(std::vector<SubmittedLog> submissions, TextPool texts);

// Keeps the QSOs from `startMinute` to `endMinute` (either end open when
// empty); each other line joins its station's unread lines. Returns, by
// station, how many lines left.
std::vector<std::size_t> KeepContestPeriod(ContestLogs& logs, std::optional<int> startMinute,
                                           std::optional<int> endMinute);

// The contest days the summary sheets state: the first and last day most of
// them give (ties to the earlier period); empty when no sheet gives dates.
struct SheetPeriod {
  long firstDay = 0;
  long lastDay = 0;
  int sheets = 0;  // how many sheets state it
};
std::optional<SheetPeriod> PeriodOfSheets(const ContestLogs& logs);

// The word that names a station's files: a call of capitals, digits and inner
// "/" as the word of its summary sheet ("Q1AA/P" gives "Q1AA_P"); any other
// call the same with every other character as "_" and "~" and eight hex
// digits of the call's hash after it, so no two calls share a word.
std::string StationFileWord(const std::string& call);

// "YYYY-MM-DD HHMM" of a minute count, as the QSO lines print it.
std::string MinuteText(int minute);
