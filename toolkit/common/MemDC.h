// CXTMemDC: an off-screen copy of a rectangle of a target DC. Draw into it in
// the target's coordinates; destroying it copies the drawing to the target
// in one blit, which is how every toolkit control paints without flicker.
#pragma once

#include "classlib/dc.h"

class CXTMemDC : public CDC {
  DECLARE_DYNAMIC(CXTMemDC)
 public:
  // An empty rect stands for the target's clip box; a background of
  // kNoBackground leaves the surface as the bitmap came.
  enum : COLORREF { kNoBackground = 0xFFFFFFFF };
  CXTMemDC(CDC* target, const RECT* rect, COLORREF background = kNoBackground);
  ~CXTMemDC() override;

  BOOL IsValid() const { return m_valid; }
  const CRect& GetRect() const { return m_rect; }

 private:
  CDC* m_target;
  CRect m_rect;
  BOOL m_valid = FALSE;
  CBitmap m_bitmap;
  CBitmap* m_oldBitmap = nullptr;
};
