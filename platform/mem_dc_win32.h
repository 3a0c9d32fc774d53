// An off-screen drawing context for flicker-free painting: opened on a paint's
// context, it hands out a memory context of the same size and coordinates as
// the target's clip box, and copies the whole picture to the target in one
// transfer when it closes. On a printer it draws straight onto the target.
//
// One object per paint, on the painting thread.
#pragma once

#include <windows.h>

#include "platform/gdi_win32.h"

class CMemDC : public CDC {
 public:
  explicit CMemDC(CDC* target);
  ~CMemDC() override;
  CMemDC(const CMemDC&) = delete;
  CMemDC& operator=(const CMemDC&) = delete;

  // The part of the target this context covers, in the target's coordinates.
  const RECT& rect() const { return m_rect; }
  bool offScreen() const { return m_bMemDC; }

 private:
  CBitmap m_bitmap;
  HGDIOBJ m_oldBitmap = nullptr;
  CDC* m_pDC;
  RECT m_rect = {0, 0, 0, 0};
  bool m_bMemDC = false;
};
