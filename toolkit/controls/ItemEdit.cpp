#include "toolkit/controls/ItemEdit.h"

#include "toolkit/common/SharedState.h"
#include "toolkit/controls/BrowseButton.h"
#include "toolkit/controls/ControlMessages.h"
#include "toolkit_resource.h"

IMPLEMENT_DYNAMIC(CXTItemEdit, CXTBrowseEdit)

BEGIN_MESSAGE_MAP(CXTItemEdit, CXTBrowseEdit)
  ON_WM_KILLFOCUS()
  ON_WM_CHAR()
END_MESSAGE_MAP()

CXTItemEdit::CXTItemEdit(CWnd* pList, const CRect& rect, CString& strText, DWORD dwBStyle, BOOL bAutoDelete)
    : m_bAutoDelete(bAutoDelete), m_strWindowText(strText) {
  SetBrowseStyle(dwBStyle);
  if (!Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rect, pList, IDC_XT_ITEMEDIT)) return;
  SetFont(&GetSharedState().GetFont(CXTSharedState::kFontNormal));
  SetWindowText(strText);
  SetSel(0, -1);
  SetFocus();
}

BOOL CXTItemEdit::HandleEndKey(UINT nChar) {
  if (nChar != VK_RETURN && nChar != VK_ESCAPE) return FALSE;
  if (nChar == VK_ESCAPE) m_bEscapeKey = TRUE;
  EndLabelEdit();
  return TRUE;
}

BOOL CXTItemEdit::PreTranslateMessage(MSG* pMsg) {
  bool key = pMsg->message == WM_KEYDOWN || pMsg->message == WM_KEYUP;
  if (key && pMsg->hwnd == m_hWnd && HandleEndKey(static_cast<UINT>(pMsg->wParam))) return TRUE;
  return CXTBrowseEdit::PreTranslateMessage(pMsg);
}

void CXTItemEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (HandleEndKey(nChar)) return;
  CXTBrowseEdit::OnChar(nChar, nRepCnt, nFlags);
}

void CXTItemEdit::OnKillFocus(CWnd* pNewWnd) {
  CXTBrowseEdit::OnKillFocus(pNewWnd);
  CXTBrowseBtn* pButton = GetBrowseButton();
  if (pNewWnd && pButton && pNewWnd->m_hWnd == pButton->m_hWnd) return;
  if (IsBrowsing()) return;
  EndLabelEdit();
}

// Runs once: the list hears the outcome, then the editor and its button close.
void CXTItemEdit::EndLabelEdit() {
  if (m_bIsClosing) return;
  m_bIsClosing = TRUE;
  CWnd* pList = GetParent();
  UINT code = XTLBN_NOCHANGE;
  if (!m_bEscapeKey) {
    GetWindowText(m_strWindowText);
    code = XTLBN_ENDEDIT;
  }
  if (CXTBrowseBtn* pButton = GetBrowseButton(); pButton && pButton->m_hWnd) pButton->PostMessage(WM_CLOSE);
  if (!m_bClosePosted) {
    m_bClosePosted = TRUE;
    PostMessage(WM_CLOSE);
  }
  if (pList)
    pList->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_XT_ITEMEDIT, code), reinterpret_cast<LPARAM>(m_hWnd));
}

void CXTItemEdit::CloseSilently() {
  m_bIsClosing = TRUE;
  if (m_hWnd) DestroyWindow();
}

void CXTItemEdit::PostNcDestroy() {
  CXTBrowseEdit::PostNcDestroy();
  if (m_bAutoDelete) delete this;
}
