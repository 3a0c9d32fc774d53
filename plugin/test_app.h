// The application object: constructed when the library loads, its exit runs
// when the library unloads.
#pragma once

#include "platform/win_app.h"

class CTestApp : public CWinApp {
 public:
  // Stops the panel and its window, pauses 20 ms for the panel thread's last
  // instructions, then exits as the base does.
  int ExitInstance() override;
};

extern CTestApp theApp;
