// soak_host DLL [--seconds N] [GoogleTest options]
//
// A contest weekend in minutes: the plug-in loaded as the host loads it, the
// mode switch panel open and ticking against a fake "Vexa2.Application", and
// round after round of what a long contest does to it: a full rescan of a log
// that grows to 20,000 QSOs and then stays that size, adds, removes and call
// checks between the panel's ticks, the Multiplier window closed and opened
// again. After every rescan it reads what the process holds (kernel handles,
// GDI and USER objects, committed memory) and prints a row of them now and
// then. It fails when those counts grow with the rounds rather than staying
// flat: once the log has stopped growing, the later half of the rounds may not
// hold more than the earlier half did, give or take a small allowance.
//
// Threading: the main thread is a single-threaded apartment that offers the
// host object and pumps messages, as the host's does; clicks come from an
// operator thread (panel_driver_win32.h).
#include <gtest/gtest.h>
#include <windows.h>
// After <windows.h>, whose types it uses.
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "fake_vexa_win32.h"
#include "host_platform.h"
#include "host_scenario.h"
#include "panel_driver_win32.h"
#include "tools/common/host_arguments.h"

namespace {

std::string g_dll;
DWORD g_seconds = 90;

constexpr int kLogGrowth = 2000;
constexpr int kFullLog = 20000;
// Rounds over the full log that still count as warming up (the heap and the
// window system settle).
constexpr int kWarmUpRounds = 2;
// How long each round adds, removes and checks calls while the panel ticks.
constexpr DWORD kBetweenRescansMs = 1200;
// A call check re-arms the panel's timer for 330 ms: one every 400 ms lets it
// fire in between.
constexpr DWORD kCallCheckEveryMs = 400;
// A row of the table about this often.
constexpr DWORD kRowEveryMs = 6000;

// What the process holds at one moment; 0 where the system does not say.
struct Holdings {
  long long handles = 0;
  long long gdi = 0;
  long long user = 0;
  long long memoryKiB = 0;
};

// Where the system keeps no handle count (Wine), the handles are counted one
// by one: the values a process's handles take are small multiples of four,
// handed out from the lowest free one.
long long CountOpenHandles() {
  long long open = 0;
  int misses = 0;
  for (std::uintptr_t value = 4; misses < 4096; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
      ++open;
      misses = 0;
    } else {
      ++misses;
    }
  }
  return open;
}

Holdings Measure() {
  Holdings h;
  HANDLE self = GetCurrentProcess();
  DWORD handles = 0;
  h.handles = GetProcessHandleCount(self, &handles) && handles > 0 ? handles : CountOpenHandles();
  h.gdi = GetGuiResources(self, GR_GDIOBJECTS);
  h.user = GetGuiResources(self, GR_USEROBJECTS);
  // The private memory committed (Wine reports this one, not PrivateUsage).
  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(self, &memory, sizeof memory)) {
    h.memoryKiB = static_cast<long long>(memory.PagefileUsage / 1024);
  }
  return h;
}

struct Sample {
  int round;
  int logSize;
  long long operations;
  Holdings held;
};

// One kind of holding: how to read it from a sample and how much the later
// rounds may exceed the earlier ones.
struct Gauge {
  const char* name;
  const char* heading;
  int width;
  long long Holdings::*field;
  long long allowance;
};

const Gauge kGauges[] = {
    {"handles", "handles", 8, &Holdings::handles, 10},
    {"GDI objects", "GDI", 6, &Holdings::gdi, 10},
    {"USER objects", "USER", 6, &Holdings::user, 10},
    // The store hands its pool back on each reset and takes it again for the
    // same log; the allowance covers the heap's own moods (a few hundred KiB
    // up and down from one rescan to the next).
    {"committed memory (KiB)", "memory KiB", 11, &Holdings::memoryKiB, 1024},
};

// The contest's log: distinct stations on every band and mode the contest
// scores, a dupe now and then, a few hundred prefixes.
std::vector<HostContact> MakeLog() {
  const char* bands[] = {"160m", "80m", "40m", "20m", "15m", "10m"};
  const char* modes[] = {"RTTY", "BPSK31", "HELL", "OLIVIA", "MT63", "THROB", "SSTV", "BPSK63"};
  std::vector<HostContact> log;
  log.reserve(kFullLog);
  for (int i = 0; i < kFullLog; ++i) {
    const int station = i % 40 == 39 ? i - 5 : i;
    const std::string call = "Q" + std::to_string(station % 9 + 1) + "S" + std::to_string(station);
    const std::string prefix = "Q" + std::to_string(station % 700);
    const std::string nr = std::to_string(i + 1);
    const int minute = i % 2880;
    log.push_back(ContactAt(call.c_str(), bands[station % 6], modes[(station / 6) % 8],
                            prefix.c_str(), nr.c_str(), nr.c_str(),
                            14080000u + static_cast<unsigned>(i % 900), minute / 60, minute % 60));
  }
  return log;
}

class Contest {
 public:
  explicit Contest(PluginSession& s) : s_(s), log_(MakeLog()) {}

  void Rescan(int logSize) {
    // Armed now, the panel's timer fires during the rescan or just after it.
    Check("Q2S1");
    ResetContest(s_);
    ++operations_;
    for (int i = 0; i < logSize; ++i) {
      s_.Add("Q1HOST", log_[static_cast<std::size_t>(i)]);
      ++operations_;
      if (i % 1000 == 999) {
        PumpOnce(0);
      }
    }
    int out = 0;
    s_.Result(&out);
    ++operations_;
  }

  // Adds, removes and call checks while the panel ticks.
  void BetweenRescans(int logSize, int round) {
    const DWORD start = GetTickCount();
    DWORD lastCheck = 0;
    int step = 0;
    while (GetTickCount() - start < kBetweenRescansMs) {
      const HostContact& worked =
          log_[static_cast<std::size_t>((round * 131 + step * 17) % logSize)];
      const std::string nr = std::to_string(step);
      const HostContact late = ContactAt(("Q8L" + nr).c_str(), "15m", "RTTY", "Q8", nr.c_str(),
                                         nr.c_str(), 21080000, 23, step % 60);
      s_.Add("Q1HOST", late);
      CallAddData(s_.entryPoints().removeData, "Q1HOST", worked);
      s_.Add("Q1HOST", worked);
      CallAddData(s_.entryPoints().removeData, "Q1HOST", late);
      operations_ += 4;
      if (GetTickCount() - lastCheck >= kCallCheckEveryMs) {
        Check(worked.call.c_str());
        lastCheck = GetTickCount();
      }
      PumpOnce(5);
      ++step;
    }
  }

  // The operator closes the Multiplier window with the panel's check box and
  // opens it again.
  bool CycleMultiplier(HWND panel) {
    HWND window = Multiplier(panel);
    Click(panel, kViewPrefix);
    if (!PumpUntil([&] { return window == nullptr || !IsWindow(window); }, 5000)) {
      return false;
    }
    Click(panel, kViewPrefix);
    operations_ += 2;
    return PumpUntil([&] { return Multiplier(panel) != nullptr; }, 5000);
  }

  long long operations() const { return operations_; }

  // Ticks seen by the host object since the last call; its record starts
  // afresh, so it does not grow with the soak.
  int TakeTicks() {
    const int ticks = g_vexa.Count("entry 5");
    g_vexa.Clear();
    return ticks;
  }

 private:
  void Check(const char* call) {
    CheckCall(s_, call);
    ++operations_;
  }

  PluginSession& s_;
  const std::vector<HostContact> log_;
  long long operations_ = 0;
};

// The gauges the system reports: a count of 0 at the start means it does not.
std::vector<Gauge> ReportedGauges(const Holdings& atStart) {
  std::vector<Gauge> reported;
  for (const Gauge& g : kGauges) {
    if (atStart.*g.field > 0) {
      reported.push_back(g);
    } else {
      std::printf("%s: not reported by this system\n", g.name);
    }
  }
  return reported;
}

// A row of the table; "n/a" for what the system does not report.
void PrintRow(const Sample& s, int ticks) {
  std::printf("%6d %7d %10lld", s.round, s.logSize, s.operations);
  for (const Gauge& g : kGauges) {
    const long long value = s.held.*g.field;
    std::printf(" %*s", g.width, value > 0 ? std::to_string(value).c_str() : "n/a");
  }
  std::printf(" %7d\n", ticks);
}

// The later half of the rounds over the full log against the earlier half.
void ExpectFlat(const std::vector<Sample>& samples, const Gauge& m) {
  std::vector<long long> values;
  for (const Sample& s : samples) {
    values.push_back(s.held.*m.field);
  }
  const std::size_t half = values.size() / 2;
  const long long earlier = *std::max_element(values.begin(), values.begin() + half);
  const long long later = *std::max_element(values.begin() + half, values.end());
  std::printf("%s: at most %lld in the earlier %zu rounds, %lld in the later %zu\n", m.name,
              earlier, half, later, values.size() - half);
  EXPECT_LE(later, earlier + m.allowance)
      << m.name << " grow with the rounds over the same log (allowance " << m.allowance << ")";
}

TEST(Soak, HoldingsStayFlatOverAContestOfRounds) {
  std::filesystem::create_directory("soak_host_work");
  std::filesystem::current_path("soak_host_work");
  std::filesystem::create_directory("Plugins");
  ASSERT_TRUE(RegisterVexaProgId()) << "register Vexa2.Application";
  ASSERT_TRUE(g_vexa.Register()) << "offer the host object in the running object table";
  g_vexa.SetEntryText(L"Q2S1");
  g_vexa.SetFrequency(14080000.0);

  PluginSession s;
  HWND panel = OpenPanel(g_dll, s, true, "1");
  ASSERT_NE(nullptr, panel) << "the first reset opens the panel";
  ASSERT_TRUE(PumpUntil([&] { return Multiplier(panel) != nullptr; }))
      << "the panel's first tick opens the Multiplier window";

  Contest contest(s);
  const Holdings atStart = Measure();
  const std::vector<Gauge> reported = ReportedGauges(atStart);
  std::printf("soak of %lu s\n%6s %7s %10s", g_seconds, "round", "log", "operations");
  for (const Gauge& g : kGauges) {
    std::printf(" %*s", g.width, g.heading);
  }
  std::printf(" %7s\n", "ticks");
  PrintRow({0, 0, 0, atStart}, 0);

  std::vector<Sample> full;
  int ticks = 0;
  const DWORD start = GetTickCount();
  DWORD lastRow = start;
  int round = 1;
  for (; GetTickCount() - start < g_seconds * 1000u; ++round) {
    const int logSize = std::min(kFullLog, round * kLogGrowth);
    contest.Rescan(logSize);
    const Sample sample{round, logSize, contest.operations(), Measure()};
    if (logSize == kFullLog && round > kFullLog / kLogGrowth + kWarmUpRounds) {
      full.push_back(sample);
    }
    contest.BetweenRescans(logSize, round);
    ASSERT_TRUE(contest.CycleMultiplier(panel))
        << "round " << round << ": the window closes and opens";
    ASSERT_TRUE(IsWindow(panel)) << "round " << round << ": the panel is still open";
    ticks += contest.TakeTicks();
    if (GetTickCount() - lastRow >= kRowEveryMs) {
      PrintRow(sample, ticks);
      lastRow = GetTickCount();
    }
  }
  const Sample last{round - 1, std::min(kFullLog, (round - 1) * kLogGrowth), contest.operations(),
                    Measure()};
  PrintRow(last, ticks);

  EXPECT_GE(ticks, round) << "the panel ticked all along (at least once a round)";
  ASSERT_GE(full.size(), 6u) << "too few rounds over the full log to judge; give it more seconds";
  for (const Gauge& g : reported) {
    ExpectFlat(full, g);
  }

  // The contest is over and the panel sits idle, longer than the system keeps
  // idle pool threads, before the host unloads the library.
  PumpFor(6000);
  DWORD took = 0;
  EXPECT_TRUE(UnloadPlugin(s, "idle panel after the soak", took)) << "the library unloads";
  EXPECT_LT(took, 3000u) << "unloading with the idle panel open returns promptly";
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    std::printf("usage: soak_host DLL [--seconds N]\n");
    return 100;
  }
  g_dll = LoaderPath(argv[1]);
  if (argc > 3 && std::string(argv[2]) == "--seconds") {
    g_seconds = static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10));
  }
  if (FAILED(CoInitialize(nullptr))) {
    std::printf("FAIL: COM\n");
    return 100;
  }
  const int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
