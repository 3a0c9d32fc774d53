#include "windows/switch_mode_panel_win32.h"

#include "windows/panel_module.h"
#include "resources/resource.h"
#include "windows/multiplier_window_win32.h"

namespace {

// A close request waits for the panel thread as long as it takes: the stop
// routine must not go on while the panel still runs code of this module.
constexpr UINT kDeliverTimeoutMs = 24u * 60u * 60u * 1000u;

}  // namespace

Switch_mode::Switch_mode(IPanelModule& module)
    : CDialog(IDD_SWITCH_MODE),
      module_(module),
      threadId_(::GetCurrentThreadId()),
      position_(module.settings(), kPanelPositionKeys),
      host_(stopping_),
      panel_(module, *this) {}

Switch_mode::~Switch_mode() = default;

void Switch_mode::RunModal(const std::function<void()>& opened) {
  opened_ = opened;
  try {
    DoModal();
  } catch (...) {
  }
  // Closed by the operator or by the stop routine: either way the host's
  // thread answers the release (see ServeHostApartment).
  host_.Disconnect();
}

void Switch_mode::CloseMultiplier() { panel_.CloseMultiplier(); }

void Switch_mode::BeginStop() {
  stopping_.store(true);
  // Wakes a wait for the host inside a COM call, so the message filter can
  // cancel it, even when the panel's window is already gone.
  ::PostThreadMessageA(threadId_, WM_NULL, 0, 0);
}

bool Switch_mode::Deliver(UINT message) {
  HWND window = window_.load();
  if (window == nullptr) {
    return false;
  }
  DWORD_PTR ignored = 0;
  return ::SendMessageTimeoutA(window, message, 0, 0, SMTO_NORMAL, kDeliverTimeoutMs, &ignored) !=
         0;
}

void Switch_mode::RequestArmTimer(int milliseconds) {
  HWND window = window_.load();
  if (window != nullptr && milliseconds > 0) {
    ::PostMessageA(window, kArmTimerRequest, static_cast<WPARAM>(milliseconds), 0);
  }
}

bool Switch_mode::RequestCancelTimer() {
  BeginStop();
  return Deliver(kCancelTimerRequest);
}

bool Switch_mode::RequestCloseMultiplier() {
  BeginStop();
  return Deliver(kCloseMultiplierRequest);
}

bool Switch_mode::RequestClose() {
  BeginStop();
  return Deliver(WM_CLOSE);
}

BOOL Switch_mode::OnInitDialog() {
  // Published first: a stop that begins while the host is being looked up
  // must reach this thread inside that call.
  window_.store(GetSafeHwnd());
  CDialog::OnInitDialog();
  HWND self = GetSafeHwnd();
  const ScreenPoint at = position_.Restore();
  ::SetWindowPos(self, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ::SetWindowPos(self, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  m_brush.CreateSolidBrush(static_cast<COLORREF>(kPanelBackground));
  ::SendMessageA(self, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(::LoadIconA(ModuleInstance(), MAKEINTRESOURCEA(IDI_STATS))));
  panel_.Initialise(host_.Connect());
  if (opened_) {
    opened_();
  }
  return TRUE;
}

bool Switch_mode::OnCommand(int controlId, int notifyCode, HWND) {
  if (notifyCode != BN_CLICKED) {
    return false;
  }
  if (controlId == IDC_VIEW_PREFIX) {
    panel_.ClickViewPrefix();
    return true;
  }
  return panel_.ClickModeButton(controlId);
}

void Switch_mode::OnTimer(UINT_PTR timerId) {
  if (timerId == static_cast<UINT_PTR>(kPanelTimerId)) {
    panel_.Tick();
  }
}

bool Switch_mode::OnSetCursor(HWND, UINT, UINT) {
  RECT r;
  if (::GetWindowRect(GetSafeHwnd(), &r)) {
    position_.Track(r.left, r.top);
  }
  return false;
}

HBRUSH Switch_mode::OnCtlColor(HDC dc, HWND, UINT) {
  ::SetTextColor(dc, static_cast<COLORREF>(kPanelText));
  ::SetBkColor(dc, static_cast<COLORREF>(kPanelBackground));
  return m_brush.get();
}

bool Switch_mode::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
  switch (message) {
    case kArmTimerRequest:
      ArmTimer(static_cast<int>(wParam));
      break;
    case kCancelTimerRequest:
      CancelTimer();
      break;
    case kCloseMultiplierRequest:
      panel_.CloseMultiplier();
      break;
    default:
      return false;
  }
  result = TRUE;
  return true;
}

void Switch_mode::OnDestroyed() { window_.store(nullptr); }

void Switch_mode::ArmTimer(int milliseconds) {
  ::SetTimer(GetSafeHwnd(), static_cast<UINT_PTR>(kPanelTimerId), static_cast<UINT>(milliseconds),
             nullptr);
}

void Switch_mode::CancelTimer() {
  ::KillTimer(GetSafeHwnd(), static_cast<UINT_PTR>(kPanelTimerId));
}

void Switch_mode::ShowCheckState(int state) {
  ::CheckDlgButton(GetSafeHwnd(), IDC_VIEW_PREFIX, state != 0 ? BST_CHECKED : BST_UNCHECKED);
}

std::unique_ptr<IMultiplierWindow> Switch_mode::CreateMultiplier() {
  auto window = std::make_unique<MultiplierWindow>(module_);
  if (!window->Create()) {
    return nullptr;
  }
  return window;
}
