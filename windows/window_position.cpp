#include "windows/window_position.h"

WindowPosition::WindowPosition(const Settings& settings, PositionKeys keys)
    : settings_(settings), keys_(keys) {}

ScreenPoint WindowPosition::Restore() {
  ScreenPoint p{settings_.ReadNumber(keys_.xKey), settings_.ReadNumber(keys_.yKey)};
  if (p.x == 0) {
    p.x = keys_.defaultX;
  }
  if (p.y == 0) {
    p.y = keys_.defaultY;
  }
  last_ = p;
  return p;
}

void WindowPosition::Track(int left, int top) {
  if (left != last_.x) {
    last_.x = left;
    settings_.WriteNumber(keys_.xKey, left);
  }
  if (top != last_.y) {
    last_.y = top;
    settings_.WriteNumber(keys_.yKey, top);
  }
}
