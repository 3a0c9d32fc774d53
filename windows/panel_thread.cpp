#include "windows/panel_thread.h"

#include "windows/switch_mode_panel.h"

PanelThread::PanelThread(IPanelThreadHost& host) : host_(host) {}

bool PanelThread::IsRunning() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return panel_ != nullptr;
}

void PanelThread::Start() {
  if (IsRunning()) {
    Stop();
  }
  const unsigned before = openings_;
  if (!host_.SpawnThread(*this)) {
    return;
  }
  for (int waited = 0; waited < kOpenWaitMs && openings_ == before; waited += kStopPollMs) {
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
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (panel_ == nullptr) {
      return;
    }
    panel_->RequestCancelTimer();
    panel_->RequestCloseMultiplier();
  }
  bool closeDelivered = false;
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (panel_ == nullptr) {
        return;
      }
      if (!closeDelivered) {
        closeDelivered = panel_->RequestClose();
      }
    }
    host_.Pause(kStopPollMs);
  }
}

int PanelThread::Procedure() {
  std::unique_ptr<IPanelDialog> panel;
  {
    // Checked and stored under one lock, so two starts in quick succession
    // cannot both run a panel.
    std::lock_guard<std::mutex> lock(mutex_);
    if (panel_ != nullptr) {
      ++openings_;
      return kPanelThreadAlreadyRunning;
    }
    panel = host_.ConstructPanel();
    if (panel == nullptr) {
      ++openings_;
      return kPanelThreadDone;
    }
    panel_ = panel.get();
  }
  panel->RunModal([this] { NoteOpened(); });
  panel->CloseMultiplier();
  // Destroyed under the lock: a request from the host's thread never meets a
  // half-destroyed panel, and the stop routine sees the reference clear only
  // once the panel is gone.
  std::lock_guard<std::mutex> lock(mutex_);
  panel.reset();
  panel_ = nullptr;
  ++openings_;  // a panel that closed before it had opened
  return kPanelThreadDone;
}
