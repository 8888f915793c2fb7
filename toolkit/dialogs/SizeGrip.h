// The size grip in the bottom-right corner of a resizable window: a static
// showing the system's grip bitmap; pressing it starts the owner's sizing
// from that corner.
#pragma once

#include "classlib/controls.h"
#include "classlib/gdiobject.h"

class CXTSizeGrip : public CStatic {
  DECLARE_DYNAMIC(CXTSizeGrip)
  DECLARE_MESSAGE_MAP()
 public:
  CXTSizeGrip();

 protected:
  afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnDestroy();

  HCURSOR m_hCursor;
  CBitmap m_bitmap;
};
