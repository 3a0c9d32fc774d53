// The real modal windows of the host's thread.
#include <windows.h>

#include "plugin/user_interface.h"
#include "reports/cabrillo_dialog_win32.h"
#include "windows/setup_dialog_win32.h"

namespace {

class Win32Windows final : public IUserInterface {
 public:
  int RunHeaderForm(Cabrillo& form) override { return RunCabrilloDialog(form); }

  void ShowMessage(const std::string& text, const std::string& caption) override {
    // The plug-in has no main window: the box belongs to whatever window of
    // the calling thread is active (the host's), or to none.
    ::MessageBoxA(::GetActiveWindow(), text.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION);
  }

  int RunSetupDialog(int& checked) override { return RunMasterDialog(checked); }
};

}  // namespace

IUserInterface& PlatformUserInterface() {
  static Win32Windows ui;
  return ui;
}
