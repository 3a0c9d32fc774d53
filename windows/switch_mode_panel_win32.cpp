#include "windows/switch_mode_panel_win32.h"

#include "resources/resource.h"
#include "windows/multiplier_window_win32.h"
#include "windows/panel_module.h"

namespace {

// A close request waits for the panel thread as long as it takes: the stop
// routine must not go on while the panel still runs code of this module.
constexpr UINT kDeliverTimeoutMs = 24u * 60u * 60u * 1000u;

}  // namespace

Switch_mode::Switch_mode(IPanelModule& module, IDispatch*& hostObjectLeft)
    : CDialog(IDD_SWITCH_MODE),
      module_(module),
      threadId_(::GetCurrentThreadId()),
      position_(module.settings(), kPanelPositionKeys),
      host_(stopping_),
      hostObjectLeft_(hostObjectLeft),
      panel_(module, *this) {}

Switch_mode::~Switch_mode() = default;

void Switch_mode::RunModal(const std::function<void()>& opened) {
  opened_ = opened;
  try {
    DoModal();
  } catch (...) {
  }
  // Closed by the operator or by the stop routine: either way the release
  // waits until the thread has left the library.
  hostObjectLeft_ = host_.Leave();
}

void Switch_mode::CloseMultiplier() { panel_.CloseMultiplier(); }

void Switch_mode::BeginStop() { stopping_.store(true); }

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
  ::SendMessageA(
      self, WM_SETICON, ICON_BIG,
      reinterpret_cast<LPARAM>(::LoadIconA(ModuleInstance(), MAKEINTRESOURCEA(IDI_STATS))));
  // The look-up is the opening's last step that may need the loader lock
  // (COM loads what it needs for the host object's proxy); once it is done,
  // the start that waits for it may return.
  IHostAutomation* host = stopping_.load() ? nullptr : host_.Connect();
  // Shown now rather than when the dialog manager gets to it, so that the
  // host finds the panel on the screen once its reset has returned.
  ::ShowWindow(self, SW_SHOWNA);
  if (opened_) {
    opened_();
  }
  if (stopping_.load()) {
    EndDialog(IDCANCEL);
    return TRUE;
  }
  callingHost_ = true;
  panel_.Initialise(host);
  callingHost_ = false;
  return TRUE;
}

bool Switch_mode::OnCommand(int controlId, int notifyCode, HWND) {
  if (notifyCode != BN_CLICKED || (controlId != IDC_VIEW_PREFIX && !IsModeButton(controlId))) {
    return false;
  }
  QueueClick(controlId);
  return true;
}

void Switch_mode::QueueClick(int controlId) {
  if (stopping_.load()) {
    return;
  }
  queuedClicks_.push_back(controlId);
  ::PostMessageA(GetSafeHwnd(), kRunQueuedWork, 0, 0);
}

void Switch_mode::RunQueuedWork() {
  if (callingHost_) {
    return;  // the work under way picks the rest up when it is done
  }
  callingHost_ = true;
  // In the order the operator clicked; each click may call the host.
  for (std::size_t i = 0; i < queuedClicks_.size() && !stopping_.load(); ++i) {
    const int id = queuedClicks_[i];
    if (id == IDC_VIEW_PREFIX) {
      panel_.ClickViewPrefix();
    } else {
      panel_.ClickModeButton(id);
    }
  }
  queuedClicks_.clear();
  if (tickDeferred_ && !stopping_.load()) {
    tickDeferred_ = false;
    panel_.Tick();
  }
  callingHost_ = false;
}

void Switch_mode::OnTimer(UINT_PTR timerId) {
  if (timerId != static_cast<UINT_PTR>(kPanelTimerId) || stopping_.load()) {
    return;
  }
  if (callingHost_) {
    // A timer message dispatched while a call into the host waits: the tick
    // (and its own calls) comes after that call.
    CancelTimer();
    tickDeferred_ = true;
    ::PostMessageA(GetSafeHwnd(), kRunQueuedWork, 0, 0);
    return;
  }
  callingHost_ = true;
  panel_.Tick();
  callingHost_ = false;
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
    case kRunQueuedWork:
      RunQueuedWork();
      break;
    default:
      return false;
  }
  result = TRUE;
  return true;
}

void Switch_mode::OnDestroyed() { window_.store(nullptr); }

void Switch_mode::ArmTimer(int milliseconds) {
  if (stopping_.load()) {
    return;
  }
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
  if (stopping_.load()) {
    return nullptr;
  }
  auto window = std::make_unique<MultiplierWindow>(module_);
  if (!window->Create()) {
    return nullptr;
  }
  return window;
}
