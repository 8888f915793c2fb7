#include "classlib/frame/mdi.h"

#include "classlib/view/view.h"
#include "classlib/winapp.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
  ON_COMMAND_EX(ID_WINDOW_ARRANGE, OnMDIWindowCmd)
  ON_COMMAND_EX(ID_WINDOW_CASCADE, OnMDIWindowCmd)
  ON_COMMAND_EX(ID_WINDOW_TILE_HORZ, OnMDIWindowCmd)
  ON_COMMAND_EX(ID_WINDOW_TILE_VERT, OnMDIWindowCmd)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
  ON_WM_CREATE()
  ON_MESSAGE(WM_MDIACTIVATE, OnMDIActivate)
END_MESSAGE_MAP()

// ---- the frame

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCTA lpcs, CCreateContext*) {
  CMenu* pWindowMenu = nullptr;
  if (HMENU hMenu = ::GetMenu(m_hWnd)) {
    int count = ::GetMenuItemCount(hMenu);
    if (count >= 2) pWindowMenu = CMenu::FromHandle(::GetSubMenu(hMenu, count - 2));
  }
  return CreateClient(lpcs, pWindowMenu);
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCTA lpcs, CMenu* pWindowMenu) {
  m_hWindowMenu = pWindowMenu ? pWindowMenu->m_hMenu : nullptr;
  CLIENTCREATESTRUCT ccs = {m_hWindowMenu, AFX_IDM_FIRST_MDICHILD};
  DWORD dwStyle = WS_VISIBLE | WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | MDIS_ALLCHILDSTYLES;
  // The frame's scroll bars belong to the client.
  DWORD scroll = static_cast<DWORD>(lpcs->style) & (WS_HSCROLL | WS_VSCROLL);
  if (scroll) {
    dwStyle |= scroll;
    ModifyStyle(WS_HSCROLL | WS_VSCROLL, 0, SWP_NOREDRAW | SWP_FRAMECHANGED);
  }
  m_hWndMDIClient = ::CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr, dwStyle, 0, 0, 0, 0, m_hWnd,
                                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)),
                                      AfxGetInstanceHandle(), &ccs);
  return m_hWndMDIClient != nullptr;
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefFrameProcA(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const {
  if (!m_hWndMDIClient) return nullptr;
  HWND hActive = reinterpret_cast<HWND>(::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(pbMaximized)));
  CWnd* pWnd = CWnd::FromHandlePermanent(hActive);
  return pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)) ? static_cast<CMDIChildWnd*>(pWnd) : nullptr;
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate) {
  ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pWndActivate->m_hWnd), 0);
}

CMenu* CMDIFrameWnd::MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu) {
  LRESULT previous = ::SendMessageA(m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(pFrameMenu ? pFrameMenu->m_hMenu : nullptr),
                                    reinterpret_cast<LPARAM>(pWindowMenu ? pWindowMenu->m_hMenu : nullptr));
  return CMenu::FromHandle(reinterpret_cast<HMENU>(previous));
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU) {
  CMDIChildWnd* pActive = MDIGetActive();
  HMENU hMenu = pActive ? pActive->m_hMenuShared : nullptr;
  CMenu* pWindowMenu = nullptr;
  if (hMenu) {
    int count = ::GetMenuItemCount(hMenu);
    if (count >= 2) pWindowMenu = CMenu::FromHandle(::GetSubMenu(hMenu, count - 2));
  }
  MDISetMenu(hMenu ? CMenu::FromHandle(hMenu) : nullptr, pWindowMenu);
  DrawMenuBar();
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame() {
  CMDIChildWnd* pActive = MDIGetActive();
  return pActive ? static_cast<CFrameWnd*>(pActive) : this;
}

CDocument* CMDIFrameWnd::GetActiveDocument() {
  CMDIChildWnd* pActive = MDIGetActive();
  return pActive ? pActive->GetActiveDocument() : CFrameWnd::GetActiveDocument();
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  CMDIChildWnd* pActive = MDIGetActive();
  if (pActive && pActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// The window menu's children (0xFF00 and up) and other system-range items
// nobody handles go to the frame's default procedure.
BOOL CMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (CFrameWnd::OnCommand(wParam, lParam)) return TRUE;
  if (lParam == 0 && (LOWORD(wParam) & 0xF000) == 0xF000) {
    DefWindowProc(WM_COMMAND, wParam, lParam);
    return TRUE;
  }
  return FALSE;
}

// The active child first, then the MDI keys (Ctrl+F6, Ctrl+F4), then the frame's accelerators.
BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  CMDIChildWnd* pActive = MDIGetActive();
  if (pActive && pActive->PreTranslateMessage(pMsg)) return TRUE;
  if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return FALSE;
  if (::TranslateMDISysAccel(m_hWndMDIClient, pMsg)) return TRUE;
  HACCEL hAccel = GetDefaultAccelerator();
  return hAccel && ::TranslateAcceleratorA(m_hWnd, hAccel, pMsg);
}

BOOL CMDIFrameWnd::OnMDIWindowCmd(UINT nID) {
  switch (nID) {
    case ID_WINDOW_ARRANGE: MDIIconArrange(); return TRUE;
    case ID_WINDOW_CASCADE: MDICascade(); return TRUE;
    case ID_WINDOW_TILE_HORZ: MDITile(MDITILE_HORIZONTAL); return TRUE;
    case ID_WINDOW_TILE_VERT: MDITile(MDITILE_VERTICAL); return TRUE;
    default: return FALSE;
  }
}

// ---- the children

CMDIChildWnd::~CMDIChildWnd() {
  if (m_hMenuShared) ::DestroyMenu(m_hMenuShared);
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const {
  HWND hClient = ::GetParent(m_hWnd);
  CWnd* pFrame = hClient ? CWnd::FromHandlePermanent(::GetParent(hClient)) : nullptr;
  return pFrame && pFrame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)) ? static_cast<CMDIFrameWnd*>(pFrame) : nullptr;
}

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCTA& cs) {
  cs.style |= WS_CHILD;
  return CFrameWnd::PreCreateWindow(cs);
}

static CMDIFrameWnd* MainMDIFrame() {
  CWnd* pMain = AfxGetMainWnd();
  return pMain && pMain->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)) ? static_cast<CMDIFrameWnd*>(pMain) : nullptr;
}

BOOL CMDIChildWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd, CCreateContext* pContext) {
  if (!pParentWnd) pParentWnd = MainMDIFrame();
  if (!pParentWnd || !pParentWnd->m_hWndMDIClient) {
    PostNcDestroy();
    return FALSE;
  }
  CREATESTRUCTA cs = {pContext, AfxGetInstanceHandle(), nullptr, pParentWnd->m_hWnd, rect.bottom - rect.top,
                      rect.right - rect.left, rect.top, rect.left, static_cast<LONG>(dwStyle), lpszWindowName,
                      lpszClassName, 0};
  if (rect.left == CW_USEDEFAULT) cs.cx = cs.cy = CW_USEDEFAULT;
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  m_strTitle = lpszWindowName ? lpszWindowName : "";
  MDICREATESTRUCTA mcs = {cs.lpszClass, cs.lpszName, cs.hInstance, cs.x, cs.y, cs.cx, cs.cy,
                          static_cast<DWORD>(cs.style) & ~(WS_MAXIMIZE | WS_VISIBLE), reinterpret_cast<LPARAM>(pContext)};
  AfxHookWindowCreate(this);
  HWND hWnd = reinterpret_cast<HWND>(::SendMessageA(pParentWnd->m_hWndMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  if (!AfxUnhookWindowCreate() && !hWnd) PostNcDestroy();
  if (!hWnd) return FALSE;
  // Made invisible; showing it is what activates it.
  if (cs.style & WS_VISIBLE) {
    ::BringWindowToTop(hWnd);
    ShowWindow((cs.style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    pParentWnd->MDIActivate(this);
    ::SendMessageA(pParentWnd->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
  }
  return TRUE;
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  m_nIDHelp = nIDResource;
  CString full;
  CString title;
  if (full.LoadString(nIDResource)) AfxExtractSubString(title, full, 0);
  LPCSTR name = MAKEINTRESOURCEA(nIDResource);
  HINSTANCE hInst = AfxFindResourceHandle(name, RT_MENU);
  if (!m_hMenuShared && ::FindResourceA(hInst, name, RT_MENU)) m_hMenuShared = ::LoadMenuA(hInst, name);
  LoadAccelTable(name);
  CMDIFrameWnd* pFrame = pParentWnd && pParentWnd->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)) ? static_cast<CMDIFrameWnd*>(pParentWnd) : nullptr;
  AfxDeferRegisterClass(AFX_WNDFRAMEORVIEW_REG);
  if (!Create(nullptr, title, dwDefaultStyle, rectDefault, pFrame, pContext)) return FALSE;
  if (!pContext) SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  return TRUE;
}

int CMDIChildWnd::OnCreate(LPCREATESTRUCTA lpcs) {
  MDICREATESTRUCTA* mcs = static_cast<MDICREATESTRUCTA*>(lpcs->lpCreateParams);
  return OnCreateHelper(lpcs, mcs ? reinterpret_cast<CCreateContext*>(mcs->lParam) : nullptr);
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefMDIChildProcA(m_hWnd, message, wParam, lParam);
}

BOOL CMDIChildWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  MDIDestroy();
  return TRUE;
}

void CMDIChildWnd::ActivateFrame(int nCmdShow) {
  CFrameWnd::ActivateFrame(nCmdShow);
  if (CMDIFrameWnd* pFrame = GetMDIFrame()) pFrame->MDIActivate(this);
}

BOOL CMDIChildWnd::PreTranslateMessage(MSG* pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  CMDIFrameWnd* pFrame = GetMDIFrame();
  return pFrame && m_hAccelTable && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST &&
         ::TranslateAcceleratorA(pFrame->m_hWnd, m_hAccelTable, pMsg);
}

// Activation makes the first view active and switches the frame's menu;
// the last child going leaves the frame with no child menu.
LRESULT CMDIChildWnd::OnMDIActivate(WPARAM, LPARAM lParam) {
  LRESULT result = Default();
  CMDIFrameWnd* pFrame = GetMDIFrame();
  HWND hActivated = reinterpret_cast<HWND>(lParam);
  if (hActivated == m_hWnd) {
    if (!GetActiveView()) {
      CWnd* pPane = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
      if (pPane && pPane->IsKindOf(RUNTIME_CLASS(CView))) SetActiveView(static_cast<CView*>(pPane));
    }
    if (pFrame) pFrame->OnUpdateFrameMenu(nullptr);
  } else if (!hActivated && pFrame) {
    pFrame->OnUpdateFrameMenu(nullptr);
  }
  return result;
}
