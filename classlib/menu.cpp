#include "classlib/menu.h"

#include "classlib/module.h"
#include "classlib/wnd.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

BOOL CMenu::Attach(HMENU hMenu) {
  if (!hMenu) return FALSE;
  m_hMenu = hMenu;
  AfxSetPermanent<CMenu>(hMenu, this);
  return TRUE;
}

HMENU CMenu::Detach() {
  HMENU h = m_hMenu;
  AfxRemovePermanent<CMenu>(h, this);
  m_hMenu = nullptr;
  return h;
}

BOOL CMenu::DestroyMenu() {
  HMENU h = Detach();
  return h ? ::DestroyMenu(h) : FALSE;
}

BOOL CMenu::LoadMenu(LPCSTR lpszResourceName) {
  return Attach(::LoadMenuA(AfxFindResourceHandle(lpszResourceName, RT_MENU), lpszResourceName));
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
  int n = ::GetMenuStringA(m_hMenu, nIDItem, nullptr, 0, nFlags);
  n = ::GetMenuStringA(m_hMenu, nIDItem, rString.GetBufferSetLength(n + 1), n + 1, nFlags);
  rString.ReleaseBuffer(n < 0 ? 0 : n);
  return n;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
  return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->m_hWnd : nullptr, lpRect);
}

BOOL CMenu::TrackPopupMenuEx(UINT fuFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm) {
  return ::TrackPopupMenuEx(m_hMenu, fuFlags, x, y, pWnd ? pWnd->m_hWnd : nullptr, lptpm);
}
