#include "windows/multiplier_window.h"

#include <array>
#include <string_view>
#include <utility>

#include "contest/mode_groups.h"

namespace {

// The grid's pixel columns are fixed: widening the window only adds space.
// The "Band" heading comes first, then each group's heading in column order.
constexpr char kBandHeading[] = "Band";
constexpr std::array<int, kGridTexts> kGridHeadingX = {20, 100, 140, 180, 220, 260, 300, 355};
constexpr int kGridHeaderY = 14;
// Cells sit 5 pixels right of the SSTV heading, as operators know the window.
constexpr std::array<int, kGridTexts> kGridTextX = {20, 100, 140, 180, 220, 260, 300, 360};
// An initialiser left out is a 0: each column must lie right of the one before.
constexpr bool IncreasingColumns(const std::array<int, kGridTexts>& x) {
  for (std::size_t i = 1; i < x.size(); ++i) {
    if (x[i] <= x[i - 1]) {
      return false;
    }
  }
  return true;
}
static_assert(IncreasingColumns(kGridHeadingX), "kGridHeadingX: a pixel column per mode group");
static_assert(IncreasingColumns(kGridTextX), "kGridTextX: a pixel column per mode group");
constexpr int kCallX = 180;
constexpr int kCallY = 0;
constexpr int kGridLinesPerHeight = 7;  // the header and six band rows
constexpr int kGridTopMargin = 10;

constexpr int kPrefixStartX = 5;
constexpr int kPrefixStepX = 40;
constexpr int kPrefixStepY = 15;

// Ascending byte order; the characters compare as unsigned bytes, so digits
// come before letters.
bool SortsBefore(const std::string& a, const std::string& b) { return a.compare(b) < 0; }

}  // namespace

MultiplierPicture TakeMultiplierPicture(IPanelModule& module) {
  MultiplierPicture picture;
  module.Locked([&picture](PanelShare& share) {
    picture.callEntered = share.callEntered;
    picture.bandIndex = share.bandIndex;
    if (!picture.callEntered.empty()) {
      picture.grid = share.grid;
    } else {
      const int group = ModeGroupOfWord(share.modeWord);
      if (group >= 0) {
        picture.prefixes = share.prefixLists[group];
      }
    }
  });
  return picture;
}

void DrawMultiplier(const MultiplierPicture& picture, const CanvasRect& area, ICanvas& canvas) {
  if (!picture.callEntered.empty()) {
    DrawWorkedGrid(picture.callEntered, picture.bandIndex, picture.grid, area, canvas);
  } else {
    DrawWorkedPrefixes(picture.prefixes, picture.bandIndex, area, canvas);
  }
}

void DrawWorkedGrid(const std::string& call, int bandIndex, const WorkedGrid& grid,
                    const CanvasRect& area, ICanvas& canvas) {
  canvas.FillSolid(area, kGridBackground);
  const int h = area.bottom / kGridLinesPerHeight;
  // On 6 m (index 6) this falls below the last row, out of sight.
  if (bandIndex >= 0) {
    canvas.FillSolid({0, (bandIndex + 1) * h + kGridTopMargin, area.right, (bandIndex + 2) * h},
                     kBandHighlight);
  }
  canvas.SetTransparentBackground();
  canvas.DrawTextAt(kGridHeadingX[0], kGridHeaderY, kBandHeading);
  for (int g = 0; g < kModeGroupCount; ++g) {
    canvas.DrawTextAt(kGridHeadingX[g + 1], kGridHeaderY, std::string(kModeGroups[g].heading));
  }
  canvas.DrawTextAt(kCallX, kCallY, call);
  for (int row = 0; row < kGridRows; ++row) {
    const int y = (row + 1) * h + kGridTopMargin;
    const std::vector<std::string>& texts = grid[row];
    for (std::size_t i = 0; i < texts.size() && i < kGridTextX.size(); ++i) {
      canvas.DrawTextAt(kGridTextX[i], y, texts[i]);
    }
  }
}

void DrawWorkedPrefixes(std::vector<std::string> prefixes, int bandIndex, const CanvasRect& area,
                        ICanvas& canvas) {
  canvas.FillSolid(area, kPrefixBackground);
  // Outside the contest bands (or before any frequency is known) the list
  // would say nothing about the band in use.
  if (bandIndex < 0) {
    return;
  }
  canvas.SetTransparentBackground();
  for (std::size_t i = 0; i + 1 < prefixes.size(); ++i) {
    for (std::size_t j = i + 1; j < prefixes.size(); ++j) {
      if (SortsBefore(prefixes[j], prefixes[i])) {
        std::swap(prefixes[i], prefixes[j]);
      }
    }
  }
  int x = kPrefixStartX;
  int y = 0;
  for (const std::string& prefix : prefixes) {
    canvas.DrawTextAt(x, y, prefix);
    x += kPrefixStepX;
    if (x > area.right - kPrefixStepX) {
      y += kPrefixStepY;
      x = kPrefixStartX;
    }
  }
}

CanvasRect ContentRectForClient(int clientWidth, int clientHeight) {
  return {1, 1, 1 + clientWidth - 4, 1 + clientHeight - 4};
}
