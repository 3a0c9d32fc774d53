// The few drawing operations the operator windows need, so that what they
// draw can be decided (and tested) apart from the window system.
//
// On Windows a canvas wraps the off-screen drawing context of a paint; tests
// record the calls. A canvas belongs to the thread that paints with it.
#pragma once

#include <cstdint>
#include <string>

// A colour as the window system stores it: 0x00BBGGRR.
using ColorRef = std::uint32_t;

constexpr ColorRef RgbColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return static_cast<ColorRef>(red) | (static_cast<ColorRef>(green) << 8) |
         (static_cast<ColorRef>(blue) << 16);
}

// Pixels; right and bottom lie just outside, as in the window system.
struct CanvasRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

inline bool operator==(const CanvasRect& a, const CanvasRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class ICanvas {
 public:
  virtual ~ICanvas() = default;

  // A solid fill of `rect`; an empty or inverted rectangle paints nothing.
  virtual void FillSolid(const CanvasRect& rect, ColorRef color) = 0;
  // Later texts leave what is under them visible around the glyphs.
  virtual void SetTransparentBackground() = 0;
  // One line of text with its top-left corner at (x, y), in the canvas's
  // current font and text colour.
  virtual void DrawTextAt(int x, int y, const std::string& text) = 0;
};
