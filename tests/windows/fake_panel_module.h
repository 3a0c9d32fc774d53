// The module as the panel and the Multiplier window see it, without the
// plug-in: the shared data in plain members, the settings file of the current
// folder, QSOs stored by the scoring floor's own AddQso, and a count of the
// locks taken. What windows/panel_module.h promises the tests.
#pragma once

#include <functional>
#include <string>

#include "scoring/error_log.h"
#include "scoring/qso_store.h"
#include "test_support.h"
#include "windows/panel_module.h"

class FakePanelModule final : public IPanelModule {
 public:
  void Locked(const std::function<void(PanelShare&)>& work) override {
    ++locks;
    PanelShare share{qsos, prefixLists, modeWord, grid, callEntered, bandIndex};
    work(share);
  }
  const Settings& settings() const override { return storedSettings; }
  double& lastSpotFrequency() override { return lastFrequency; }

  // Stores a contact as the host's AddData0 would have the plug-in store it.
  int Add(const HostQso& q) {
    CInfo info;
    info.m_call = q.call;
    info.m_band = q.band;
    info.m_mode = q.mode;
    info.m_rstRcvd = q.rstRcvd;
    info.m_rstSent = q.rstSent;
    info.m_nrRcvd = q.nrRcvd;
    info.m_nrSent = q.nrSent;
    info.m_prefix = q.prefix;
    info.m_freqKhz = static_cast<int32_t>(q.hertz / 1000);
    info.m_time = q.time;
    return AddQso(qsos, bands, errorLog, q.ownCall, info);
  }

  QsoStore qsos;
  BandList bands;
  ErrorLog errorLog;
  PrefixLists prefixLists;
  std::string modeWord;
  WorkedGrid grid;
  std::string callEntered;
  int bandIndex = -1;
  double lastFrequency = 0.0;
  Settings storedSettings;
  int locks = 0;
};
