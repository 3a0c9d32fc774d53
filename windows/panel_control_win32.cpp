// Until the operator windows are built for Windows, no panel ever runs here
// either: the toggle still keeps "Start" as the host expects.
#include "windows/panel_control.h"

namespace {

class NoPanel final : public IPanelControl {
 public:
  bool IsRunning() const override { return false; }
  void Start() override {}
  void Stop() override {}
  void Nudge() override {}
};

}  // namespace

IPanelControl& PlatformPanel() {
  static NoPanel panel;
  return panel;
}
