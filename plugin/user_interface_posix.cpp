// No window system here: every modal run fails and message boxes are skipped.
#include "plugin/user_interface.h"

namespace {

class NoWindows final : public IUserInterface {
 public:
  int RunHeaderForm(Cabrillo&) override { return kDialogFailed; }
  void ShowMessage(const std::string&, const std::string&) override {}
  int RunSetupDialog(int&) override { return kDialogFailed; }
};

}  // namespace

IUserInterface& PlatformUserInterface() {
  static NoWindows ui;
  return ui;
}
