#include "tools/cabrillo_mode.h"

#include "tools/text.h"

namespace {

// The mode column of RTTY and of the host modes that are not digital; every
// other mode is digital ("DG").
struct ModeColumn {
  std::string_view hostMode;
  std::string_view column;
};

constexpr ModeColumn kModeColumns[] = {
    {"RTTY", "RY"}, {"CW", "CW"}, {"SSB", "PH"},          {"USB", "PH"},
    {"LSB", "PH"},  {"AM", "PH"}, {"DIGITALVOICE", "PH"}, {"FM", "FM"},
};

}  // namespace

std::string_view CabrilloMode(std::string_view hostMode) {
  for (const ModeColumn& m : kModeColumns) {
    if (EqualsIgnoringCase(m.hostMode, hostMode)) {
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
