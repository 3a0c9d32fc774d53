#include "platform/gdi_win32.h"

bool CBitmap::CreateCompatibleBitmap(const CDC& dc, int width, int height) {
  Attach(::CreateCompatibleBitmap(dc.GetSafeHdc(), width, height));
  return static_cast<bool>(*this);
}

CDC::~CDC() {
  if (owned_ && dc_ != nullptr) {
    ::DeleteDC(dc_);
  }
}

bool CDC::CreateCompatibleDC(const CDC* target) {
  DeleteDC();
  dc_ = ::CreateCompatibleDC(target != nullptr ? target->GetSafeHdc() : nullptr);
  owned_ = dc_ != nullptr;
  return owned_;
}

void CDC::DeleteDC() {
  if (owned_ && dc_ != nullptr) {
    ::DeleteDC(dc_);
  }
  dc_ = nullptr;
  owned_ = false;
}

bool CDC::IsPrinting() const {
  return dc_ != nullptr && ::GetDeviceCaps(dc_, TECHNOLOGY) == DT_RASPRINTER;
}

RECT CDC::GetClipBox() const {
  RECT rect = {0, 0, 0, 0};
  if (dc_ != nullptr) {
    ::GetClipBox(dc_, &rect);
  }
  return rect;
}

POINT CDC::SetWindowOrg(int x, int y) {
  POINT previous = {0, 0};
  ::SetWindowOrgEx(dc_, x, y, &previous);
  return previous;
}

void CDC::FillSolidRect(const RECT& rect, COLORREF colour) {
  // The classic trick: an opaque empty text paints the rectangle in the
  // background colour without creating a brush.
  const COLORREF previous = ::SetBkColor(dc_, colour);
  ::ExtTextOutA(dc_, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  ::SetBkColor(dc_, previous);
}

int CDC::SetBkMode(int mode) { return ::SetBkMode(dc_, mode); }

COLORREF CDC::SetTextColor(COLORREF colour) { return ::SetTextColor(dc_, colour); }

COLORREF CDC::SetBkColor(COLORREF colour) { return ::SetBkColor(dc_, colour); }

bool CDC::TextOut(int x, int y, const char* text, int length) {
  return ::TextOutA(dc_, x, y, text, length) != FALSE;
}

bool CDC::BitBlt(int x, int y, int width, int height, const CDC& source, int sourceX, int sourceY,
                 DWORD rop) {
  return ::BitBlt(dc_, x, y, width, height, source.GetSafeHdc(), sourceX, sourceY, rop) != FALSE;
}

HGDIOBJ CDC::SelectObject(HGDIOBJ object) { return ::SelectObject(dc_, object); }
