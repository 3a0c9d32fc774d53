// The mode switch panel as a real dialog (template 105), run modally on the
// panel thread: its buttons, check box and timer go to SwitchModePanel, its
// colours and remembered position ("mode_x"/"mode_y") are its own, and it
// reaches the host program through the panel thread's COM connection.
//
// Threading: every handler runs on the panel thread. The host's thread only
// makes the requests of IPanelDialog, which arrive as private messages (the
// timer and the windows belong to the panel thread, so only it may arm,
// cancel or close them). The first request of a stop marks the panel as
// stopping: from then on it calls the host no more, arms no timer and opens
// no window.
//
// Work that calls the host (a click, a tick) never runs while another call
// into the host is waiting, nor inside a message another thread sent (COM
// refuses calls out of those): a click is queued and done from the panel's
// own message loop, through a private message that COM's wait for a call
// never dispatches; a tick that arrives during a call is done after it.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "platform/dialog_win32.h"
#include "platform/gdi_win32.h"
#include "windows/host_automation_win32.h"
#include "windows/panel_thread.h"
#include "windows/switch_mode_panel.h"
#include "windows/window_position.h"

class IPanelModule;

// The panel's private messages, one per request from the host's thread.
inline constexpr UINT kArmTimerRequest = WM_APP + 0x150;  // wParam: milliseconds
inline constexpr UINT kCancelTimerRequest = WM_APP + 0x151;
inline constexpr UINT kCloseMultiplierRequest = WM_APP + 0x152;
// Posted by the panel to itself: do the queued clicks and a deferred tick.
inline constexpr UINT kRunQueuedWork = WM_APP + 0x153;

class Switch_mode final : public CDialog, public IPanelDialog, private ISwitchModeView {
 public:
  // Constructed on the panel thread; the window comes with RunModal. When the
  // panel has ended, the host object's reference is left in
  // `hostObjectLeft` for the thread to release once it has left the library.
  Switch_mode(IPanelModule& module, IDispatch*& hostObjectLeft);
  ~Switch_mode() override;

  void RunModal(const std::function<void()>& opened) override;
  void CloseMultiplier() override;
  void RequestArmTimer(int milliseconds) override;
  bool RequestCancelTimer() override;
  bool RequestCloseMultiplier() override;
  bool RequestClose() override;

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int controlId, int notifyCode, HWND control) override;
  void OnTimer(UINT_PTR timerId) override;
  bool OnSetCursor(HWND window, UINT hitTest, UINT message) override;
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT message) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
  void OnDestroyed() override;

 private:
  void ArmTimer(int milliseconds) override;
  void CancelTimer() override;
  void ShowCheckState(int state) override;
  std::unique_ptr<IMultiplierWindow> CreateMultiplier() override;

  void BeginStop();
  // Sends `message` to the panel's window and waits until it is handled;
  // false when there is no window.
  bool Deliver(UINT message);
  // Queues a click and has the message loop do it.
  void QueueClick(int controlId);
  void RunQueuedWork();

  IPanelModule& module_;
  const DWORD threadId_;
  std::atomic<bool> stopping_{false};
  std::atomic<HWND> window_{nullptr};
  CBrush m_brush;
  WindowPosition position_;
  HostConnection host_;
  IDispatch*& hostObjectLeft_;
  SwitchModePanel panel_;
  std::function<void()> opened_;  // told once the host has been looked up
  std::vector<int> queuedClicks_;
  bool tickDeferred_ = false;
  bool callingHost_ = false;  // a click or tick is on its way through the host
};
