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

IPanelControl& NoPanelControl() {
  static NoPanel panel;
  return panel;
}
