// panel_host DLL [GoogleTest options] | panel_host DLL --exit-with-panel
//
// A host for the mode switch panel: its main thread is a single-threaded
// apartment that offers a fake "Vexa2.Application" (fake_vexa_win32.h) and
// pumps messages while it waits, as the host program's main thread does; it
// loads the plug-in library and calls the exports from there. An operator
// thread clicks the panel's buttons, so that a click whose handler calls back
// into the host never waits on the thread that must answer it.
//
// Without options it runs the checks below. --exit-with-panel opens the panel
// and the Multiplier window and ends the process with both open (run by the
// checks themselves).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fake_vexa_win32.h"
#include "host_platform.h"
#include "host_scenario.h"
#include "panel_driver_win32.h"
#include "tools/common/host_arguments.h"

namespace {

std::string g_dll;

std::string Joined(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& s : items) {
    out += (out.empty() ? "" : " | ") + s;
  }
  return "[" + out + "]";
}

std::string ModeWordIn(const PluginSession& s) {
  int out = 0;
  const std::string text = s.Result(&out);
  // "\t  KOVA-BRAWLCUP 13.02-14.02.2016 WORD\r\n..."
  const std::string before = "14.02.2016 ";
  const std::size_t from = text.find(before);
  const std::size_t to = text.find("\r\n");
  if (from == std::string::npos || to == std::string::npos || to < from + before.size()) {
    return "<no heading in " + Escaped(text.substr(0, 60)) + ">";
  }
  return text.substr(from + before.size(), to - from - before.size());
}

// Unloads and checks that both windows went with the library, promptly.
void ExpectUnloaded(PluginSession& s, HWND panel, HWND multiplier, const std::string& what) {
  DWORD took = 0;
  EXPECT_TRUE(UnloadPlugin(s, what, took)) << what << ": FreeLibrary succeeds";
  EXPECT_LT(took, 3000u) << what << ": unloading returns promptly";
  EXPECT_TRUE(panel == nullptr || !IsWindow(panel)) << what << ": the panel is gone";
  EXPECT_TRUE(multiplier == nullptr || !IsWindow(multiplier))
      << what << ": the Multiplier window is gone";
}


// The host's side of the process: a folder of its own and the host object
// offered in the running object table.
class HostProcess : public ::testing::Environment {
 public:
  void SetUp() override {
    std::filesystem::create_directory("panel_host_work");
    std::filesystem::current_path("panel_host_work");
    std::filesystem::create_directory("Plugins");
    ASSERT_TRUE(RegisterVexaProgId()) << "register Vexa2.Application";
    ASSERT_TRUE(g_vexa.Register()) << "offer the host object in the running object table";
  }
};

TEST(PanelHost, OpensOnceSwitchesModesAndFollowsTheHost) {
  DeleteFileA(kPanelIni);
  g_vexa.SetEntryText(L"");
  g_vexa.SetFrequency(14080000.0);
  PluginSession s;
  std::string error;
  ASSERT_TRUE(s.Open(g_dll, error)) << error;

  // First reset, "Start" absent: the panel opens on a thread of its own.
  ResetContest(s);
  HWND panel = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (panel = Panel()) != nullptr; }))
      << "the first reset opens the panel";
  EXPECT_NE(GetCurrentThreadId(), GetWindowThreadProcessId(panel, nullptr))
      << "the panel runs on a thread other than the host's";
  EXPECT_EQ("1", PanelSetting("Start")) << "the first reset sets Start";
  EXPECT_TRUE(PumpUntil([] { return g_vexa.Count("macro <SP1>") >= 1; }))
      << "the panel's first tick reads the frequency and reports the new one";
  EXPECT_EQ(Joined({"macro <MODE:RTTY>", "entry 5", "frequency", "macro <SP1>"}),
            Joined(g_vexa.Calls()))
      << "opening: RTTY, then the first tick (a new frequency)";
  EXPECT_EQ("RTTY", PanelSetting("mode")) << "opening stores the mode RTTY";
  EXPECT_TRUE(GetWindowLongPtrA(panel, GWL_EXSTYLE) & WS_EX_TOPMOST) << "the panel is topmost";
  EXPECT_NE(0, SendMessageA(panel, WM_GETICON, ICON_BIG, 0)) << "the panel has its icon";
  RECT at = {};
  GetWindowRect(panel, &at);
  EXPECT_TRUE(at.left == 10 && at.top == 10) << "the panel opens at 10,10 without stored position";

  // The second reset leaves it alone, and so does the third.
  ResetContest(s);
  PumpFor(700);
  EXPECT_EQ("0", PanelSetting("Start")) << "the second reset clears Start";
  EXPECT_EQ(panel, Panel()) << "the second reset keeps the same panel";
  ResetContest(s);
  PumpFor(300);
  EXPECT_EQ("0", PanelSetting("Start")) << "the third reset changes nothing";
  EXPECT_EQ(panel, Panel()) << "the third reset keeps the same panel";
  EXPECT_EQ(1, g_vexa.Count("macro <MODE:RTTY>")) << "no second panel switched the host to RTTY";

  // Each button sends its macros and sets its mode word.
  for (const PanelButton& b : kPanelButtons) {
    g_vexa.Clear();
    Click(panel, b.id);
    PumpUntil([&] { return g_vexa.Count("frequency") >= 1; }, 5000);
    EXPECT_EQ(Joined(b.macros), Joined(g_vexa.Macros())) << "button " << b.id;
    EXPECT_EQ(b.word, ModeWordIn(s)) << "mode word after button " << b.id;
  }
  EXPECT_EQ("RTTY", PanelSetting("mode")) << "the buttons do not write the mode setting";

  // The check box opens the Multiplier window and writes "Pref".
  Click(panel, kViewPrefix);
  HWND multiplier = nullptr;
  EXPECT_TRUE(PumpUntil([&] { return (multiplier = Multiplier(panel)) != nullptr; }))
      << "the check box opens the Multiplier window";
  EXPECT_TRUE(PumpUntil([] { return PanelSetting("Pref") == "1"; }, 3000))
      << "opening the window writes Pref=1";
  EXPECT_EQ(BST_CHECKED, SendMessageA(GetDlgItem(panel, kViewPrefix), BM_GETCHECK, 0, 0))
      << "the check box shows the window open";
  ASSERT_NE(nullptr, multiplier);
  EXPECT_TRUE(GetWindowLongPtrA(multiplier, GWL_EXSTYLE) & WS_EX_TOPMOST)
      << "the window is topmost";
  GetWindowRect(multiplier, &at);
  EXPECT_TRUE(at.left == 10 && at.top == 400)
      << "the window opens at 10,400 without stored position";

  // With a call being entered and QSOs: the caption and the grid's colours.
  for (const HostContact& c :
       {ContactAt("Q2AA", "20m", "RTTY", "Q2", "001", "011", 14080500, 9, 5),
        ContactAt("Q2AA", "40m", "BPSK31", "Q2", "002", "012", 7035000, 9, 10),
        ContactAt("Q3BB", "20m", "HELL", "Q3", "003", "013", 14063000, 9, 15)}) {
    s.Add("Q1HOST", c);
  }
  g_vexa.SetEntryText(L"Q2AA");
  CheckCall(s, "Q2AA");
  const std::string workedWith = " KOVA-BRAWLCUP worked with Q2AA";
  EXPECT_TRUE(PumpUntil([&] { return Caption(multiplier) == workedWith; }))
      << "the caption names the call being entered: \"" << Caption(multiplier) << "\"";
  std::string mismatch;
  PumpUntil([&] { return (mismatch = GridColourMismatch(multiplier, 3)).empty(); }, 3000);
  EXPECT_EQ("", mismatch) << "grid background and the 20 m row highlighted";

  g_vexa.SetFrequency(7035000.0);
  CheckCall(s, "Q2AA");
  PumpUntil([&] { return (mismatch = GridColourMismatch(multiplier, 2)).empty(); }, 3000);
  EXPECT_EQ("", mismatch) << "the highlight follows the radio to 40 m";

  // Clearing the call brings back the prefix display and its caption.
  g_vexa.SetEntryText(L"");
  CheckCall(s, "");
  const std::string prefixWorked = "KOVA-BRAWLCUP   Prefix worked  SSTV";
  EXPECT_TRUE(PumpUntil([&] { return Caption(multiplier) == prefixWorked; }))
      << "no call: the prefix caption with the mode word: \"" << Caption(multiplier) << "\"";
  EXPECT_TRUE(PumpUntil(
      [&] { return PixelOf(GetDlgItem(multiplier, kGridControl), 8, 3) == kPrefixBackground; },
      3000))
      << "no call: the prefix display's background";

  // Call checks keep the panel ticking; without them it stays quiet.
  g_vexa.Clear();
  for (int i = 1; i <= 3; ++i) {
    CheckCall(s, "Q2A");
    EXPECT_TRUE(PumpUntil([&] { return g_vexa.Count("entry 5") == i; }, 3000))
        << "call check " << i << " brings one tick";
  }
  PumpFor(1500);
  EXPECT_EQ(3, g_vexa.Count("entry 5")) << "no tick without a call check, a button or the box";

  // A failing host call abandons that tick and nothing else.
  g_vexa.Clear();
  g_vexa.SetEntryTextFails(true);
  CheckCall(s, "Q2AA");
  PumpUntil([] { return g_vexa.Count("entry 5") == 1; }, 3000);
  PumpFor(400);
  EXPECT_EQ(Joined({"entry 5"}), Joined(g_vexa.Calls())) << "a failed entry text ends the tick";
  g_vexa.SetEntryTextFails(false);
  EXPECT_TRUE(Panel() == panel && IsWindow(multiplier))
      << "the panel and window stay after a failure";
  CheckCall(s, "Q2AA");
  EXPECT_TRUE(PumpUntil([] { return g_vexa.Count("frequency") == 1; }, 3000))
      << "the next call check ticks in full again";

  // The window's own close box only hides it: the panel keeps retitling it
  // and does not show it again.
  Operate([&] { SendMessageA(multiplier, WM_CLOSE, 0, 0); });
  EXPECT_TRUE(IsWindow(multiplier) && !IsWindowVisible(multiplier))
      << "the window's own close box only hides it";
  g_vexa.SetEntryText(L"Q3BB");
  CheckCall(s, "Q3BB");
  EXPECT_TRUE(PumpUntil([&] { return Caption(multiplier) == " KOVA-BRAWLCUP worked with Q3BB"; }))
      << "the panel keeps retitling the hidden window";
  EXPECT_FALSE(IsWindowVisible(multiplier)) << "the panel does not show the hidden window again";

  // The check box closes the window for good and opens a new one, again and
  // again.
  const std::size_t dialogsOpen = OtherDialogs(panel).size();
  HWND current = multiplier;
  for (int i = 0; i < 50; ++i) {
    Click(panel, kViewPrefix);
    if (!PumpUntil([&] { return !IsWindow(current); }, 3000)) {
      ADD_FAILURE() << "cycle " << i << ": the closed window is destroyed";
      break;
    }
    if (i == 0) {
      // The window goes before the setting is written: wait for the write.
      EXPECT_TRUE(PumpUntil([] { return PanelSetting("Pref") == "0"; }, 3000))
          << "closing the window writes Pref=0";
      EXPECT_EQ(BST_UNCHECKED, SendMessageA(GetDlgItem(panel, kViewPrefix), BM_GETCHECK, 0, 0))
          << "the check box shows the window closed";
    }
    Click(panel, kViewPrefix);
    if (!PumpUntil([&] { return (current = Multiplier(panel)) != nullptr; }, 3000)) {
      ADD_FAILURE() << "cycle " << i << ": the check box shows a window again";
      break;
    }
  }
  EXPECT_EQ(dialogsOpen, OtherDialogs(panel).size()) << "50 close and open cycles leave no window";
  multiplier = current;

  // Resets, QSOs and call checks in quick succession while the panel ticks
  // and paints: the panel's reads never meet a list half rebuilt.
  g_vexa.SetEntryText(L"Q2AA");
  const char* bands[] = {"160m", "80m", "40m", "20m", "15m", "10m", "6m"};
  const char* modes[] = {"RTTY", "BPSK31", "HELL", "OLIVIA", "MT63", "THROB", "SSTV", "PACTOR"};
  // A call check re-arms the timer for 330 ms, so one every 400 ms lets it
  // fire while the resets go on.
  g_vexa.Clear();
  const DWORD stormStart = GetTickCount();
  DWORD lastCheck = 0;
  int rounds = 0;
  while (GetTickCount() - stormStart < 3000) {
    ResetContest(s);
    for (int q = 0; q < 10; ++q) {
      const std::string nr = std::to_string(100 + q);
      s.Add("Q1HOST", ContactAt(q % 3 == 0 ? "Q2AA" : "Q5XX", bands[(rounds + q) % 7], modes[q % 8],
                                "Q2", nr.c_str(), nr.c_str(), 14080000, 9, q));
    }
    if (GetTickCount() - lastCheck > 400) {
      CheckCall(s, "Q2AA");
      lastCheck = GetTickCount();
    }
    int out = 0;
    s.Result(&out);
    PumpOnce(1);
    ++rounds;
  }
  const int stormTicks = g_vexa.Count("entry 5");
  std::printf("storm: %d resets, %d ticks\n", rounds, stormTicks);
  EXPECT_GE(stormTicks, 3) << "the panel ticked during the storm";
  CheckCall(s, "Q2AA");
  g_vexa.SetFrequency(14080000.0);
  EXPECT_TRUE(PumpUntil([&] { return GridColourMismatch(multiplier, 3).empty(); }, 3000))
      << "after the storm the grid shows its colours again";
  EXPECT_TRUE(Panel() == panel && IsWindow(multiplier)) << "the panel and window outlive the storm";

  // The operator closes the panel: the window goes with it; the next reset
  // with "Start" at 0 opens a new one, which reopens the window ("Pref" = 1).
  Operate([&] { SendMessageA(panel, WM_CLOSE, 0, 0); });
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(panel) && !IsWindow(multiplier); }))
      << "the close box ends the panel and its window";
  g_vexa.Clear();
  ResetContest(s);  // "Start" was 0: a new panel
  ASSERT_TRUE(PumpUntil([&] { return (panel = Panel()) != nullptr; }))
      << "a reset after closing opens a new panel";
  EXPECT_TRUE(PumpUntil([&] { return (multiplier = Multiplier(panel)) != nullptr; }))
      << "the new panel reopens the window on its first tick";
  EXPECT_EQ("<MODE:RTTY>", g_vexa.Macros().empty() ? "" : g_vexa.Macros()[0])
      << "the new panel switches the host to RTTY again";

  // Unloading with both open closes both and returns.
  ExpectUnloaded(s, panel, multiplier, "unload with the panel open");
}

// A tick is waiting for the host's thread when the host unloads the library:
// the stop answers the call while it waits, and returns promptly.
TEST(PanelHost, UnloadWhileATickWaitsForTheHost) {
  g_vexa.SetEntryText(L"Q2AA");
  PluginSession s;
  HWND panel = OpenPanel(g_dll, s, true, "0");
  ASSERT_NE(nullptr, panel) << "a panel for the unload during a tick";
  ASSERT_TRUE(PumpUntil([] { return g_vexa.Count("macro <SP1>") == 1; }))
      << "the first tick is over";
  // While this thread does not pump, the tick's call waits for it.
  int before = g_vexa.Count("entry 5");
  const int frequencies = g_vexa.Count("frequency");
  CheckCall(s, "Q2AA");
  Sleep(800);
  EXPECT_EQ(before, g_vexa.Count("entry 5")) << "a busy host answers nothing";
  EXPECT_TRUE(PumpUntil([&] { return g_vexa.Count("frequency") == frequencies + 1; }, 3000))
      << "the waiting calls are answered once the host pumps again";
  EXPECT_EQ(before + 1, g_vexa.Count("entry 5"));

  before = g_vexa.Count("entry 5");
  CheckCall(s, "Q2AA");
  ASSERT_TRUE(CallWaitsForThisThread(10000)) << "the tick's call now waits for this thread";
  ExpectUnloaded(s, panel, nullptr, "unload while a tick waits for the host");
  EXPECT_EQ(before + 1, g_vexa.Count("entry 5")) << "the stop answered the waiting call";
  PumpFor(300);  // the host object's release arrives now; nothing may break
}

// A host busy with a job of its own refuses calls for a moment: a click's
// macro is tried again until it gets through; a host busy for longer than
// the panel waits loses that click, and the next one reaches it.
TEST(PanelHost, AClickReachesAHostBusyForAMoment) {
  PluginSession s;
  HWND panel = OpenPanel(g_dll, s, true, "0");
  ASSERT_NE(nullptr, panel);
  BusyHost busy;
  ASSERT_TRUE(busy.Register()) << "the host's message filter";
  g_vexa.Clear();
  busy.BusyFor(600);
  Click(panel, 1006);
  EXPECT_TRUE(PumpUntil([] { return g_vexa.Count("macro <MODE:HELL>") == 1; }, 5000))
      << "the macro arrives once the host is free: " << Joined(g_vexa.Calls());
  EXPECT_GT(busy.refused(), 0) << "the host refused the first tries";

  g_vexa.Clear();
  busy.BusyFor(5000);
  const DWORD start = GetTickCount();
  Click(panel, 1009);
  PumpUntil([] { return false; }, 3000);
  EXPECT_EQ(0, g_vexa.Count("macro <MODE:THROB>")) << "a host busy for long loses the click";
  busy.BusyFor(0);
  Click(panel, 1012);
  EXPECT_TRUE(PumpUntil([] { return g_vexa.Count("macro <MODE:SSTV>") == 1; }, 5000))
      << "the panel is not stuck: the next click arrives";
  std::printf("a click on a host busy for long answered after %lu ms\n", GetTickCount() - start);
  busy.Revoke();
  ExpectUnloaded(s, panel, nullptr, "unload after the busy host");
}

// A host that unloads the library right after the reset that started the
// panel: the reset returns only once the panel has opened, so the unload
// finds it open and closes it, instead of waiting for a panel thread that
// itself waits for the loader lock the unload holds.
TEST(PanelHost, UnloadRightAfterTheResetThatStartsThePanel) {
  for (int round = 0; round < 3; ++round) {
    WritePrivateProfileStringA("Settings", "Start", "0", kPanelIni);
    WritePrivateProfileStringA("Settings", "Pref", "1", kPanelIni);
    PluginSession s;
    std::string error;
    ASSERT_TRUE(s.Open(g_dll, error)) << error;
    ResetContest(s);
    EXPECT_NE(nullptr, Panel()) << "the reset returns with the panel open";
    DWORD took = 0;
    EXPECT_TRUE(UnloadPlugin(s, "unload right after the reset", took));
    EXPECT_LT(took, 5000u) << "round " << round;
    EXPECT_EQ(nullptr, Panel()) << "the unload closed the panel";
  }
}

// Another copy of this program opens the panel and ends its process with it
// open; it must end promptly.
TEST(PanelHost, ProcessEndsPromptlyWithThePanelOpen) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, sizeof self);
  std::string command = std::string("\"") + self + "\" \"" + g_dll + "\" --exit-with-panel";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process))
      << "start the process that exits with the panel open";
  // The child's panel calls this process's host object: keep serving it.
  DWORD exitCode = 99;
  PumpUntil([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, 60000);
  const DWORD ended = GetTickCount();
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_EQ(0u, exitCode) << "the process with the panel open ended normally";
  std::ifstream mark("exit-mark.txt");
  unsigned long leaving = 0;
  mark >> leaving;
  ASSERT_NE(0u, leaving) << "the process noted when it began to exit";
  std::printf("process exit with the panel open took %lu ms\n", ended - leaving);
  EXPECT_LT(ended - leaving, 3000u) << "ending the process with the panel open returns quickly";
}

// Last: it takes the host object away for good.
TEST(PanelHost, WorksWithoutAHostObject) {
  g_vexa.Revoke();
  PluginSession s;
  HWND panel = OpenPanel(g_dll, s, false, "0");
  ASSERT_NE(nullptr, panel) << "without a host object the panel still opens";
  EXPECT_EQ("RTTY", PanelSetting("mode")) << "without a host, opening still stores RTTY";
  for (const PanelButton& b : kPanelButtons) {
    Click(panel, b.id);
    EXPECT_EQ(b.word, ModeWordIn(s)) << "without a host, button " << b.id;
  }
  Click(panel, kViewPrefix);
  HWND multiplier = nullptr;
  EXPECT_TRUE(PumpUntil([&] { return (multiplier = Multiplier(panel)) != nullptr; }))
      << "without a host the check box still opens the window";
  CheckCall(s, "Q2AA");
  PumpFor(1200);
  if (multiplier != nullptr) {
    EXPECT_EQ("WPX", Caption(multiplier)) << "without a host the caption stays";
    EXPECT_EQ(kPrefixBackground, PixelOf(GetDlgItem(multiplier, kGridControl), 8, 3))
        << "without a host the window shows its background";
  }
  EXPECT_EQ("[]", Joined(g_vexa.Calls())) << "nothing reached the unregistered host";
  ExpectUnloaded(s, panel, multiplier, "unload without a host");
}

// The child of ProcessEndsPromptlyWithThePanelOpen.
int ExitWithPanel(const std::string& dll) {
  // Never unloaded: the process ends with the library loaded, as the host's
  // does when it exits. Unloading it here would hang under Wine, which is no
  // fault of the plug-in: this panel's host object lives in the parent
  // process, and Wine hands every call into another process (the release of
  // the host object on the way out among them) to a pool thread. When the
  // pool's idle threads have ended (after 5 s without a call) a new one must
  // start, and it waits for the loader lock that the unloading thread holds
  // while it waits for the panel; the message filter's cancel does not end
  // Wine's wait either. The real host's object lives in the host's own
  // process, where the release is answered by the stop routine's pauses.
  PluginSession& s = *new PluginSession;
  // "Pref" = 1: the panel's first tick opens the window.
  HWND panel = OpenPanel(dll, s, true, "1");
  if (panel == nullptr) {
    return 2;
  }
  if (!PumpUntil([&] { return Multiplier(panel) != nullptr; })) {
    return 3;
  }
  std::ofstream("exit-mark.txt") << GetTickCount() << "\n";
  return 0;  // the process ends with the panel and the window open
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    std::printf("usage: panel_host DLL [--exit-with-panel]\n");
    return 100;
  }
  g_dll = LoaderPath(argv[1]);
  if (FAILED(CoInitialize(nullptr))) {
    std::printf("FAIL: COM\n");
    return 100;
  }
  if (argc > 2 && std::string(argv[2]) == "--exit-with-panel") {
    // The parent process offers the host object; this one only runs the panel.
    return ExitWithPanel(g_dll);
  }
  ::testing::AddGlobalTestEnvironment(new HostProcess);
  const int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
