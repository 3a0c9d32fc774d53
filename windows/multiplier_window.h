// The Multiplier window's content: while a callsign is being entered, the
// worked-before grid of that call with the radio's band highlighted; otherwise
// the prefixes already worked in the current mode group.
//
// Threading: the window lives on the panel thread while the host's thread may
// rebuild the lists it shows. A paint therefore first takes a finished copy of
// everything it shows under the module lock (TakeMultiplierPicture) and draws
// from that copy without the lock.
#pragma once

#include <string>
#include <vector>

#include "windows/panel_module.h"
#include "windows/canvas.h"

inline constexpr ColorRef kGridBackground = RgbColor(255, 255, 198);    // 0x00C6FFFF
inline constexpr ColorRef kBandHighlight = RgbColor(198, 255, 255);     // 0x00FFFFC6
inline constexpr ColorRef kPrefixBackground = RgbColor(255, 250, 198);  // 0x00C6FAFF

// Everything one paint shows, copied out of the module.
struct MultiplierPicture {
  std::string callEntered;
  int bandIndex = -1;
  WorkedGrid grid;                    // filled only while a call is entered
  std::vector<std::string> prefixes;  // the current mode word's list, otherwise
};

// Takes the module lock for the copy.
MultiplierPicture TakeMultiplierPicture(IPanelModule& module);

// Draws `picture` over `area` (the content control's rectangle): the grid
// display when a call is entered, the prefix display otherwise.
void DrawMultiplier(const MultiplierPicture& picture, const CanvasRect& area, ICanvas& canvas);

void DrawWorkedGrid(const std::string& call, int bandIndex, const WorkedGrid& grid,
                    const CanvasRect& area, ICanvas& canvas);
// Sorts its own copy of `prefixes`.
void DrawWorkedPrefixes(std::vector<std::string> prefixes, int bandIndex, const CanvasRect& area,
                        ICanvas& canvas);

// Where the content control goes when the client area is resized.
CanvasRect ContentRectForClient(int clientWidth, int clientHeight);

// A Multiplier window opened by the panel, seen from the panel. Every call is
// made on the panel thread. Destroying the object destroys the window.
class IMultiplierWindow {
 public:
  virtual ~IMultiplierWindow() = default;

  virtual void Show() = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  // Repaints the content without erasing its background first.
  virtual void Repaint() = 0;
  // Sends the window its close request.
  virtual void Close() = 0;
};
