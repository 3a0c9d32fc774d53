#include "windows/panel_thread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "plugin/module_state.h"
#include "plugin/stats_plugin.h"
#include "recording_canvas.h"
#include "test_support.h"
#include "windows/host_automation.h"
#include "windows/multiplier_window.h"
#include "windows/switch_mode_panel.h"
#include "windows/worked_grid.h"

namespace {

using Events = std::vector<std::string>;

// Shared by the host's thread (the test), the panel threads and the fakes.
class EventLog {
 public:
  void Add(const std::string& e) {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(e);
  }
  Events Take() {
    std::lock_guard<std::mutex> lock(mutex_);
    Events taken;
    taken.swap(events_);
    return taken;
  }

 private:
  std::mutex mutex_;
  Events events_;
};

// A panel whose "window" exists while RunModal runs, once `gateOpen` allows
// it to be created. Requests fail while there is no window, as messages to a
// window that does not exist do.
class FakeDialog : public IPanelDialog {
 public:
  FakeDialog(EventLog& log, bool gateOpen) : log_(log), gateOpen_(gateOpen) {}
  ~FakeDialog() override { log_.Add("destroy"); }

  void RunModal(const std::function<void()>& opened) override {
    entered = true;
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return gateOpen_; });
    windowExists_ = true;
    log_.Add("modal");
    opened();
    changed_.notify_all();
    changed_.wait(lock, [this] { return closed_; });
    windowExists_ = false;
  }
  void CloseMultiplier() override { log_.Add("close window"); }

  void RequestArmTimer(int milliseconds) override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (windowExists_) {
      log_.Add("arm " + std::to_string(milliseconds));
    }
  }
  bool RequestCancelTimer() override { return Handle("cancel"); }
  bool RequestCloseMultiplier() override { return Handle("close window request"); }
  bool RequestClose() override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!windowExists_) {
      return false;
    }
    log_.Add("close");
    closed_ = true;
    changed_.notify_all();
    return true;
  }

  std::atomic<bool> entered{false};

  // The operator's close box.
  void CloseBox() {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    changed_.notify_all();
  }
  void OpenGate() {
    std::lock_guard<std::mutex> lock(mutex_);
    gateOpen_ = true;
    changed_.notify_all();
  }

 private:
  bool Handle(const std::string& what) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!windowExists_) {
      return false;
    }
    log_.Add(what);
    return true;
  }

  EventLog& log_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool gateOpen_;
  bool windowExists_ = false;
  bool closed_ = false;
};

class FakeThreadHost : public IPanelThreadHost {
 public:
  explicit FakeThreadHost(EventLog& log) : log_(log) {}
  ~FakeThreadHost() override { JoinAll(); }

  bool SpawnThread(PanelThread& thread) override {
    log_.Add("spawn");
    ++inLibrary_;
    threads_.emplace_back([this, &thread] {
      const int code = thread.Procedure();
      {
        std::unique_lock<std::mutex> lock(mutex_);
        exitCodes_.push_back(code);
        leaveGateChanged_.wait(lock, [this] { return leaveGateOpen_; });
      }
      log_.Add("left");
      --inLibrary_;
    });
    return true;
  }
  bool ThreadInLibrary() const override { return inLibrary_ > 0; }
  // Holds a thread whose procedure has returned inside the library.
  void SetLeaveGate(bool open) {
    std::lock_guard<std::mutex> lock(mutex_);
    leaveGateOpen_ = open;
    leaveGateChanged_.notify_all();
  }
  // The waits of a start and a stop, counted, and short: the fakes need no
  // serving.
  void Pause(int) override {
    ++pauses;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  std::unique_ptr<IPanelDialog> ConstructPanel() override {
    log_.Add("construct");
    if (!constructs) {
      return nullptr;
    }
    auto dialog = std::make_unique<FakeDialog>(log_, gateOpen);
    std::lock_guard<std::mutex> lock(mutex_);
    last_ = dialog.get();
    return dialog;
  }

  FakeDialog* last() {
    std::lock_guard<std::mutex> lock(mutex_);
    return last_;
  }
  std::vector<int> JoinAll() {
    for (std::thread& t : threads_) {
      t.join();
    }
    threads_.clear();
    std::lock_guard<std::mutex> lock(mutex_);
    return exitCodes_;
  }

  bool gateOpen = true;
  bool constructs = true;
  std::atomic<int> pauses{0};

 private:
  EventLog& log_;
  std::atomic<int> inLibrary_{0};
  std::condition_variable leaveGateChanged_;
  bool leaveGateOpen_ = true;
  std::mutex mutex_;
  std::vector<std::thread> threads_;
  std::vector<int> exitCodes_;
  FakeDialog* last_ = nullptr;
};

// Waits (bounded) until the new thread has stored its panel and shown it.
bool WaitUntilShown(PanelThread& thread, FakeThreadHost& host) {
  for (int i = 0; i < 5000; ++i) {
    if (thread.IsRunning() && host.last() != nullptr) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

bool WaitUntilGone(PanelThread& thread) {
  for (int i = 0; i < 5000 && thread.IsRunning(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return !thread.IsRunning();
}

void WaitFor(EventLog& log, Events& seen, const std::string& event) {
  for (int i = 0; i < 5000; ++i) {
    for (const std::string& e : log.Take()) {
      seen.push_back(e);
    }
    if (std::find(seen.begin(), seen.end(), event) != seen.end()) {
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace

TEST(PanelThread, WithoutAPanelNudgeAndStopDoNothing) {
  EventLog log;
  FakeThreadHost host(log);
  PanelThread thread(host);
  EXPECT_FALSE(thread.IsRunning());
  thread.Nudge();
  thread.Stop();
  EXPECT_TRUE(log.Take().empty());
}

TEST(PanelThread, StopClosesWindowThenPanelAndReturnsOnlyWhenThePanelIsGone) {
  EventLog log;
  FakeThreadHost host(log);
  PanelThread thread(host);
  thread.Start();
  ASSERT_TRUE(WaitUntilShown(thread, host));
  Events seen;
  WaitFor(log, seen, "modal");
  EXPECT_EQ(Events({"spawn", "construct", "modal"}), seen);

  thread.Nudge();
  EXPECT_EQ(Events({"arm 330"}), log.Take()) << "a call check re-arms through the panel";

  thread.Stop();
  EXPECT_FALSE(thread.IsRunning());
  EXPECT_EQ(Events({"cancel", "close window request", "close", "close window", "destroy", "left"}),
            log.Take())
      << "the stop returns once the thread has left the library";
  EXPECT_EQ(std::vector<int>({kPanelThreadDone}), host.JoinAll());
}

TEST(PanelThread, StopWaitsForTheThreadToLeaveTheLibraryNotJustThePanel) {
  EventLog log;
  FakeThreadHost host(log);
  PanelThread thread(host);
  thread.Start();
  host.SetLeaveGate(false);
  std::atomic<bool> stopped{false};
  std::thread stopper([&] {
    thread.Stop();
    stopped = true;
  });
  Events seen;
  WaitFor(log, seen, "destroy");
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(stopped) << "the panel is gone but its thread still runs the library's code";
  host.SetLeaveGate(true);
  stopper.join();
  EXPECT_TRUE(stopped);
  host.JoinAll();
}

TEST(PanelThread, StartReturnsOnceThePanelHasOpenedHoweverLongItTakes) {
  EventLog log;
  FakeThreadHost host(log);
  PanelThread thread(host);
  thread.Start();
  EXPECT_TRUE(thread.IsRunning()) << "an unload right after the start finds the panel open";
  EXPECT_EQ(Events({"spawn", "construct", "modal"}), log.Take());
  thread.Stop();

  // A slow machine: the panel opens long after the start began waiting.
  host.gateOpen = false;
  host.pauses = 0;
  std::thread late([&host] {
    for (int i = 0; i < 5000 && host.last() == nullptr; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    host.last()->OpenGate();
  });
  log.Take();
  thread.Start();
  late.join();
  EXPECT_TRUE(thread.IsRunning());
  EXPECT_EQ(Events({"spawn", "construct", "modal"}), log.Take());
  EXPECT_GT(host.pauses.load(), 10) << "the start served the host while it waited";
  thread.Stop();

  // A thread that ends without a panel does not leave the start waiting.
  host.constructs = false;
  thread.Start();
  EXPECT_FALSE(thread.IsRunning());
  host.JoinAll();
}

TEST(PanelThread, StartingWhileAPanelRunsClosesTheOldOneFirst) {
  EventLog log;
  FakeThreadHost host(log);
  PanelThread thread(host);
  thread.Start();
  ASSERT_TRUE(WaitUntilShown(thread, host));
  Events seen;
  WaitFor(log, seen, "modal");

  thread.Start();
  Events restart;
  WaitFor(log, restart, "modal");
  EXPECT_EQ(Events({"cancel", "close window request", "close", "close window", "destroy", "left",
                    "spawn", "construct", "modal"}),
            restart)
      << "the old thread has left the library before the new one starts";
  thread.Stop();
  EXPECT_EQ(std::vector<int>({kPanelThreadDone, kPanelThreadDone}), host.JoinAll());
}

TEST(PanelThread, TheCloseBoxEndsTheThreadAndALaterStartOpensANewPanel) {
  EventLog log;
  FakeThreadHost host(log);
  PanelThread thread(host);
  thread.Start();
  ASSERT_TRUE(WaitUntilShown(thread, host));
  Events seen;
  WaitFor(log, seen, "modal");

  host.last()->CloseBox();
  ASSERT_TRUE(WaitUntilGone(thread));
  Events after;
  WaitFor(log, after, "left");
  EXPECT_EQ(Events({"close window", "destroy", "left"}), after);

  thread.Start();
  ASSERT_TRUE(WaitUntilShown(thread, host));
  thread.Stop();
  EXPECT_FALSE(thread.IsRunning());
}

TEST(PanelThread, ASecondProcedureFindsThePanelAndEndsWithOne) {
  EventLog log;
  FakeThreadHost host(log);
  PanelThread thread(host);
  thread.Start();
  ASSERT_TRUE(WaitUntilShown(thread, host));
  EXPECT_EQ(kPanelThreadAlreadyRunning, thread.Procedure());
  thread.Stop();
  host.JoinAll();
  const Events events = log.Take();
  EXPECT_EQ(1, std::count(events.begin(), events.end(), "construct")) << "one panel only";
}

TEST(PanelThread, AStopThatBeginsWhileThePanelOpensClosesIt) {
  EventLog log;
  FakeThreadHost host(log);
  host.gateOpen = false;
  PanelThread thread(host);
  std::thread starter([&thread] { thread.Start(); });
  ASSERT_TRUE(WaitUntilShown(thread, host));
  FakeDialog* dialog = host.last();
  for (int i = 0; i < 5000 && !dialog->entered; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  std::thread late([dialog] {
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    dialog->OpenGate();
  });
  thread.Stop();  // its first requests find no window
  late.join();
  starter.join();
  EXPECT_FALSE(thread.IsRunning());
  EXPECT_EQ(Events({"spawn", "construct", "modal", "close", "close window", "destroy", "left"}),
            log.Take());
}

// The host's thread rebuilds the QSO list, the prefix lists and the grid rows
// through the module's functions while the panel thread ticks and paints; each
// picture a paint takes must be one a single-threaded run can produce, and the
// host's results must not change.
namespace {

constexpr int kStressPasses = 40;
constexpr int kQsosPerPass = 12;

CInfo StressQso(int k) {
  static const char* const calls[] = {"Q2AA", "Q3BB", "Q2AA", "Q4CC"};
  static const char* const bands[] = {"160m", "80m", "40m", "20m", "15m", "10m", "6m"};
  static const char* const modes[] = {"RTTY", "BPSK63", "RTTY", "OLIVIA", "SSTV", "PSK31"};
  CInfo q;
  q.m_call = calls[k % 4];
  q.m_band = bands[k % 7];
  q.m_mode = modes[k % 6];
  q.m_prefix = "P" + std::to_string(k % 5);
  q.m_nrSent = std::to_string(k + 1);
  q.m_nrRcvd = "7";
  q.m_rstSent = q.m_rstRcvd = "599";
  q.m_time = HostTime(2016, 2, 13, 10, k);
  return q;
}

std::vector<std::string> RunHostPasses(ModuleState& m) {
  std::vector<std::string> results;
  for (int pass = 0; pass < kStressPasses; ++pass) {
    PluginResetStats(m, 0, "Q1OWN", HostTime(2016, 2, 13), HostTime(2016, 2, 14));
    for (int k = 0; k < kQsosPerPass; ++k) {
      PluginAddData(m, "Q1OWN", StressQso(k));
      int out = 0;
      results.push_back(PluginGetResult(m, &out));
      if (k % 4 == 0) {
        PluginRemoveData(m, "Q9ZZ", "20m");  // removes nothing, still takes the lock
      }
    }
  }
  return results;
}

class NoHostView : public ISwitchModeView {
 public:
  void ArmTimer(int) override {}
  void CancelTimer() override {}
  void ShowCheckState(int) override {}
  std::unique_ptr<IMultiplierWindow> CreateMultiplier() override { return nullptr; }
};

class AlternatingHost : public IHostAutomation {
 public:
  bool RunMacro(const std::string&) override { return true; }
  bool ReadEntryText(int, std::string& text) override {
    text = (++reads_ % 3 == 0) ? "" : "Q2AA";
    return true;
  }
  bool ReadFrequency(double& hertz) override {
    hertz = 14080000.0 + (reads_ % 2) * 1000.0;
    return true;
  }

 private:
  int reads_ = 0;
};

class PanelStressTest : public ScratchDirTest {};

}  // namespace

TEST_F(PanelStressTest, PaintsSeeOnlyFinishedDataWhileTheHostRebuildsIt) {
  // What a single-threaded run can show: the grid right after a reset, the
  // grid filled from the first k QSOs, and the RTTY prefix list after the
  // result of the first k QSOs.
  std::vector<WorkedGrid> grids;
  std::vector<std::vector<std::string>> prefixLists = {{}};
  std::vector<std::string> expectedResults;
  {
    ModuleState single;
    single.settings.Write(settings_key::kMode, "RTTY");
    expectedResults = RunHostPasses(single);
    PluginResetStats(single, 0, "Q1OWN", HostTime(2016, 2, 13), HostTime(2016, 2, 14));
    grids.push_back(single.grid);
    const std::vector<std::string> labels = PanelBandLabels();
    for (int k = 0; k <= kQsosPerPass; ++k) {
      WorkedGrid g = single.grid;
      ClearWorkedCells(g);
      FillWorkedGrid(g, single.qsos, labels, "Q2AA");
      grids.push_back(g);
      if (k < kQsosPerPass) {
        PluginAddData(single, "Q1OWN", StressQso(k));
        int out = 0;
        PluginGetResult(single, &out);
        prefixLists.push_back(single.prefixLists[4]);
      }
    }
  }
  ASSERT_NE(grids[1], grids.back()) << "the QSOs must fill cells for the check to mean anything";

  ModuleState m;
  m.settings.Write(settings_key::kMode, "RTTY");
  PluginResetStats(m, 0, "Q1OWN", HostTime(2016, 2, 13), HostTime(2016, 2, 14));
  NoHostView view;
  AlternatingHost host;
  SwitchModePanel panel(m.panelModule(), view);
  panel.Initialise(&host);

  std::vector<std::string> results;
  std::atomic<bool> hostDone{false};
  std::thread hostThread([&] {
    results = RunHostPasses(m);
    hostDone = true;
  });

  int gridPaints = 0;
  int prefixPaints = 0;
  int strayGrids = 0;
  int strayPrefixes = 0;
  for (int i = 0; i < 100000 && !hostDone; ++i) {
    panel.Tick();
    if (i % 50 == 0) {
      panel.ClickModeButton(1003);
    }
    const MultiplierPicture picture = TakeMultiplierPicture(m.panelModule());
    RecordingCanvas canvas;
    DrawMultiplier(picture, {0, 0, 400, 140}, canvas);
    if (!picture.callEntered.empty()) {
      ++gridPaints;
      if (std::find(grids.begin(), grids.end(), picture.grid) == grids.end()) {
        ++strayGrids;
      }
      EXPECT_EQ(2u + 10u + 48u, canvas.calls.size());
    } else {
      ++prefixPaints;
      if (std::find(prefixLists.begin(), prefixLists.end(), picture.prefixes) ==
          prefixLists.end()) {
        ++strayPrefixes;
      }
    }
  }
  hostThread.join();

  EXPECT_EQ(0, strayGrids) << "of " << gridPaints << " grid paints";
  EXPECT_EQ(0, strayPrefixes) << "of " << prefixPaints << " prefix paints";
  EXPECT_GT(gridPaints, 0);
  EXPECT_GT(prefixPaints, 0);
  EXPECT_EQ(expectedResults, results);

  for (int i = 0; i < 3; ++i) {
    panel.Tick();
    if (m.callEntered == "Q2AA") {
      break;
    }
  }
  EXPECT_EQ(grids.back(), m.grid) << "a tick on the finished list";
}
