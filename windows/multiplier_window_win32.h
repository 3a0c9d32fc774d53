// The Multiplier window as a real dialog (template 104): an owner-drawn
// button covering the client area paints the module's picture off-screen;
// the window opens where it was left, stays on top and remembers where the
// operator moves it ("dxcc_x"/"dxcc_y").
//
// Threading: created, used and destroyed on the panel thread. A paint takes
// its copy of the module data under the module lock (TakeMultiplierPicture)
// and draws without it.
#pragma once

#include "platform/dialog_win32.h"
#include "windows/multiplier_window.h"
#include "windows/window_position.h"

class IPanelModule;

class CCqWwInfoButton final : public CButton {
 public:
  explicit CCqWwInfoButton(IPanelModule& module) : module_(module) {}

  void DrawItem(const DRAWITEMSTRUCT& item) override;

 private:
  IPanelModule& module_;
};

class Multiplier final : public CDialog {
 public:
  explicit Multiplier(IPanelModule& module);

  CCqWwInfoButton m_grid;

 protected:
  void DoDataExchange(CDataExchange& dx) override;
  BOOL OnInitDialog() override;
  void OnSize(UINT type, int width, int height) override;
  bool OnSetCursor(HWND window, UINT hitTest, UINT message) override;

 private:
  WindowPosition position_;
};

// The panel's handle on one Multiplier window. Destroying it destroys the
// window: a window the panel has closed does not linger hidden.
class MultiplierWindow final : public IMultiplierWindow {
 public:
  explicit MultiplierWindow(IPanelModule& module) : dialog_(module) {}

  // Creates the window modeless, without a parent, not yet shown.
  bool Create() { return dialog_.Create(nullptr); }
  HWND hwnd() const { return dialog_.GetSafeHwnd(); }

  void Show() override;
  void SetCaption(const std::string& caption) override;
  void Repaint() override;
  // The close request: like the close box, it only hides the window.
  void Close() override;

 private:
  Multiplier dialog_;
};
