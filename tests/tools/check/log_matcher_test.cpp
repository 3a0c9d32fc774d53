#include "tools/check/log_matcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "submission_folders.h"
#include "tools/check/check_results.h"

namespace {

struct StationLines {
  std::string call;
  std::vector<std::string> lines;  // QSO lines without "QSO: "
};

struct Expected {
  std::string call;
  int line;
  std::string verdict;
  std::string detail;
};

struct Case {
  const char* rule;
  std::vector<StationLines> stations;
  std::vector<Expected> expected;  // every line of every station
};

const Case kCases[] = {
    {"both halves agree; serials compare as numbers",
     {{"Q1AA", {"14080 RY 2016-02-13 0930 Q1AA 007 Q2BB 12"}},
      {"Q2BB", {"14081 RY 2016-02-13 0931 Q2BB 012 Q1AA 7"}}},
     {{"Q1AA", 1, "OK", "Q2BB RTTY.log:1"}, {"Q2BB", 1, "OK", "Q1AA RTTY.log:1"}}},
    {"a wrong serial is removed for the station that received it",
     {{"Q1AA", {"14080 RY 2016-02-13 0930 Q1AA 001 Q2BB 013"}},
      {"Q2BB", {"14080 RY 2016-02-13 0930 Q2BB 012 Q1AA 001"}}},
     {{"Q1AA", 1, "BUSTED-EXCH", "received 013, Q2BB sent 012 (RTTY.log:1)"},
      {"Q2BB", 1, "OK", "Q1AA RTTY.log:1"}}},
    {"the window's edge is inside, one minute more is outside, midnight is no edge",
     {{"Q1AA",
       {"14080 RY 2016-02-13 0930 Q1AA 001 Q2BB 001", "7040 RY 2016-02-13 1200 Q1AA 002 Q2BB 002",
        "14070 PS 2016-02-13 2355 Q1AA 003 Q2BB 003"}},
      {"Q2BB",
       {"14080 RY 2016-02-13 0940 Q2BB 001 Q1AA 001", "7040 RY 2016-02-13 1211 Q2BB 002 Q1AA 002",
        "14070 PS 2016-02-14 0003 Q2BB 003 Q1AA 003"}}},
     {{"Q1AA", 1, "OK", "Q2BB RTTY.log:1"},
      {"Q1AA", 2, "NIL",
       "no QSO with Q1AA on 40m RTTY within 10 minutes in Q2BB's log; nearest: RTTY.log:2 at "
       "2016-02-13 1211"},
      {"Q1AA", 3, "OK", "Q2BB RTTY.log:3"},
      {"Q2BB", 1, "OK", "Q1AA RTTY.log:1"},
      {"Q2BB", 2, "NIL",
       "no QSO with Q2BB on 40m RTTY within 10 minutes in Q1AA's log; nearest: RTTY.log:2 at "
       "2016-02-13 1200"},
      {"Q2BB", 3, "OK", "Q1AA RTTY.log:3"}}},
    {"a QSO logged on another band or mode group is not in the log",
     {{"Q1AA",
       {"14080 RY 2016-02-13 0930 Q1AA 001 Q2BB 001", "3580 HE 2016-02-13 1000 Q1AA 002 Q2BB 002"}},
      {"Q2BB",
       {"7040 RY 2016-02-13 0930 Q2BB 001 Q1AA 001", "3580 TV 2016-02-13 1000 Q2BB 002 Q1AA 002"}}},
     {{"Q1AA", 1, "NIL", "no QSO with Q1AA on 20m RTTY within 10 minutes in Q2BB's log"},
      {"Q1AA", 2, "NIL", "no QSO with Q1AA on 80m HELL within 10 minutes in Q2BB's log"},
      {"Q2BB", 1, "NIL", "no QSO with Q2BB on 40m RTTY within 10 minutes in Q1AA's log"},
      {"Q2BB", 2, "NIL", "no QSO with Q2BB on 80m SSTV within 10 minutes in Q1AA's log"}}},
    {"one counterpart serves one claimed QSO: the closest in time",
     {{"Q1AA",
       {"14080 RY 2016-02-13 0900 Q1AA 001 Q2BB 001",
        "14080 RY 2016-02-13 0907 Q1AA 002 Q2BB 001"}},
      {"Q2BB", {"14080 RY 2016-02-13 0906 Q2BB 001 Q1AA 002"}}},
     {{"Q1AA", 1, "NIL",
       "no QSO with Q1AA on 20m RTTY within 10 minutes in Q2BB's log; nearest: RTTY.log:1 at "
       "2016-02-13 0906"},
      {"Q1AA", 2, "DUPE", "repeats RTTY.log:1"},
      {"Q2BB", 1, "OK", "Q1AA RTTY.log:2"}}},
    {"of two miscopies of one call, the closest in time is the busted call",
     {{"Q1AA",
       {"14080 RY 2016-02-13 1000 Q1AA 003 Q3CD 005",
        "14080 RY 2016-02-13 1005 Q1AA 004 Q3CE 005"}},
      {"Q3CC", {"14080 RY 2016-02-13 1004 Q3CC 005 Q1AA 004"}}},
     {{"Q1AA", 1, "UNIQUE", "Q3CD sent no log and is in no other log"},
      {"Q1AA", 2, "BUSTED-CALL", "most likely Q3CC: RTTY.log:1 logs Q1AA at 2016-02-13 1004"},
      {"Q3CC", 1, "OK", "Q1AA RTTY.log:2 (logged as Q3CE)"}}},
    {"two neighbours swapped make a busted call; the other station keeps its QSO",
     {{"Q1AA", {"21080 PS 2016-02-13 1200 Q1AA 010 DL1BAC 020"}},
      {"DL1ABC", {"21080 PS 2016-02-13 1201 DL1ABC 020 Q1AA 010"}}},
     {{"Q1AA", 1, "BUSTED-CALL", "most likely DL1ABC: PSK .log:1 logs Q1AA at 2016-02-13 1201"},
      {"DL1ABC", 1, "OK", "Q1AA PSK .log:1 (logged as DL1BAC)"}}},
    {"a station that miscopied the other's call loses the QSO, the other keeps it",
     {{"Q1AA", {"14080 RY 2016-02-13 0930 Q1AA 001 Q2BB 001"}},
      {"Q2BB", {"14080 RY 2016-02-13 0930 Q2BB 001 Q1AB 001"}}},
     {{"Q1AA", 1, "OK", "Q2BB RTTY.log:1 (logged as Q1AB)"},
      {"Q2BB", 1, "BUSTED-CALL", "most likely Q1AA: RTTY.log:1 logs Q2BB at 2016-02-13 0930"}}},
    {"the exact call is preferred to a closer miscopied one",
     {{"Q1AA", {"14080 RY 2016-02-13 0900 Q1AA 001 Q2BB 002"}},
      {"Q2BB",
       {"14080 RY 2016-02-13 0900 Q2BB 001 Q1AB 005",
        "14080 RY 2016-02-13 0908 Q2BB 002 Q1AA 001"}}},
     {{"Q1AA", 1, "OK", "Q2BB RTTY.log:2"},
      {"Q2BB", 1, "UNIQUE", "Q1AB sent no log and is in no other log"},
      {"Q2BB", 2, "OK", "Q1AA RTTY.log:1"}}},
    {"a call miscopied into another sender's call whose log has no counterpart",
     {{"Q1AA", {"14080 RY 2016-02-13 0900 Q1AA 001 Q2BC 001"}},
      {"Q2BB", {"14080 RY 2016-02-13 0900 Q2BB 001 Q1AA 001"}},
      {"Q2BC", {"7040 RY 2016-02-13 1300 Q2BC 001 Q9XX 001"}}},
     {{"Q1AA", 1, "BUSTED-CALL", "most likely Q2BB: RTTY.log:1 logs Q1AA at 2016-02-13 0900"},
      {"Q2BB", 1, "OK", "Q1AA RTTY.log:1 (logged as Q2BC)"},
      {"Q2BC", 1, "UNIQUE", "Q9XX sent no log and is in no other log"}}},
    {"a call that sent no log is unique in one log and unchecked in more",
     {{"Q1AA",
       {"14080 RY 2016-02-13 0900 Q1AA 001 Q9XX 001",
        "14080 RY 2016-02-13 0910 Q1AA 002 Q9YY 001"}},
      {"Q2BB", {"7040 HE 2016-02-13 2000 Q2BB 001 Q9YY 002"}}},
     {{"Q1AA", 1, "UNIQUE", "Q9XX sent no log and is in no other log"},
      {"Q1AA", 2, "UNCHECKED", "Q9YY sent no log; 1 other log holds it"},
      {"Q2BB", 1, "UNCHECKED", "Q9YY sent no log; 1 other log holds it"}}},
    {"a dupe repeats a call on a band and mode group, MFSK and OLIVIA being one group",
     {{"Q1AA",
       {"14080 MF 2016-02-13 0900 Q1AA 001 Q9XX 001", "14080 OL 2016-02-13 1500 Q1AA 002 Q9XX 002",
        "7040 MF 2016-02-13 1600 Q1AA 003 Q9XX 003",
        "14080 RY 2016-02-13 1700 Q1AA 004 Q9XX 004"}}},
     {{"Q1AA", 1, "UNIQUE", "Q9XX sent no log and is in no other log"},
      {"Q1AA", 2, "DUPE", "repeats RTTY.log:1"},
      {"Q1AA", 3, "UNIQUE", "Q9XX sent no log and is in no other log"},
      {"Q1AA", 4, "UNIQUE", "Q9XX sent no log and is in no other log"}}},
};

class LogMatcherTest : public SubmissionFolders {};

TEST_F(LogMatcherTest, EachRuleGivesItsVerdicts) {
  int caseNumber = 0;
  for (const Case& c : kCases) {
    std::vector<std::string> folders;
    for (const StationLines& s : c.stations) {
      std::vector<std::string> lines;
      for (const std::string& line : s.lines) {
        lines.push_back("QSO: " + line);
      }
      // One file per station: each line's mode code, not its file, decides.
      const std::string file =
          lines.front().find(" PS ") != std::string::npos ? "PSK .log" : "RTTY.log";
      folders.push_back(Write(std::to_string(caseNumber) + "/" + s.call, file, lines));
    }
    ++caseNumber;
    const ContestLogs logs = Read(folders);
    const std::vector<LineVerdict> verdicts = MatchLogs(logs, 10);
    ASSERT_EQ(c.expected.size(), logs.qsos.size()) << c.rule;
    for (const Expected& e : c.expected) {
      bool found = false;
      for (std::size_t i = 0; i < logs.qsos.size(); ++i) {
        const LoggedQso& q = logs.qsos[i];
        if (logs.stations[static_cast<std::size_t>(q.station)].call == e.call && q.line == e.line) {
          found = true;
          EXPECT_EQ(e.verdict, VerdictWord(verdicts[i].verdict))
              << c.rule << ": " << e.call << " line " << e.line;
          EXPECT_EQ(e.detail, VerdictDetail(logs, verdicts, static_cast<int>(i), CheckSettings()))
              << c.rule << ": " << e.call << " line " << e.line;
        }
      }
      EXPECT_TRUE(found) << c.rule << ": " << e.call << " line " << e.line;
    }
  }
}

TEST(SerialTest, NumbersCompareByValueAndTextsAsWritten) {
  EXPECT_TRUE(SameSerial("007", "7"));
  EXPECT_TRUE(SameSerial("0", "000"));
  EXPECT_FALSE(SameSerial("007", "70"));
  EXPECT_TRUE(SameSerial("12A", "12A"));
  EXPECT_FALSE(SameSerial("012A", "12A"));
  EXPECT_FALSE(SameSerial("12", "12A"));
}

}  // namespace
