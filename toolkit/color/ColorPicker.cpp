#include "toolkit/color/ColorPicker.h"

#include "toolkit/color/ColorDialog.h"
#include "toolkit/color/ColorMessages.h"
#include "toolkit/common/ColorMath.h"
#include "toolkit/common/MemDC.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/controls/ControlMessages.h"

BEGIN_MESSAGE_MAP(CXTColorPickerStatic, CStatic)
ON_MESSAGE(XTWM_INITCONTROL, OnInitControl)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_DESTROY()
END_MESSAGE_MAP()

int CXTColorPickerStatic::s_pickerFocus = CXTColorPickerStatic::kNoPicker;

void CXTColorPickerStatic::PreSubclassWindow() { PostMessage(XTWM_INITCONTROL); }

// Clicks reach a static only with SS_NOTIFY.
LRESULT CXTColorPickerStatic::OnInitControl(WPARAM, LPARAM) {
  if (m_initPending) ModifyStyle(0, SS_NOTIFY);
  m_initPending = FALSE;
  return 0;
}

void CXTColorPickerStatic::PickerSetColor(COLORREF color, BOOL bUpdatePosition) {
  if (m_color == CLR_INVALID) return;
  m_color = color;
  xtcolor::RGBtoHLS(color, &m_hue, &m_saturation, &m_luminance);
  if (bUpdatePosition) m_cursor = CursorForColor();
  if (m_hWnd) Invalidate(FALSE);
}

void CXTColorPickerStatic::EnsurePicture() {
  CRect client;
  GetClientRect(&client);
  if (client.IsRectEmpty()) return;
  if (m_picture && m_picture->Width() == client.Width() && m_picture->Height() == client.Height()) return;
  m_picture.reset(new CXTDibSection(client.Width(), client.Height()));
  if (m_picture->IsValid()) DrawPicture(*m_picture, client);
}

void CXTColorPickerStatic::PickerSetCursorAt(int x, int y, BOOL bNotify) {
  EnsurePicture();
  const bool inside = m_picture && m_picture->IsValid() && x >= 0 && y >= 0 && x < m_picture->Width() &&
                      y < m_picture->Height();
  if (inside) {
    if (RedrawsPictureEachPaint()) DrawPicture(*m_picture, CRect(0, 0, m_picture->Width(), m_picture->Height()));
    const DWORD argb = m_picture->Pixels()[y * m_picture->Width() + x];
    m_color = RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
    if (bNotify) GetParent()->SendMessage(XTWM_COLOR_SETNEW, m_color);
  }
  m_cursor = CPoint(x, y);
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

BOOL CXTColorPickerStatic::OnEraseBkgnd(CDC*) { return TRUE; }

void CXTColorPickerStatic::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  CXTMemDC dc(&paint, &client, GetSharedState().m_clrFace);
  Draw(dc);
}

void CXTColorPickerStatic::Draw(CDC& dc) {
  CRect client;
  GetClientRect(&client);
  EnsurePicture();
  if (!m_picture || !m_picture->IsValid()) return;
  if (RedrawsPictureEachPaint()) DrawPicture(*m_picture, client);
  ::BitBlt(dc.m_hDC, 0, 0, client.Width(), client.Height(), m_picture->GetDC(), 0, 0, SRCCOPY);
  DrawCursor(dc, client);
}

void CXTColorPickerStatic::OnLButtonDown(UINT, CPoint point) {
  SetCapture();
  PickerSetCursorAt(point.x, point.y, TRUE);
  SetFocus();
}

// Only while the press that took the capture lasts: a capture lost to
// another window ends the drag.
void CXTColorPickerStatic::OnMouseMove(UINT nFlags, CPoint point) {
  if ((nFlags & MK_LBUTTON) && GetCapture() == this) PickerSetCursorAt(point.x, point.y, TRUE);
}

void CXTColorPickerStatic::OnLButtonUp(UINT, CPoint) {
  if (GetCapture() == this) ReleaseCapture();
}

void CXTColorPickerStatic::OnLButtonDblClk(UINT, CPoint point) {
  PickerSetCursorAt(point.x, point.y, TRUE);
  if (m_pSheet) m_pSheet->EndDialog(IDOK);
}

BOOL CXTColorPickerStatic::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message != WM_KEYDOWN || pMsg->hwnd != m_hWnd) return CStatic::PreTranslateMessage(pMsg);
  const UINT key = static_cast<UINT>(pMsg->wParam);
  if (key == VK_RETURN || key == VK_SPACE) {
    if (m_pSheet) m_pSheet->EndDialog(IDOK);
    return TRUE;
  }
  if (key != VK_LEFT && key != VK_UP && key != VK_RIGHT && key != VK_DOWN) return CStatic::PreTranslateMessage(pMsg);
  const CPoint next = CursorAfterKey(key);
  if (next != m_cursor) PickerSetCursorAt(next.x, next.y, TRUE);
  return TRUE;
}

void CXTColorPickerStatic::OnSetFocus(CWnd* pOldWnd) {
  CStatic::OnSetFocus(pOldWnd);
  s_pickerFocus = FocusKind();
  OnFocusChanged();
}

void CXTColorPickerStatic::OnKillFocus(CWnd* pNewWnd) {
  CStatic::OnKillFocus(pNewWnd);
  s_pickerFocus = kNoPicker;
  OnFocusChanged();
}

// A picker may go with the focus and no WM_KILLFOCUS: the next picker of
// its kind must not draw itself focused.
void CXTColorPickerStatic::OnDestroy() {
  if (HasFocus()) s_pickerFocus = kNoPicker;
  CStatic::OnDestroy();
}
