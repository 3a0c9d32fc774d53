// Everything the plug-in keeps while it is loaded, in one object with one lock.
//
// Threading: every export takes `mutex` for the work it does on this state;
// the panel thread takes it (through IPanelModule::Locked) for each read of
// the QSO list, the prefix lists, the grid and the mode word. Nobody holds it
// while a modal window runs or while the panel is started or stopped, since
// those wait on the panel thread.
#pragma once

#include <functional>
#include <mutex>
#include <string>

#include "contest/settings.h"
#include "reports/contest_report.h"
#include "scoring/error_log.h"
#include "scoring/qso_store.h"
#include "scoring/score.h"
#include "windows/panel_module.h"
#include "windows/worked_grid.h"

class IPanelControl;
class IUserInterface;

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
  double lastFrequency = 0.0;  // see IPanelModule::lastSpotFrequency

  CContestReport report;
  Settings settings;
  ErrorLog errorLog;

  // Seams to the window system; tests put their own in.
  IUserInterface* ui;
  IPanelControl* panel;

  // What the panel and the Multiplier window see of this state.
  IPanelModule& panelModule() { return panelView_; }

 private:
  class PanelView final : public IPanelModule {
   public:
    explicit PanelView(ModuleState& state) : state_(state) {}
    void Locked(const std::function<void(PanelShare&)>& work) override;
    const Settings& settings() const override { return state_.settings; }
    double& lastSpotFrequency() override { return state_.lastFrequency; }

   private:
    ModuleState& state_;
  };
  PanelView panelView_{*this};
};

// The module's one state object.
ModuleState& Module();
