#include "windows/panel_toggle.h"

#include "contest/settings.h"
#include "windows/panel_control.h"

void PanelToggle(const Settings& settings, IPanelControl& panel) {
  if (settings.ReadNumber(settings_key::kStart) != 0) {
    settings.Write(settings_key::kStart, "0");
    return;
  }
  if (!panel.IsRunning()) {
    panel.Start();
    settings.Write(settings_key::kStart, "1");
  }
}
