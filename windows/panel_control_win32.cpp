// The panel for Windows: a PanelThread whose thread is a system thread and
// whose panel is the real Switch_mode dialog.
#include <windows.h>

#include <memory>

#include "windows/panel_control.h"
#include "windows/panel_thread.h"
#include "windows/host_automation_win32.h"
#include "windows/switch_mode_panel_win32.h"

namespace {

DWORD WINAPI PanelThreadProcedure(LPVOID parameter) {
  try {
    return static_cast<DWORD>(static_cast<PanelThread*>(parameter)->Procedure());
  } catch (...) {
    return static_cast<DWORD>(kPanelThreadDone);
  }
}

class Win32PanelThreadHost final : public IPanelThreadHost {
 public:
  explicit Win32PanelThreadHost(IPanelModule& module) : module_(module) {}

  bool SpawnThread(PanelThread& thread) override {
    HANDLE handle = ::CreateThread(nullptr, 0, &PanelThreadProcedure, &thread, 0, nullptr);
    if (handle == nullptr) {
      return false;
    }
    ::CloseHandle(handle);
    return true;
  }

  std::unique_ptr<IPanelDialog> ConstructPanel() override {
    return std::make_unique<Switch_mode>(module_);
  }

  void Pause(int milliseconds) override { ServeHostApartment(milliseconds); }

 private:
  IPanelModule& module_;
};

}  // namespace

IPanelControl& PlatformPanel(IPanelModule& module) {
  static Win32PanelThreadHost host(module);
  static PanelThread panel(host);
  return panel;
}
