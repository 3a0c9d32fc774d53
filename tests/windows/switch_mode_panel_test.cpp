#include "windows/switch_mode_panel.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "contest/settings.h"
#include "fake_panel_module.h"
#include "test_support.h"
#include "windows/host_automation.h"
#include "windows/worked_grid.h"

namespace {

using Events = std::vector<std::string>;

class FakeHost : public IHostAutomation {
 public:
  explicit FakeHost(Events& events) : events_(events) {}

  bool RunMacro(const std::string& macro) override {
    events_.push_back("macro " + macro);
    return macro != failingMacro;
  }
  bool ReadEntryText(int argument, std::string& text) override {
    events_.push_back("entry " + std::to_string(argument));
    if (failEntry) {
      return false;
    }
    text = entry;
    return true;
  }
  bool ReadFrequency(double& hertz) override {
    events_.push_back("frequency");
    if (failFrequency) {
      return false;
    }
    hertz = frequency;
    return true;
  }

  std::string entry;
  double frequency = 14080000.0;
  std::string failingMacro;
  bool failEntry = false;
  bool failFrequency = false;

 private:
  Events& events_;
};

class FakeWindow : public IMultiplierWindow {
 public:
  explicit FakeWindow(Events& events) : events_(events) {}
  ~FakeWindow() override { events_.push_back("destroy"); }

  void Show() override { events_.push_back("show"); }
  void SetCaption(const std::string& caption) override { events_.push_back("caption " + caption); }
  void Repaint() override { events_.push_back("repaint"); }
  void Close() override { events_.push_back("close"); }

 private:
  Events& events_;
};

class FakeView : public ISwitchModeView {
 public:
  explicit FakeView(Events& events) : events_(events) {}

  void ArmTimer(int milliseconds) override {
    events_.push_back("arm " + std::to_string(milliseconds));
  }
  void CancelTimer() override { events_.push_back("cancel"); }
  void ShowCheckState(int state) override { events_.push_back("check " + std::to_string(state)); }
  std::unique_ptr<IMultiplierWindow> CreateMultiplier() override {
    events_.push_back("create");
    if (failCreate) {
      return nullptr;
    }
    return std::make_unique<FakeWindow>(events_);
  }

  bool failCreate = false;

 private:
  Events& events_;
};

const Events kOpenWindow = {"create", "check 1", "show", "arm 1000"};

class SwitchModePanelTest : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    Reset();
    host_ = std::make_unique<FakeHost>(events_);
    view_ = std::make_unique<FakeView>(events_);
    panel_ = std::make_unique<SwitchModePanel>(module_, *view_);
  }
  void TearDown() override {
    panel_.reset();
    ScratchDirTest::TearDown();
  }

  // As the host's reset leaves the panel's share: the mode word of the
  // settings, the grid's rows labelled.
  void Reset() {
    module_.modeWord = module_.storedSettings.Read(settings_key::kMode);
    LabelGridRows(module_.grid);
  }

  // What happened since the last call.
  Events Take() {
    Events taken;
    taken.swap(events_);
    return taken;
  }

  // A panel that has opened with the host and run its first tick on 20 m.
  void OpenWithHost() {
    panel_->Initialise(host_.get());
    panel_->Tick();
    Take();
  }

  std::string Pref() const { return module_.storedSettings.Read(settings_key::kPref); }
  std::string ModeWord() const { return module_.modeWord; }
  std::vector<std::string> Cells(int row) const {
    const std::vector<std::string>& r = module_.grid[row];
    return std::vector<std::string>(r.begin() + 1, r.end());
  }

  FakePanelModule module_;
  Events events_;
  std::unique_ptr<FakeHost> host_;
  std::unique_ptr<FakeView> view_;
  std::unique_ptr<SwitchModePanel> panel_;
};

const std::vector<std::string> kCleared(7, "   -");

}  // namespace

TEST_F(SwitchModePanelTest, OpeningSwitchesTheHostToRttyWhateverItWasIn) {
  module_.storedSettings.Write(settings_key::kMode, "SSTV");
  Reset();
  ASSERT_EQ("SSTV", ModeWord());

  panel_->Initialise(host_.get());
  EXPECT_EQ(Events({"macro <MODE:RTTY>", "arm 300"}), Take());
  EXPECT_EQ("RTTY", ModeWord());
  EXPECT_EQ("RTTY", module_.storedSettings.Read(settings_key::kMode));
  EXPECT_EQ(std::vector<std::string>({"160m", "80m", "40m", "20m", "15m", "10m"}),
            panel_->bandLabels());
  EXPECT_EQ(0, panel_->checkState());
  EXPECT_FALSE(panel_->windowOpen());
}

TEST_F(SwitchModePanelTest, WithoutAHostOpeningOnlySetsTheModeWord) {
  module_.storedSettings.Write(settings_key::kMode, "HELL");
  Reset();
  panel_->Initialise(nullptr);
  EXPECT_EQ(Events({"arm 300"}), Take());
  EXPECT_EQ("RTTY", ModeWord());
  EXPECT_EQ("RTTY", module_.storedSettings.Read(settings_key::kMode));
}

TEST_F(SwitchModePanelTest, AFailingOpeningMacroAbandonsTheRestOfTheOpening) {
  module_.storedSettings.Write(settings_key::kMode, "HELL");
  module_.storedSettings.Write(settings_key::kPref, "1");
  Reset();
  host_->failingMacro = "<MODE:RTTY>";
  panel_->Initialise(host_.get());
  EXPECT_EQ(Events({"macro <MODE:RTTY>"}), Take()) << "no timer armed";
  EXPECT_EQ("HELL", ModeWord());
  EXPECT_EQ("HELL", module_.storedSettings.Read(settings_key::kMode));
  EXPECT_TRUE(panel_->bandLabels().empty());
  EXPECT_EQ(1, panel_->checkState()) << "read before the host was called";
}

TEST_F(SwitchModePanelTest, EachModeButtonSendsItsMacrosThenSetsItsWordAndArms) {
  struct Expected {
    int id;
    Events macros;
    std::string word;
  };
  const Expected buttons[] = {
      {1003, {"macro <MODE:RTTY>"}, "RTTY"},
      {1006, {"macro <MODE:HELL>"}, "HELL"},
      {1009, {"macro <MODE:THROB>"}, "THROB"},
      {1004, {"macro <MODE:BPSK31>"}, "BPSK"},
      {1010, {"macro <MODE:BPSK31>", "macro <BAUDRATE:63>"}, "BPSK"},
      {1011, {"macro <MODE:BPSK31>", "macro <BAUDRATE:125>"}, "BPSK"},
      {1005, {"macro <MODE:OLIVIA>"}, "MFSK"},
      {1008, {"macro <MODE:MT63>"}, "MT63"},
      {1007, {"macro <MODE:MFSK>"}, "MFSK"},
      {1012, {"macro <MODE:SSTV>"}, "SSTV"},
  };
  panel_->Initialise(host_.get());
  Take();
  module_.storedSettings.Write(settings_key::kMode, "unchanged");
  for (const Expected& b : buttons) {
    module_.modeWord = "none";
    EXPECT_TRUE(panel_->ClickModeButton(b.id)) << b.id;
    Events expected = b.macros;
    expected.push_back("arm 300");
    EXPECT_EQ(expected, Take()) << "button " << b.id;
    EXPECT_EQ(b.word, ModeWord()) << "button " << b.id;
  }
  EXPECT_EQ("unchanged", module_.storedSettings.Read(settings_key::kMode))
      << "buttons do not write the settings";

  EXPECT_FALSE(panel_->ClickModeButton(IDC_VIEW_PREFIX));
  EXPECT_FALSE(panel_->ClickModeButton(1013));
  EXPECT_TRUE(Take().empty());
}

TEST_F(SwitchModePanelTest, ButtonsWithoutAHostOnlyChangeTheModeWord) {
  panel_->Initialise(nullptr);
  Take();
  EXPECT_TRUE(panel_->ClickModeButton(1011));
  EXPECT_EQ(Events({"arm 300"}), Take());
  EXPECT_EQ("BPSK", ModeWord());
}

TEST_F(SwitchModePanelTest, AFailingMacroLeavesTheModeWordAndTheTimerAlone) {
  panel_->Initialise(host_.get());
  Take();
  host_->failingMacro = "<BAUDRATE:63>";
  EXPECT_TRUE(panel_->ClickModeButton(1010));
  EXPECT_EQ(Events({"macro <MODE:BPSK31>", "macro <BAUDRATE:63>"}), Take());
  EXPECT_EQ("RTTY", ModeWord());
}

TEST_F(SwitchModePanelTest, CheckBoxOpensAndClosesByTheWindowReference) {
  panel_->Initialise(host_.get());
  Take();

  panel_->ClickViewPrefix();
  EXPECT_EQ(kOpenWindow, Take());
  EXPECT_TRUE(panel_->windowOpen());
  EXPECT_EQ(1, panel_->checkState());
  EXPECT_EQ("1", Pref());

  panel_->ClickViewPrefix();
  EXPECT_EQ(Events({"cancel", "close", "destroy", "check 0"}), Take());
  EXPECT_FALSE(panel_->windowOpen());
  EXPECT_EQ(0, panel_->checkState());
  EXPECT_EQ("0", Pref());
}

TEST_F(SwitchModePanelTest, AWindowThatCannotBeCreatedChangesNothing) {
  panel_->Initialise(nullptr);
  Take();
  view_->failCreate = true;
  panel_->ClickViewPrefix();
  EXPECT_EQ(Events({"create"}), Take());
  EXPECT_FALSE(panel_->windowOpen());
  EXPECT_EQ(0, panel_->checkState());
  EXPECT_EQ("", Pref());
}

TEST_F(SwitchModePanelTest, StoredPrefOpensTheWindowOnTheFirstTickEvenWithoutAHost) {
  module_.storedSettings.Write(settings_key::kPref, "1");
  panel_->Initialise(nullptr);
  EXPECT_EQ(1, panel_->checkState());
  EXPECT_FALSE(panel_->windowOpen()) << "the opening itself shows no window";
  Take();

  panel_->Tick();
  Events expected = {"cancel"};
  expected.insert(expected.end(), kOpenWindow.begin(), kOpenWindow.end());
  EXPECT_EQ(expected, Take());

  panel_->Tick();
  EXPECT_EQ(Events({"cancel"}), Take()) << "open already, and no host to ask";
  EXPECT_EQ(-1, module_.bandIndex);
  EXPECT_EQ("", module_.callEntered);

  panel_->CloseMultiplier();
  EXPECT_EQ(Events({"close", "destroy"}), Take());
  panel_->CloseMultiplier();
  EXPECT_TRUE(Take().empty());
}

TEST_F(SwitchModePanelTest, TickFillsTheGridForTheEnteredCallAndRetitlesTheWindow) {
  HostQso q;  // Q2AA, 20 m, RTTY, 09:05
  module_.Add(q);
  q.band = "6m";
  q.hertz = 50100000;
  module_.Add(q);
  q.band = "40m";
  q.hertz = 7040000;
  q.mode = "PSK31";
  module_.Add(q);
  q.mode = "OLIVIA";
  q.time = HostTime(2016, 2, 13, 17, 42);
  module_.Add(q);

  panel_->Initialise(host_.get());
  panel_->ClickViewPrefix();
  Take();
  host_->entry = "Q2AA";
  panel_->Tick();
  EXPECT_EQ(Events({"cancel", "entry 5", "caption  KOVA-BRAWLCUP worked with Q2AA", "frequency",
                    "macro <SP1>", "repaint"}),
            Take());
  EXPECT_EQ("Q2AA", module_.callEntered);
  EXPECT_EQ(3, module_.bandIndex);
  EXPECT_EQ(14080000.0, module_.lastFrequency);
  for (int r : {0, 1, 4, 5}) {
    EXPECT_EQ(kCleared, Cells(r)) << "row " << r;
  }
  EXPECT_EQ(std::vector<std::string>({"   -", "   -", "17:42", "   -", "   -", "   -", "   -"}),
            Cells(2));
  EXPECT_EQ(std::vector<std::string>({"   -", "   -", "   -", "   -", "09:05", "   -", "   -"}),
            Cells(3));
  EXPECT_EQ("20m", module_.grid[3][0]);
}

TEST_F(SwitchModePanelTest, ClearingTheCallRestoresEmptyCellsAndThePrefixCaption) {
  module_.Add(HostQso{});
  OpenWithHost();
  panel_->ClickViewPrefix();
  module_.modeWord = "MFSK";
  host_->entry = "Q2AA";
  panel_->Tick();
  ASSERT_EQ("09:05", module_.grid[3][5]);
  Take();

  host_->entry = "";
  panel_->Tick();
  EXPECT_EQ(Events({"cancel", "entry 5", "frequency", "caption KOVA-BRAWLCUP   Prefix worked  MFSK",
                    "repaint"}),
            Take());
  EXPECT_EQ("", module_.callEntered);
  for (int r = 0; r < kGridRows; ++r) {
    EXPECT_EQ(kCleared, Cells(r)) << "row " << r;
  }
  EXPECT_TRUE(TakeMultiplierPicture(module_).callEntered.empty()) << "back to the prefixes";
}

TEST_F(SwitchModePanelTest, SpotMacroOnTheFirstReadAndOnceADriftPassesThreeHundredHertz) {
  panel_->Initialise(host_.get());
  Take();
  auto spotsFor = [this](double hertz) {
    host_->frequency = hertz;
    panel_->Tick();
    int spots = 0;
    for (const std::string& e : Take()) {
      spots += e == "macro <SP1>" ? 1 : 0;
    }
    return spots;
  };
  EXPECT_EQ(1, spotsFor(14080000.0)) << "the first read differs from 0";
  EXPECT_EQ(0, spotsFor(14080300.0)) << "exactly 300 Hz is no move";
  EXPECT_EQ(0, spotsFor(14079700.0));
  EXPECT_EQ(0, spotsFor(14080150.0));
  EXPECT_EQ(0, spotsFor(14080250.0));
  EXPECT_EQ(1, spotsFor(14080300.5)) << "a slow drift adds up from the last spot";
  EXPECT_EQ(0, spotsFor(14080600.0));
  EXPECT_EQ(1, spotsFor(14080601.0));
  EXPECT_EQ(14080601.0, module_.lastFrequency);
}

TEST_F(SwitchModePanelTest, LastFrequencyOutlivesThePanel) {
  OpenWithHost();
  SwitchModePanel next(module_, *view_);
  next.Initialise(host_.get());
  next.Tick();
  for (const std::string& e : Take()) {
    EXPECT_NE("macro <SP1>", e) << "the radio has not moved since the last panel's spot";
  }
}

TEST_F(SwitchModePanelTest, BandIndexFollowsTheRadio) {
  OpenWithHost();
  host_->frequency = 29500000.0;
  panel_->Tick();
  EXPECT_EQ(-1, module_.bandIndex);
  host_->frequency = 1900000.0;
  panel_->Tick();
  EXPECT_EQ(0, module_.bandIndex);
}

TEST_F(SwitchModePanelTest, AFailingEntryTextAbandonsTheTick) {
  module_.Add(HostQso{});
  OpenWithHost();
  panel_->ClickViewPrefix();
  host_->entry = "Q2AA";
  panel_->Tick();
  Take();

  host_->entry = "";
  host_->failEntry = true;
  host_->frequency = 7040000.0;
  panel_->Tick();
  EXPECT_EQ(Events({"cancel", "entry 5"}), Take()) << "no re-arm: the timer stays cancelled";
  EXPECT_EQ("Q2AA", module_.callEntered);
  EXPECT_EQ("09:05", module_.grid[3][5]);
  EXPECT_EQ(3, module_.bandIndex);
}

TEST_F(SwitchModePanelTest, AFailingFrequencyReadKeepsTheGridButNotTheBand) {
  module_.Add(HostQso{});
  OpenWithHost();
  panel_->ClickViewPrefix();
  Take();
  host_->entry = "Q2AA";
  host_->failFrequency = true;
  panel_->Tick();
  EXPECT_EQ(Events({"cancel", "entry 5", "caption  KOVA-BRAWLCUP worked with Q2AA", "frequency"}),
            Take())
      << "no repaint";
  EXPECT_EQ("09:05", module_.grid[3][5]);
  EXPECT_EQ(3, module_.bandIndex) << "from the first tick";
}

TEST_F(SwitchModePanelTest, AFailingSpotMacroKeepsTheLastFrequency) {
  OpenWithHost();
  panel_->ClickViewPrefix();
  Take();
  host_->failingMacro = "<SP1>";
  host_->frequency = 7040000.0;
  panel_->Tick();
  EXPECT_EQ(Events({"cancel", "entry 5", "frequency", "macro <SP1>"}), Take());
  EXPECT_EQ(14080000.0, module_.lastFrequency);
  EXPECT_EQ(3, module_.bandIndex);

  host_->failingMacro.clear();
  panel_->Tick();
  EXPECT_EQ(Events({"cancel", "entry 5", "frequency", "macro <SP1>",
                    "caption KOVA-BRAWLCUP   Prefix worked  RTTY", "repaint"}),
            Take())
      << "the move is still pending";
  EXPECT_EQ(2, module_.bandIndex);
}
