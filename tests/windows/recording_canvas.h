// A canvas that writes down every call, one line each, for exact comparison.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "windows/canvas.h"

class RecordingCanvas : public ICanvas {
 public:
  void FillSolid(const CanvasRect& r, ColorRef color) override {
    char line[96];
    std::snprintf(line, sizeof line, "fill %d,%d,%d,%d %08X", r.left, r.top, r.right, r.bottom,
                  static_cast<unsigned>(color));
    calls.push_back(line);
  }
  void SetTransparentBackground() override { calls.push_back("transparent"); }
  void DrawTextAt(int x, int y, const std::string& text) override {
    calls.push_back("text " + std::to_string(x) + "," + std::to_string(y) + " " + text);
  }

  std::vector<std::string> calls;
};
