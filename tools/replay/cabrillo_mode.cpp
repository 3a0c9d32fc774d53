#include "tools/replay/cabrillo_mode.h"

#include "contest/mode_groups.h"
#include "platform/text.h"

namespace {

// The mode column of the host modes outside the contest that are not digital;
// every other such mode is digital ("DG").
struct ModeColumn {
  std::string_view hostMode;
  std::string_view column;
};

constexpr ModeColumn kOtherModeColumns[] = {
    {"CW", "CW"}, {"SSB", "PH"},          {"USB", "PH"}, {"LSB", "PH"},
    {"AM", "PH"}, {"DIGITALVOICE", "PH"}, {"FM", "FM"},
};

}  // namespace

std::string_view CabrilloMode(std::string_view hostMode) {
  // The contest's table names its modes in capitals; the column does not
  // depend on how a log spells them.
  const int group = ModeGroupOf(ToUpperAscii(hostMode));
  if (group >= 0) {
    return kModeGroups[group].standardMode;
  }
  for (const ModeColumn& m : kOtherModeColumns) {
    if (EqualsNoCase(m.hostMode, hostMode)) {
      return m.column;
    }
  }
  return "DG";
}

std::string_view CabrilloCategoryMode(const std::vector<std::string_view>& modeColumns) {
  bool allRtty = true;
  bool allDigital = true;
  for (std::string_view m : modeColumns) {
    allRtty = allRtty && m == "RY";
    allDigital = allDigital && (m == "RY" || m == "DG");
  }
  return allRtty ? "RTTY" : allDigital ? "DIGI" : "MIXED";
}
