// What the mode switch panel and the Multiplier window see of the plug-in's
// module: the data they share with the host's thread, reached only under the
// module's lock, the settings, and the panel's own remembered frequency. The
// plug-in's module state implements it; tests put a small fake in its place
// (tests/windows/fake_panel_module.h).
//
// Threading: the host's thread changes the shared data inside the exports,
// under the same lock, so a reader sees each of them whole.
#pragma once

#include <functional>
#include <string>

#include "contest/settings.h"
#include "scoring/qso_store.h"
#include "scoring/score.h"
#include "windows/worked_grid.h"

// The module data the panel thread reads and writes, valid only inside
// IPanelModule::Locked.
struct PanelShare {
  const QsoStore& qsos;
  const PrefixLists& prefixLists;
  std::string& modeWord;     // the current mode word
  WorkedGrid& grid;          // the worked-before grid
  std::string& callEntered;  // the call in the host's entry field at the last tick
  int& bandIndex;            // operator band of the radio's frequency, or -1
};

class IPanelModule {
 public:
  virtual ~IPanelModule() = default;

  // Runs `work` with the module's lock held. `work` must be short and must not
  // call the host program: the host's thread may be inside an export waiting
  // for the lock while the host's apartment is needed to answer the call.
  virtual void Locked(const std::function<void(PanelShare&)>& work) = 0;

  virtual const Settings& settings() const = 0;

  // Frequency of the panel's last "<SP1>" (0 at load, kept from one panel to
  // the next). Only the panel thread uses it, so it needs no lock.
  virtual double& lastSpotFrequency() = 0;
};
