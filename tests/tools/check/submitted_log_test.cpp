#include "tools/check/submitted_log.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "contest/bands.h"
#include "contest/mode_groups.h"
#include "submission_folders.h"

namespace {

TEST(QsoLineTest, ReadsTheFieldsOfTheReportRunsLine) {
  QsoLineFields q;
  std::string reason;
  ASSERT_TRUE(ParseQsoLine("QSO:  1838 OL 2016-02-14 2359 Q1AB/P        007    dl1abc        12 ",
                           q, reason))
      << reason;
  EXPECT_EQ(1838, q.khz);
  EXPECT_EQ("160m", kOperatorBands[q.band].label);
  EXPECT_EQ("MFSK", kModeGroups[q.group].heading);
  EXPECT_EQ("OLIVIA", kModeGroups[q.group].modes[q.code].name);
  EXPECT_EQ(42414 * 1440 + 23 * 60 + 59, q.minute);
  EXPECT_EQ("Q1AB/P", q.ownCall);
  EXPECT_EQ("007", q.sent);
  EXPECT_EQ("dl1abc", q.theirCall);
  EXPECT_EQ("12", q.rcvd);
}

TEST(QsoLineTest, SaysWhyALineCannotBeRead) {
  const struct {
    const char* line;
    const char* reason;
  } cases[] = {
      {"X-QSO: 14080 RY 2016-02-13 0930 Q1AA 001 Q2BB 002", "not a QSO line"},
      {"QSO: 14080 RY 2016-02-13 0930 Q1AA 001 Q2BB",
       "a QSO line has 9 fields (QSO: kHz mode date time own-call sent call received), this one 8"},
      {"QSO: 14O80 RY 2016-02-13 0930 Q1AA 001 Q2BB 002",
       "frequency '14O80' is not a number of kHz"},
      {"QSO: 10140 RY 2016-02-13 0930 Q1AA 001 Q2BB 002",
       "10140 kHz lies on none of the contest's bands"},
      {"QSO: 50100 RY 2016-02-13 0930 Q1AA 001 Q2BB 002",
       "50100 kHz lies on none of the contest's bands"},
      {"QSO: 14080 CW 2016-02-13 0930 Q1AA 001 Q2BB 002", "mode 'CW' is none of the contest's"},
      {"QSO: 14080 RY 2016-02-30 0930 Q1AA 001 Q2BB 002",
       "'2016-02-30' is not a date (YYYY-MM-DD)"},
      {"QSO: 14080 RY 2016-02-13 0960 Q1AA 001 Q2BB 002", "'0960' is not a time (HHMM)"},
  };
  for (const auto& c : cases) {
    QsoLineFields q;
    std::string reason;
    EXPECT_FALSE(ParseQsoLine(c.line, q, reason)) << c.line;
    EXPECT_EQ(c.reason, reason) << c.line;
  }
}

TEST(ScoreTableTest, ReadsTheResultTextAndTheSheetsTable) {
  const std::optional<tools::ScoreTable> result = tools::ParseScoreTable(
      "\t  KOVA-BRAWLCUP 13.02-14.02.2016 \r\n    \tBPSK\tHELL\tMFSK\tMT63\tRTTY\tTHROB\tSSTV\r\n"
      "QSO:\t 3\t 0\t 1\t 0\t 2\t 0\t 0\r\nPFX:\t 2\t 0\t 1\t 0\t 2\t 0\t 0\r\n"
      "Score:\t 6\t 0\t 1\t 0\t 4\t 0\t 0\r\n");
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(6, result->TotalQsos());
  EXPECT_EQ(11, result->TotalScore());
  EXPECT_EQ(1, result->prefixes[2]);
  const std::optional<tools::ScoreTable> sheet = tools::ParseScoreTable(
      "QSO: 14080 RY 2016-02-13 0930 Q1AA 001 Q2BB 002\r\n___\r\n"
      "QSO\t 1\t 2\t 3\t 4\t 5\t 6\t 7\r\nPFX\t 1\t 1\t 1\t 1\t 1\t 1\t 1\r\n"
      "Score\t 1\t 2\t 3\t 4\t 5\t 6\t 70000000000\r\n");
  ASSERT_TRUE(sheet.has_value());
  EXPECT_EQ(28, sheet->TotalQsos());
  EXPECT_EQ(70000000021, sheet->TotalScore());
  EXPECT_FALSE(tools::ParseScoreTable("QSO\t 1\t 2\nPFX\t 1\t 2\nScore\t 1\t 2\n").has_value());
}

class SubmittedLogTest : public SubmissionFolders {};

TEST_F(SubmittedLogTest, ReadsTheLogsAndSheetAndNamesWhatItCannotRead) {
  const std::string folder = Write("Q1AA", "rtty.log",
                                   {"QSO: 14080 RY 2016-02-13 0930 Q1AA 001 Q2BB 002", "",
                                    "garbage", "QSO: 14080 RY 2016-02-13 0931 q1aa 002 Q2CC 002"});
  Write("Q1AA", "PSK .log", {"QSO: 14070 PS 2016-02-13 1000 Q1AA 003 Q2DD 004"});
  Write("Q1AA", "Q1AA.sum",
        {"\tCallsign Used : Q1AA", "QSO\t 1\t 0\t 0\t 0\t 2\t 0\t 0",
         "PFX\t 1\t 0\t 0\t 0\t 1\t 0\t 0", "Score\t 1\t 0\t 0\t 0\t 2\t 0\t 0"});
  Write("Q1AA", "notes.txt", {"hello"});
  TextPool texts;
  const SubmittedLog log = ReadSubmission(folder, texts);

  EXPECT_EQ((std::vector<std::string>{"PSK .log", "rtty.log"}), log.files);
  ASSERT_EQ(3u, log.qsos.size());
  EXPECT_EQ("Q2DD", texts.Text(log.qsos[0].call));
  EXPECT_EQ(4, log.qsos[2].line);
  EXPECT_EQ(1, log.qsos[2].file);
  ASSERT_EQ(1u, log.ownCalls.size());
  EXPECT_EQ("Q1AA", texts.Text(log.ownCalls.begin()->first));
  ASSERT_EQ(1u, log.unread.size());
  EXPECT_EQ(3, log.unread[0].line);
  EXPECT_EQ("not a QSO line", log.unread[0].reason);
  ASSERT_EQ(1u, log.sheets.size());
  EXPECT_EQ("Q1AA", log.sheets[0].call);
  ASSERT_TRUE(log.sheets[0].table.has_value());
  EXPECT_EQ(3, log.sheets[0].table->TotalScore());
  EXPECT_EQ((std::vector<std::string>{log.PathOf("notes.txt") +
                                      " is neither a per-mode log nor a summary sheet; not read"}),
            log.messages);
}

// Of two sheets of one station, the one under the name the report run gives
// it counts, whatever the other is called.
TEST_F(SubmittedLogTest, TheSheetUnderTheReportRunsNameCounts) {
  const std::string folder =
      Write("portable", "RTTY.log", {"QSO: 14080 RY 2016-02-13 0930 Q1AA/P 1 Q2BB 2"});
  for (const auto& [file, score] :
       {std::pair<const char*, const char*>{"A-copy.sum", "1"}, {"Q1AA_P.sum", "3"}}) {
    Write("portable", file,
          {"\tCallsign Used : Q1AA/P", "QSO\t 1\t 0\t 0\t 0\t 0\t 0\t 0",
           "PFX\t 1\t 0\t 0\t 0\t 0\t 0\t 0",
           std::string("Score\t ") + score + "\t 0\t 0\t 0\t 0\t 0\t 0"});
  }
  const ContestLogs logs = Read({folder});
  ASSERT_EQ(1u, logs.stations.size());
  EXPECT_EQ("Q1AA_P.sum", logs.stations[0].sheetFile);
  ASSERT_TRUE(logs.stations[0].sheet.has_value());
  EXPECT_EQ(3, logs.stations[0].sheet->TotalScore());
  EXPECT_EQ((std::vector<std::string>{(std::filesystem::path(folder) / "A-copy.sum").string() +
                                      " is a second summary sheet of Q1AA/P; Q1AA_P.sum is used"}),
            messages_);
}

TEST_F(SubmittedLogTest, StationsThatCannotBeToldApartAreLeftOut) {
  const std::string good =
      Write("good", "RTTY.log", {"QSO: 14080 RY 2016-02-13 0930 Q1AA 1 Q2BB 2"});
  Write("good", "Q1AA.sum", {"\tCallsign Used : Q1XX"});
  const std::string twoCalls = Write("two", "RTTY.log",
                                     {"QSO: 14080 RY 2016-02-13 0930 Q3CC 1 Q2BB 2",
                                      "QSO: 14080 RY 2016-02-13 0931 Q3CD 1 Q2BC 2"});
  const std::string first =
      Write("first", "RTTY.log", {"QSO: 14080 RY 2016-02-13 0930 Q4DD 1 Q2BB 2"});
  const std::string second =
      Write("second", "HELL .log", {"QSO: 14080 HE 2016-02-13 0930 Q4DD 1 Q2BB 2"});
  const std::string empty = Write("empty", "readme.txt", {});
  const std::string garbage = Write("garbage", "RTTY.log", {"nothing here"});
  const ContestLogs logs =
      Read({good, twoCalls, first, second, empty, garbage, (root_ / "missing").string()});

  // The folder named later replaces the earlier one, as a resubmission does.
  ASSERT_EQ(2u, logs.stations.size());
  EXPECT_EQ("Q1AA", logs.stations[0].call);
  EXPECT_FALSE(logs.stations[0].sheet.has_value());
  EXPECT_EQ(0, logs.StationOfCall(logs.texts.Find("Q1AA")));
  EXPECT_EQ(1, logs.StationOfCall(logs.texts.Find("Q4DD")));
  EXPECT_EQ(second, logs.stations[1].folder);
  EXPECT_TRUE(logs.SentUnusedLog(logs.texts.Find("Q3CC")));
  EXPECT_FALSE(logs.SentUnusedLog(logs.texts.Find("Q4DD")));
  const std::string missing = (root_ / "missing").string();
  const std::vector<std::string> expected = {
      (std::filesystem::path(good) / "Q1AA.sum").string() +
          " names Q1XX, not the logs' Q1AA; not used",
      empty + ": holds none of the per-mode logs; not used",
      (std::filesystem::path(empty) / "readme.txt").string() +
          " is neither a per-mode log nor a summary sheet; not read",
      first + ": also holds Q4DD's logs; " + second + ", named later, is used; not used",
      garbage + ": holds no readable QSO line; not used",
      missing + ": is no folder that can be read; not used",
      missing + " is not a folder",
      twoCalls +
          ": its lines name more than one own call (Q3CC in RTTY.log; Q3CD in RTTY.log); "
          "not used",
  };
  EXPECT_EQ(expected, messages_);
}

}  // namespace
