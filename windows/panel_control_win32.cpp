// The panel for Windows: a PanelThread whose thread is a system thread and
// whose panel is the real Switch_mode dialog.
//
// The thread ends as a thread of a library that is being unloaded must: once
// it has set its `done` event, no instruction of the library runs on it again
// (SignalAndEndThread). Its last COM reference, the host object, is released
// by the system after that point, because the release is a call into the
// host's apartment that may need the loader lock the unload holds.
#include <windows.h>

#include <memory>
#include <utility>

#include "platform/thread_exit_win32.h"
#include "windows/host_automation_win32.h"
#include "windows/panel_control.h"
#include "windows/panel_thread.h"
#include "windows/switch_mode_panel_win32.h"

namespace {

class Win32PanelThreadHost final : public IPanelThreadHost {
 public:
  explicit Win32PanelThreadHost(IPanelModule& module) : module_(module) {}

  bool SpawnThread(PanelThread& thread) override {
    // The last thread has left (a start stops it first): its event is done.
    if (done_ != nullptr) {
      ::CloseHandle(std::exchange(done_, nullptr));
    }
    done_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (done_ == nullptr) {
      return false;
    }
    thread_ = &thread;
    HANDLE handle = ::CreateThread(nullptr, 0, &Entry, this, 0, nullptr);
    if (handle == nullptr) {
      ::CloseHandle(std::exchange(done_, nullptr));
      return false;
    }
    ::CloseHandle(handle);
    return true;
  }

  bool ThreadInLibrary() const override {
    return done_ != nullptr && ::WaitForSingleObject(done_, 0) == WAIT_TIMEOUT;
  }

  std::unique_ptr<IPanelDialog> ConstructPanel() override {
    return std::make_unique<Switch_mode>(module_, hostObjectLeft_);
  }

  void Pause(int milliseconds) override { ServeHostApartment(milliseconds); }

  void AnswerRequests() override { AnswerSentMessagesFor(1); }

 private:
  static DWORD WINAPI Entry(LPVOID parameter) {
    auto& self = *static_cast<Win32PanelThreadHost*>(parameter);
    try {
      self.thread_->Procedure();
    } catch (...) {
    }
    // Read before the event is set: after it, this object may be gone.
    SignalAndEndThread(self.done_, std::exchange(self.hostObjectLeft_, nullptr));
  }

  IPanelModule& module_;
  PanelThread* thread_ = nullptr;
  // Set on the host's thread before the panel thread starts and closed only
  // after it has left; the panel thread only reads it.
  HANDLE done_ = nullptr;
  // The host object the ending panel leaves behind (panel thread only).
  IDispatch* hostObjectLeft_ = nullptr;
};

}  // namespace

IPanelControl& PlatformPanel(IPanelModule& module) {
  static Win32PanelThreadHost host(module);
  static PanelThread panel(host);
  return panel;
}
