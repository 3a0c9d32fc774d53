// The modal windows the host's thread shows: the Cabrillo header form, the
// "Output" message box and the setup dialog.
//
// On Windows they are real dialogs; elsewhere nothing can be shown, so every
// modal run fails and message boxes are skipped. Tests install a scripted
// operator in their place.
#pragma once

#include <string>

#include "platform/dialog_result.h"
#include "reports/contest_report.h"

class IUserInterface : public IHeaderFormHost {
 public:
  // Information box with one OK button; returns when the operator closed it.
  virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;

  // The setup dialog with its one check box; `checked` is updated on OK.
  virtual int RunSetupDialog(int& checked) = 0;
};

// The platform's own windows.
IUserInterface& PlatformUserInterface();
