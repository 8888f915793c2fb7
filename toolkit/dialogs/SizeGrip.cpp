#include "toolkit/dialogs/SizeGrip.h"

IMPLEMENT_DYNAMIC(CXTSizeGrip, CStatic)

BEGIN_MESSAGE_MAP(CXTSizeGrip, CStatic)
  ON_WM_CREATE()
  ON_WM_SETCURSOR()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CXTSizeGrip::CXTSizeGrip() : m_hCursor(::LoadCursorA(nullptr, IDC_SIZENWSE)) {}

int CXTSizeGrip::OnCreate(LPCREATESTRUCTA lpCreateStruct) {
  if (CStatic::OnCreate(lpCreateStruct) == -1) return -1;
  if (!m_bitmap.m_hObject) m_bitmap.LoadOEMBitmap(OBM_SIZE);
  SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_bitmap.m_hObject));
  return 0;
}

BOOL CXTSizeGrip::OnSetCursor(CWnd*, UINT, UINT) {
  ::SetCursor(m_hCursor);
  return TRUE;
}

void CXTSizeGrip::OnMouseMove(UINT nFlags, CPoint point) {
  CStatic::OnMouseMove(nFlags, point);
  if (::GetCursor() != m_hCursor) ::SetCursor(m_hCursor);
}

// The owner sizes itself from its bottom-right corner, as if its border had been pressed there.
void CXTSizeGrip::OnLButtonDown(UINT nFlags, CPoint point) {
  CStatic::OnLButtonDown(nFlags, point);
  ClientToScreen(&point);
  ::SendMessageA(::GetParent(m_hWnd), WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, MAKELPARAM(point.x, point.y));
}

void CXTSizeGrip::OnDestroy() {
  CStatic::OnDestroy();
  m_bitmap.DeleteObject();
}
