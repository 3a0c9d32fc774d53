// Everything the plug-in keeps while it is loaded, in one object with one lock.
//
// Threading: every export takes `mutex` for the work it does on this state;
// the panel thread takes it for each read of the QSO list, the prefix lists,
// the grid and the mode word. Nobody holds it while a modal window runs or
// while the panel is started or stopped, since those wait on the panel thread.
#pragma once

#include <array>
#include <mutex>
#include <string>
#include <vector>

#include "plugin/settings.h"
#include "reports/contest_report.h"
#include "scoring/error_log.h"
#include "scoring/qso_store.h"
#include "scoring/score.h"

class IPanelControl;
class IUserInterface;

inline constexpr int kGridRows = 6;
inline constexpr int kGridTexts = 8;  // band label, then one cell per mode group

// Six rows (160 .. 10 m) of a band label and seven cells.
using WorkedGrid = std::array<std::vector<std::string>, kGridRows>;

struct ModuleState {
  ModuleState();

  std::mutex mutex;

  QsoStore qsos;
  BandList bandList;
  ResultHeading heading;  // dates, mode word, contestant of the last reset
  int reportFlag = 0;

  std::string resultText;
  std::string tableText;
  PrefixLists prefixLists;

  WorkedGrid grid;
  std::string callEntered;
  int bandIndex = -1;
  // Frequency of the panel's last "<SP1>" (0 at load, kept from one panel to
  // the next); only the panel thread uses it.
  double lastFrequency = 0.0;

  CContestReport report;
  Settings settings;
  ErrorLog errorLog;

  // Seams to the window system; tests put their own in.
  IUserInterface* ui;
  IPanelControl* panel;
};

// The module's one state object.
ModuleState& Module();

// Tests only: throws the module's state away and builds it anew, with a panel
// that never starts (a test that wants one puts its own in).
void RebuildModuleForTests();
