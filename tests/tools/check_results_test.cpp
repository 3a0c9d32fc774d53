#include "tools/check_results.h"

#include <gtest/gtest.h>

#include <string>

#include "submission_folders.h"
#include "tools/results_page.h"

namespace {

ScoreTable RttyOnly(int qsos, int prefixes) {
  ScoreTable t;
  t.qsos[4] = qsos;
  t.prefixes[4] = prefixes;
  t.scores[4] = qsos * prefixes;
  return t;
}

class CheckResultsTest : public SubmissionFolders {
 protected:
  void SetUp() override {
    SubmissionFolders::SetUp();
    const std::string a = Write("a", "RTTY.log",
                                {"QSO: 14080 RY 2016-02-13 0930 Q1AA 001 Q2BB 001",
                                 "QSO: 14080 RY 2016-02-13 0940 Q1AA 002 Q9X<Y> 001", "garbage"});
    Write("a", "Q1AA.sum",
          {"\tCallsign Used : Q1AA", "QSO\t 0\t 0\t 0\t 0\t 2\t 0\t 0",
           "PFX\t 0\t 0\t 0\t 0\t 2\t 0\t 0", "Score\t 0\t 0\t 0\t 0\t 4\t 0\t 0"});
    const std::string b = Write("b", "RTTY.log",
                                {"QSO: 14080 RY 2016-02-13 0930 Q2BB 001 Q1AA 001",
                                 "QSO:  7040 RY 2016-02-13 1000 Q2BB 002 Q1AA 002"});
    logs_ = Read({a, b});
    verdicts_ = MatchLogs(logs_, settings_.windowMinutes);
    results_.resize(2);
    results_[0].station = 0;
    results_[0].claimed = RttyOnly(2, 2);
    results_[0].claimedFromSheet = true;
    results_[0].checked = RttyOnly(2, 2);
    results_[1].station = 1;
    results_[1].claimed = RttyOnly(2, 1);
    results_[1].checked = RttyOnly(1, 1);
    CountVerdicts(logs_, verdicts_, results_);
    RankStations(logs_, results_);
  }

  CheckSettings settings_;
  ContestLogs logs_;
  std::vector<LineVerdict> verdicts_;
  std::vector<StationResult> results_;
};

TEST_F(CheckResultsTest, RankedResultsAsTextAndCsv) {
  EXPECT_EQ(
      "KOVA Brawlcup Digital Prefix Contest: checked results\n"
      "2 stations; QSOs from 2016-02-13 0930 to 2016-02-13 1000; time window 10 minutes; unique "
      "calls kept\n\n"
      "Place  Call  Claimed QSOs  Claimed score  Checked QSOs  Checked score  BPSK  HELL  MFSK  "
      "MT63  RTTY  THROB  SSTV  NIL  BUSTED-CALL  BUSTED-EXCH  UNIQUE  DUPE  UNCHECKED\n"
      "    1  Q1AA             2              4             2              4     0     0     0  "
      "   0     4      0     0    0            0            0       1     0          0\n"
      "    2  Q2BB             2             2*             1              1     0     0     0  "
      "   0     1      0     0    1            0            0       0     0          0\n"
      "\n* no summary sheet with a readable score table: the claimed score is worked out from "
      "the station's logs\n",
      ResultsText(logs_, results_, settings_));
  EXPECT_EQ(
      "place,call,claimed_qsos,claimed_score,claimed_from,checked_qsos,checked_score,score_BPSK,"
      "score_HELL,score_MFSK,score_MT63,score_RTTY,score_THROB,score_SSTV,NIL,BUSTED-CALL,"
      "BUSTED-EXCH,UNIQUE,DUPE,UNCHECKED\n"
      "1,Q1AA,2,4,sheet,2,4,0,0,0,0,4,0,0,0,0,0,1,0,0\n"
      "2,Q2BB,2,2,logs,1,1,0,0,0,0,1,0,0,1,0,0,0,0,0\n",
      ResultsCsv(logs_, results_));
}

TEST_F(CheckResultsTest, EqualScoresSharePlaceAndGoByCall) {
  results_[0].checked = RttyOnly(1, 1);
  RankStations(logs_, results_);
  EXPECT_EQ(0, results_[0].station);
  EXPECT_EQ(1, results_[0].place);
  EXPECT_EQ(1, results_[1].place);
}

TEST_F(CheckResultsTest, UbnListAndVerdictLines) {
  EXPECT_EQ("Q1AA.ubn.txt", UbnFileName(logs_.stations[0]));
  EXPECT_EQ(
      "UBN report of Q1AA\n"
      "KOVA Brawlcup Digital Prefix Contest; time window 10 minutes; unique calls kept\n\n"
      "Place 1 of 2\n"
      "Claimed: 2 QSOs, score 4 (summary sheet Q1AA.sum)\n"
      "Checked: 2 QSOs, score 4\n\n"
      "OK 1, NIL 0, BUSTED-CALL 0, BUSTED-EXCH 0, UNIQUE 1, DUPE 0, UNCHECKED 0\n\n"
      "QSOs that are not OK (removed: NIL, BUSTED-CALL, BUSTED-EXCH; kept: UNIQUE, UNCHECKED; no "
      "points: DUPE)\n\n"
      "UNIQUE       RTTY.log:2  QSO: 14080 RY 2016-02-13 0940 Q1AA          002    Q9X<Y>        "
      "001\n"
      "             Q9X<Y> sent no log and is in no other log\n"
      "\nLines not read\n"
      "  RTTY.log:3  not a QSO line\n",
      UbnText(logs_, verdicts_, results_[0], 2, settings_));
  std::string lines;
  AppendVerdictLines(logs_, verdicts_, 1, settings_, lines);
  const std::string file = (root_ / "b" / "RTTY.log").string();
  EXPECT_EQ("Q2BB\t" + file + "\t1\tOK\tQ1AA RTTY.log:1\n" + "Q2BB\t" + file +
                "\t2\tNIL\tno QSO with Q2BB on 40m RTTY within 10 minutes in Q1AA's log\n",
            lines);
}

TEST_F(CheckResultsTest, ResultsPageStandsAlone) {
  const std::string page = ResultsPage(logs_, verdicts_, results_, settings_);
  for (const char* outside : {"<script", "src=", "href=\"http", "url(", "@import", "<link"}) {
    EXPECT_EQ(std::string::npos, page.find(outside)) << outside;
  }
  EXPECT_NE(std::string::npos, page.find("<a href=\"#ubn-Q2BB\">Q2BB</a>"));
  EXPECT_NE(std::string::npos, page.find("<section class=\"ubn\" id=\"ubn-Q2BB\">"));
  EXPECT_NE(std::string::npos, page.find("Q9X&lt;Y&gt; sent no log"));
  EXPECT_NE(std::string::npos, page.find("<title>QSO lines of all logs per hour</title>"));
  EXPECT_EQ("&lt;a href=&quot;x&quot;&gt;&amp;&#39;", HtmlEscape("<a href=\"x\">&'"));
}

}  // namespace
