#include "platform/mem_dc_win32.h"

CMemDC::CMemDC(CDC* target) : m_pDC(target) {
  m_rect = target->GetClipBox();
  const int width = m_rect.right - m_rect.left;
  const int height = m_rect.bottom - m_rect.top;
  m_bMemDC = !target->IsPrinting() && width > 0 && height > 0 && CreateCompatibleDC(target) &&
             m_bitmap.CreateCompatibleBitmap(*target, width, height);
  if (m_bMemDC) {
    m_oldBitmap = SelectObject(m_bitmap.get());
    SetWindowOrg(m_rect.left, m_rect.top);
  } else {
    // A printer, an empty clip box or no memory for the bitmap: drawing
    // straight onto the target flickers but still shows the picture.
    Attach(target->GetSafeHdc());
  }
}

CMemDC::~CMemDC() {
  if (m_bMemDC) {
    m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top,
                  *this, m_rect.left, m_rect.top, SRCCOPY);
    SelectObject(m_oldBitmap);
  } else {
    Detach();
  }
}
