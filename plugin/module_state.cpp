#include "plugin/module_state.h"

#include <memory>

#include "plugin/user_interface.h"
#include "windows/panel_control.h"

ModuleState::ModuleState() : ui(&PlatformUserInterface()), panel(&NoPanelControl()) {}

void ModuleState::PanelView::Locked(const std::function<void(PanelShare&)>& work) {
  std::lock_guard<std::mutex> lock(state_.mutex);
  PanelShare share{state_.qsos, state_.prefixLists, state_.heading.modeWord,
                   state_.grid, state_.callEntered, state_.bandIndex};
  work(share);
}

namespace {

std::unique_ptr<ModuleState> MakeModule() {
  auto state = std::make_unique<ModuleState>();
  state->panel = &PlatformPanel(state->panelModule());
  return state;
}

std::unique_ptr<ModuleState>& Slot() {
  static std::unique_ptr<ModuleState> state = MakeModule();
  return state;
}

}  // namespace

ModuleState& Module() { return *Slot(); }

// Declared in the tests' own support header: unit tests run the module in
// folders of their own, where a real panel thread would open windows and
// write settings behind the test's back, so the rebuilt state gets the panel
// that never runs.
void RebuildModuleForTests() { Slot() = std::make_unique<ModuleState>(); }
