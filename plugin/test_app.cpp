#include "plugin/test_app.h"

#include "plugin/module_state.h"
#include "windows/panel_control.h"

CTestApp theApp;

int CTestApp::ExitInstance() {
  try {
    Module().panel->Stop();
  } catch (...) {
  }
  SleepMilliseconds(20);
  return CWinApp::ExitInstance();
}
