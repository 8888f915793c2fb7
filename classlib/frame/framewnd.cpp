#include "classlib/frame/framewnd.h"

#include "classlib/dialog.h"
#include "classlib/document/document.h"
#include "classlib/view/view.h"
#include "classlib/winapp.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_CLOSE()
  ON_WM_SIZE()
  ON_WM_SETFOCUS()
  ON_WM_ACTIVATE()
  ON_WM_ERASEBKGND()
  ON_WM_NCACTIVATE()
  ON_WM_INITMENUPOPUP()
  ON_WM_MENUSELECT()
  ON_WM_ENTERIDLE()
  ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
  ON_MESSAGE(WM_POPMESSAGESTRING, OnPopMessageString)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
  ON_UPDATE_COMMAND_UI_RANGE(ID_INDICATOR_CAPS, ID_INDICATOR_SCRL, OnUpdateKeyIndicator)
  ON_COMMAND_EX_RANGE(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, OnBarCheck)
  ON_UPDATE_COMMAND_UI_RANGE(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, OnUpdateControlBarMenu)
  ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, OnToolTipText)
  ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, OnToolTipText)
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd() = default;

void CFrameWnd::PostNcDestroy() { delete this; }

// ---- the frames above a window

CFrameWnd* CWnd::GetParentFrame() const {
  for (HWND hWnd = m_hWnd ? ::GetParent(m_hWnd) : nullptr; hWnd; hWnd = ::GetParent(hWnd)) {
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return static_cast<CFrameWnd*>(pWnd);
  }
  return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const {
  CFrameWnd* pFrame = IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? const_cast<CFrameWnd*>(static_cast<const CFrameWnd*>(this))
                                                         : GetParentFrame();
  while (pFrame) {
    CFrameWnd* pParent = pFrame->GetParentFrame();
    if (!pParent) break;
    pFrame = pParent;
  }
  return pFrame;
}

// ---- creation

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!cs.lpszClass) {
    AfxDeferRegisterClass(AFX_WNDFRAMEORVIEW_REG);
    cs.lpszClass = AFX_WNDFRAMEORVIEW;
  }
  if (cs.style & FWS_ADDTOTITLE) cs.style |= FWS_PREFIXTITLE;
  cs.dwExStyle |= WS_EX_CLIENTEDGE;
  return TRUE;
}

BOOL CFrameWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext) {
  HMENU hMenu = nullptr;
  if (lpszMenuName) {
    hMenu = ::LoadMenuA(AfxFindResourceHandle(lpszMenuName, RT_MENU), lpszMenuName);
    if (!hMenu) {
      PostNcDestroy();
      return FALSE;
    }
  }
  m_strTitle = lpszWindowName;
  if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr, hMenu, pContext)) {
    // The window never took the menu.
    if (hMenu) ::DestroyMenu(hMenu);
    return FALSE;
  }
  return TRUE;
}

// A frame whose resources include an icon of its id gets a class of its own with that icon.
static LPCSTR IconWindowClass(UINT nIDResource) {
  LPCSTR name = MAKEINTRESOURCEA(nIDResource);
  HINSTANCE hInst = AfxFindResourceHandle(name, RT_GROUP_ICON);
  HICON hIcon = ::FindResourceA(hInst, name, RT_GROUP_ICON) ? ::LoadIconA(hInst, name) : nullptr;
  if (!hIcon) return nullptr;
  return AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW),
                             reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), hIcon);
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  m_nIDHelp = nIDResource;
  CString full;
  if (full.LoadString(nIDResource)) AfxExtractSubString(m_strTitle, full, 0);
  AfxDeferRegisterClass(AFX_WNDFRAMEORVIEW_REG);
  CString title = m_strTitle;
  if (!Create(IconWindowClass(nIDResource), title, dwDefaultStyle, rectDefault, pParentWnd,
              MAKEINTRESOURCEA(nIDResource), 0, pContext))
    return FALSE;
  m_hMenuDefault = ::GetMenu(m_hWnd);
  LoadAccelTable(MAKEINTRESOURCEA(nIDResource));
  if (!pContext) SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(LPCSTR lpszResourceName) {
  if (m_hAccelTable) return FALSE;
  HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_ACCELERATOR);
  m_hAccelTable = ::LoadAcceleratorsA(hInst, lpszResourceName);
  return m_hAccelTable != nullptr;
}

int CFrameWnd::OnCreate(LPCREATESTRUCTA lpcs) {
  return OnCreateHelper(lpcs, static_cast<CCreateContext*>(lpcs->lpCreateParams));
}

int CFrameWnd::OnCreateHelper(LPCREATESTRUCTA lpcs, CCreateContext* pContext) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  AfxGetThreadState()->m_frameList.push_back(m_hWnd);
  if (!OnCreateClient(lpcs, pContext)) return -1;
  PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
  RecalcLayout();
  return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCTA, CCreateContext* pContext) {
  if (pContext && pContext->m_pNewViewClass) return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
  return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
  CObject* pObject = pContext->m_pNewViewClass->CreateObject();
  if (!pObject || !pObject->IsKindOf(RUNTIME_CLASS(CWnd))) {
    delete pObject;
    return nullptr;
  }
  CWnd* pView = static_cast<CWnd*>(pObject);
  // A view that fails to be created deletes itself.
  if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(), this, nID, pContext)) return nullptr;
  if (pView->GetExStyle() & WS_EX_CLIENTEDGE) ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
  return pView;
}

void CFrameWnd::OnDestroy() {
  std::vector<HWND>& frames = AfxGetThreadState()->m_frameList;
  for (auto it = frames.begin(); it != frames.end(); ++it)
    if (*it == m_hWnd) {
      frames.erase(it);
      break;
    }
  if (m_hAccelTable) {
    ::DestroyAcceleratorTable(m_hAccelTable);
    m_hAccelTable = nullptr;
  }
  CWnd::OnDestroy();
}

// The document may refuse (its save question answered Cancel); closing the
// main frame closes every document, which destroys their frames.
void CFrameWnd::OnClose() {
  CDocument* pDocument = GetActiveDocument();
  if (pDocument && !pDocument->CanCloseFrame(this)) return;
  CWinApp* pApp = AfxGetApp();
  if (pApp && pApp->m_pMainWnd == this) {
    if (!pDocument && !pApp->SaveAllModified()) return;
    pApp->CloseAllDocuments(FALSE);
    if (!pApp->m_pMainWnd) return;
  }
  if (pDocument && pDocument->m_bAutoDelete && !pDocument->IsViewedOutside(this)) {
    pDocument->OnCloseDocument();
    return;
  }
  DestroyWindow();
}

void CFrameWnd::OnSize(UINT nType, int, int) {
  Default();
  if (nType != SIZE_MINIMIZED) RecalcLayout();
}

// The client is covered by the view; erasing it too would flicker.
BOOL CFrameWnd::OnEraseBkgnd(CDC* pDC) {
  if (m_pViewActive) return TRUE;
  return static_cast<BOOL>(Default());
}

// A frame whose floating frame is active keeps its caption active, unless it is disabled.
BOOL CFrameWnd::OnNcActivate(BOOL bActive) {
  if (m_nFlags & WF_STAYACTIVE) bActive = TRUE;
  if (!IsWindowEnabled()) bActive = FALSE;
  return static_cast<BOOL>(DefWindowProc(WM_NCACTIVATE, bActive, 0));
}

// A box or another window taking the activation takes the focus too: the
// frame notes where the focus was, and the active view where its own was.
void CFrameWnd::OnActivate(UINT nState, CWnd*, BOOL) {
  if (nState == WA_INACTIVE) {
    HWND hWndFocus = ::GetFocus();
    m_hWndFocusOnLeave = hWndFocus && ::IsChild(m_hWnd, hWndFocus) ? hWndFocus : nullptr;
    if (m_pViewActive) m_pViewActive->OnActivateFrame(WA_INACTIVE, this);
  }
  Default();
}

// Active again, the frame gives the focus back where it was while that
// window can still take it, else to the active view.
void CFrameWnd::OnSetFocus(CWnd*) {
  HWND hWndBack = m_hWndFocusOnLeave;
  m_hWndFocusOnLeave = nullptr;
  if (hWndBack && ::IsWindow(hWndBack) && ::IsChild(m_hWnd, hWndBack) && AfxCanTakeFocus(hWndBack))
    ::SetFocus(hWndBack);
  else if (m_pViewActive)
    m_pViewActive->SetFocus();
  else
    Default();
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
  if (nCmdShow == -1) {
    if (!IsWindowVisible())
      nCmdShow = SW_SHOWNORMAL;
    else if (IsIconic())
      nCmdShow = SW_RESTORE;
  }
  if (nCmdShow != -1) {
    ShowWindow(nCmdShow);
    ::BringWindowToTop(m_hWnd);
  }
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
  CView* pView = nullptr;
  if (!GetActiveView()) {
    // A child carrying its parent's id wins: a splitter's pane (0, 0).
    CWnd* pWnd = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
    if (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CView))) {
      pView = static_cast<CView*>(pWnd);
      SetActiveView(pView, FALSE);
    }
  }
  if (bMakeVisible) {
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    if (pView) pView->OnActivateFrame(WA_INACTIVE, this);
    int nCmdShow = -1;
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this) {
      nCmdShow = pApp->m_nCmdShow;
      pApp->m_nCmdShow = -1;
    }
    ActivateFrame(nCmdShow);
    if (pView) pView->OnActivateView(TRUE, pView, pView);
  }
  if (pDoc) pDoc->UpdateFrameCounts();
  OnUpdateFrameTitle(TRUE);
}

// ---- views and documents

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
  CView* pViewOld = m_pViewActive;
  if (pViewNew == pViewOld) return;
  m_pViewActive = nullptr;
  if (pViewOld && bNotify) pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
  // Deactivating the old view may have chosen another one already.
  if (m_pViewActive) return;
  m_pViewActive = pViewNew;
  if (pViewNew && bNotify) pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

CDocument* CFrameWnd::GetActiveDocument() {
  CView* pView = GetActiveView();
  return pView ? pView->GetDocument() : nullptr;
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  if (!(GetStyle() & FWS_ADDTOTITLE)) return;
  CDocument* pDoc = GetActiveDocument();
  UpdateFrameTitleForDocument(bAddToTitle && pDoc ? static_cast<LPCSTR>(pDoc->GetTitle()) : nullptr);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCSTR lpszDocName) {
  CString text;
  if (GetStyle() & FWS_PREFIXTITLE) {
    if (lpszDocName) {
      text = lpszDocName;
      if (m_nWindow > 0) {
        CString number;
        number.Format(":%d", m_nWindow);
        text += number;
      }
      text += " - ";
    }
    text += m_strTitle;
  } else {
    text = m_strTitle;
    if (lpszDocName) {
      text += " - ";
      text += lpszDocName;
      if (m_nWindow > 0) {
        CString number;
        number.Format(":%d", m_nWindow);
        text += number;
      }
    }
  }
  // Setting an equal text would only flicker the caption.
  CString current;
  GetWindowText(current);
  if (current != text) SetWindowText(text);
}

// ---- routing

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  CView* pView = GetActiveView();
  if (pView && pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  CWinApp* pApp = AfxGetApp();
  return pApp && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return FALSE;
  HACCEL hAccel = GetDefaultAccelerator();
  return hAccel && ::TranslateAcceleratorA(m_hWnd, hAccel, pMsg);
}
