#include "tools/check/check_results.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "submission_folders.h"
#include "tools/check/results_page.h"

namespace {

tools::ScoreTable RttyOnly(int qsos, int prefixes) {
  tools::ScoreTable t;
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
    PlaceInCategories(logs_, results_);
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
      "Place 1 of 2, 1 among stations whose power category is not stated\n"
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

// UNIQUE is the one verdict whose effect the sponsor chooses: every text
// that sorts the verdicts by effect moves it.
TEST_F(CheckResultsTest, RemovedUniquesMoveInEveryText) {
  settings_.removeUniques = true;
  EXPECT_FALSE(KeptForScore(Verdict::kUnique, settings_));
  EXPECT_TRUE(KeptForScore(Verdict::kUnchecked, settings_));
  EXPECT_FALSE(KeptForScore(Verdict::kDupe, settings_));
  const std::string ubn = UbnText(logs_, verdicts_, results_[0], 2, settings_);
  EXPECT_NE(std::string::npos,
            ubn.find("QSOs that are not OK (removed: NIL, BUSTED-CALL, BUSTED-EXCH, UNIQUE; kept: "
                     "UNCHECKED; no points: DUPE)\n"));
  const std::string page = ResultsPage(logs_, verdicts_, results_, settings_, true);
  EXPECT_NE(std::string::npos, page.find(" kept (OK, UNCHECKED) &nbsp; "));
  EXPECT_NE(std::string::npos,
            page.find(" removed or no points (NIL, BUSTED-CALL, BUSTED-EXCH, DUPE, UNIQUE)</p>"));
  EXPECT_NE(std::string::npos, page.find("<dt>UNIQUE</dt><dd>a call that sent no log and is in "
                                         "no other log; removed (the sponsor chose so).</dd>"));
}

TEST_F(CheckResultsTest, PagesStandAloneAndLinkEachStation) {
  const std::string page = ResultsPage(logs_, verdicts_, results_, settings_, true);
  const std::string station = StationPage(logs_, verdicts_, results_[1], 2, settings_, true);
  for (const std::string* html : {&page, &station}) {
    for (const char* outside : {"<script", "src=", "href=\"http", "url(", "@import", "<link"}) {
      EXPECT_EQ(std::string::npos, html->find(outside)) << outside;
    }
  }
  EXPECT_NE(std::string::npos, page.find("<a href=\"stations/Q2BB.html\">Q2BB</a>"));
  EXPECT_NE(std::string::npos, page.find("<title>QSO lines of all logs per hour</title>"));
  EXPECT_NE(std::string::npos, page.find("<td class=\"l\">not stated 2</td>"));
  EXPECT_NE(std::string::npos, page.find("<td class=\"m\">-50.0 %</td>"));
  // The station page names Q2BB's NIL and links the call of the evidence.
  EXPECT_NE(std::string::npos,
            station.find("<td>NIL</td><td>RTTY.log:2</td><td>7040 RY 2016-02-13 1000 002 Q1AA "
                         "002</td><td>no QSO with Q2BB on 40m RTTY within 10 minutes in <a "
                         "href=\"Q1AA.html\">Q1AA</a>&#39;s log</td>"));
  EXPECT_NE(std::string::npos, station.find("<a href=\"../Q2BB.ubn.txt\">"));
  // Sent privately, nothing links to pages that are not published.
  const std::string closed = ResultsPage(logs_, verdicts_, results_, settings_, false);
  EXPECT_EQ(std::string::npos, closed.find("stations/"));
  EXPECT_EQ("&lt;a href=&quot;x&quot;&gt;&amp;&#39;?", HtmlEscape("<a href=\"x\">&'\xff"));
}

// Categories rank on their own, clubs add up their members, a clock that is
// clearly off is named, and a score far above the claim is flagged.
TEST_F(CheckResultsTest, CategoriesClubsClocksAndClaims) {
  auto sheet = [](const char* call, const char* power, const char* club, int claimed) {
    const std::string n = std::to_string(claimed);
    return std::vector<std::string>{std::string("\tCallsign Used : ") + call,
                                    std::string("         CATEGORY-POWER : ") + power,
                                    std::string("       Team/Club : ") + club,
                                    "QSO\t 0\t 0\t 0\t 0\t " + n + "\t 0\t 0",
                                    "PFX\t 0\t 0\t 0\t 0\t 1\t 0\t 0",
                                    "Score\t 0\t 0\t 0\t 0\t " + n + "\t 0\t 0"};
  };
  std::vector<std::string> a = {"QSO: 14080 RY 2016-02-13 1000 Q1AA 1 Q2BB 1"};
  std::vector<std::string> c;
  int minute = 0;
  for (const char* khz : {"1838", "3580", "7040", "14081", "21080", "28080"}) {
    const std::string at = "11" + std::to_string(minute / 10) + std::to_string(minute % 10);
    const std::string late = "11" + std::to_string((minute + 7) / 10) +
                             std::to_string((minute + 7) % 10);  // Q3CC is 7 minutes ahead
    a.push_back(std::string("QSO: ") + khz + " RY 2016-02-13 " + at + " Q1AA 1 Q3CC 1");
    c.push_back(std::string("QSO: ") + khz + " RY 2016-02-13 " + late + " Q3CC 1 Q1AA 1");
    minute += 8;
  }
  Write("ca", "Q1AA.sum", sheet("Q1AA", "LOW", "Kova", 7));
  Write("cb", "Q2BB.sum", sheet("Q2BB", "low", "KOVA", 1));
  Write("cc", "Q3CC.sum", sheet("Q3CC", "ALIEN", "", 6));
  const ContestLogs logs =
      Read({Write("ca", "RTTY.log", a),
            Write("cb", "RTTY.log", {"QSO: 14080 RY 2016-02-13 1000 Q2BB 1 Q1AA 1"}),
            Write("cc", "RTTY.log", c)});
  ASSERT_EQ(3u, logs.stations.size());
  const std::vector<LineVerdict> verdicts = MatchLogs(logs, 10);
  EXPECT_EQ(std::optional<int>(-7), ClockOffset(logs, verdicts, 0));
  EXPECT_EQ(std::nullopt, ClockOffset(logs, verdicts, 1));  // one QSO says nothing
  EXPECT_EQ(std::optional<int>(7), ClockOffset(logs, verdicts, 2));
  EXPECT_EQ("your clock looked about 7 minutes fast", ClockHint(7));
  EXPECT_EQ("your clock looked about 49 minutes slow", ClockHint(-49));

  std::vector<StationResult> results(3);
  for (int s = 0; s < 3; ++s) {
    StationResult& r = results[static_cast<std::size_t>(s)];
    r.station = s;
    r.claimed = *logs.stations[static_cast<std::size_t>(s)].sheet;
    r.claimedFromSheet = true;
    r.clockMinutes = ClockOffset(logs, verdicts, s);
  }
  results[0].checked = RttyOnly(7, 1);
  results[1].checked = RttyOnly(5, 1);  // five times the claim
  results[2].checked = RttyOnly(6, 1);
  CountVerdicts(logs, verdicts, results);
  RankStations(logs, results);
  PlaceInCategories(logs, results);
  EXPECT_EQ((std::vector<int>{1, 1, 2}),
            (std::vector<int>{results[0].categoryPlace, results[1].categoryPlace,
                              results[2].categoryPlace}));
  EXPECT_EQ("Q3CC", logs.stations[static_cast<std::size_t>(results[1].station)].call);
  EXPECT_FALSE(CreditedFarAboveClaim(results[0]));
  EXPECT_TRUE(CreditedFarAboveClaim(results[2]));
  EXPECT_EQ("+400.0 %", ScoreChange(results[2]));

  const std::string page = ResultsPage(logs, verdicts, results, CheckSettings(), true);
  EXPECT_NE(std::string::npos,
            page.find("<tr><td class=\"l\">Kova</td><td>12</td><td class=\"l w\">2: Q1AA, Q2BB</td></tr>"));
  EXPECT_NE(std::string::npos,
            page.find("<tr><td class=\"l\">LOW</td><td>2</td><td class=\"l\">Q1AA 7, Q2BB "
                      "5</td></tr><tr><td class=\"l\">not stated</td><td>1</td>"));
  EXPECT_NE(std::string::npos, page.find("checked far above claim</td>"));
  EXPECT_NE(std::string::npos, page.find("clock +7 min</td>"));
  const std::string ubn = UbnText(logs, verdicts, results[2], 3, CheckSettings());
  EXPECT_NE(std::string::npos,
            ubn.find("Place 3 of 3, 2 in category LOW; club KOVA\n"
                     "Claimed: 1 QSOs, score 1 (summary sheet Q2BB.sum)\n"
                     "Checked: 5 QSOs, score 5\n"
                     "Note: the checked score is far above the claim; is every QSO real?\n"));
  EXPECT_NE(std::string::npos,
            UbnText(logs, verdicts, results[1], 3, CheckSettings())
                .find("Note: your clock looked about 7 minutes fast against its partners'"));
}

}  // namespace
