#include "windows/multiplier_window_win32.h"

#include "platform/mem_dc_win32.h"
#include "windows/panel_module.h"
#include "resources/resource.h"
#include "windows/gdi_canvas_win32.h"

void CCqWwInfoButton::DrawItem(const DRAWITEMSTRUCT& item) {
  const MultiplierPicture picture = TakeMultiplierPicture(module_);
  CDC dc;
  dc.Attach(item.hDC);
  {
    CMemDC memory(&dc);
    GdiCanvas canvas(memory);
    const RECT& r = item.rcItem;
    DrawMultiplier(picture, {r.left, r.top, r.right, r.bottom}, canvas);
  }
  dc.Detach();
}

Multiplier::Multiplier(IPanelModule& module)
    : CDialog(IDD_MULTIPLIER), m_grid(module), position_(module.settings(), kMultiplierPositionKeys) {}

void Multiplier::DoDataExchange(CDataExchange& dx) {
  DDX_Control(dx, IDC_MULTIPLIER_GRID, m_grid);
}

BOOL Multiplier::OnInitDialog() {
  CDialog::OnInitDialog();
  HWND self = GetSafeHwnd();
  const ScreenPoint at = position_.Restore();
  ::SetWindowPos(self, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ::SetWindowPos(self, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // Icons from LoadIcon are shared by the system: nothing to free.
  ::SendMessageA(self, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(::LoadIconA(ModuleInstance(), MAKEINTRESOURCEA(IDI_STATS))));
  return TRUE;
}

void Multiplier::OnSize(UINT type, int width, int height) {
  HWND grid = GetDlgItem(IDC_MULTIPLIER_GRID);
  // Minimised, the client area is empty; the button keeps its place for the
  // restore.
  if (grid == nullptr || type == SIZE_MINIMIZED) {
    return;
  }
  const CanvasRect r = ContentRectForClient(width, height);
  ::MoveWindow(grid, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

bool Multiplier::OnSetCursor(HWND, UINT, UINT) {
  RECT r;
  if (::GetWindowRect(GetSafeHwnd(), &r)) {
    position_.Track(r.left, r.top);
  }
  return false;
}

void MultiplierWindow::Show() { ::ShowWindow(hwnd(), SW_SHOW); }

void MultiplierWindow::SetCaption(const std::string& caption) {
  ::SetWindowTextA(hwnd(), caption.c_str());
}

void MultiplierWindow::Repaint() {
  HWND grid = dialog_.GetDlgItem(IDC_MULTIPLIER_GRID);
  if (grid != nullptr) {
    ::InvalidateRect(grid, nullptr, FALSE);
  }
}

void MultiplierWindow::Close() {
  if (hwnd() != nullptr) {
    ::SendMessageA(hwnd(), WM_CLOSE, 0, 0);
  }
}
