#include "classlib/controls.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBoxEx, CComboBox)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)
IMPLEMENT_DYNAMIC(CRichEditCtrl, CWnd)

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, pResult);
  DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
  return TRUE;
}

// The owner-draw messages of list and combo boxes, as virtual calls on T.
template <class T>
static BOOL OwnerDrawNotify(T* self, UINT message, LPARAM lParam, LRESULT* pResult) {
  LRESULT result = TRUE;
  switch (message) {
    case WM_DRAWITEM: self->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)); break;
    case WM_MEASUREITEM: self->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam)); break;
    case WM_COMPAREITEM: result = self->CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam)); break;
    case WM_DELETEITEM: self->DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam)); break;
    default: return FALSE;
  }
  if (pResult) *pResult = result;
  return TRUE;
}

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return OwnerDrawNotify(this, message, lParam, pResult) || CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return OwnerDrawNotify(this, message, lParam, pResult) || CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

// The text of item nIndex, asked for by its length first.
static void ItemText(HWND hWnd, UINT lengthMessage, UINT textMessage, int nIndex, CString& rString) {
  int n = static_cast<int>(::SendMessageA(hWnd, lengthMessage, nIndex, 0));
  if (n < 0) {
    rString.Empty();
    return;
  }
  n = static_cast<int>(::SendMessageA(hWnd, textMessage, nIndex, reinterpret_cast<LPARAM>(rString.GetBufferSetLength(n + 1))));
  rString.ReleaseBuffer(n < 0 ? 0 : n);
}

void CListBox::GetText(int nIndex, CString& rString) const { ItemText(m_hWnd, LB_GETTEXTLEN, LB_GETTEXT, nIndex, rString); }

UINT CListBox::ItemFromPoint(CPoint pt, BOOL& bOutside) const {
  DWORD result = static_cast<DWORD>(SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y)));
  bOutside = HIWORD(result) != 0;
  return LOWORD(result);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const {
  ItemText(m_hWnd, CB_GETLBTEXTLEN, CB_GETLBTEXT, nIndex, rString);
}

CImageList* CComboBoxEx::SetImageList(CImageList* pImageList) {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
      SendMessage(CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(pImageList ? pImageList->m_hImageList : nullptr))));
}

// ---- CToolTipCtrl

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
  AfxDeferRegisterClass(AFX_WNDCOMMCTL_TOOLTIPS_REG);
  return CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd ? pParentWnd->m_hWnd : nullptr, nullptr);
}

void CToolTipCtrl::FillInToolInfo(TOOLINFOA& ti, CWnd* pWnd, UINT_PTR nIDTool) {
  ti = TOOLINFOA();
  ti.cbSize = sizeof ti;
  if (nIDTool == 0) {
    ti.hwnd = ::GetParent(pWnd->m_hWnd);
    ti.uFlags = TTF_IDISHWND;
    ti.uId = reinterpret_cast<UINT_PTR>(pWnd->m_hWnd);
  } else {
    ti.hwnd = pWnd->m_hWnd;
    ti.uId = nIDTool;
  }
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
  TOOLINFOA ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  if (lpRectTool) ti.rect = *lpRectTool;
  ti.uFlags |= TTF_SUBCLASS;
  ti.lpszText = const_cast<LPSTR>(lpszText);
  return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)));
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
  CString text;
  text.LoadString(nIDText);
  return AddTool(pWnd, text, lpRectTool, nIDTool);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFOA ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFOA ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  ti.lpszText = const_cast<LPSTR>(lpszText);
  SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool) {
  CString text;
  text.LoadString(nIDText);
  UpdateTipText(text, pWnd, nIDTool);
}

BOOL CToolTipCtrl::GetToolInfo(TOOLINFOA* pToolInfo, CWnd* pWnd, UINT_PTR nIDTool) const {
  FillInToolInfo(*pToolInfo, pWnd, nIDTool);
  return static_cast<BOOL>(SendMessage(TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(pToolInfo)));
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect) {
  TOOLINFOA ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  ti.rect = *lpRect;
  SendMessage(TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&ti));
}
