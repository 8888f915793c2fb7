#include "toolkit/controls/DeferredInit.h"

#include "toolkit/controls/ControlMessages.h"

void CXTDeferredInit::Post(CWnd& wnd) {
  if (m_nPending) wnd.PostMessage(XTWM_INITCONTROL, 0, ++m_nPending);
}

BOOL CXTDeferredInit::Accept(LPARAM lParam) {
  if (!m_nPending || lParam != m_nPending) return FALSE;
  m_nPending = 0;
  return TRUE;
}

void ReapplyOwnRect(CWnd& wnd, UINT nExtraFlags) {
  CRect rect;
  wnd.GetWindowRect(&rect);
  wnd.GetParent()->ScreenToClient(&rect);
  wnd.SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                   SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOACTIVATE | nExtraFlags);
}
