// panel_host DLL [--exit-with-panel | --screenshot FILE.bmp]
//
// A host for the mode switch panel: its main thread is a single-threaded
// apartment that offers a fake "Vexa2.Application" (fake_vexa_win32.h) and
// pumps messages while it waits, as the host program's main thread does; it
// loads the plug-in library and calls the exports from there. An operator
// thread clicks the panel's buttons, so that a click whose handler calls back
// into the host never waits on the thread that must answer it.
//
// Without options it runs every check and its exit code is the number of
// failed checks (at most 100). --exit-with-panel opens the panel and the
// Multiplier window and ends the process with both open (run by the checks
// themselves). --screenshot opens both with a worked-before grid and writes
// a picture of the screen around them.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "fake_vexa_win32.h"
#include "host_platform.h"
#include "host_scenario.h"

namespace {

constexpr char kIni[] = "Plugins\\KOVA-BRAWLCUP.ini";
constexpr char kPanelCaption[] = "Switch mode";
constexpr int kViewPrefix = 1014;
constexpr int kGridControl = 1003;
constexpr COLORREF kGridBackground = 0x00C6FFFF;
constexpr COLORREF kBandHighlight = 0x00FFFFC6;
constexpr COLORREF kPrefixBackground = 0x00C6FAFF;

int g_failed = 0;
FakeVexa g_vexa;

void Expect(bool ok, const std::string& what) {
  if (!ok) {
    ++g_failed;
    std::printf("FAIL: %s\n", what.c_str());
  } else {
    std::printf("ok: %s\n", what.c_str());
  }
}

std::string Joined(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& s : items) {
    out += (out.empty() ? "" : " | ") + s;
  }
  return "[" + out + "]";
}

void ExpectText(const std::string& expected, const std::string& actual, const std::string& what) {
  Expect(expected == actual,
         what + ": expected \"" + Escaped(expected) + "\", got \"" + Escaped(actual) + "\"");
}

std::string Setting(const char* key) {
  char buffer[100] = {};
  GetPrivateProfileStringA("Settings", key, "<absent>", buffer, sizeof buffer, kIni);
  return buffer;
}

// Serves the calls waiting for this apartment and the windows of this thread.
void PumpOnce(DWORD waitMs) {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, waitMs, QS_ALLINPUT);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

template <typename Done>
bool PumpUntil(Done done, DWORD timeoutMs = 10000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) {
      return false;
    }
    PumpOnce(10);
  }
  return true;
}

void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

// What the operator does runs on a thread of its own while this one pumps.
void Operate(const std::function<void()>& action) {
  std::atomic<bool> done{false};
  std::thread operatorThread([&] {
    action();
    done = true;
  });
  PumpUntil([&] { return done.load(); }, 60000);
  operatorThread.join();
}

void Click(HWND dialog, int id) {
  Operate([&] { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); });
}

std::string Caption(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

HWND Panel() {
  HWND panel = FindWindowA("#32770", kPanelCaption);
  return panel != nullptr && IsWindowVisible(panel) ? panel : nullptr;
}

struct ThreadWindows {
  HWND skip;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
  auto* windows = reinterpret_cast<ThreadWindows*>(data);
  char cls[32] = {};
  GetClassNameA(window, cls, sizeof cls);
  if (window != windows->skip && std::strcmp(cls, "#32770") == 0) {
    windows->found.push_back(window);
  }
  return TRUE;
}

// The dialogs of the panel's thread other than the panel itself.
std::vector<HWND> OtherDialogs(HWND panel) {
  ThreadWindows windows{panel, {}};
  EnumThreadWindows(GetWindowThreadProcessId(panel, nullptr), &CollectWindow,
                    reinterpret_cast<LPARAM>(&windows));
  return windows.found;
}

HWND Multiplier(HWND panel) {
  for (HWND w : OtherDialogs(panel)) {
    if (IsWindowVisible(w)) {
      return w;
    }
  }
  return nullptr;
}

COLORREF PixelOf(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

// Where the grid display differs from the expected colours; empty when none.
// x 8 lies left of every text the window draws.
std::string GridColourMismatch(HWND multiplier, int band) {
  HWND grid = GetDlgItem(multiplier, kGridControl);
  RECT r = {};
  GetClientRect(grid, &r);
  const int h = r.bottom / 7;
  std::string wrong;
  char line[96];
  if (PixelOf(grid, 8, 3) != kGridBackground) {
    std::snprintf(line, sizeof line, "header %06lX; ", PixelOf(grid, 8, 3));
    wrong += line;
  }
  for (int row = 0; row < 6; ++row) {
    const COLORREF expected = row == band ? kBandHighlight : kGridBackground;
    const COLORREF got = PixelOf(grid, 8, (row + 1) * h + 12);
    if (got != expected) {
      std::snprintf(line, sizeof line, "row %d %06lX; ", row, got);
      wrong += line;
    }
  }
  return wrong;
}

struct Stats {
  void* library = nullptr;
  ResetStatsFn reset = nullptr;
  AddDataFn add = nullptr;
  CheckCallFn check = nullptr;
  GetResultFn result = nullptr;
};

bool Load(const std::string& path, Stats& s) {
  s.library = OpenLibrary(path);
  if (s.library == nullptr) {
    Expect(false, "load " + path + ": " + LibraryError());
    return false;
  }
  s.reset = reinterpret_cast<ResetStatsFn>(FindEntryPoint(s.library, "ResetStats0"));
  s.add = reinterpret_cast<AddDataFn>(FindEntryPoint(s.library, "AddData0"));
  s.check = reinterpret_cast<CheckCallFn>(FindEntryPoint(s.library, "CheckCall0"));
  s.result = reinterpret_cast<GetResultFn>(FindEntryPoint(s.library, "GetResult0"));
  return s.reset != nullptr && s.add != nullptr && s.check != nullptr && s.result != nullptr;
}

void Reset(const Stats& s) {
  CallResetStats(s.reset, 0, "Q1HOST", HostDateOf(2016, 2, 13), HostDateOf(2016, 2, 14));
}

void CheckCall(const Stats& s, const char* call) {
  bool kept = false;
  CallCheckCall(s.check, call, "RTTY", "Q2", "599", "20m", "20m", kept);
}

std::string ModeWordIn(const Stats& s) {
  int out = 0;
  const std::string text = s.result(&out);
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
void Unload(Stats& s, HWND panel, HWND multiplier, const std::string& what) {
  const DWORD start = GetTickCount();
  Expect(CloseLibrary(s.library), what + ": FreeLibrary succeeds");
  const DWORD took = GetTickCount() - start;
  std::printf("%s: unloading took %lu ms\n", what.c_str(), took);
  Expect(took < 3000, what + ": unloading returns promptly");
  Expect(panel == nullptr || !IsWindow(panel), what + ": the panel is gone");
  Expect(multiplier == nullptr || !IsWindow(multiplier), what + ": the Multiplier window is gone");
  s = Stats();
}

// Loads the library, resets with "Start" at 0 and waits for the panel and its
// first tick. Null when no panel came.
HWND OpenPanel(const std::string& dll, Stats& s, bool withHost, const char* pref) {
  WritePrivateProfileStringA("Settings", "Start", "0", kIni);
  WritePrivateProfileStringA("Settings", "Pref", pref, kIni);
  if (!Load(dll, s)) {
    return nullptr;
  }
  g_vexa.Clear();
  Reset(s);
  HWND panel = nullptr;
  PumpUntil([&] { return (panel = Panel()) != nullptr; });
  if (panel != nullptr && withHost) {
    PumpUntil([] { return g_vexa.Count("entry 5") >= 1; });
  } else {
    PumpFor(500);
  }
  return panel;
}

struct ButtonCase {
  int id;
  std::vector<std::string> macros;
  const char* word;
};

const ButtonCase kButtons[] = {
    {1003, {"<MODE:RTTY>"}, "RTTY"},
    {1006, {"<MODE:HELL>"}, "HELL"},
    {1009, {"<MODE:THROB>"}, "THROB"},
    {1004, {"<MODE:BPSK31>"}, "BPSK"},
    {1010, {"<MODE:BPSK31>", "<BAUDRATE:63>"}, "BPSK"},
    {1011, {"<MODE:BPSK31>", "<BAUDRATE:125>"}, "BPSK"},
    {1005, {"<MODE:OLIVIA>"}, "MFSK"},
    {1008, {"<MODE:MT63>"}, "MT63"},
    {1007, {"<MODE:MFSK>"}, "MFSK"},
    {1012, {"<MODE:SSTV>"}, "SSTV"},
};

void PanelWithHost(const std::string& dll) {
  DeleteFileA(kIni);
  g_vexa.SetEntryText(L"");
  g_vexa.SetFrequency(14080000.0);
  Stats s;
  if (!Load(dll, s)) {
    return;
  }

  // First reset, "Start" absent: the panel opens on a thread of its own.
  Reset(s);
  HWND panel = nullptr;
  Expect(PumpUntil([&] { return (panel = Panel()) != nullptr; }), "the first reset opens the panel");
  if (panel == nullptr) {
    return;
  }
  Expect(GetWindowThreadProcessId(panel, nullptr) != GetCurrentThreadId(),
         "the panel runs on a thread other than the host's");
  ExpectText("1", Setting("Start"), "the first reset sets Start");
  Expect(PumpUntil([] { return g_vexa.Count("macro <SP1>") >= 1; }),
         "the panel's first tick reads the frequency and reports the new one");
  ExpectText(Joined({"macro <MODE:RTTY>", "entry 5", "frequency", "macro <SP1>"}),
             Joined(g_vexa.Calls()), "opening: RTTY, then the first tick (a new frequency)");
  ExpectText("RTTY", Setting("mode"), "opening stores the mode RTTY");
  Expect(GetWindowLongPtrA(panel, GWL_EXSTYLE) & WS_EX_TOPMOST, "the panel is topmost");
  Expect(SendMessageA(panel, WM_GETICON, ICON_BIG, 0) != 0, "the panel has its icon");
  RECT at = {};
  GetWindowRect(panel, &at);
  Expect(at.left == 10 && at.top == 10, "the panel opens at 10,10 without stored position");

  // The second reset leaves it alone, and so does the third.
  Reset(s);
  PumpFor(700);
  ExpectText("0", Setting("Start"), "the second reset clears Start");
  Expect(Panel() == panel, "the second reset keeps the same panel");
  Reset(s);
  PumpFor(300);
  ExpectText("0", Setting("Start"), "the third reset changes nothing");
  Expect(Panel() == panel, "the third reset keeps the same panel");
  Expect(g_vexa.Count("macro <MODE:RTTY>") == 1, "no second panel switched the host to RTTY");

  // Each button sends its macros and sets its mode word.
  for (const ButtonCase& b : kButtons) {
    g_vexa.Clear();
    Click(panel, b.id);
    PumpUntil([&] { return g_vexa.Count("frequency") >= 1; }, 5000);
    ExpectText(Joined(b.macros), Joined(g_vexa.Macros()), "button " + std::to_string(b.id));
    ExpectText(b.word, ModeWordIn(s), "mode word after button " + std::to_string(b.id));
  }
  ExpectText("RTTY", Setting("mode"), "the buttons do not write the mode setting");

  // The check box opens the Multiplier window and writes "Pref".
  Click(panel, kViewPrefix);
  HWND multiplier = nullptr;
  Expect(PumpUntil([&] { return (multiplier = Multiplier(panel)) != nullptr; }),
         "the check box opens the Multiplier window");
  ExpectText("1", Setting("Pref"), "opening the window writes Pref=1");
  Expect(SendMessageA(GetDlgItem(panel, kViewPrefix), BM_GETCHECK, 0, 0) == BST_CHECKED,
         "the check box shows the window open");
  if (multiplier == nullptr) {
    return;
  }
  Expect(GetWindowLongPtrA(multiplier, GWL_EXSTYLE) & WS_EX_TOPMOST, "the window is topmost");
  GetWindowRect(multiplier, &at);
  Expect(at.left == 10 && at.top == 400, "the window opens at 10,400 without stored position");

  // With a call being entered and QSOs: the caption and the grid's colours.
  for (const Contact& c : {Contact{"Q2AA", "20m", "RTTY", "Q2", "001", "011", 14080500, 9, 5},
                           Contact{"Q2AA", "40m", "BPSK31", "Q2", "002", "012", 7035000, 9, 10},
                           Contact{"Q3BB", "20m", "HELL", "Q3", "003", "013", 14063000, 9, 15}}) {
    CallAddData(s.add, "Q1HOST", c);
  }
  g_vexa.SetEntryText(L"Q2AA");
  CheckCall(s, "Q2AA");
  const std::string workedWith = " KOVA-BRAWLCUP worked with Q2AA";
  Expect(PumpUntil([&] { return Caption(multiplier) == workedWith; }),
         "the caption names the call being entered: \"" + Caption(multiplier) + "\"");
  std::string mismatch;
  PumpUntil([&] { return (mismatch = GridColourMismatch(multiplier, 3)).empty(); }, 3000);
  Expect(mismatch.empty(), "grid background and the 20 m row highlighted: " + mismatch);

  g_vexa.SetFrequency(7035000.0);
  CheckCall(s, "Q2AA");
  PumpUntil([&] { return (mismatch = GridColourMismatch(multiplier, 2)).empty(); }, 3000);
  Expect(mismatch.empty(), "the highlight follows the radio to 40 m: " + mismatch);

  // Clearing the call brings back the prefix display and its caption.
  g_vexa.SetEntryText(L"");
  CheckCall(s, "");
  const std::string prefixWorked = "KOVA-BRAWLCUP   Prefix worked  SSTV";
  Expect(PumpUntil([&] { return Caption(multiplier) == prefixWorked; }),
         "no call: the prefix caption with the mode word: \"" + Caption(multiplier) + "\"");
  Expect(PumpUntil([&] {
           return PixelOf(GetDlgItem(multiplier, kGridControl), 8, 3) == kPrefixBackground;
         }, 3000),
         "no call: the prefix display's background");

  // Call checks keep the panel ticking; without them it stays quiet.
  g_vexa.Clear();
  for (int i = 1; i <= 3; ++i) {
    CheckCall(s, "Q2A");
    Expect(PumpUntil([&] { return g_vexa.Count("entry 5") == i; }, 3000),
           "call check " + std::to_string(i) + " brings one tick");
  }
  PumpFor(1500);
  Expect(g_vexa.Count("entry 5") == 3, "no tick without a call check, a button or the box");

  // A failing host call abandons that tick and nothing else.
  g_vexa.Clear();
  g_vexa.SetEntryTextFails(true);
  CheckCall(s, "Q2AA");
  PumpUntil([] { return g_vexa.Count("entry 5") == 1; }, 3000);
  PumpFor(400);
  ExpectText(Joined({"entry 5"}), Joined(g_vexa.Calls()), "a failed entry text ends the tick");
  g_vexa.SetEntryTextFails(false);
  Expect(Panel() == panel && IsWindow(multiplier), "the panel and window stay after a failure");
  CheckCall(s, "Q2AA");
  Expect(PumpUntil([] { return g_vexa.Count("frequency") == 1; }, 3000),
         "the next call check ticks in full again");

  // The window's own close box only hides it: the panel keeps retitling it
  // and does not show it again.
  Operate([&] { SendMessageA(multiplier, WM_CLOSE, 0, 0); });
  Expect(IsWindow(multiplier) && !IsWindowVisible(multiplier),
         "the window's own close box only hides it");
  g_vexa.SetEntryText(L"Q3BB");
  CheckCall(s, "Q3BB");
  Expect(PumpUntil([&] { return Caption(multiplier) == " KOVA-BRAWLCUP worked with Q3BB"; }),
         "the panel keeps retitling the hidden window");
  Expect(!IsWindowVisible(multiplier), "the panel does not show the hidden window again");

  // The check box closes the window for good and opens a new one, again and
  // again.
  const std::size_t dialogsOpen = OtherDialogs(panel).size();
  HWND current = multiplier;
  for (int i = 0; i < 50; ++i) {
    Click(panel, kViewPrefix);
    if (!PumpUntil([&] { return !IsWindow(current); }, 3000)) {
      Expect(false, "cycle " + std::to_string(i) + ": the closed window is destroyed");
      break;
    }
    if (i == 0) {
      ExpectText("0", Setting("Pref"), "closing the window writes Pref=0");
      Expect(SendMessageA(GetDlgItem(panel, kViewPrefix), BM_GETCHECK, 0, 0) == BST_UNCHECKED,
             "the check box shows the window closed");
    }
    Click(panel, kViewPrefix);
    if (!PumpUntil([&] { return (current = Multiplier(panel)) != nullptr; }, 3000)) {
      Expect(false, "cycle " + std::to_string(i) + ": the check box shows a window again");
      break;
    }
  }
  Expect(OtherDialogs(panel).size() == dialogsOpen, "50 close and open cycles leave no window");
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
    Reset(s);
    for (int q = 0; q < 10; ++q) {
      const std::string nr = std::to_string(100 + q);
      const Contact c{q % 3 == 0 ? "Q2AA" : "Q5XX", bands[(rounds + q) % 7], modes[q % 8], "Q2",
                      nr.c_str(), nr.c_str(), 14080000, 9, q};
      CallAddData(s.add, "Q1HOST", c);
    }
    if (GetTickCount() - lastCheck > 400) {
      CheckCall(s, "Q2AA");
      lastCheck = GetTickCount();
    }
    int out = 0;
    s.result(&out);
    PumpOnce(1);
    ++rounds;
  }
  const int stormTicks = g_vexa.Count("entry 5");
  std::printf("storm: %d resets, %d ticks\n", rounds, stormTicks);
  Expect(stormTicks >= 3, "the panel ticked during the storm");
  CheckCall(s, "Q2AA");
  g_vexa.SetFrequency(14080000.0);
  Expect(PumpUntil([&] { return GridColourMismatch(multiplier, 3).empty(); }, 3000),
         "after the storm the grid shows its colours again");
  Expect(Panel() == panel && IsWindow(multiplier), "the panel and window outlive the storm");

  // The operator closes the panel: the window goes with it; the next reset
  // with "Start" at 0 opens a new one, which reopens the window ("Pref" = 1).
  Operate([&] { SendMessageA(panel, WM_CLOSE, 0, 0); });
  Expect(PumpUntil([&] { return !IsWindow(panel) && !IsWindow(multiplier); }),
         "the close box ends the panel and its window");
  g_vexa.Clear();
  Reset(s);  // "Start" was 0: a new panel
  Expect(PumpUntil([&] { return (panel = Panel()) != nullptr; }), "a reset after closing opens a new panel");
  if (panel == nullptr) {
    return;
  }
  Expect(PumpUntil([&] { return (multiplier = Multiplier(panel)) != nullptr; }),
         "the new panel reopens the window on its first tick");
  ExpectText("<MODE:RTTY>", g_vexa.Macros().empty() ? "" : g_vexa.Macros()[0],
             "the new panel switches the host to RTTY again");

  // Unloading with both open closes both and returns.
  Unload(s, panel, multiplier, "unload with the panel open");
}

// A tick is waiting for the host's thread when the host unloads the library:
// the stop must not wait for an answer that cannot come.
void UnloadDuringATick(const std::string& dll) {
  g_vexa.SetEntryText(L"Q2AA");
  Stats s;
  HWND panel = OpenPanel(dll, s, true, "0");
  Expect(panel != nullptr, "a panel for the unload during a tick");
  if (panel == nullptr) {
    return;
  }
  // While this thread does not pump, the tick's call waits for it.
  int before = g_vexa.Count("entry 5");
  CheckCall(s, "Q2AA");
  Sleep(800);
  Expect(g_vexa.Count("entry 5") == before, "a busy host answers nothing");
  Expect(PumpUntil([&] { return g_vexa.Count("entry 5") == before + 1; }, 3000),
         "the waiting call is answered once the host pumps again");

  before = g_vexa.Count("entry 5");
  CheckCall(s, "Q2AA");
  Sleep(800);  // the tick's call now waits for this thread
  Unload(s, panel, nullptr, "unload while a tick waits for the host");
  PumpFor(300);  // the abandoned call may arrive now; nothing may break
  std::printf("entry text calls after the unload: %d\n", g_vexa.Count("entry 5") - before);
}

void PanelWithoutHost(const std::string& dll) {
  g_vexa.Revoke();
  Stats s;
  HWND panel = OpenPanel(dll, s, false, "0");
  Expect(panel != nullptr, "without a host object the panel still opens");
  if (panel == nullptr) {
    return;
  }
  ExpectText("RTTY", Setting("mode"), "without a host, opening still stores RTTY");
  for (const ButtonCase& b : kButtons) {
    Click(panel, b.id);
    ExpectText(b.word, ModeWordIn(s), "without a host, button " + std::to_string(b.id));
  }
  Click(panel, kViewPrefix);
  HWND multiplier = nullptr;
  Expect(PumpUntil([&] { return (multiplier = Multiplier(panel)) != nullptr; }),
         "without a host the check box still opens the window");
  CheckCall(s, "Q2AA");
  PumpFor(1200);
  if (multiplier != nullptr) {
    ExpectText("WPX", Caption(multiplier), "without a host the caption stays");
    Expect(PixelOf(GetDlgItem(multiplier, kGridControl), 8, 3) == kPrefixBackground,
           "without a host the window shows its background");
  }
  Expect(g_vexa.Calls().empty(), "nothing reached the unregistered host: " + Joined(g_vexa.Calls()));
  Unload(s, panel, multiplier, "unload without a host");
}

// Another copy of this program opens the panel and ends its process with it
// open; it must end promptly.
void ProcessExitWithPanel(const std::string& dll) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, sizeof self);
  std::string command = std::string("\"") + self + "\" \"" + dll + "\" --exit-with-panel";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    Expect(false, "start the process that exits with the panel open");
    return;
  }
  // The child's panel calls this process's host object: keep serving it.
  DWORD exitCode = 99;
  PumpUntil([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, 60000);
  const DWORD ended = GetTickCount();
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  Expect(exitCode == 0, "the process with the panel open ended normally (" +
                            std::to_string(exitCode) + ")");
  std::ifstream mark("exit-mark.txt");
  unsigned long leaving = 0;
  mark >> leaving;
  Expect(leaving != 0, "the process noted when it began to exit");
  if (leaving != 0) {
    std::printf("process exit with the panel open took %lu ms\n", ended - leaving);
    Expect(ended - leaving < 3000, "ending the process with the panel open returns quickly");
  }
}

int ExitWithPanel(const std::string& dll) {
  Stats s;
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

bool WriteBitmap(const std::string& path, HDC source, const RECT& r) {
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(source);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, source, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) & ~3u);
  const DWORD size = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + size;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  out.write(static_cast<const char*>(bits), size);
  SelectObject(memory, previous);
  DeleteDC(memory);
  DeleteObject(bitmap);
  return static_cast<bool>(out);
}

int Screenshot(const std::string& dll, const std::string& path) {
  DeleteFileA(kIni);
  g_vexa.SetEntryText(L"Q2AA");
  g_vexa.SetFrequency(14080000.0);
  Stats s;
  HWND panel = OpenPanel(dll, s, true, "0");
  if (panel == nullptr) {
    return 2;
  }
  for (const Contact& c : {Contact{"Q2AA", "20m", "RTTY", "Q2", "001", "011", 14080500, 9, 5},
                           Contact{"Q2AA", "40m", "BPSK31", "Q2", "002", "012", 7035000, 10, 12},
                           Contact{"Q2AA", "80m", "SSTV", "Q2", "003", "013", 3730000, 11, 47},
                           Contact{"Q2AA", "15m", "OLIVIA", "Q2", "004", "014", 21080000, 13, 30},
                           Contact{"Q2AA", "20m", "HELL", "Q2", "005", "015", 14063000, 14, 2}}) {
    CallAddData(s.add, "Q1HOST", c);
  }
  Click(panel, kViewPrefix);
  HWND multiplier = nullptr;
  PumpUntil([&] { return (multiplier = Multiplier(panel)) != nullptr; });
  if (multiplier == nullptr) {
    return 3;
  }
  CheckCall(s, "Q2AA");
  PumpUntil([&] { return GridColourMismatch(multiplier, 3).empty(); }, 5000);
  PumpFor(500);
  RECT a = {};
  RECT b = {};
  GetWindowRect(panel, &a);
  GetWindowRect(multiplier, &b);
  RECT both = {};
  UnionRect(&both, &a, &b);
  InflateRect(&both, 8, 8);
  both.left = both.left < 0 ? 0 : both.left;
  both.top = both.top < 0 ? 0 : both.top;
  HDC screen = GetDC(nullptr);
  const bool written = WriteBitmap(path, screen, both);
  ReleaseDC(nullptr, screen);
  Unload(s, panel, multiplier, "screenshot");
  return written ? 0 : 4;
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc < 2) {
    std::printf("usage: panel_host DLL [--exit-with-panel | --screenshot FILE.bmp]\n");
    return 100;
  }
  const std::string dll = LoaderPath(argv[1]);
  const std::string mode = argc > 2 ? argv[2] : "";
  const std::string screenshotPath = argc > 3 ? LoaderPath(argv[3]) : "panel.bmp";

  if (FAILED(CoInitialize(nullptr))) {
    std::printf("FAIL: COM\n");
    return 100;
  }
  if (mode == "--exit-with-panel") {
    // The parent process offers the host object; this one only runs the panel.
    return ExitWithPanel(dll);
  }
  MakeFolder("panel_host_work");
  ChangeFolder("panel_host_work");
  MakeFolder("Plugins");
  Expect(RegisterVexaProgId(), "register Vexa2.Application");
  Expect(g_vexa.Register(), "offer the host object in the running object table");
  if (mode == "--screenshot") {
    const int result = Screenshot(dll, screenshotPath);
    g_vexa.Revoke();
    return result;
  }

  PanelWithHost(dll);
  UnloadDuringATick(dll);
  ProcessExitWithPanel(dll);
  PanelWithoutHost(dll);

  std::printf("panel_host: %d failed\n", g_failed);
  CoUninitialize();
  return g_failed > 100 ? 100 : g_failed;
}
