// Drives dialogs of this process from a thread other than theirs, as an
// operator would: find a dialog by caption, read and type into its controls,
// tick boxes, pick list items, press buttons and keys. Every wait is bounded.
#pragma once

#include <windows.h>

#include <string>

namespace window_driver {

// The visible dialog with this caption, or null after `timeoutMs`.
inline HWND WaitForDialog(const char* caption, DWORD timeoutMs = 15000) {
  const DWORD start = GetTickCount();
  for (;;) {
    HWND dialog = FindWindowA("#32770", caption);
    if (dialog != nullptr && IsWindowVisible(dialog)) {
      return dialog;
    }
    if (GetTickCount() - start > timeoutMs) {
      return nullptr;
    }
    Sleep(20);
  }
}

// True once no dialog with this caption is left, false after `timeoutMs`.
inline bool WaitUntilGone(const char* caption, DWORD timeoutMs = 15000) {
  const DWORD start = GetTickCount();
  while (FindWindowA("#32770", caption) != nullptr) {
    if (GetTickCount() - start > timeoutMs) {
      return false;
    }
    Sleep(20);
  }
  return true;
}

inline std::string Text(HWND window) {
  char buffer[1024] = {};
  SendMessageA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

inline std::string ControlText(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }

inline void Type(HWND dialog, int id, const std::string& text) {
  SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

inline int Checked(HWND dialog, int id) {
  return static_cast<int>(SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0));
}

inline void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// A list field's item count, selected index and item texts.
inline int ItemCount(HWND dialog, int id) {
  return static_cast<int>(SendMessageA(GetDlgItem(dialog, id), CB_GETCOUNT, 0, 0));
}
inline int Selected(HWND dialog, int id) {
  return static_cast<int>(SendMessageA(GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0));
}
inline std::string Item(HWND dialog, int id, int index) {
  HWND list = GetDlgItem(dialog, id);
  const LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) {
    return "<none>";
  }
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

// Picks item `index` as the operator would: the selection changes and the
// owner hears of it.
inline void Pick(HWND dialog, int id, int index) {
  HWND list = GetDlgItem(dialog, id);
  SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

// The Escape key, through the dialog's own message loop.
inline void PressEscape(HWND dialog) {
  HWND focus = GetDlgItem(dialog, IDOK);
  PostMessageA(focus != nullptr ? focus : dialog, WM_KEYDOWN, VK_ESCAPE, 0);
  PostMessageA(focus != nullptr ? focus : dialog, WM_KEYUP, VK_ESCAPE, 0);
}

// The text a message box shows: the longest text of its static controls (the
// text control's id differs between systems; the icon has no text).
inline BOOL CALLBACK CollectLongestStatic(HWND child, LPARAM data) {
  char cls[32] = {};
  GetClassNameA(child, cls, sizeof cls);
  if (lstrcmpiA(cls, "Static") == 0) {
    std::string text = Text(child);
    auto* longest = reinterpret_cast<std::string*>(data);
    if (text.size() > longest->size()) {
      *longest = text;
    }
  }
  return TRUE;
}

inline std::string MessageBoxText(HWND box) {
  std::string longest;
  EnumChildWindows(box, &CollectLongestStatic, reinterpret_cast<LPARAM>(&longest));
  return longest;
}

// Last resort after a failed check: ends every dialog with this caption so the
// modal call on the other thread returns.
inline void CancelAll(const char* caption) {
  for (int i = 0; i < 50; ++i) {
    HWND dialog = FindWindowA("#32770", caption);
    if (dialog == nullptr) {
      return;
    }
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    Sleep(50);
  }
}

}  // namespace window_driver
