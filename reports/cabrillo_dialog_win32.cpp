#include "reports/cabrillo_dialog_win32.h"

#include <map>
#include <string>

#include "platform/dialog_win32.h"
#include "reports/cabrillo_form.h"
#include "resources/resource.h"

namespace {

class CabrilloDialog final : public CDialog {
 public:
  explicit CabrilloDialog(Cabrillo& form) : CDialog(IDD_CABRILLO), form_(form) {}

 protected:
  BOOL OnInitDialog() override {
    // Items go in before any value: loading a list field selects among them.
    for (int id : Cabrillo::kListFillOrder) {
      HWND list = GetDlgItem(id);
      for (const std::string& item : Cabrillo::Items(id)) {
        ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
      }
    }
    return CDialog::OnInitDialog();
  }

  void DoDataExchange(CDataExchange& dx) override {
    if (!dx.m_bSaveAndValidate()) {
      for (const Cabrillo::Field& field : Cabrillo::Fields()) {
        std::string value = form_.*field.member;
        if (field.items == nullptr) {
          DDX_Text(dx, field.controlId, value);
        } else {
          DDX_CBText(dx, field.controlId, Cabrillo::SelectedItem(field, value), value);
        }
      }
      return;
    }
    // The model decides which shown texts come back (all but CLAIMED).
    std::map<int, std::string> shown;
    for (const Cabrillo::Field& field : Cabrillo::Fields()) {
      std::string text;
      if (field.items == nullptr) {
        DDX_Text(dx, field.controlId, text);
      } else {
        DDX_CBText(dx, field.controlId, -1, text);
      }
      shown[field.controlId] = text;
    }
    form_.TakeBack(shown);
  }

 private:
  Cabrillo& form_;
};

}  // namespace

int RunCabrilloDialog(Cabrillo& form) {
  CabrilloDialog dialog(form);
  return static_cast<int>(dialog.DoModal());
}
