// Submissions from strangers: every fault of one file is a message about that
// file, bounded in size and safe to show, and never costs another station.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/text.h"
#include "submission_folders.h"
#include "tools/check/call_variants.h"
#include "tools/check/check_results.h"
#include "tools/check/log_matcher.h"
#include "tools/check/results_folder.h"
#include "tools/check/shown_text.h"
#include "tools/check/submitted_log.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

namespace fs = std::filesystem;

std::string Line(const std::string& own, const std::string& call, const char* time = "0930",
                 const char* date = "2016-02-13") {
  return std::string("QSO: 14080 RY ") + date + " " + time + " " + own + " 001 " + call + " 001";
}

TEST(HostileFieldTest, LongOrStrangeFieldsAreRefusedAndQuotedShort) {
  QsoLineFields q;
  std::string reason;
  const std::string twenty = "Q1AAAAAAAAAAAAAAAA/P";
  ASSERT_EQ(20u, twenty.size());
  EXPECT_TRUE(ParseQsoLine(Line("Q1AA", twenty), q, reason)) << reason;
  EXPECT_FALSE(ParseQsoLine(Line("Q1AA", twenty + "X"), q, reason));
  EXPECT_EQ("call 'Q1AAAAAAAAAAAAAAAA/PX' is longer than 20 characters", reason);
  EXPECT_FALSE(ParseQsoLine(Line("Q1\x1b[2J", "Q2BB"), q, reason));
  EXPECT_EQ("call 'Q1?[2J' holds characters no call has", reason);
  EXPECT_FALSE(
      ParseQsoLine("QSO: 14080 RY 2016-02-13 0930 Q1AA 001 Q2BB 12345678901234567890X", q, reason));
  EXPECT_EQ("serial '12345678901234567890X' is not one (at most 20 letters, digits or signs)",
            reason);
  // A field of megabytes costs one short reason.
  const std::string huge = "QSO: " + std::string(20 << 20, '7') + " RY";
  EXPECT_FALSE(ParseQsoLine(huge, q, reason));
  EXPECT_EQ("a line of " + std::to_string(huge.size()) + " bytes is too long for a QSO line",
            reason);
  EXPECT_FALSE(
      ParseQsoLine("QSO: 14080 " + std::string(200, 'X') + " 2016-02-13 0930 A 1 B 1", q, reason));
  EXPECT_EQ("mode '" + std::string(40, 'X') + "...' is none of the contest's", reason);
  // Dates past what minutes since 1899 hold are refused, not wrapped.
  for (const char* date : {"9999-12-31", "2100-01-01"}) {
    EXPECT_FALSE(ParseQsoLine(Line("Q1AA", "Q2BB", "2359", date), q, reason)) << date;
    EXPECT_EQ(std::string("'") + date + "' lies outside the years 1900 to 2099", reason);
  }
  EXPECT_TRUE(ParseQsoLine(Line("Q1AA", "Q2BB", "2359", "2099-12-31"), q, reason));
}

TEST(HostileFieldTest, ShownTextIsShortValidUtf8WithoutControls) {
  EXPECT_EQ("a?[31mb?c", ShownText("a\x1b[31mb\tc"));
  EXPECT_EQ("?x?", ShownText("\xC2\x9Bx\x7F"));  // C1 CSI and DEL
  // Latin-1 "é" and a UTF-16 surrogate are no UTF-8: each byte shows as "?".
  EXPECT_EQ("\xC3\xA9?\xE2\x82\xAC???", ShownText("\xC3\xA9\xE9\xE2\x82\xAC\xED\xA0\x80"));
  EXPECT_EQ("??", ShownText("\xC0\xAF"));  // an overlong "/"
  EXPECT_EQ("abc...", ShownText("abcdef", 3));
  EXPECT_EQ(std::string(40, 'x') + "...", ShownText(std::string(20 << 20, 'x')));
  EXPECT_EQ("'=HYPERLINK(1)", CsvField("=HYPERLINK(1)"));
  EXPECT_EQ("\"'+1,2\"", CsvField("+1,2"));
  EXPECT_EQ("'-3", CsvField("-3"));
  EXPECT_EQ("'@A", CsvField("@A"));
  EXPECT_EQ("Q1AA/P", CsvField("Q1AA/P"));
}

// Long calls cannot make the one-edit index slow: its forms grow with the
// call's length, each built once.
TEST(HostileFieldTest, OneEditIndexOfRepeatedLettersListsEachCallOnce) {
  OneEditIndex index;
  index.Add(0, std::string(5000, 'A'));
  index.Add(1, std::string(4999, 'A'));
  index.Add(2, std::string(4999, 'A') + "B");
  EXPECT_EQ((std::vector<int>{1, 2}), index.Near(std::string(5000, 'A')));
  EXPECT_EQ((std::vector<int>{0, 2}), index.Near(std::string(4999, 'A')));
}

TEST(HostileFieldTest, ByteOrderMarkIsNothingAndALoneCrEndsALine) {
  std::vector<std::pair<int, std::string>> lines;
  ForEachTextLine("\xEF\xBB\xBFone\rtwo\r\nthree\n\rfive",
                  [&](int n, std::string_view line) { lines.emplace_back(n, std::string(line)); });
  EXPECT_EQ((std::vector<std::pair<int, std::string>>{
                {1, "one"}, {2, "two"}, {3, "three"}, {4, ""}, {5, "five"}}),
            lines);
}

class HostileSubmissionTest : public SubmissionFolders {};

// Calls that one file word would give to several stations get words of their
// own; ordinary calls keep the sheet's word.
TEST_F(HostileSubmissionTest, EveryStationGetsFilesOfItsOwn) {
  std::vector<std::string> folders;
  const std::vector<std::string> calls = {"Q1AA/P", "Q1AA_P", "Q1AA:P", "Q1AA\\P", "CON", "Q1AA"};
  for (std::size_t i = 0; i < calls.size(); ++i) {
    folders.push_back(Write("s" + std::to_string(i), "RTTY.log", {Line(calls[i], "Q9ZZ")}));
  }
  const ContestLogs logs = Read(folders);
  ASSERT_EQ(calls.size(), logs.stations.size());
  std::set<std::string> words;
  for (const Station& s : logs.stations) {
    words.insert(s.fileWord);
    EXPECT_EQ(std::string::npos, s.fileWord.find_first_of("/\\:*?\"<>|")) << s.fileWord;
  }
  EXPECT_EQ(calls.size(), words.size());
  EXPECT_TRUE(words.count("Q1AA_P"));
  EXPECT_TRUE(words.count("Q1AA"));
  EXPECT_TRUE(words.count("_CON"));
  EXPECT_EQ(StationFileWord("Q1AA:P"), StationFileWord("Q1AA:P"));
  EXPECT_EQ("Q1AA_P~", StationFileWord("Q1AA:P").substr(0, 7));
}

// A station's claimed figures that cannot be true are named, never summed
// into nonsense; a sheet whose table cannot be read is not "no sheet".
TEST_F(HostileSubmissionTest, ClaimsThatCannotBeTrueAreFlagged) {
  tools::ScoreTable t;
  EXPECT_EQ("", ClaimFault(t));
  t.qsos[4] = 10;
  t.prefixes[4] = 3;
  t.scores[4] = 30;
  EXPECT_EQ("", ClaimFault(t));
  t.scores[4] = -700;
  EXPECT_EQ("RTTY: a negative figure", ClaimFault(t));
  t.scores[4] = 31;
  EXPECT_EQ("RTTY: score 31 is not 10 QSOs times 3 prefixes", ClaimFault(t));
  t.prefixes[4] = 11;
  EXPECT_EQ("RTTY: more prefixes than QSOs", ClaimFault(t));
  const std::optional<tools::ScoreTable> wide = tools::ParseScoreTable(
      "QSO\t 999999999999999999\t 0\t 0\t 0\t 0\t 0\t 0\nPFX\t 1\t 0\t 0\t 0\t 0\t 0\t 0\n"
      "Score\t 999999999999999999\t 999999999999999999\t 999999999999999999\t "
      "999999999999999999\t 999999999999999999\t 999999999999999999\t 999999999999999999\n");
  ASSERT_TRUE(wide.has_value());
  EXPECT_EQ(999999999999999999, wide->TotalQsos());
  EXPECT_EQ(6999999999999999993, wide->TotalScore());
  EXPECT_EQ("BPSK: 999999999999999999 QSOs", ClaimFault(*wide));

  const std::string a = Write("a", "RTTY.log", {Line("Q1AA", "Q2BB")});
  Write("a", "Q1AA.sum",
        {"\tCallsign Used : Q1AA", "QSO\t 0\t 0\t 0\t 0\t 9223372036854775808\t 0\t 0",
         "PFX\t 0\t 0\t 0\t 0\t 1\t 0\t 0", "Score\t 0\t 0\t 0\t 0\t 1\t 0\t 0"});
  const ContestLogs logs = Read({a});
  ASSERT_EQ(1u, logs.stations.size());
  EXPECT_EQ("Q1AA.sum", logs.stations[0].sheetFile);
  EXPECT_FALSE(logs.stations[0].sheet.has_value());
  StationResult r;
  r.claimed.qsos[4] = -35;
  r.claimFault = ClaimFault(r.claimed);
  r.claimedFromSheet = true;
  r.place = 1;
  const std::vector<LineVerdict> verdicts = MatchLogs(logs, 10);
  CheckSettings settings;
  const std::string text = ResultsText(logs, {r}, settings);
  EXPECT_NE(std::string::npos, text.find("  Q1AA             -             -!"));
  EXPECT_NE(std::string::npos,
            text.find("! the summary sheet's figures cannot be true:\n  Q1AA: RTTY: a negative "
                      "figure\n"));
  EXPECT_NE(std::string::npos, ResultsCsv(logs, {r}).find("\n1,Q1AA,,,invalid,"));
}

TEST_F(HostileSubmissionTest, SheetStatesCategoryClubAndDates) {
  const SubmittedLog::Sheet sheet = ParseSheet(
      "\xEF\xBB\xBF\tContest Date(s) : 13-Feb-2016 - 14-Feb-2016\r\n\tCallsign Used : q1aa\r\n"
      "         CATEGORY-POWER : low\r\n       Team/Club : Kova \x1b[1mClub\r\n");
  EXPECT_EQ("Q1AA", sheet.call);
  EXPECT_EQ("LOW", sheet.category);
  EXPECT_EQ("Kova ?[1mClub", sheet.club);
  EXPECT_EQ(42413, sheet.firstDay.value_or(0));
  EXPECT_EQ(42414, sheet.lastDay.value_or(0));
  EXPECT_FALSE(ParseSheet("\tContest Date(s) : 13-Feb-9999\r\n").firstDay.has_value());
  EXPECT_EQ(42413, ParseSheet("\tContest Date(s) : 13-Feb-2016\r\n").lastDay.value_or(0));
}

#ifndef _WIN32
// More log files than a station sends: the rest are named, and every line
// still names its own file. (Windows keeps one file for all these names, and
// no tab or line end in a folder's name.)
TEST_F(HostileSubmissionTest, ManyLogFilesAreCappedAndNamedRight) {
  std::string folder;
  std::map<std::string, std::string> callOfFile;
  for (int i = 0; i < 40; ++i) {
    std::string name = "rtty.log";
    for (std::size_t bit = 0; bit < 6; ++bit) {
      const std::size_t at = bit < 4 ? bit : bit + 1;  // the dot has no capital
      if (i & (1 << bit)) {
        name[at] = ToUpperAscii(name[at]);
      }
    }
    callOfFile[name] = "Q2B" + std::to_string(i);
    folder = Write("many", name, {Line("Q1AA", callOfFile[name])});
  }
  TextPool texts;
  const SubmittedLog log = ReadSubmission(folder, texts);
  ASSERT_EQ(kMaxLogFiles, log.files.size());
  ASSERT_EQ(kMaxLogFiles, log.qsos.size());
  for (const LoggedQso& q : log.qsos) {
    ASSERT_LT(q.file, log.files.size());
    EXPECT_EQ(callOfFile[log.files[q.file]], texts.Text(q.call));
  }
  EXPECT_EQ(40u - kMaxLogFiles, log.messages.size());
  EXPECT_NE(std::string::npos, log.messages.front().find(": more than 32 per-mode logs; not read"));
}

TEST_F(HostileSubmissionTest, TabsAndLineEndsInAFolderNameKeepOneVerdictRow) {
  const std::string a = Write("bad\tname\nhere", "RTTY.log", {Line("Q1AA", "Q2BB")});
  const ContestLogs logs = Read({a});
  ASSERT_EQ(1u, logs.stations.size());
  std::string rows;
  AppendVerdictLines(logs, MatchLogs(logs, 10), 0, CheckSettings(), rows);
  EXPECT_EQ(1, std::count(rows.begin(), rows.end(), '\n'));
  EXPECT_EQ(4, std::count(rows.begin(), rows.end(), '\t'));
  EXPECT_NE(std::string::npos, rows.find("bad?name?here"));
}

// Only regular files are read, never through a link out of the folder, and
// none larger than the cap; each other is named with its reason.
TEST_F(HostileSubmissionTest, SpecialFilesAreNamedAndSkipped) {
  const std::string folder = Write("special", "RTTY.log", {Line("Q1AA", "Q2BB")});
  const fs::path dir(folder);
  fs::create_symlink("/dev/zero", dir / "PSK .log");
  ASSERT_EQ(0, ::mkfifo((dir / "HELL .log").c_str(), 0600));
  fs::create_symlink("/etc/hostname", dir / "SSTV.log");
  Write("special", "inside.txt", {Line("Q1AA", "Q3CC")});
  fs::create_symlink(dir / "inside.txt", dir / "MT63 .log");
  { std::ofstream big(dir / "THROB.log"); }
  fs::resize_file(dir / "THROB.log", kMaxFileBytes + 1);
  TextPool texts;
  const SubmittedLog log = ReadSubmission(folder, texts);
  EXPECT_EQ((std::vector<std::string>{"MT63 .log", "RTTY.log"}), log.files);
  EXPECT_EQ(2u, log.qsos.size());
  const std::vector<std::string> expected = {
      "cannot read " + log.PathOf("HELL .log") + ": it is not a regular file",
      "cannot read " + log.PathOf("PSK .log") + ": it is a link out of the folder",
      "cannot read " + log.PathOf("SSTV.log") + ": it is a link out of the folder",
      log.PathOf("inside.txt") + " is neither a per-mode log nor a summary sheet; not read",
      "cannot read " + log.PathOf("THROB.log") + ": it is larger than 16 MiB",
  };
  std::vector<std::string> got = log.messages;
  std::sort(got.begin(), got.end());
  std::vector<std::string> want = expected;
  std::sort(want.begin(), want.end());
  EXPECT_EQ(want, got);
}
#endif

// A run publishes its files as one set: until Publish, readers see the last
// set; a run that never publishes leaves nothing they can see, and the next
// run clears it away.
TEST_F(HostileSubmissionTest, ResultsArePublishedAsOneSet) {
  const fs::path out = root_ / "out";
  auto publish = [&](const std::string& text, bool finish) {
    ResultsFolder folder;
    std::string error;
    EXPECT_TRUE(folder.Begin(out, error)) << error;
    std::ofstream(folder.Public() / "results.txt") << text;
    if (finish) {
      EXPECT_TRUE(folder.Publish(error)) << error;
    }
  };
  publish("first", true);
  auto read = [&] {
    std::ifstream in(out / "results.txt");
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  EXPECT_EQ("first", read());
  publish("broken", false);
  EXPECT_EQ("first", read());
  publish("second", true);
  EXPECT_EQ("second", read());
  std::size_t runs = 0;
  for (const auto& e : fs::directory_iterator(root_ / ".out.stats-check")) {
    runs += e.path().filename() != "lock";
  }
#ifdef _WIN32
  EXPECT_EQ(0u, runs);  // the runs are renamed into place; the broken one is gone
#else
  EXPECT_EQ(1u, runs);  // the published run: the broken run and the first are gone
#endif

  // A folder of someone else's files is never taken over, nor a published
  // one that someone put a file of their own into.
  std::ofstream(out / "notes.txt") << "mine";
  {
    ResultsFolder next;
    std::string refused;
    EXPECT_FALSE(next.Begin(out, refused));
    EXPECT_EQ(out.string() + " holds files stats-check did not write; choose another --out",
              refused);
    EXPECT_EQ("second", read());
    EXPECT_TRUE(fs::exists(out / "notes.txt"));
  }
  fs::remove(out / "notes.txt");
  Write("mine", "thesis.tex", {"x"});
  ResultsFolder other;
  std::string error;
  EXPECT_FALSE(other.Begin(root_ / "mine", error));
  EXPECT_EQ(
      (root_ / "mine").string() + " holds files stats-check did not write; choose another --out",
      error);
  // One run at a time.
  ResultsFolder first;
  ResultsFolder second;
  ASSERT_TRUE(first.Begin(out, error)) << error;
  EXPECT_FALSE(second.Begin(out, error));
  EXPECT_NE(std::string::npos, error.find("another stats-check is writing")) << error;
}

}  // namespace
