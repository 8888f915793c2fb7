#include "classlib/dialog.h"
#include "classlib/view/view.h"

IMPLEMENT_DYNCREATE(CFormView, CScrollView)

BEGIN_MESSAGE_MAP(CFormView, CScrollView)
  ON_WM_CREATE()
  ON_WM_SETFOCUS()
  ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
END_MESSAGE_MAP()

BOOL CFormView::Create(LPCSTR, LPCSTR, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, void* lpParam) {
  HINSTANCE hInst = nullptr;
  LPCDLGTEMPLATEA lpTemplate = AfxLoadDialogTemplate(m_lpszTemplateName, &hInst);
  if (!lpTemplate) {
    PostNcDestroy();
    return FALSE;
  }
  // A dialog's WM_CREATE cannot carry the context: the handler takes it from here.
  m_pCreateContext = static_cast<CCreateContext*>(lpParam);
  AfxDeferRegisterClass(AFX_WNDCOMMCTLS_REG);
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateDialogIndirectParamA(hInst, lpTemplate, pParentWnd ? pParentWnd->m_hWnd : nullptr, AfxDlgProc, 0);
  if (!AfxUnhookWindowCreate() && !hWnd) PostNcDestroy();
  m_pCreateContext = nullptr;
  if (!hWnd) return FALSE;

  // The template decides the style, but the caller decides the border.
  ModifyStyle(WS_BORDER | WS_CAPTION, dwStyle & WS_BORDER);
  SetDlgCtrlID(static_cast<int>(nID));
  CRect rectTemplate;
  GetWindowRect(&rectTemplate);
  SetScrollSizes(MM_TEXT, rectTemplate.Size());
  if (!AfxExecuteDlgInit(m_hWnd, m_lpszTemplateName)) {
    DestroyWindow();
    return FALSE;
  }
  SetWindowPos(nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (dwStyle & WS_VISIBLE) ShowWindow(SW_SHOWNORMAL);
  return TRUE;
}

int CFormView::OnCreate(LPCREATESTRUCTA lpcs) {
  CREATESTRUCTA cs = *lpcs;
  cs.lpCreateParams = m_pCreateContext;
  return CScrollView::OnCreate(&cs);
}

// The focus goes into the form only when the view is activated.
LRESULT CFormView::HandleInitDialog(WPARAM, LPARAM) { return FALSE; }

void CFormView::OnInitialUpdate() {
  UpdateData(FALSE);
  CScrollView::OnInitialUpdate();
}

BOOL CFormView::SaveFocusControl() {
  HWND hWndFocus = ::GetFocus();
  if (!hWndFocus || !::IsChild(m_hWnd, hWndFocus)) return FALSE;
  m_hWndFocus = hWndFocus;
  return TRUE;
}

void CFormView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
  if (SaveFocusControl()) return;
  CScrollView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void CFormView::OnActivateFrame(UINT nState, CFrameWnd*) {
  if (nState == WA_INACTIVE) SaveFocusControl();
}

// The control that had the focus gets it back while it can still take it;
// one hidden or disabled since (on a page no longer shown) gives way to the
// form's first tab stop.
void CFormView::OnSetFocus(CWnd*) {
  if (m_hWndFocus && ::IsWindow(m_hWndFocus) && ::IsChild(m_hWnd, m_hWndFocus) && AfxCanTakeFocus(m_hWndFocus)) {
    ::SetFocus(m_hWndFocus);
    return;
  }
  m_hWndFocus = nullptr;
  if (HWND hWndFirst = ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE)) {
    ::SetFocus(hWndFirst);
    return;
  }
  Default();
}

BOOL CFormView::PreTranslateMessage(MSG* pMsg) {
  if (CScrollView::PreTranslateMessage(pMsg)) return TRUE;
  // IsDialogMessage would eat the frames' accelerators: they go first.
  for (CFrameWnd* pFrame = GetParentFrame(); pFrame; pFrame = pFrame->GetParentFrame())
    if (pFrame->PreTranslateMessage(pMsg)) return TRUE;
  if (!::GetWindow(m_hWnd, GW_CHILD)) return FALSE;
  return AfxIsDialogInput(m_hWnd, pMsg) && IsDialogMessage(pMsg);
}
