#include "reports/contest_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "contest/mode_groups.h"
#include "contest/settings.h"
#include "platform/whole_file.h"
#include "plugin/user_interface.h"
#include "reports/report_test_support.h"
#include "reports/summary_sheet.h"
#include "scoring/qso_store.h"
#include "test_support.h"

namespace {

using Lines = std::vector<std::string>;

constexpr char kIni[] = "Plugins/KOVA-BRAWLCUP.ini";

CInfo Qso(const std::string& call, const std::string& mode, int khz, int dupe = 0) {
  CInfo q;
  q.m_call = call;
  q.m_mode = mode;
  q.m_freqKhz = khz;
  q.m_isDupe = dupe;
  q.m_nrSent = "001";
  q.m_nrRcvd = "002";
  q.m_time = HostTime(2016, 2, 13, 9, 5);
  return q;
}

// ---------------------------------------------------------------- QSO lines

TEST(QsoLineTest, ColumnsHaveTheirWidths) {
  CContestReport r;
  r.m_callsign = "Q1AB";
  r.AddQsoLine("Q2XYZ", 14070, "RY", HostTime(2016, 2, 13, 9, 5), "001", "002");
  r.AddQsoLine("Q2XYZ", 3580, "PS", HostTime(2016, 2, 13, 23, 59), "1", "");
  EXPECT_EQ((Lines{"QSO: 14070 RY 2016-02-13 0905 Q1AB          001    Q2XYZ         002\r\n"}),
            r.m_modeLines[kRttyLines]);
  EXPECT_EQ((Lines{"QSO:  3580 PS 2016-02-13 2359 Q1AB          1      Q2XYZ         \r\n"}),
            r.m_modeLines[kPskLines])
      << "the received exchange is not padded; the blank before it stays";
}

TEST(QsoLineTest, LongValuesAreWrittenWhole) {
  CContestReport r;
  r.m_callsign = "Q1ABCDEFGHIJKLMNOP";
  r.AddQsoLine("Q2ABCDEFGHIJKLMN", 1296000, "MT", HostTime(2016, 12, 31, 0, 0), "1234567",
               "0000000009");
  EXPECT_EQ((Lines{"QSO: 1296000 MT 2016-12-31 0000 Q1ABCDEFGHIJKLMNOP 1234567 "
                   "Q2ABCDEFGHIJKLMN 0000000009\r\n"}),
            r.m_modeLines[kMt63Lines]);
}

TEST(QsoLineTest, NullAndInvalidTimes) {
  CContestReport r;
  r.m_callsign = "Q1AB";
  r.AddQsoLine("Q2XYZ", 14070, "TV", NullTime(), "001", "002");
  r.AddQsoLine("Q2XYZ", 14070, "TV", InvalidTime(), "001", "002");
  EXPECT_EQ((Lines{"QSO: 14070 TV  Q1AB          001    Q2XYZ         002\r\n",
                   "QSO: 14070 TV Invalid DateTime Q1AB          001    Q2XYZ         002\r\n"}),
            r.m_modeLines[kSstvLines]);
}

TEST(QsoLineTest, EachCodeGoesToItsListAndOthersAreDropped) {
  CContestReport r;
  const char* codes[] = {"RY", "PS", "HE", "MF", "OL", "MT", "TH", "TV", "??", "ry", "CW", "R"};
  for (const char* code : codes) {
    r.AddQsoLine("Q2XYZ", 7040, code, HostTime(2016, 2, 13, 9, 5), "1", "2");
  }
  const std::vector<std::vector<std::string>> expectedCodes = {{"RY"}, {"PS"}, {"HE"}, {"MF", "OL"},
                                                               {"MT"}, {"TH"}, {"TV"}};
  for (int list = 0; list < kModeGroupCount; ++list) {
    ASSERT_EQ(expectedCodes[list].size(), r.m_modeLines[list].size()) << "list " << list;
    for (std::size_t i = 0; i < expectedCodes[list].size(); ++i) {
      EXPECT_EQ("QSO:  7040 " + expectedCodes[list][i] + " ", r.m_modeLines[list][i].substr(0, 14))
          << "list " << list << " line " << i;
    }
  }
}

// ---------------------------------------------------------------- report pass

TEST(ReportPassTest, EveryStoredQsoOnceInItsModeListDuplicatesIncluded) {
  QsoStore store;
  store.Append(Qso("Q2AA", "RTTY", 14080));
  store.Append(Qso("Q2BB", "BPSK125", 14070));
  store.Append(Qso("Q2CC", "OLIVIA", 7040));
  store.Append(Qso("Q2DD", "CW", 7010));
  store.Append(Qso("Q2AA", "RTTY", 14080, 1));
  store.Append(Qso("Q2EE", "MFSK", 3580));
  store.Append(Qso("Q2FF", "rtty", 14080));
  store.Append(Qso("Q2GG", "BPSK31", 21070));

  CContestReport r;
  r.m_callsign = "Q1AB";
  r.m_modeLines[kHellLines].push_back("left from an earlier pass\r\n");
  for (int pass = 1; pass <= 2; ++pass) {
    r.ReportPass(store);
    EXPECT_EQ((Lines{"QSO: 14080 RY 2016-02-13 0905 Q1AB          001    Q2AA          002\r\n",
                     "QSO: 14080 RY 2016-02-13 0905 Q1AB          001    Q2AA          002\r\n"}),
              r.m_modeLines[kRttyLines])
        << "pass " << pass;
    EXPECT_EQ((Lines{"QSO: 14070 PS 2016-02-13 0905 Q1AB          001    Q2BB          002\r\n",
                     "QSO: 21070 PS 2016-02-13 0905 Q1AB          001    Q2GG          002\r\n"}),
              r.m_modeLines[kPskLines])
        << "pass " << pass;
    EXPECT_EQ((Lines{"QSO:  7040 OL 2016-02-13 0905 Q1AB          001    Q2CC          002\r\n",
                     "QSO:  3580 MF 2016-02-13 0905 Q1AB          001    Q2EE          002\r\n"}),
              r.m_modeLines[kMfskLines])
        << "pass " << pass;
    EXPECT_TRUE(r.m_modeLines[kHellLines].empty()) << "lists start empty on every pass";
    EXPECT_TRUE(r.m_modeLines[kMt63Lines].empty());
    EXPECT_TRUE(r.m_modeLines[kThrobLines].empty());
    EXPECT_TRUE(r.m_modeLines[kSstvLines].empty());
  }
}

TEST(ReportPassTest, EveryScoredModeNameHasACode) {
  QsoStore store;
  int scored = 0;
  for (const ModeGroup& group : kModeGroups) {
    for (const HostMode& mode : group.modes) {
      if (!mode.name.empty()) {
        store.Append(Qso("Q2AA", std::string(mode.name), 14080));
        ++scored;
      }
    }
  }
  CContestReport r;
  r.ReportPass(store);
  std::size_t filed = 0;
  for (const Lines& lines : r.m_modeLines) {
    filed += lines.size();
  }
  EXPECT_EQ(static_cast<std::size_t>(scored), filed) << "a scored QSO missing from the report";
  EXPECT_EQ(1u, r.m_modeLines[kThrobLines].size());
  EXPECT_EQ(3u, r.m_modeLines[kPskLines].size());
}

// ---------------------------------------------------------------- header

class PrepareHeaderTest : public ScratchDirTest {
 protected:
  int Prepare(const std::string& callsign = "Q1AB") {
    return report.PrepareHeader(callsign, HostTime(2016, 2, 13), HostTime(2016, 2, 14, 23, 59),
                                settings, op);
  }

  CContestReport report;
  Settings settings;
  ScriptedOperator op;
};

const std::map<int, std::string> kFreshForm = {
    {1001, ""},
    {1002, ""},
    {1003, ""},
    {1004, ""},
    {1005, ""},
    {1006, "Q1AB"},
    {1007, ""},
    {1008, ""},
    {1009, "KOVA-BRAWLCUP "},
    {1010, "Q1AB"},
    {1011, ""},
    {1012, ""},
    {1013, "SINGLE-OP"},
    {1014, ""},
    {1015, "ONE"},
    {1016, "FIXED"},
    {1017, "HIGH"},
    {1018, "RTTY"},
    {1019, "ALL"},
    {1020, "NON-ASSISTED"},
    {1021, ""},
    {1022, "DX"},
};

TEST_F(PrepareHeaderTest, NoSettingsFileOpensWithTheDefaults) {
  op.answer = kDialogCancel;
  EXPECT_EQ(0, Prepare());
  ASSERT_EQ(1u, op.opened.size());
  EXPECT_EQ(kFreshForm, op.opened[0]);
  EXPECT_FALSE(FileExists(kIni)) << "a cancelled form writes nothing";
  EXPECT_EQ("Q1AB", report.m_callsign);
  EXPECT_EQ("Q1AB", report.m_operators);
  EXPECT_EQ("Q1AB", report.m_fileWord);
  EXPECT_EQ("KOVA-BRAWLCUP ", report.m_contest);
  EXPECT_EQ(HostTime(2016, 2, 13).m_dt, report.m_start.m_dt);
  EXPECT_EQ(HostTime(2016, 2, 14, 23, 59).m_dt, report.m_end.m_dt);
}

TEST_F(PrepareHeaderTest, FormThatCannotBeShownCountsAsCancel) {
  report.m_modeLines[kRttyLines].push_back("kept\r\n");
  EXPECT_EQ(0, report.PrepareHeader("Q1AB/P", NullTime(), InvalidTime(), settings,
                                    PlatformUserInterface()));
  EXPECT_FALSE(FileExists(kIni));
  EXPECT_EQ("Q1AB_P", report.m_fileWord);
  EXPECT_EQ(COleDateTime::null, report.m_start.m_status);
  EXPECT_EQ(COleDateTime::invalid, report.m_end.m_status);
  EXPECT_EQ(Lines{"kept\r\n"}, report.m_modeLines[kRttyLines]) << "only OK empties the lists";
}

const char kStoredIni[] =
    "[Settings]\r\n"
    "Claimed=1234\r\n"
    "Operators=Q1AB Q1CD\r\n"
    "Name=Ann Example\r\n"
    "Address=Main St 1<CR>Flat 2\r\n"
    "Address-City=Town\r\n"
    "Address-State=ST\r\n"
    "Address-PostalCode=12345\r\n"
    "Address-Country=Land\r\n"
    "Email=ann@example.org\r\n"
    "Club=The Club\r\n"
    "SoapBox=abc<CR><LF>def\r\n"
    "Contest=OTHER CONTEST\r\n"
    "Location=ON\r\n"
    "mode=RTTY\r\n";

TEST_F(PrepareHeaderTest, StoredValuesOpenTheFormAndCancelKeepsTheFileAsItWas) {
  WriteFile(kIni, kStoredIni);
  report.m_catOverlay = "ROOKIE";
  report.m_catPower = "QRP";
  op.answer = kDialogCancel;
  op.edit = [](ScriptedOperator::Texts& t) { t[1007] = "Changed"; };
  EXPECT_EQ(0, Prepare());

  ASSERT_EQ(1u, op.loaded.size());
  const Cabrillo& form = op.loaded[0];
  EXPECT_EQ("Q1AB", form.m_callsign);
  EXPECT_EQ("1234", form.m_claimed);
  EXPECT_EQ("The Club", form.m_club);
  EXPECT_EQ("Q1AB Q1CD", form.m_operators);
  EXPECT_EQ("Ann Example", form.m_name);
  EXPECT_EQ("abc\r\ndef", form.m_soapbox) << "markers shown as line breaks";
  EXPECT_EQ("Main St 1<CR>Flat 2", form.m_address) << "the address is shown as stored";
  EXPECT_EQ("KOVA-BRAWLCUP ", form.m_contest) << "the fixed contest name wins over the key";
  EXPECT_EQ("HIGH", form.m_catPower) << "fixed defaults overwrite the record";
  EXPECT_EQ("ROOKIE", form.m_catOverlay) << "the overlay keeps its last value";
  EXPECT_EQ("DX", form.m_location) << "each run starts from DX";
  EXPECT_EQ("ann@example.org", form.m_email);
  EXPECT_EQ("Town", form.m_addressCity);
  EXPECT_EQ("ST", form.m_addressState);
  EXPECT_EQ("12345", form.m_addressPostalCode);
  EXPECT_EQ("Land", form.m_addressCountry);

  EXPECT_EQ(kStoredIni, ReadFile(kIni)) << "cancel writes nothing";
  EXPECT_EQ("Ann Example", report.m_name) << "cancel keeps the values as loaded";
  EXPECT_EQ("abc\r\ndef", report.m_soapbox);
  EXPECT_EQ("Main St 1<CR>Flat 2", report.m_address);
  EXPECT_EQ("1234", report.m_claimed);
}

TEST_F(PrepareHeaderTest, LongStoredValueComesBackCutTo99Characters) {
  WriteFile(kIni, "[Settings]\r\nName=" + std::string(120, 'n') + "\r\n");
  op.answer = kDialogCancel;
  Prepare();
  EXPECT_EQ(std::string(99, 'n'), report.m_name);
}

TEST_F(PrepareHeaderTest, ConfirmSavesTwelveKeysInOrderAndKeepsContinuationForm) {
  report.m_modeLines[kRttyLines].push_back("old\r\n");
  report.m_modeLines[kSstvLines].push_back("old\r\n");
  op.edit = [](ScriptedOperator::Texts& t) {
    t[1010] = "Q9ZZ";
    t[1008] = "999";
    t[1006] = "Q1AB Q1CD";
    t[1007] = "Ann";
    t[1002] = "Main St 1<CR>Flat 2";
    t[1014] = "Town";
    t[1012] = "ST";
    t[1011] = "12345";
    t[1003] = "Land";
    t[1009] = "KOVA-BRAWLCUP 2016";
    t[1004] = "a@b.c";
    t[1005] = "Club X";
    t[1022] = "ON";
    t[1001] = "abc\r\ndef";
    t[1019] = "160M";
    t[1021] = "rookie";
    t[1017] = "LOW";
  };
  EXPECT_EQ(1, Prepare("Q1AB/P"));
  EXPECT_EQ(
      "[Settings]\r\n"
      "Operators=Q1AB Q1CD\r\n"
      "Name=Ann\r\n"
      "Address=Main St 1<CR>Flat 2\r\n"
      "Address-City=Town\r\n"
      "Address-State=ST\r\n"
      "Address-PostalCode=12345\r\n"
      "Address-Country=Land\r\n"
      "Contest=KOVA-BRAWLCUP 2016\r\n"
      "Email=a@b.c\r\n"
      "Club=Club X\r\n"
      "Location=ON\r\n"
      "SoapBox=abc<CR><LF>def\r\n",
      ReadFile(kIni));
  EXPECT_EQ("Q9ZZ", report.m_callsign) << "the edited callsign is taken back";
  EXPECT_EQ("Q1AB_P", report.m_fileWord) << "the file word comes from the host's callsign";
  EXPECT_EQ("", report.m_claimed) << "CLAIMED is never taken back";
  EXPECT_EQ("Main St 1\r\nADDRESS: Flat 2", report.m_address);
  EXPECT_EQ("abc\r\nSOAPBOX: def", report.m_soapbox);
  EXPECT_EQ("160M", report.m_catBand) << "a value typed into a list field comes back as typed";
  EXPECT_EQ("rookie", report.m_catOverlay);
  EXPECT_EQ("LOW", report.m_catPower);
  EXPECT_EQ("ON", report.m_location);
  for (int list = 0; list < kModeGroupCount; ++list) {
    EXPECT_TRUE(report.m_modeLines[list].empty()) << "OK empties list " << list;
  }
}

TEST_F(PrepareHeaderTest, ConfirmedUnchangedSoapboxIsStoredAsItWas) {
  WriteFile(kIni, "[Settings]\r\nSoapBox=abc<CR><LF>def\r\nClaimed=77\r\n");
  EXPECT_EQ(1, Prepare());
  EXPECT_EQ("abc\r\ndef", op.opened[0].at(1001));
  EXPECT_EQ("abc<CR><LF>def", settings.Read(settings_key::kSoapBox));
  EXPECT_EQ("abc\r\nSOAPBOX: def", report.m_soapbox);
  EXPECT_EQ("77", settings.Read(settings_key::kClaimed)) << "the claimed score is not stored";
  EXPECT_EQ("77", report.m_claimed);
}

TEST_F(PrepareHeaderTest, OverlayComesBackAsTheSelectedItemInTheNextRun) {
  op.edit = [](ScriptedOperator::Texts& t) { t[1021] = "rookie"; };
  ASSERT_EQ(1, Prepare());
  EXPECT_EQ("rookie", report.m_catOverlay);

  op.edit = nullptr;
  ASSERT_EQ(1, Prepare());
  EXPECT_EQ("ROOKIE", op.opened[1].at(1021));
  EXPECT_EQ("ROOKIE", report.m_catOverlay);

  report.m_catOverlay = "T";
  ASSERT_EQ(1, Prepare());
  EXPECT_EQ("TB-WIRES", op.opened[2].at(1021));
  EXPECT_EQ("TB-WIRES", report.m_catOverlay);
  EXPECT_EQ("", settings.Read("CATEGORY-OVERLAY", "")) << "the overlay is never stored";
}

// ---------------------------------------------------------------- files

class WriteReportsTest : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    report.m_callsign = "Q1AB";
    report.m_operators = "Q1AB";
    report.m_name = "Ann";
    report.m_fileWord = "Q1AB";
    report.m_start = HostTime(2016, 2, 13);
    report.m_end = HostTime(2016, 2, 14);
  }

  CContestReport report;
  const std::string table = "QSO\t 1\nPFX\t 1\nScore\t 1\n";
  const COleDateTime today = HostTime(2016, 2, 20);
};

const char* const kLogNames[kModeGroupCount] = {"RTTY.log",  "PSK .log",  "HELL .log", "MFSK .log",
                                                 "MT63 .log", "THROB.log", "SSTV.log"};

TEST_F(WriteReportsTest, OnlyModesWithLinesGetALog) {
  report.m_modeLines[kRttyLines] = {"QSO: r1\r\n", "QSO: r1\r\n", "QSO: r2\r\n"};
  report.m_modeLines[kMfskLines] = {"QSO: m1\r\n"};
  report.m_modeLines[kThrobLines] = {"QSO: t1\r\n"};
  EXPECT_EQ("File produced: Q1AB.sum", report.WriteReports(table, today));
  EXPECT_EQ((std::set<std::string>{"RTTY.log", "MFSK .log", "THROB.log", "Q1AB.sum"}), FilesHere());
  EXPECT_EQ("QSO: r1\r\nQSO: r1\r\nQSO: r2\r\n", ReadFile("RTTY.log"));
  EXPECT_EQ("QSO: m1\r\n", ReadFile("MFSK .log"));
  EXPECT_EQ("QSO: t1\r\n", ReadFile("THROB.log"));
}

TEST_F(WriteReportsTest, EveryModeHasItsOwnFileName) {
  for (int list = 0; list < kModeGroupCount; ++list) {
    report.m_modeLines[list] = {"line " + std::to_string(list) + "\r\n"};
  }
  report.WriteReports(table, today);
  for (int list = 0; list < kModeGroupCount; ++list) {
    EXPECT_EQ("line " + std::to_string(list) + "\r\n", ReadFile(kLogNames[list]))
        << kLogNames[list];
  }
  EXPECT_EQ(8u, FilesHere().size());
}

TEST_F(WriteReportsTest, LogsAreRewrittenWholeAndOldLogsOfEmptyModesStay) {
  WriteFile("RTTY.log", "a much longer old content\r\n");
  WriteFile("HELL .log", "old hell\r\n");
  report.m_modeLines[kRttyLines] = {"new\r\n"};
  report.WriteReports(table, today);
  EXPECT_EQ("new\r\n", ReadFile("RTTY.log"));
  EXPECT_EQ("old hell\r\n", ReadFile("HELL .log"));
}

TEST_F(WriteReportsTest, NoLinesAnywhereWritesOnlyTheSummarySheet) {
  report.m_fileWord = "Q1AB_P";
  EXPECT_EQ("File produced: Q1AB_P.sum", report.WriteReports(table, today));
  EXPECT_EQ((std::set<std::string>{"Q1AB_P.sum"}), FilesHere());
}

TEST_F(WriteReportsTest, AFileThatCannotBeWrittenIsNamedAndTheOthersAreStillWritten) {
  MakeDir("RTTY.log");
  report.m_modeLines[kRttyLines] = {"r\r\n"};
  report.m_modeLines[kSstvLines] = {"s\r\n"};
  const std::string folder = FolderInTheWayReason();
  EXPECT_EQ("File produced: Q1AB.sum\r\nNot written: RTTY.log (" + folder + ")",
            report.WriteReports(table, today));
  EXPECT_EQ("s\r\n", ReadFile("SSTV.log"));
  EXPECT_NE("", ReadFile("Q1AB.sum"));

  std::remove("Q1AB.sum");
  MakeDir("Q1AB.sum");
  EXPECT_EQ("Not written: RTTY.log (" + folder + ")\r\nNot written: Q1AB.sum (" + folder + ")",
            report.WriteReports(table, today))
      << "no sheet, no 'File produced'";
}

TEST_F(WriteReportsTest, AFullDiskKeepsTheLastGoodFiles) {
  report.m_modeLines[kRttyLines] = {"QSO: first run\r\n"};
  report.WriteReports(table, today);
  const std::string goodSheet = ReadFile("Q1AB.sum");
  report.m_modeLines[kRttyLines] = {"QSO: second run, longer than the first\r\n"};
  report.m_name = "Bea";
  WholeFileFaults full;
  full.stopAfter = 12;
  SetWholeFileFaults(full);
  const std::string said = report.WriteReports(table, today);
  SetWholeFileFaults({});
  EXPECT_EQ("Not written: RTTY.log (No space left on device)\r\n"
            "Not written: Q1AB.sum (No space left on device)",
            said);
  EXPECT_EQ("QSO: first run\r\n", ReadFile("RTTY.log"));
  EXPECT_EQ(goodSheet, ReadFile("Q1AB.sum"));
  EXPECT_EQ((std::set<std::string>{"RTTY.log", "Q1AB.sum"}), FilesHere()) << "no temporary left";
}

// The logs are replaced without touching anything of the user's beside them:
// files and folders of any name stay, and a log that is a link stays one
// while the file it names gets the lines.
TEST_F(WriteReportsTest, TheUsersOwnFilesAndLinksStayAsTheyAre) {
  WriteFile("RTTY.log.new", "the user's own file");
  MakeDir("SSTV.log.new");
  MakeDir("contest");
  WriteFile("contest/HELL .log", "old hell\r\n");
  const bool linked = symlink("contest/HELL .log", "HELL .log") == 0;
  report.m_modeLines[kRttyLines] = {"r\r\n"};
  report.m_modeLines[kSstvLines] = {"s\r\n"};
  report.m_modeLines[kHellLines] = {"h\r\n"};
  EXPECT_EQ("File produced: Q1AB.sum", report.WriteReports(table, today));
  EXPECT_EQ("the user's own file", ReadFile("RTTY.log.new"));
  EXPECT_EQ("r\r\n", ReadFile("RTTY.log"));
  EXPECT_EQ("s\r\n", ReadFile("SSTV.log"));
  EXPECT_EQ("h\r\n", ReadFile("HELL .log"));
  if (linked) {
    EXPECT_TRUE(IsLink("HELL .log"));
    EXPECT_EQ("h\r\n", ReadFile("contest/HELL .log"));
  }
  EXPECT_EQ((std::set<std::string>{"RTTY.log", "RTTY.log.new", "SSTV.log", "SSTV.log.new",
                                   "HELL .log", "contest", "Q1AB.sum"}),
            FilesHere());
}

TEST_F(WriteReportsTest, SummarySheetIsWrittenInTextMode) {
  report.m_address = "Main St 1\r\nADDRESS: Flat 2";
  report.WriteReports(table, today);
  const std::string bytes = ReadFile("Q1AB.sum");
  EXPECT_EQ(TextModeBytes(SummarySheetText(report, table, today)), bytes);
  EXPECT_NE(std::string::npos,
            bytes.find("\r\n         Address : Main St 1\r\r\nADDRESS: Flat 2\r\n"))
      << "a continuation line shows as CR CR LF";
  EXPECT_NE(std::string::npos, bytes.find("Score\t 1\r\n____"));
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n') {
      ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare line feed at " << i;
    }
  }
}

}  // namespace
