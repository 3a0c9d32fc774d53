// Drawing contexts and GDI objects for the owner-drawn windows: each handle is
// owned by exactly one object and released on every path, and every selection
// into a context is undone when its scope ends. Windows only; any thread, but
// one object is used by one thread at a time.
#pragma once

#include <windows.h>

#include <utility>

// An owned GDI object (brush, bitmap, pen, font): deleted with its owner.
template <typename Handle>
class CGdiObject {
 public:
  CGdiObject() = default;
  explicit CGdiObject(Handle handle) : handle_(handle) {}
  ~CGdiObject() { DeleteObject(); }
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;
  CGdiObject(CGdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  CGdiObject& operator=(CGdiObject&& other) noexcept {
    if (this != &other) {
      DeleteObject();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }

  void Attach(Handle handle) {
    DeleteObject();
    handle_ = handle;
  }
  void DeleteObject() {
    if (handle_ != nullptr) {
      ::DeleteObject(handle_);
      handle_ = nullptr;
    }
  }
  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  Handle handle_ = nullptr;
};

class CBrush : public CGdiObject<HBRUSH> {
 public:
  bool CreateSolidBrush(COLORREF colour) {
    Attach(::CreateSolidBrush(colour));
    return static_cast<bool>(*this);
  }
};

class CDC;

class CBitmap : public CGdiObject<HBITMAP> {
 public:
  bool CreateCompatibleBitmap(const CDC& dc, int width, int height);
};

// A drawing context: either borrowed (Attach/Detach, as for the context an
// owner-draw message hands over) or made here (CreateCompatibleDC) and then
// deleted with the object.
class CDC {
 public:
  CDC() = default;
  virtual ~CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  // A borrowed context: never deleted here.
  void Attach(HDC dc) {
    DeleteDC();
    dc_ = dc;
  }
  // Hands the context back; one made here becomes the caller's to delete.
  HDC Detach() {
    owned_ = false;
    return std::exchange(dc_, nullptr);
  }
  bool CreateCompatibleDC(const CDC* target);
  // Deletes a context made here; lets go of a borrowed one.
  void DeleteDC();
  HDC GetSafeHdc() const { return dc_; }

  bool IsPrinting() const;
  RECT GetClipBox() const;
  POINT SetWindowOrg(int x, int y);
  void FillSolidRect(const RECT& rect, COLORREF colour);
  int SetBkMode(int mode);
  COLORREF SetTextColor(COLORREF colour);
  COLORREF SetBkColor(COLORREF colour);
  bool TextOut(int x, int y, const char* text, int length);
  bool BitBlt(int x, int y, int width, int height, const CDC& source, int sourceX, int sourceY,
              DWORD rop);
  // Selects `object` and hands back what was selected before.
  HGDIOBJ SelectObject(HGDIOBJ object);

 private:
  HDC dc_ = nullptr;
  bool owned_ = false;
};

// Selects a GDI object into a context for the life of the scope.
class CSelectScope {
 public:
  CSelectScope(CDC& dc, HGDIOBJ object) : dc_(dc), previous_(dc.SelectObject(object)) {}
  ~CSelectScope() {
    if (previous_ != nullptr) {
      dc_.SelectObject(previous_);
    }
  }
  CSelectScope(const CSelectScope&) = delete;
  CSelectScope& operator=(const CSelectScope&) = delete;

 private:
  CDC& dc_;
  HGDIOBJ previous_;
};
