// Test helpers for checking a dialog template as the system builds it: the
// template is made into a hidden window that no dialog procedure of ours
// drives, and its controls are read back in dialog units, kinds and styles.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/dialog_win32.h"

namespace dialog_template {

inline INT_PTR CALLBACK IgnoreAll(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The template `id` of this module as a hidden window; destroyed with the object.
class BuiltTemplate {
 public:
  explicit BuiltTemplate(int id)
      : dialog_(::CreateDialogParamA(ModuleInstance(), MAKEINTRESOURCEA(id), nullptr, &IgnoreAll,
                                     0)) {}
  ~BuiltTemplate() {
    if (dialog_ != nullptr) {
      ::DestroyWindow(dialog_);
    }
  }
  BuiltTemplate(const BuiltTemplate&) = delete;
  BuiltTemplate& operator=(const BuiltTemplate&) = delete;

  HWND hwnd() const { return dialog_; }

 private:
  HWND dialog_;
};

// A point and a size in dialog units converted as the dialog manager converts
// a control's place: each of them on its own.
inline POINT UnitsToPixels(HWND dialog, int x, int y) {
  RECT r = {x, y, x, y};
  ::MapDialogRect(dialog, &r);
  return POINT{r.left, r.top};
}
inline SIZE SizeToPixels(HWND dialog, int width, int height) {
  RECT r = {0, 0, width, height};
  ::MapDialogRect(dialog, &r);
  return SIZE{r.right, r.bottom};
}

// The control's window rectangle in the dialog's client coordinates.
inline RECT PlacedRect(HWND dialog, HWND control) {
  RECT r = {};
  ::GetWindowRect(control, &r);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

inline std::string ClassOf(HWND window) {
  char name[64] = {};
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

inline std::string TextOf(HWND window) {
  char text[256] = {};
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

// Window styles are 32 bits wide whatever the pointer size.
inline DWORD StyleOf(HWND window) {
  return static_cast<DWORD>(::GetWindowLongPtrA(window, GWL_STYLE));
}
inline DWORD ExStyleOf(HWND window) {
  return static_cast<DWORD>(::GetWindowLongPtrA(window, GWL_EXSTYLE));
}

inline BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

// The dialog's direct children in template order.
inline std::vector<HWND> Children(HWND dialog) {
  std::vector<HWND> all;
  ::EnumChildWindows(dialog, &CollectChild, reinterpret_cast<LPARAM>(&all));
  std::vector<HWND> direct;
  for (HWND child : all) {
    if (::GetParent(child) == dialog) {
      direct.push_back(child);
    }
  }
  return direct;
}

// The static label with exactly this text, or null.
inline HWND LabelWithText(HWND dialog, const std::string& text) {
  for (HWND child : Children(dialog)) {
    if (lstrcmpiA(ClassOf(child).c_str(), "Static") == 0 && TextOf(child) == text) {
      return child;
    }
  }
  return nullptr;
}

// The font the dialog's controls use.
inline LOGFONTA DialogFont(HWND dialog) {
  LOGFONTA font = {};
  HFONT handle = reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0));
  if (handle != nullptr) {
    ::GetObjectA(handle, sizeof font, &font);
  }
  return font;
}

// The height a font of `points` asks for on this screen.
inline LONG PointsToHeight(int points) {
  HDC screen = ::GetDC(nullptr);
  const LONG height = -::MulDiv(points, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
  ::ReleaseDC(nullptr, screen);
  return height;
}

}  // namespace dialog_template
