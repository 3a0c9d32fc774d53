#include "platform/dialog_win32.h"

#include <algorithm>

// The linker's symbol for the start of the module image: the DLL's own
// instance even before DllMain ran, and the program's in a test program that
// links the code directly.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

HINSTANCE g_instance = nullptr;

std::string WindowText(HWND hwnd) {
  const int length = ::GetWindowTextLengthA(hwnd);
  if (length <= 0) {
    return std::string();
  }
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = ::GetWindowTextA(hwnd, &text[0], length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

}  // namespace

void SetModuleInstance(HINSTANCE instance) { g_instance = instance; }

HINSTANCE ModuleInstance() {
  return g_instance != nullptr ? g_instance : reinterpret_cast<HINSTANCE>(&__ImageBase);
}

void CButton::DrawItem(const DRAWITEMSTRUCT&) {}

HWND CButton::Detach() {
  HWND previous = hwnd_;
  hwnd_ = nullptr;
  return previous;
}

void DDX_Text(CDataExchange& dx, int controlId, std::string& value) {
  HWND control = dx.dialog().GetDlgItem(controlId);
  if (control == nullptr) {
    return;
  }
  if (dx.m_bSaveAndValidate()) {
    value = WindowText(control);
  } else {
    ::SetWindowTextA(control, value.c_str());
  }
}

void DDX_Check(CDataExchange& dx, int controlId, int& value) {
  HWND control = dx.dialog().GetDlgItem(controlId);
  if (control == nullptr) {
    return;
  }
  if (dx.m_bSaveAndValidate()) {
    value = static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0));
  } else {
    ::SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  }
}

void DDX_CBText(CDataExchange& dx, int controlId, int itemIndex, std::string& value) {
  HWND control = dx.dialog().GetDlgItem(controlId);
  if (control == nullptr) {
    return;
  }
  if (dx.m_bSaveAndValidate()) {
    // The text part holds what is shown, whether picked from the list or typed.
    value = WindowText(control);
  } else if (itemIndex >= 0) {
    ::SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(itemIndex), 0);
  } else {
    ::SetWindowTextA(control, value.c_str());
  }
}

void DDX_Control(CDataExchange& dx, int controlId, CButton& control) {
  CDialog& dialog = dx.dialog();
  if (control.GetSafeHwnd() == nullptr) {
    control.Attach(dialog.GetDlgItem(controlId));
  }
  auto& bound = dialog.boundButtons_;
  const auto known = std::find_if(bound.begin(), bound.end(),
                                  [controlId](const auto& b) { return b.first == controlId; });
  if (known == bound.end()) {
    bound.emplace_back(controlId, &control);
  }
}

CDialog::CDialog(int templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

CDialog::~CDialog() {
  if (hwnd_ != nullptr && !modal_) {
    DestroyWindow();
  }
}

INT_PTR CDialog::DoModal() {
  modal_ = true;
  const INT_PTR result =
      ::DialogBoxParamA(ModuleInstance(), MAKEINTRESOURCEA(templateId_), parent_, &DialogProc,
                        reinterpret_cast<LPARAM>(this));
  modal_ = false;
  return result;
}

bool CDialog::Create(HWND parent) {
  if (parent != nullptr) {
    parent_ = parent;
  }
  modal_ = false;
  return ::CreateDialogParamA(ModuleInstance(), MAKEINTRESOURCEA(templateId_), parent_,
                              &DialogProc, reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::DestroyWindow() {
  if (hwnd_ != nullptr) {
    ::DestroyWindow(hwnd_);
  }
}

HWND CDialog::GetDlgItem(int controlId) const {
  return hwnd_ != nullptr ? ::GetDlgItem(hwnd_, controlId) : nullptr;
}

bool CDialog::UpdateData(bool save) {
  if (hwnd_ == nullptr) {
    return false;
  }
  CDataExchange dx(*this, save);
  DoDataExchange(dx);
  return true;
}

void CDialog::EndDialog(INT_PTR result) {
  if (hwnd_ != nullptr) {
    // On a modeless dialog this only hides the window, as the framework does.
    ::EndDialog(hwnd_, result);
  }
}

BOOL CDialog::OnInitDialog() {
  UpdateData(false);
  return TRUE;
}

void CDialog::DoDataExchange(CDataExchange&) {}

void CDialog::OnOK() {
  if (UpdateData(true)) {
    EndDialog(IDOK);
  }
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

bool CDialog::OnCommand(int, int, HWND) { return false; }

void CDialog::OnTimer(UINT_PTR) {}

bool CDialog::OnSetCursor(HWND, UINT, UINT) { return false; }

void CDialog::OnSize(UINT, int, int) {}

HBRUSH CDialog::OnCtlColor(HDC, HWND, UINT) { return nullptr; }

bool CDialog::OnDrawItem(int controlId, const DRAWITEMSTRUCT& item) {
  for (const auto& bound : boundButtons_) {
    if (bound.first == controlId) {
      bound.second->DrawItem(item);
      return true;
    }
  }
  return false;
}

void CDialog::OnDestroyed() {}

bool CDialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CDialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<CDialog*>(lParam);
    ::SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
  }
  // Messages before WM_INITDIALOG (WM_SETFONT) and after the object let go
  // of its window belong to the dialog manager alone.
  if (self == nullptr) {
    return FALSE;
  }
  INT_PTR result = FALSE;
  try {
    result = self->Dispatch(message, wParam, lParam);
  } catch (...) {
    result = message == WM_INITDIALOG ? TRUE : FALSE;
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    self->hwnd_ = nullptr;
    for (auto& bound : self->boundButtons_) {
      bound.second->Detach();
    }
    self->boundButtons_.clear();
    try {
      self->OnDestroyed();
    } catch (...) {
    }
  }
  return result;
}

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  INT_PTR result = FALSE;
  if (OnMessage(message, wParam, lParam, result)) {
    return result;
  }
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      HWND control = reinterpret_cast<HWND>(lParam);
      if (OnCommand(id, code, control)) {
        return TRUE;
      }
      if (id == IDOK && (code == BN_CLICKED || control == nullptr)) {
        OnOK();
        return TRUE;
      }
      if (id == IDCANCEL && (code == BN_CLICKED || control == nullptr)) {
        OnCancel();
        return TRUE;
      }
      return FALSE;
    }
    case WM_CLOSE:
      // The close box: for a dialog the same as Escape.
      OnCancel();
      return TRUE;
    case WM_TIMER:
      OnTimer(static_cast<UINT_PTR>(wParam));
      return TRUE;
    case WM_SETCURSOR:
      if (OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam))) {
        ::SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      return FALSE;
    case WM_SIZE:
      OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
      return FALSE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORMSGBOX:
      // Dialog procedures answer these with the brush itself.
      return reinterpret_cast<INT_PTR>(
          OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message));
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      return item != nullptr && OnDrawItem(static_cast<int>(wParam), *item) ? TRUE : FALSE;
    }
    default:
      return FALSE;
  }
}
