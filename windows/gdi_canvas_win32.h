// The operator windows' canvas on a GDI drawing context (normally the
// off-screen context of one paint). Fills are solid, texts use the context's
// current font and text colour. Used on the painting thread only.
#pragma once

#include "platform/gdi_win32.h"
#include "windows/canvas.h"

class GdiCanvas final : public ICanvas {
 public:
  explicit GdiCanvas(CDC& dc) : dc_(dc) {}

  void FillSolid(const CanvasRect& rect, ColorRef color) override;
  void SetTransparentBackground() override;
  void DrawTextAt(int x, int y, const std::string& text) override;

 private:
  CDC& dc_;
};
