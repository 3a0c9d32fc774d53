// unload_stress DLL [--cycles N] [--exit-cycles M] [--busy K] [--host all|main|thread|none]
//                   [--cycle-limit S]
// unload_stress DLL --exit-with-panel HOST   (a child process of the stress itself)
//
// The plug-in's hardest moment, over and over: the host loads the library,
// resets (the panel opens, its first tick runs, the Multiplier window opens),
// checks a few calls, clicks a few mode buttons, and unloads the library with
// both windows open. Each cycle runs under a watchdog: a cycle that takes
// longer than --cycle-limit seconds is a hang, reported with the step it hung
// in, and ends the run. Meanwhile --busy threads spin, so the panel's thread
// and the host's compete for the cores as on a busy machine.
//
// It runs the cycles three ways: with the host object on the host's main
// thread (an apartment the main thread serves while it waits), on another
// thread of the host (so every call and the release cross to that thread's
// apartment), and with no host object at all. Then --exit-cycles processes
// each open the panel and end with it open. It prints, for each way, the
// cycles, the slowest unload and the clicks sent against the macros the host
// received, and exits non-zero on a hang, a crash of a child, a lost macro, or
// a window left behind.
#include <windows.h>
// After windows.h, which they need.
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "fake_vexa_win32.h"
#include "host_platform.h"
#include "panel_driver_win32.h"

namespace {

std::string g_dll;
std::string g_self;

// The watchdog's view of the run: which step of which cycle, since when.
std::atomic<const char*> g_step{"starting"};
std::atomic<DWORD> g_stepSince{0};
std::atomic<int> g_cycle{0};
std::atomic<DWORD> g_limitMs{60000};
std::atomic<bool> g_finished{false};

void Step(const char* step) {
  g_stepSince = GetTickCount();
  g_step = step;
}

// On a hang, what each thread's stack holds that points into a module: read
// without the loader lock (a debugger that attaches would need it), and
// resolved afterwards with addr2line against the modules' own files. Nothing
// is printed or allocated while a thread is suspended: it may hold the lock
// of the heap or of standard output.
void PrintStacks() {
  HMODULE modules[256];
  DWORD bytes = 0;
  EnumProcessModules(GetCurrentProcess(), modules, sizeof modules, &bytes);
  const DWORD count = std::min<DWORD>(bytes / sizeof(HMODULE), 256);
  std::vector<std::pair<std::uintptr_t, std::uintptr_t>> ranges;
  for (DWORD i = 0; i < count; ++i) {
    MODULEINFO info = {};
    char name[MAX_PATH] = {};
    GetModuleInformation(GetCurrentProcess(), modules[i], &info, sizeof info);
    GetModuleFileNameExA(GetCurrentProcess(), modules[i], name, MAX_PATH);
    const auto base = reinterpret_cast<std::uintptr_t>(info.lpBaseOfDll);
    ranges.emplace_back(base, base + info.SizeOfImage);
    std::printf("module %s %p %lu\n", name, info.lpBaseOfDll, info.SizeOfImage);
  }
  constexpr std::size_t kWords = 8192;
  std::vector<std::uintptr_t> words(kWords);
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != GetCurrentProcessId() ||
        entry.th32ThreadID == GetCurrentThreadId()) {
      continue;
    }
    HANDLE thread = OpenThread(THREAD_ALL_ACCESS, FALSE, entry.th32ThreadID);
    if (thread == nullptr) {
      continue;
    }
    std::size_t got = 0;
    std::uintptr_t pc = 0;
    if (SuspendThread(thread) != static_cast<DWORD>(-1)) {
      CONTEXT context = {};
      context.ContextFlags = CONTEXT_CONTROL;
      GetThreadContext(thread, &context);
#ifdef _WIN64
      pc = context.Rip;
      const std::uintptr_t sp = context.Rsp;
#else
      pc = context.Eip;
      const std::uintptr_t sp = context.Esp;
#endif
      SIZE_T read = 0;
      for (; got < kWords; ++got) {
        if (!ReadProcessMemory(GetCurrentProcess(),
                               reinterpret_cast<void*>(sp + got * sizeof(std::uintptr_t)),
                               &words[got], sizeof(std::uintptr_t), &read)) {
          break;
        }
      }
      ResumeThread(thread);
    }
    CloseHandle(thread);
    std::printf("thread %04lx pc %p:", entry.th32ThreadID, reinterpret_cast<void*>(pc));
    for (std::size_t i = 0; i < got; ++i) {
      for (const auto& r : ranges) {
        if (words[i] >= r.first && words[i] < r.second) {
          std::printf(" %p", reinterpret_cast<void*>(words[i]));
          break;
        }
      }
    }
    std::printf("\n");
  }
  CloseHandle(snapshot);
}

void Watchdog() {
  while (!g_finished) {
    Sleep(200);
    const DWORD since = g_stepSince.load();
    if (since != 0 && GetTickCount() - since > g_limitMs.load()) {
      std::printf("FAIL: HANG in cycle %d at \"%s\" for more than %lu s\n", g_cycle.load(),
                  g_step.load(), g_limitMs.load() / 1000);
      std::fflush(stdout);
      if (std::getenv("STATS_STRESS_STACKS") != nullptr) {
        PrintStacks();
      }
      TerminateProcess(GetCurrentProcess(), 3);
    }
  }
}

std::atomic<bool> g_stopBusy{false};

void Busy() {
  volatile unsigned long spin = 0;
  while (!g_stopBusy) {
    ++spin;
  }
}

int ModeMacros(const FakeVexa& vexa) {
  int n = 0;
  for (const std::string& m : vexa.Macros()) {
    if (m.rfind("<MODE:", 0) == 0 || m.rfind("<BAUDRATE:", 0) == 0) {
      ++n;
    }
  }
  return n;
}

// A thread of the host other than the main one, in an apartment of its own,
// offering the host object and serving its calls until told to stop.
class HostObjectThread {
 public:
  bool Start() {
    thread_ = std::thread([this] { Run(); });
    while (state_ == 0) {
      Sleep(5);
    }
    return state_ == 1;
  }
  void Stop() {
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    thread_.join();
  }
  FakeVexa& vexa() { return vexa_; }

 private:
  void Run() {
    threadId_ = GetCurrentThreadId();
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before anyone posts
    if (FAILED(CoInitialize(nullptr)) || !vexa_.Register()) {
      state_ = 2;
      return;
    }
    state_ = 1;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      DispatchMessageA(&msg);
    }
    vexa_.Revoke();
    CoUninitialize();
  }

  FakeVexa vexa_;
  std::thread thread_;
  std::atomic<DWORD> threadId_{0};
  std::atomic<int> state_{0};
};

struct Figures {
  int cycles = 0;
  DWORD slowestReset = 0;
  DWORD totalReset = 0;
  DWORD slowestUnload = 0;
  DWORD totalUnload = 0;
  int clicks = 0;
  int macrosExpected = 0;
  int macrosReceived = 0;
  int failures = 0;
};

void Fail(Figures& f, const char* what) {
  ++f.failures;
  std::printf("FAIL: cycle %d: %s\n", g_cycle.load(), what);
}

bool AnyPanelWindow() { return FindWindowA("#32770", "Switch mode") != nullptr; }

// One cycle: load, reset, first tick, call checks, clicks, unload with both
// windows open. `vexa` is the host object the panel talks to, or null.
void Cycle(Figures& f, FakeVexa* vexa, std::mt19937& pick) {
  Step("write the settings");
  WritePrivateProfileStringA("Settings", "Start", "0", kPanelIni);
  WritePrivateProfileStringA("Settings", "Pref", "1", kPanelIni);
  if (vexa != nullptr) {
    vexa->Clear();
  }
  PluginSession s;
  std::string error;
  Step("load the library");
  if (!s.Open(g_dll, error)) {
    Fail(f, error.c_str());
    return;
  }
  Step("reset");
  const DWORD resetStart = GetTickCount();
  ResetContest(s);
  const DWORD resetTook = GetTickCount() - resetStart;
  f.slowestReset = std::max(f.slowestReset, resetTook);
  f.totalReset += resetTook;
  Step("wait for the panel, its first tick and the Multiplier window");
  HWND panel = nullptr;
  const bool opened = PumpUntil(
      [&] {
        panel = Panel();
        return panel != nullptr && Multiplier(panel) != nullptr &&
               (vexa == nullptr || vexa->Count("entry 5") >= 1);
      },
      30000);
  if (!opened) {
    Fail(f, "the panel, its first tick or the Multiplier window did not come");
  } else {
    Step("call checks");
    for (int i = 0; i < 3; ++i) {
      CheckCall(s, i == 1 ? "Q1AB" : "Q1ABC");
      PumpOnce(5);
    }
    Step("clicks");
    const int before = vexa != nullptr ? ModeMacros(*vexa) : 0;
    int expected = 0;
    for (int i = 0; i < 3; ++i) {
      const PanelButton& b = kPanelButtons[std::uniform_int_distribution<std::size_t>(
          0, kPanelButtons.size() - 1)(pick)];
      Click(panel, b.id);
      ++f.clicks;
      expected += static_cast<int>(b.macros.size());
    }
    if (vexa != nullptr) {
      // A click is acted on from the panel's message loop, a moment after it
      // has been handled: its macros get a few seconds to arrive.
      PumpUntil([&] { return ModeMacros(*vexa) - before >= expected; }, 5000);
      const int received = ModeMacros(*vexa) - before;
      f.macrosExpected += expected;
      f.macrosReceived += received;
      if (received != expected) {
        char line[120];
        std::snprintf(line, sizeof line, "clicks handled, %d macros expected, %d received",
                      expected, received);
        Fail(f, line);
      }
    }
    if (Multiplier(panel) == nullptr) {
      Fail(f, "the Multiplier window closed before the unload");
    }
  }
  Step("unload with both windows open");
  const DWORD start = GetTickCount();
  const bool closed = s.Close();
  const DWORD took = GetTickCount() - start;
  f.slowestUnload = std::max(f.slowestUnload, took);
  f.totalUnload += took;
  if (!closed) {
    Fail(f, "FreeLibrary refused");
  }
  if (AnyPanelWindow()) {
    Fail(f, "a panel window outlived the unload");
  }
  ++f.cycles;
}

bool RunCycles(const char* name, int cycles, FakeVexa* vexa) {
  Figures f;
  // The same clicks in every run, so runs compare.
  std::mt19937 pick(12345);
  for (int i = 0; i < cycles; ++i) {
    g_cycle = i + 1;
    Cycle(f, vexa, pick);
  }
  Step("between runs");
  const int n = std::max(f.cycles, 1);
  std::printf(
      "unload stress, %s: %d cycles, slowest unload %lu ms (mean %lu ms), slowest reset that "
      "opens the panel %lu ms (mean %lu ms), %d clicks, %d macros expected, %d received, "
      "%d failures\n",
      name, f.cycles, f.slowestUnload, f.totalUnload / n, f.slowestReset, f.totalReset / n,
      f.clicks, f.macrosExpected, f.macrosReceived, f.failures);
  return f.failures == 0;
}

// The child's part: the panel opens and ticks, a click reaches the host, and
// the process ends with both windows open.
int ExitWithPanel(bool withHost) {
  g_limitMs = 30000;
  std::thread(Watchdog).detach();
  PluginSession s;
  std::string error;
  Step("child: load");
  WritePrivateProfileStringA("Settings", "Start", "0", kPanelIni);
  WritePrivateProfileStringA("Settings", "Pref", "1", kPanelIni);
  if (!s.Open(g_dll, error)) {
    std::printf("FAIL: %s\n", error.c_str());
    return 10;
  }
  Step("child: reset and first tick");
  ResetContest(s);
  HWND panel = nullptr;
  // The parent serves the host object; here only the windows are waited for.
  if (!PumpUntil([&] { return (panel = Panel()) != nullptr && Multiplier(panel) != nullptr; },
                 20000)) {
    std::printf("FAIL: child: the panel or the Multiplier window did not come\n");
    return 11;
  }
  if (withHost) {
    Click(panel, 1006);
  }
  Step("child: exit with the panel open");
  std::fflush(stdout);
  ExitProcess(0);
}

bool RunExitCycles(int cycles, bool withHost, FakeVexa* served) {
  int clean = 0;
  DWORD slowest = 0;
  for (int i = 0; i < cycles; ++i) {
    g_cycle = i + 1;
    Step("process that exits with the panel open");
    std::string command =
        "\"" + g_self + "\" \"" + g_dll + "\" --exit-with-panel " + (withHost ? "host" : "none");
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
      std::printf("FAIL: cannot start the child process\n");
      return false;
    }
    const DWORD start = GetTickCount();
    // The child's panel calls the host object of this process: keep serving it.
    PumpUntil([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, 45000);
    DWORD code = 99;
    if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0) {
      std::printf("FAIL: child %d did not end within 45 s\n", i + 1);
      TerminateProcess(process.hProcess, 99);
    } else {
      GetExitCodeProcess(process.hProcess, &code);
    }
    slowest = std::max(slowest, GetTickCount() - start);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (code == 0) {
      ++clean;
    } else {
      std::printf("FAIL: child %d ended with exit code %lu\n", i + 1, code);
    }
  }
  if (served != nullptr) {
    served->Clear();
  }
  std::printf(
      "unload stress, processes that end with the panel open (%s): %d of %d ended "
      "cleanly, slowest %lu ms\n",
      withHost ? "host object" : "no host object", clean, cycles, slowest);
  return clean == cycles;
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc < 2) {
    std::printf(
        "usage: unload_stress DLL [--cycles N] [--exit-cycles M] [--busy K] "
        "[--host all|main|thread|none] [--cycle-limit S]\n");
    return 100;
  }
  g_dll = LoaderPath(argv[1]);
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  g_self = self;
  int cycles = 100;
  int exitCycles = 10;
  int busy = 2;
  std::string host = "all";
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : "";
    if (a == "--exit-with-panel") {
      if (FAILED(CoInitialize(nullptr))) {
        return 12;
      }
      return ExitWithPanel(std::string(value) == "host");
    } else if (a == "--cycles") {
      cycles = std::atoi(value);
    } else if (a == "--exit-cycles") {
      exitCycles = std::atoi(value);
    } else if (a == "--busy") {
      busy = std::atoi(value);
    } else if (a == "--host") {
      host = value;
    } else if (a == "--cycle-limit") {
      g_limitMs = static_cast<DWORD>(std::atoi(value)) * 1000u;
    } else {
      std::printf("unload_stress: unknown option %s\n", a.c_str());
      return 100;
    }
    ++i;
  }
  if (FAILED(CoInitialize(nullptr))) {
    std::printf("FAIL: COM\n");
    return 100;
  }
  std::filesystem::create_directory("unload_stress_work");
  std::filesystem::current_path("unload_stress_work");
  std::filesystem::create_directory("Plugins");
  if (!RegisterVexaProgId()) {
    std::printf("FAIL: register Vexa2.Application\n");
    return 100;
  }
  std::thread(Watchdog).detach();
  std::vector<std::thread> busyThreads;
  for (int i = 0; i < busy; ++i) {
    busyThreads.emplace_back(Busy);
  }
  std::printf("unload stress: %d cycles each way, %d busy threads, a cycle may take %lu s\n",
              cycles, busy, g_limitMs.load() / 1000);
  bool ok = true;
  if (host == "all" || host == "main") {
    if (!g_vexa.Register()) {
      std::printf("FAIL: offer the host object\n");
      return 100;
    }
    ok &= RunCycles("host object on the main thread", cycles, &g_vexa);
    ok &= RunExitCycles(exitCycles, true, &g_vexa);
    g_vexa.Revoke();
  }
  if (host == "all" || host == "thread") {
    HostObjectThread other;
    if (!other.Start()) {
      std::printf("FAIL: offer the host object from another thread\n");
      return 100;
    }
    ok &= RunCycles("host object on another thread", cycles, &other.vexa());
    other.Stop();
  }
  if (host == "all" || host == "none") {
    ok &= RunCycles("no host object", cycles, nullptr);
    ok &= RunExitCycles(exitCycles, false, nullptr);
  }
  g_finished = true;
  g_stopBusy = true;
  for (std::thread& t : busyThreads) {
    t.join();
  }
  std::printf("unload stress: %s\n", ok ? "passed" : "FAILED");
  CoUninitialize();
  return ok ? 0 : 1;
}
