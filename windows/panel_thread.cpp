#include "windows/panel_thread.h"

#include "windows/switch_mode_panel.h"

PanelThread::PanelThread(IPanelThreadHost& host) : host_(host) {}

bool PanelThread::IsRunning() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return panel_ != nullptr;
}

void PanelThread::Start() {
  Stop();
  stopping_ = false;
  const unsigned before = openings_;
  if (!host_.SpawnThread(*this)) {
    return;
  }
  // Every way out of the procedure counts as an opening; should the thread
  // leave without one all the same, the start does not wait for ever.
  while (openings_ == before && host_.ThreadInLibrary()) {
    host_.Pause(kStopPollMs);
  }
}

void PanelThread::Nudge() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (panel_ != nullptr) {
    panel_->RequestArmTimer(kCallCheckTimerMs);
  }
}

void PanelThread::Stop() {
  stopping_ = true;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (panel_ != nullptr) {
      panel_->RequestCancelTimer();
      panel_->RequestCloseMultiplier();
    }
  }
  bool closeDelivered = false;
  while (host_.ThreadInLibrary()) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (panel_ != nullptr && !closeDelivered) {
        closeDelivered = panel_->RequestClose();
      }
    }
    host_.Pause(kStopPollMs);
  }
}

int PanelThread::Procedure() {
  std::unique_ptr<IPanelDialog> panel;
  int code = kPanelThreadDone;
  try {
    {
      // Checked and stored under one lock, so two starts in quick succession
      // cannot both run a panel.
      std::lock_guard<std::mutex> lock(mutex_);
      if (panel_ != nullptr) {
        code = kPanelThreadAlreadyRunning;
      } else if ((panel = host_.ConstructPanel()) != nullptr) {
        panel_ = panel.get();
      }
    }
    if (panel != nullptr) {
      if (!stopping_) {
        panel->RunModal([this] { NoteOpened(); });
      }
      panel->CloseMultiplier();
    }
  } catch (...) {
  }
  if (panel != nullptr) {
    // Destroyed under the lock: a request from the host's thread never meets
    // a half-destroyed panel.
    std::unique_lock<std::mutex> lock(mutex_, std::defer_lock);
    while (!lock.try_lock()) {
      host_.AnswerRequests();
    }
    panel.reset();
    panel_ = nullptr;
  }
  NoteOpened();  // a panel that closed, or never opened, before it had opened
  return code;
}
