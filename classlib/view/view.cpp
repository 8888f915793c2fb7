#include "classlib/view/view.h"

#include "classlib/document/document.h"
#include "classlib/view/splitter.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_PAINT()
  ON_WM_MOUSEACTIVATE()
  ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMessage)
  ON_COMMAND_EX(ID_NEXT_PANE, OnNextPaneCmd)
  ON_COMMAND_EX(ID_PREV_PANE, OnNextPaneCmd)
  ON_UPDATE_COMMAND_UI(ID_NEXT_PANE, OnUpdateNextPaneMenu)
  ON_UPDATE_COMMAND_UI(ID_PREV_PANE, OnUpdateNextPaneMenu)
END_MESSAGE_MAP()

CView::CView() = default;

CView::~CView() {
  if (m_pDocument) m_pDocument->RemoveView(this);
}

void CView::PostNcDestroy() { delete this; }

BOOL CView::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!cs.lpszClass) {
    AfxDeferRegisterClass(AFX_WNDFRAMEORVIEW_REG);
    cs.lpszClass = AFX_WNDFRAMEORVIEW;
  }
  cs.style |= WS_CLIPSIBLINGS;
  // A border becomes the sunken edge views have.
  if (cs.style & WS_BORDER) {
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    cs.style &= ~WS_BORDER;
  }
  return TRUE;
}

int CView::OnCreate(LPCREATESTRUCTA lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  CCreateContext* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
  if (pContext && pContext->m_pCurrentDoc) pContext->m_pCurrentDoc->AddView(this);
  return 0;
}

void CView::OnDestroy() {
  CFrameWnd* pFrame = GetParentFrame();
  if (pFrame && pFrame->GetActiveView() == this) pFrame->SetActiveView(nullptr);
  CWnd::OnDestroy();
}

void CView::OnPaint() {
  CPaintDC dc(this);
  OnDraw(&dc);
}

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM) {
  OnInitialUpdate();
  return 0;
}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(TRUE); }

// The view takes the focus only while its frame is the active window.
void CView::OnActivateView(BOOL bActivate, CView*, CView*) {
  if (!bActivate) return;
  CWnd* pTop = GetTopLevelParent();
  if (pTop && ::GetActiveWindow() == pTop->m_hWnd) SetFocus();
}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
  int nResult = static_cast<int>(Default());
  if (nResult == MA_NOACTIVATE || nResult == MA_NOACTIVATEANDEAT) return nResult;
  if (CFrameWnd* pFrame = GetParentFrame()) {
    HWND hWndFocus = ::GetFocus();
    if (pFrame->GetActiveView() == this && m_hWnd != hWndFocus && !::IsChild(m_hWnd, hWndFocus))
      OnActivateView(TRUE, this, this);
    else
      pFrame->SetActiveView(this);
  }
  return nResult;
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

CSplitterWnd* CView::GetParentSplitter(const CWnd* pWnd, BOOL bAnyState) {
  CWnd* pParent = pWnd ? CWnd::FromHandlePermanent(::GetParent(pWnd->m_hWnd)) : nullptr;
  if (!pParent || !pParent->IsKindOf(RUNTIME_CLASS(CSplitterWnd))) return nullptr;
  if (!bAnyState)
    for (HWND h = pWnd->m_hWnd; h; h = ::GetParent(h))
      if (::IsIconic(h)) return nullptr;
  return static_cast<CSplitterWnd*>(pParent);
}

BOOL CView::OnNextPaneCmd(UINT nID) {
  CSplitterWnd* pSplitter = GetParentSplitter(this, TRUE);
  if (!pSplitter) return FALSE;
  pSplitter->ActivateNext(nID == ID_PREV_PANE);
  return TRUE;
}

void CView::OnUpdateNextPaneMenu(CCmdUI* pCmdUI) {
  CSplitterWnd* pSplitter = GetParentSplitter(this, FALSE);
  pCmdUI->Enable(pSplitter && pSplitter->CanActivateNext(pCmdUI->m_nID == ID_PREV_PANE));
}
