#include "platform/win_app.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {
CWinApp* g_app = nullptr;
std::atomic<bool> g_processExiting{false};
}  // namespace

CWinApp::CWinApp() { g_app = this; }

CWinApp::~CWinApp() {
  if (g_app == this) {
    g_app = nullptr;
  }
}

CWinApp* AfxGetApp() { return g_app; }

bool ProcessIsExiting() { return g_processExiting.load(); }

void NoteProcessExiting() { g_processExiting.store(true); }

void SleepMilliseconds(unsigned milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
