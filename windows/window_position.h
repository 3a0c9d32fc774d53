// Where an operator window opens and how its position is remembered: two
// settings keys holding decimal screen coordinates, a stored 0 (or nothing)
// meaning "use the default", and a write only for an axis that has moved
// since the last recorded position.
//
// One object per window, used on that window's thread; the settings file
// itself may be shared.
#pragma once

#include "contest/settings.h"

struct PositionKeys {
  const char* xKey;
  const char* yKey;
  int defaultX;  // used when the stored x reads as 0
  int defaultY;
};

inline constexpr PositionKeys kMultiplierPositionKeys = {settings_key::kDxccX, settings_key::kDxccY,
                                                         10, 400};
inline constexpr PositionKeys kPanelPositionKeys = {settings_key::kModeX, settings_key::kModeY, 10,
                                                    10};

struct ScreenPoint {
  int x = 0;
  int y = 0;
};

class WindowPosition {
 public:
  WindowPosition(const Settings& settings, PositionKeys keys);

  // Reads the stored position, replaces a 0 on either axis by its default and
  // makes the result the last recorded position. The window's top-left corner
  // goes there.
  ScreenPoint Restore();

  // The window's top-left corner now (on every mouse move over it): writes
  // the x key when x differs from the last recorded x, then independently the
  // y key, recording what it wrote.
  void Track(int left, int top);

  ScreenPoint last() const { return last_; }

 private:
  const Settings& settings_;
  PositionKeys keys_;
  ScreenPoint last_;
};
