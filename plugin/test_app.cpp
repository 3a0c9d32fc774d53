#include "plugin/test_app.h"

#include "plugin/module_state.h"
#include "windows/panel_control.h"

CTestApp theApp;

int CTestApp::ExitInstance() {
  // At process exit the system has already ended the panel thread without
  // letting it clear its reference: waiting for it would never end, and its
  // windows went with it.
  if (!ProcessIsExiting()) {
    try {
      Module().panel->Stop();
    } catch (...) {
    }
  }
  SleepMilliseconds(20);
  return CWinApp::ExitInstance();
}
