#include "toolkit/frame/FrameHelper.h"

#include "toolkit/common/SharedState.h"
#include "toolkit/customize/CustomizeBroker.h"
#include "toolkit/docking/BarState.h"
#include "toolkit/docking/DockBar.h"
#include "toolkit/docking/DockState.h"
#include "toolkit/docking/MiniDockFrameWnd.h"
#include "toolkit/frame/FrameWnd.h"
#include "toolkit/frame/ShortcutManager.h"
#include "toolkit/menus/MenuBar.h"

namespace {

// The four sides, in the order their dock bars are made and a bar's
// alignment is looked up.
const struct {
  UINT nID;
  DWORD dwStyle;
} kDockSides[] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT},
};

const DWORD kDockBarWindowStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

// The side whose alignment is exactly this one; 0 when it names none or several.
UINT DockBarIdForAlignment(DWORD dwStyle) {
  for (const auto& side : kDockSides)
    if ((side.dwStyle & CBRS_ALIGN_ANY) == (dwStyle & CBRS_ALIGN_ANY)) return side.nID;
  return 0;
}

CDockBar* FrameDockBar(CFrameWnd* pFrame, UINT nID) {
  CControlBar* pBar = pFrame->GetControlBar(nID);
  return pBar && pBar->IsDockBar() ? static_cast<CDockBar*>(pBar) : nullptr;
}

}  // namespace

CXTFrameHelper::CXTFrameHelper() { GetShortcutManager().SetSaveOnDestruction(FALSE); }

void CXTFrameHelper::InstallCoolMenus(CFrameWnd* pFrame, const UINT* pToolbarIds, int nCount) {
  GetSharedState().m_coolMenus = TRUE;
  m_coolMenu.Install(pFrame);
  m_coolMenu.LoadToolbars(pToolbarIds, nCount);
}

void CXTFrameHelper::EnableDocking(CFrameWnd* pFrame, DWORD dwDockStyle) {
  pFrame->m_pFloatingFrameClass = RUNTIME_CLASS(CXTMiniDockFrameWnd);
  for (const auto& side : kDockSides) {
    if (!(side.dwStyle & dwDockStyle & CBRS_ALIGN_ANY) || pFrame->GetControlBar(side.nID)) continue;
    CXTDockBar* pDockBar = new CXTDockBar;
    if (!pDockBar->Create(pFrame, side.dwStyle | kDockBarWindowStyle, side.nID)) {
      delete pDockBar;
      AfxThrowResourceException();
    }
  }
}

void CXTFrameHelper::EnableDockingEx(CFrameWnd* pFrame, DWORD dwDockStyle, DWORD dwFlatStyle) {
  EnableDocking(pFrame, dwDockStyle);
  for (const auto& side : kDockSides) {
    CControlBar* pBar = pFrame->GetControlBar(side.nID);
    if (pBar && pBar->IsKindOf(RUNTIME_CLASS(CXTDockBar))) static_cast<CXTDockBar*>(pBar)->SetDockStyle(dwFlatStyle);
  }
}

void CXTFrameHelper::DockControlBar(CFrameWnd* pFrame, CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
  if (!nDockBarID) nDockBarID = DockBarIdForAlignment(pBar->m_dwStyle);
  CDockBar* pDockBar = nDockBarID ? FrameDockBar(pFrame, nDockBarID) : nullptr;
  if (pDockBar) pFrame->CFrameWnd::DockControlBar(pBar, pDockBar, lpRect);
}

void CXTFrameHelper::DockControlBarLeftOf(CFrameWnd* pFrame, CControlBar* pBar, CControlBar* pLeftOf) {
  pFrame->RecalcLayout(TRUE);
  CRect rect;
  pLeftOf->GetWindowRect(&rect);
  rect.OffsetRect(1, 0);
  DockControlBar(pFrame, pBar, DockBarIdForAlignment(pLeftOf->m_dwStyle), &rect);
}

CXTMenuBar* CXTFrameHelper::FindMenuBar(CFrameWnd* pFrame) {
  CControlBar* pBar = pFrame ? pFrame->GetControlBar(CXTMenuBar::kBarId) : nullptr;
  return pBar && pBar->IsKindOf(RUNTIME_CLASS(CXTMenuBar)) ? static_cast<CXTMenuBar*>(pBar) : nullptr;
}

CMenu* CXTFrameHelper::GetMenu(CFrameWnd* pFrame) {
  CXTMenuBar* pMenuBar = FindMenuBar(pFrame);
  if (!pMenuBar && pFrame->IsKindOf(RUNTIME_CLASS(CMDIChildWnd))) {
    // A child frame's menu is what its MDI frame's bar shows.
    pMenuBar = FindMenuBar(static_cast<CMDIChildWnd*>(pFrame)->GetMDIFrame());
    if (!pMenuBar) return pFrame->GetMenu();
  }
  if (CMenu* pMenu = pFrame->GetMenu()) return pMenu;
  return pMenuBar && pMenuBar->m_hWnd ? CMenu::FromHandle(pMenuBar->GetMenu()) : nullptr;
}

BOOL CXTFrameHelper::HideCommands(CFrameWnd* pFrame, const UINT* pIds, int nCount) {
  CXTMenuBar* pMenuBar = FindMenuBar(pFrame);
  if (!pMenuBar) return FALSE;
  BOOL bResult = pMenuBar->HideCommands(pIds, nCount);
  if (GetSharedState().m_coolMenus) m_coolMenu.HideCommands(pIds, nCount);
  return bResult;
}

CXTFrameHelper* CXTFrameHelper::FromWindow(CWnd* pWnd) {
  return dynamic_cast<CXTFrameHelper*>(pWnd);
}

void CXTFrameHelper::TrackPopupFor(HMENU hMenu, CPoint point, CWnd* pOwner) {
  CXTFrameHelper* pHelper = FromWindow(pOwner);
  if (pHelper && GetSharedState().m_coolMenus)
    pHelper->m_coolMenu.TrackPopupMenuEx(hMenu, 0, point.x, point.y, pOwner, nullptr, TRUE);
  else
    ::TrackPopupMenuEx(hMenu, 0, point.x, point.y, pOwner->m_hWnd, nullptr);
}

BOOL CXTFrameHelper::TranslateForMenuBar(CFrameWnd* pFrame, MSG* pMsg) {
  const CXTShortcutManager& shortcuts = GetShortcutManager();
  if (shortcuts.IsActive() && shortcuts.IsShortcutMessage(pMsg)) return FALSE;
  CXTMenuBar* pMenuBar = FindMenuBar(pFrame);
  return pMenuBar && pMenuBar->m_hWnd && pMenuBar->TranslateFrameMessage(pMsg);
}

CView* CXTFrameHelper::SwitchToView(CFrameWnd* pFrame, CRuntimeClass* pViewClass, CDocument* pDoc,
                                    CCreateContext* pContext) {
  CView* pOldView = pFrame->GetActiveView();
  if (!pDoc && pOldView) pDoc = pOldView->GetDocument();
  CCreateContext context;
  if (!pContext) {
    context.m_pNewViewClass = pViewClass;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewDocTemplate = pDoc ? pDoc->GetDocTemplate() : nullptr;
    context.m_pLastView = pOldView;
    context.m_pCurrentFrame = pFrame;
    pContext = &context;
  }
  // The old view gives up the pane's id first, so the layout places the new one.
  if (pOldView) pOldView->SetDlgCtrlID(0);
  CWnd* pWnd = pFrame->CreateView(pContext, AFX_IDW_PANE_FIRST);
  if (!pWnd || !pWnd->IsKindOf(RUNTIME_CLASS(CView))) {
    if (pOldView) pOldView->SetDlgCtrlID(AFX_IDW_PANE_FIRST);
    if (pWnd) pWnd->DestroyWindow();
    return nullptr;
  }
  CView* pNewView = static_cast<CView*>(pWnd);
  pNewView->OnInitialUpdate();
  pFrame->SetActiveView(pNewView, TRUE);
  pFrame->RecalcLayout(TRUE);
  if (pOldView) pOldView->DestroyWindow();
  return pNewView;
}

BOOL CXTFrameHelper::RegisterFrameClass(CREATESTRUCTA& cs, UINT nIconID) {
  HICON hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIconID));
  cs.lpszClass = AfxRegisterWndClass(0, nullptr, nullptr, hIcon);
  return TRUE;
}

void CXTFrameHelper::GetDockState(CFrameWnd* pFrame, CDockState& state) { XTGetDockState(pFrame, state); }

void CXTFrameHelper::SetDockState(CFrameWnd* pFrame, const CDockState& state) {
  pFrame->CFrameWnd::SetDockState(state);
}

// The user's own tool bars exist before the dock state places them.
void CXTFrameHelper::LoadBarState(CFrameWnd* pFrame, LPCSTR lpszProfileName) {
  GetCustomizeBroker().LoadUserBars(pFrame, lpszProfileName);
  CXTDockState state;
  XTReadBarState(pFrame, lpszProfileName, state);
  SetDockState(pFrame, state);
}

BOOL CXTFrameHelper::SaveBarState(CFrameWnd* pFrame, LPCSTR lpszProfileName) {
  GetCustomizeBroker().SaveUserBars(pFrame, lpszProfileName);
  CXTDockState state;
  GetDockState(pFrame, state);
  state.SaveState(lpszProfileName);
  return TRUE;
}

void CXTFrameHelper::ReleaseShortcuts(CFrameWnd* pFrame) {
  CXTShortcutManager& shortcuts = GetShortcutManager();
  if (shortcuts.IsActive()) shortcuts.SaveState(FALSE);
  shortcuts.ForgetFrame(pFrame);
}
