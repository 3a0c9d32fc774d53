#include "windows/setup_dialog_win32.h"

#include "platform/dialog_win32.h"
#include "resources/resource.h"

namespace {

class Master final : public CDialog {
 public:
  Master() : CDialog(IDD_MASTER) {}

  int m_checked = 0;

 protected:
  void DoDataExchange(CDataExchange& dx) override {
    DDX_Check(dx, IDC_USE_MULTIPLIER, m_checked);
  }
};

}  // namespace

int RunMasterDialog(int& checked) {
  Master dialog;
  dialog.m_checked = checked;
  const int result = static_cast<int>(dialog.DoModal());
  if (result == IDOK) {
    checked = dialog.m_checked;
  }
  return result;
}
