#include "windows/switch_mode_panel.h"

#include <cmath>

#include "windows/host_automation.h"
#include "windows/panel_module.h"
#include "windows/worked_grid.h"

bool IsModeButton(int id) {
  for (const ModeButton& button : kModeButtons) {
    if (button.id == id) {
      return true;
    }
  }
  return false;
}

SwitchModePanel::SwitchModePanel(IPanelModule& module, ISwitchModeView& view)
    : module_(module), view_(view) {}

bool SwitchModePanel::Run(std::string_view macro) {
  return host_ == nullptr || host_->RunMacro(std::string(macro));
}

void SwitchModePanel::Initialise(IHostAutomation* host) {
  host_ = host;
  // The box itself catches up when the first tick opens the window.
  checkState_ = module_.settings().ReadNumber(settings_key::kPref);
  if (!Run(kOpeningMacro)) {
    return;
  }
  module_.Locked([](PanelShare& share) { share.modeWord = kOpeningModeWord; });
  module_.settings().Write(settings_key::kMode, kOpeningModeWord);
  bandLabels_ = PanelBandLabels();
  view_.ArmTimer(kInitialisedTimerMs);
}

bool SwitchModePanel::ClickModeButton(int id) {
  for (const ModeButton& button : kModeButtons) {
    if (button.id != id) {
      continue;
    }
    for (std::string_view macro : button.macros) {
      if (!macro.empty() && !Run(macro)) {
        return true;
      }
    }
    module_.Locked([&button](PanelShare& share) {
      share.modeWord = std::string(kModeGroups[button.group].heading);
    });
    view_.ArmTimer(kModeButtonTimerMs);
    return true;
  }
  return false;
}

void SwitchModePanel::OpenMultiplier() {
  window_ = view_.CreateMultiplier();
  if (window_ == nullptr) {
    return;
  }
  checkState_ = 1;
  view_.ShowCheckState(checkState_);
  window_->Show();
  view_.ArmTimer(kWindowOpenedTimerMs);
  module_.settings().Write(settings_key::kPref, "1");
}

void SwitchModePanel::CloseMultiplier() {
  if (window_ != nullptr) {
    window_->Close();
    window_.reset();
  }
}

void SwitchModePanel::ClickViewPrefix() {
  if (window_ == nullptr) {
    OpenMultiplier();
    return;
  }
  view_.CancelTimer();
  CloseMultiplier();
  checkState_ = 0;
  view_.ShowCheckState(checkState_);
  module_.settings().Write(settings_key::kPref, "0");
}

void SwitchModePanel::Tick() {
  // One-shot: the panel ticks again only when a button, the check box or a
  // call check arms the timer.
  view_.CancelTimer();
  if (checkState_ != 0 && window_ == nullptr) {
    OpenMultiplier();
  }
  if (host_ == nullptr) {
    return;
  }

  std::string call;
  if (!host_->ReadEntryText(kEntryTextArgument, call)) {
    return;
  }
  // Cleared and refilled in one go, so a paint never shows a half-filled grid.
  module_.Locked([this, &call](PanelShare& share) {
    share.callEntered = call;
    ClearWorkedCells(share.grid);
    if (!call.empty()) {
      FillWorkedGrid(share.grid, share.qsos, bandLabels_, call);
    }
  });
  if (!call.empty() && window_ != nullptr) {
    window_->SetCaption(kWorkedWithCaption + call);
  }

  double hertz = 0.0;
  if (!host_->ReadFrequency(hertz)) {
    return;
  }
  // Measured from the frequency of the last "<SP1>", so a slow drift sends
  // one once it has added up to more than the threshold.
  double& lastSpot = module_.lastSpotFrequency();
  if (std::fabs(hertz - lastSpot) > kSpotThresholdHz) {
    if (!Run(kFrequencyMovedMacro)) {
      return;
    }
    lastSpot = hertz;
  }
  std::string modeWord;
  module_.Locked([hertz, &modeWord](PanelShare& share) {
    share.bandIndex = BandIndexFromHertz(hertz);
    modeWord = share.modeWord;
  });
  if (window_ != nullptr) {
    if (call.empty()) {
      window_->SetCaption(kPrefixWorkedCaption + modeWord);
    }
    window_->Repaint();
  }
}
