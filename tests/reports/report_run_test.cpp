// A whole report run as the host drives it: ResetStats0 with the report flag,
// the QSOs, then GetResult0, with a scripted operator at the header form and
// the "Output" box.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "contest/settings.h"
#include "plugin/exports.h"
#include "plugin/module_state.h"
#include "plugin/user_interface.h"
#include "reports/report_test_support.h"
#include "reports/summary_sheet.h"
#include "test_support.h"
#include "tools/check/submitted_log.h"
#include "windows/panel_module.h"
#include "windows/switch_mode_panel.h"

namespace {

class ReportRunTest : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    Module().ui = &op;
    Module().panel = &panel;
  }

  static void AddQsos() {
    HostQso rtty;
    rtty.call = "Q2AA";
    rtty.mode = "RTTY";
    HostAdd(rtty);
    HostQso olivia;
    olivia.call = "Q3BB";
    olivia.prefix = "Q3";
    olivia.mode = "OLIVIA";
    olivia.hertz = 7040500;
    olivia.band = "40m";
    olivia.nrSent = "002";
    olivia.nrRcvd = "117";
    olivia.time = HostTime(2016, 2, 13, 14, 30);
    HostAdd(olivia);
    HostAdd(rtty);  // a duplicate is stored and filed as well
    HostQso cw = rtty;
    cw.call = "Q4CC";
    cw.mode = "CW";
    HostAdd(cw);  // refused: never reaches the report
  }

  Settings settings;
  ScriptedOperator op;
  FakePanel panel;
};

const char kRttyLog[] =
    "QSO: 14080 RY 2016-02-13 0905 Q1AB/P        001    Q2AA          002\r\n"
    "QSO: 14080 RY 2016-02-13 0905 Q1AB/P        001    Q2AA          002\r\n";
const char kMfskLog[] = "QSO:  7040 OL 2016-02-13 1430 Q1AB/P        002    Q3BB          117\r\n";

std::string Today() { return FormatDateTime(LocalToday(), "%d-%b-%Y"); }

TEST_F(ReportRunTest, ConfirmedRunLeavesTheLogsTheSheetAndTheMessage) {
  op.edit = [](ScriptedOperator::Texts& t) {
    t[1007] = "Ann";
    t[1005] = "The Club";
    t[1002] = "Main St 1<CR>Flat 2";
  };
  ASSERT_EQ(1, HostReset(1, "Q1AB/P", HostTime(2016, 2, 13, 12), HostTime(2016, 2, 14, 11, 59)));
  ASSERT_EQ(1u, op.opened.size()) << "the form is shown during the reset";
  EXPECT_EQ("Q1AB/P", op.opened[0].at(1010));
  EXPECT_EQ("Q1AB/P", op.opened[0].at(1006));
  EXPECT_EQ("0", settings.Read(settings_key::kStart)) << "the report run starts no panel";
  EXPECT_EQ(0, panel.starts);
  EXPECT_EQ("Ann", settings.Read(settings_key::kName));

  AddQsos();
  int out = 5;
  GetResult0(&out);
  EXPECT_EQ(-1, out);
  ASSERT_EQ(1u, op.messages.size());
  EXPECT_EQ("File produced: Q1AB_P.sum", op.messages[0].first);
  EXPECT_EQ("Output", op.messages[0].second);

  EXPECT_EQ((std::set<std::string>{"err.txt", "RTTY.log", "MFSK .log", "Q1AB_P.sum"}), FilesHere());
  EXPECT_EQ(kRttyLog, ReadFile("RTTY.log"));
  EXPECT_EQ(kMfskLog, ReadFile("MFSK .log"));
  EXPECT_EQ(
      "\t\tKOVA Brawlcup Digital Prefix Contest 2016\r\n"
      "\t\t\tSUMMARY SHEET\r\n"
      "\r\n"
      "\tContest Date(s) : 13-Feb-2016 - 14-Feb-2016\r\n"
      "\tCallsign Used : Q1AB/P\r\n"
      "\tOperators(s)  : Q1AB/P\r\n"
      "\r\n"
      "         Name(s) : Ann\r\n"
      "         CATEGORY-POWER : HIGH\r\n"
      "         Address : Main St 1\r\r\n"
      "ADDRESS: Flat 2\r\n"
      "       Team/Club : The Club\r\n"
      "\r\n"
      "\r\n"
      "\tBPSK\tHELL\tMFSK\tMT63\tRTTY\tTHROB\tSSTV   \r\n"
      "___________________________________________________________\r\n"
      "QSO\t 0\t 0\t 1\t 0\t 1\t 0\t 0\r\n"
      "PFX\t 0\t 0\t 1\t 0\t 1\t 0\t 0\r\n"
      "Score\t 0\t 0\t 1\t 0\t 1\t 0\t 0\r\n"
      "___________________________________________________________\r\n"
      "\r\n"
      "I have observed all competition rules as well as all regulations\r\n"
      "established for amateur radio in my country. My report is correct\r\n"
      "and true to the best of my knowledge. I agree to be bound by the\r\n"
      "decisions of the Awards Committee.\r\n"
      "\r\n"
      "\r\n"
      "  Ann\r\n"
      "  " +
          Today() + "\r\n",
      ReadFile("Q1AB_P.sum"));
}

TEST_F(ReportRunTest, SecondScoreRequestLeavesTheLogsUnchanged) {
  ASSERT_EQ(1, HostReset(1, "Q1AB/P", HostTime(2016, 2, 13), HostTime(2016, 2, 14)));
  AddQsos();
  int out = 0;
  GetResult0(&out);
  out = 0;
  GetResult0(&out);
  EXPECT_EQ(-1, out);
  EXPECT_EQ(2u, op.messages.size()) << "every score request of the run closes with the box";
  EXPECT_EQ(kRttyLog, ReadFile("RTTY.log")) << "each QSO is written once, not once per request";
  EXPECT_EQ(kMfskLog, ReadFile("MFSK .log"));
}

TEST_F(ReportRunTest, CancelledFormStillWritesTheReportButNoHeaderSettings) {
  WriteFile("Plugins/KOVA-BRAWLCUP.ini", "[Settings]\r\nName=Ann\r\nClaimed=7\r\n");
  op.answer = kDialogCancel;
  op.edit = [](ScriptedOperator::Texts& t) { t[1007] = "Bob"; };
  ASSERT_EQ(1, HostReset(1, "Q1AB/P", HostTime(2016, 2, 13), HostTime(2016, 2, 14)));
  EXPECT_EQ("7", op.opened[0].at(1008)) << "CLAIMED shows the last stored score";
  AddQsos();
  int out = 0;
  GetResult0(&out);
  EXPECT_EQ(-1, out);
  EXPECT_EQ(kRttyLog, ReadFile("RTTY.log"));
  EXPECT_NE(std::string::npos, ReadFile("Q1AB_P.sum").find("         Name(s) : Ann\r\n"));
  EXPECT_EQ("Ann", settings.Read(settings_key::kName));
  EXPECT_EQ("absent", settings.Read(settings_key::kOperators, "absent"));
  EXPECT_EQ("absent", settings.Read(settings_key::kLocation, "absent"));
}

TEST_F(ReportRunTest, NewRunReplacesTheLinesOfTheRunBefore) {
  ASSERT_EQ(1, HostReset(1, "Q1AB/P", HostTime(2016, 2, 13), HostTime(2016, 2, 14)));
  AddQsos();
  GetResult0(nullptr);

  op.answer = kDialogCancel;
  ASSERT_EQ(1, HostReset(1, "Q1AB/P", HostTime(2016, 2, 13), HostTime(2016, 2, 14)));
  HostQso rtty;
  rtty.call = "Q2ZZ";
  HostAdd(rtty);
  int out = 0;
  GetResult0(&out);
  EXPECT_EQ("QSO: 14080 RY 2016-02-13 0905 Q1AB/P        001    Q2ZZ          002\r\n",
            ReadFile("RTTY.log"));
  EXPECT_EQ(kMfskLog, ReadFile("MFSK .log")) << "a mode without lines keeps its old log";
}

TEST_F(ReportRunTest, NullOutPointerStillWritesTheReport) {
  ASSERT_EQ(1, HostReset(1, "Q1AB", HostTime(2016, 2, 13), HostTime(2016, 2, 14)));
  AddQsos();
  EXPECT_NE(nullptr, GetResult0(nullptr));
  EXPECT_EQ(1u, op.messages.size());
  EXPECT_TRUE(FileExists("Q1AB.sum"));
  EXPECT_TRUE(FileExists("RTTY.log"));
}

TEST_F(ReportRunTest, WithoutAWindowSystemTheRunGoesOnAsCancelled) {
  Module().ui = &PlatformUserInterface();
  ASSERT_EQ(1, HostReset(1, " Q1AB\\X ", HostTime(2016, 2, 13), HostTime(2016, 2, 14)));
  AddQsos();
  int out = 0;
  GetResult0(&out);
  EXPECT_EQ(-1, out);
  EXPECT_TRUE(FileExists("Q1AB_X.sum"));
  EXPECT_EQ("absent", settings.Read(settings_key::kOperators, "absent"));
}

TEST_F(ReportRunTest, OrdinaryPassWritesNoReport) {
  ASSERT_EQ(1, HostReset(0, "Q1AB", HostTime(2016, 2, 13), HostTime(2016, 2, 14)));
  AddQsos();
  int out = 5;
  GetResult0(&out);
  EXPECT_EQ(5, out) << "outside a report run the out-parameter is left alone";
  EXPECT_TRUE(op.opened.empty());
  EXPECT_TRUE(op.messages.empty());
  EXPECT_EQ((std::set<std::string>{"err.txt"}), FilesHere());
}

}  // namespace

namespace {

TEST_F(ReportRunTest, TheOutputBoxIsClosedBeforeTheHostLearnsTheRunIsDone) {
  HostReset(1, "Q1AB");
  AddQsos();
  int out = 5;
  op.watched = &out;
  GetResult0(&out);
  ASSERT_EQ(1u, op.messages.size());
  EXPECT_EQ((std::vector<int>{5}), op.watchedWhileShown) << "*out is set only after the box";
  EXPECT_EQ(-1, out);
}

TEST_F(ReportRunTest, AReportRunStartsTheErrorLogAfresh) {
  WriteFile("err.txt", "KOVA-BRAWLCUP UBN file \r\nQSO: of the last pass   DUPE !!!\r\n");
  HostReset(1, "Q1AB");
  EXPECT_EQ("KOVA-BRAWLCUP UBN file \r\n", ReadFile("err.txt"));
}

// What the panel's side of the module sees while the header form is open,
// and a click on its HELL button meanwhile, made on a thread of its own as
// the panel thread makes it.
struct DuringTheForm {
  bool logEmpty = false;
  std::string modeWord;
  int reportFlag = -1;
  std::string start;
  std::string errorLog;
  bool clicked = false;
};

class NoView : public ISwitchModeView {
 public:
  void ArmTimer(int) override {}
  void CancelTimer() override {}
  void ShowCheckState(int) override {}
  std::unique_ptr<IMultiplierWindow> CreateMultiplier() override { return nullptr; }
};

// The reset changes the module first and shows the form after: during the
// form the panel already sees the new pass (no QSOs, the report flag, the
// mode word read from the settings), and the mode word its buttons set
// then is the one the pass goes on with, whether the form is confirmed or
// cancelled. Only after the form come "Start", the panel toggle and err.txt.
TEST_F(ReportRunTest, AModeChosenOnThePanelDuringTheFormDecidesTheModeWord) {
  for (int answer : {kDialogOk, kDialogCancel}) {
    settings.Write(settings_key::kMode, "RTTY");
    HostReset(0, "Q1AB");
    AddQsos();
    settings.Write(settings_key::kStart, "0");
    panel = FakePanel();
    NoView view;
    SwitchModePanel panelSide(Module().panelModule(), view);
    DuringTheForm seen;
    op.answer = answer;
    op.edit = [&](ScriptedOperator::Texts&) {
      auto done = std::make_shared<std::promise<void>>();
      std::thread panelThread([&, done] {
        Module().panelModule().Locked([&](PanelShare& share) {
          seen.logEmpty = share.qsos.empty();
          seen.modeWord = share.modeWord;
        });
        seen.clicked = panelSide.ClickModeButton(1006);
        done->set_value();
      });
      if (done->get_future().wait_for(std::chrono::seconds(10)) == std::future_status::ready) {
        panelThread.join();
      } else {
        ADD_FAILURE() << "the panel thread waited for the lock while the form was open";
        panelThread.detach();
      }
      std::unique_lock<std::mutex> lock(Module().mutex, std::try_to_lock);
      if (!lock.owns_lock()) {
        ADD_FAILURE() << "the module's lock is held while the form is open";
        return;
      }
      seen.reportFlag = Module().reportFlag;
      seen.start = settings.Read(settings_key::kStart);
      seen.errorLog = ReadFile("err.txt");
    };
    HostReset(1, "Q1AB", HostTime(2016, 2, 13), HostTime(2016, 2, 14));

    const char* form = answer == kDialogOk ? "confirmed" : "cancelled";
    EXPECT_TRUE(seen.clicked) << form;
    EXPECT_TRUE(seen.logEmpty) << form;
    EXPECT_EQ("RTTY", seen.modeWord) << form;
    EXPECT_EQ(1, seen.reportFlag) << form;
    EXPECT_EQ("0", seen.start) << form;
    EXPECT_NE("KOVA-BRAWLCUP UBN file \r\n", seen.errorLog) << "err.txt comes last; " << form;
    EXPECT_EQ("0", settings.Read(settings_key::kStart)) << form;
    EXPECT_EQ("KOVA-BRAWLCUP UBN file \r\n", ReadFile("err.txt")) << form;
    EXPECT_EQ(0, panel.starts) << form;
    const std::string result = GetResult0(nullptr);
    EXPECT_EQ("\t  KOVA-BRAWLCUP 13.02-14.02.2016 HELL\r\n",
              result.substr(0, result.find('\n') + 1))
        << form;
  }
}

TEST_F(ReportRunTest, AStoredSetupChoiceOutsideTheBoxsStatesOpensItClear) {
  for (const char* stored : {"3", "-1", "2", "1"}) {
    settings.Write(settings_key::kMaster, stored);
    SetupSet0();
  }
  EXPECT_EQ((std::vector<int>{0, 0, 2, 1}), op.setupShown);
}

// What the report run writes, stats-check's submission reader reads back: the
// two share one description of the files, and this holds them to it.
TEST_F(ReportRunTest, TheSubmissionReaderReadsBackWhatTheRunWrote) {
  op.edit = [](ScriptedOperator::Texts& t) { t[1005] = "The Club"; };
  ASSERT_EQ(1, HostReset(1, "Q1AB/P", HostTime(2016, 2, 13, 12), HostTime(2016, 2, 14, 11, 59)));
  AddQsos();
  int out = 0;
  GetResult0(&out);

  TextPool texts;
  const SubmittedLog log = ReadSubmission(std::filesystem::current_path().string(), texts);
  ASSERT_EQ(1u, log.sheets.size());
  const SubmittedLog::Sheet& sheet = log.sheets[0];
  EXPECT_EQ("Q1AB/P", sheet.call);
  EXPECT_EQ("HIGH", sheet.category);
  EXPECT_EQ("The Club", sheet.club);
  EXPECT_EQ(42413, sheet.firstDay.value_or(0));
  EXPECT_EQ(42414, sheet.lastDay.value_or(0));
  ASSERT_TRUE(sheet.table.has_value());
  EXPECT_EQ(2, sheet.table->TotalQsos());
  EXPECT_EQ(2, sheet.table->TotalScore());
  EXPECT_EQ(0u, log.unread.size());
  // The files' QSOs in reading order: MFSK's Olivia line, then RTTY's two.
  std::string read;
  for (const LoggedQso& q : log.qsos) {
    read += log.files[q.file] + ": " + std::to_string(q.khz) + " " +
            std::string(kModeGroups[q.group].modes[q.code].code) + " " + std::to_string(q.minute) +
            " " + texts.Text(q.sent) + " " + texts.Text(q.call) + " " + texts.Text(q.rcvd) + "\n";
  }
  EXPECT_EQ("MFSK .log: 7040 OL 61075590 002 Q3BB 117\n"
            "RTTY.log: 14080 RY 61075265 001 Q2AA 002\n"
            "RTTY.log: 14080 RY 61075265 001 Q2AA 002\n",
            read);
}

}  // namespace
