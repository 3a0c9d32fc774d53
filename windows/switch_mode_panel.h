// The mode switch panel's behaviour: its ten mode buttons, the "View worked
// Prefix" check box that opens and closes the Multiplier window, and the
// one-shot panel timer that polls the host for the callsign being entered and
// the radio frequency, fills the worked-before grid and retitles the window.
//
// The window system stays outside: the panel reaches its own dialog through
// ISwitchModeView and the host program through IHostAutomation. A Win32
// dialog forwards its initialisation, clicks and timer ticks here.
//
// Threading: every member runs on the panel thread. Module data that the
// host's thread also touches is read and written under the module lock, and
// the lock is never held across a call on the host automation object: the
// host's thread may be inside an export waiting for that lock while the host's
// apartment is needed to answer the call.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "contest/mode_groups.h"
#include "resources/resource.h"
#include "windows/canvas.h"
#include "windows/multiplier_window.h"

class IHostAutomation;
class IPanelModule;

// The panel's timer and its periods.
inline constexpr int kPanelTimerId = 1500;
inline constexpr int kInitialisedTimerMs = 300;
inline constexpr int kModeButtonTimerMs = 300;
inline constexpr int kWindowOpenedTimerMs = 1000;
inline constexpr int kCallCheckTimerMs = 330;

// The dialog's background and its controls' text colours.
inline constexpr ColorRef kPanelBackground = RgbColor(255, 250, 198);  // 0x00C6FAFF
inline constexpr ColorRef kPanelText = RgbColor(0, 0, 0);

inline constexpr char kOpeningMacro[] = "<MODE:RTTY>";
inline constexpr char kOpeningModeWord[] = "RTTY";
// Sent when the radio has moved more than kSpotThresholdHz since the last time.
inline constexpr char kFrequencyMovedMacro[] = "<SP1>";
inline constexpr double kSpotThresholdHz = 300.0;

inline constexpr char kWorkedWithCaption[] = " KOVA-BRAWLCUP worked with ";
inline constexpr char kPrefixWorkedCaption[] = "KOVA-BRAWLCUP   Prefix worked  ";

struct ModeButton {
  int id;
  std::array<std::string_view, 2> macros;  // sent in order; an empty one is not sent
  int group;                               // whose heading becomes the mode word
};

// The three BPSK buttons share one mode word, as do OLIVIA and MFSK: the word
// names a score column, not a modem.
inline constexpr std::array<ModeButton, 10> kModeButtons = {{
    {IDC_MODE_RTTY, {"<MODE:RTTY>", ""}, ModeGroupOfWord("RTTY")},
    {IDC_MODE_HELL, {"<MODE:HELL>", ""}, ModeGroupOfWord("HELL")},
    {IDC_MODE_THROB, {"<MODE:THROB>", ""}, ModeGroupOfWord("THROB")},
    {IDC_MODE_BPSK31, {"<MODE:BPSK31>", ""}, ModeGroupOfWord("BPSK")},
    {IDC_MODE_BPSK63, {"<MODE:BPSK31>", "<BAUDRATE:63>"}, ModeGroupOfWord("BPSK")},
    {IDC_MODE_BPSK125, {"<MODE:BPSK31>", "<BAUDRATE:125>"}, ModeGroupOfWord("BPSK")},
    {IDC_MODE_OLIVIA, {"<MODE:OLIVIA>", ""}, ModeGroupOfWord("MFSK")},
    {IDC_MODE_MT63, {"<MODE:MT63>", ""}, ModeGroupOfWord("MT63")},
    {IDC_MODE_MFSK, {"<MODE:MFSK>", ""}, ModeGroupOfWord("MFSK")},
    {IDC_MODE_SSTV, {"<MODE:SSTV>", ""}, ModeGroupOfWord("SSTV")},
}};
static_assert(
    [] {
      for (const ModeButton& button : kModeButtons) {
        if (button.group < 0) {
          return false;
        }
      }
      return true;
    }(),
    "every mode button switches to a mode group");

// True for the controls of kModeButtons.
bool IsModeButton(int id);

// What the panel needs of its own dialog. Called on the panel thread only.
class ISwitchModeView {
 public:
  virtual ~ISwitchModeView() = default;

  // The panel timer (kPanelTimerId): arming replaces a pending period.
  virtual void ArmTimer(int milliseconds) = 0;
  virtual void CancelTimer() = 0;
  // Brings check box IDC_VIEW_PREFIX up to `state`.
  virtual void ShowCheckState(int state) = 0;
  // Creates a Multiplier window, modeless and without a parent, not yet
  // shown; null when it cannot be created.
  virtual std::unique_ptr<IMultiplierWindow> CreateMultiplier() = 0;
};

class SwitchModePanel {
 public:
  SwitchModePanel(IPanelModule& module, ISwitchModeView& view);

  SwitchModePanel(const SwitchModePanel&) = delete;
  SwitchModePanel& operator=(const SwitchModePanel&) = delete;

  // The panel's own part of the dialog's initialisation, run after the dialog
  // has placed itself and looked up the host object (`host`, null when the
  // host offers none; it must outlive the panel): reads "Pref" into the check
  // state, switches the host to RTTY and sets and stores that mode word,
  // labels the bands and arms the timer for 300 ms.
  void Initialise(IHostAutomation* host);

  // A click on control `id`: sends the button's macros, sets its mode word
  // and arms the timer for 300 ms. False when `id` is no mode button.
  bool ClickModeButton(int id);

  // A click on the check box. Whether the window is open decides, not the
  // box's state: an open window is closed and "Pref" becomes "0", otherwise a
  // window opens and "Pref" becomes "1".
  void ClickViewPrefix();

  // The panel timer fired.
  void Tick();

  // Closes an open Multiplier window and forgets it (the panel is stopping).
  void CloseMultiplier();

  int checkState() const { return checkState_; }
  bool windowOpen() const { return window_ != nullptr; }
  const std::vector<std::string>& bandLabels() const { return bandLabels_; }

 private:
  // Runs `macro` on the host; true when there is no host (nothing to run).
  bool Run(std::string_view macro);
  void OpenMultiplier();

  IPanelModule& module_;
  ISwitchModeView& view_;
  IHostAutomation* host_ = nullptr;
  int checkState_ = 0;
  std::vector<std::string> bandLabels_;
  std::unique_ptr<IMultiplierWindow> window_;
};
