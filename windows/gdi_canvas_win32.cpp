#include "windows/gdi_canvas_win32.h"

#include <climits>

void GdiCanvas::FillSolid(const CanvasRect& rect, ColorRef color) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) {
    return;
  }
  const RECT r = {rect.left, rect.top, rect.right, rect.bottom};
  dc_.FillSolidRect(r, static_cast<COLORREF>(color));
}

void GdiCanvas::SetTransparentBackground() { dc_.SetBkMode(TRANSPARENT); }

void GdiCanvas::DrawTextAt(int x, int y, const std::string& text) {
  if (text.empty()) {
    return;
  }
  const int length = text.size() > static_cast<std::size_t>(INT_MAX)
                         ? INT_MAX
                         : static_cast<int>(text.size());
  dc_.TextOut(x, y, text.data(), length);
}
