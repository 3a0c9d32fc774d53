#include "plugin/module_state.h"

#include <memory>

#include "platform/user_interface.h"
#include "windows/panel_control.h"

ModuleState::ModuleState() : ui(&PlatformUserInterface()), panel(&PlatformPanel()) {}

namespace {
std::unique_ptr<ModuleState>& Slot() {
  static std::unique_ptr<ModuleState> state = std::make_unique<ModuleState>();
  return state;
}
}  // namespace

ModuleState& Module() { return *Slot(); }

// Unit tests run the module in folders of their own: a real panel thread there
// would open windows and write settings behind the test's back.
void RebuildModuleForTests() {
  Slot() = std::make_unique<ModuleState>();
  Slot()->panel = &NoPanelControl();
}
