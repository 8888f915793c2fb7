// A frame's docking: its dock bars, docking and floating bars, and the
// bar state that can be saved and applied again.
#include <set>
#include <vector>

#include "classlib/docking/minidockframe.h"
#include "classlib/frame/framewnd.h"

namespace {
// The dock bars in the order they take their sides: top and bottom span
// the whole width, left and right what is between.
const struct {
  UINT nID;
  DWORD dwStyle;
} kDockBars[] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_TOP},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_BOTTOM},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_LEFT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_RIGHT},
};
}  // namespace

void CFrameWnd::EnableDocking(DWORD dwDockStyle) {
  m_pFloatingFrameClass = RUNTIME_CLASS(CMiniDockFrameWnd);
  for (const auto& side : kDockBars) {
    if (!(side.dwStyle & dwDockStyle & CBRS_ALIGN_ANY) || GetControlBar(side.nID)) continue;
    CDockBar* pDock = new CDockBar;
    if (!pDock->Create(this, WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CHILD | WS_VISIBLE | side.dwStyle, side.nID)) {
      delete pDock;
      AfxThrowResourceException();
    }
  }
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
  CControlBar* pDock = nDockBarID ? GetControlBar(nDockBarID) : nullptr;
  DockControlBar(pBar, pDock && pDock->IsDockBar() ? static_cast<CDockBar*>(pDock) : nullptr, lpRect);
}

void CFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  // Without a dock bar: the one on the bar's own side, else the first it may dock on.
  for (int pass = 0; pass < 2 && !pDockBar; ++pass) {
    DWORD wanted = pass == 0 ? pBar->m_dwStyle : pBar->m_dwDockStyle;
    for (const auto& side : kDockBars) {
      bool fits = pass == 0 ? (side.dwStyle & CBRS_ALIGN_ANY) == (wanted & CBRS_ALIGN_ANY)
                            : (side.dwStyle & wanted & CBRS_ALIGN_ANY) != 0;
      CControlBar* pDock = fits ? GetControlBar(side.nID) : nullptr;
      if (pDock && pDock->IsDockBar()) {
        pDockBar = static_cast<CDockBar*>(pDock);
        break;
      }
    }
  }
  if (pDockBar) pDockBar->DockControlBar(pBar, lpRect);
}

void CFrameWnd::ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  DockControlBar(pBar, pDockBar, lpRect);
}

CMiniDockFrameWnd* CFrameWnd::CreateFloatingFrame(DWORD dwStyle) {
  CRuntimeClass* pClass = m_pFloatingFrameClass ? m_pFloatingFrameClass : RUNTIME_CLASS(CMiniDockFrameWnd);
  CObject* pObject = pClass->CreateObject();
  if (!pObject || !pObject->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) {
    delete pObject;
    AfxThrowResourceException();
  }
  CMiniDockFrameWnd* pFrame = static_cast<CMiniDockFrameWnd*>(pObject);
  // A frame that fails to be created deletes itself.
  if (!pFrame->Create(this, dwStyle)) AfxThrowResourceException();
  return pFrame;
}

// The frame shows at the next idle time, sized to its bar and titled by it.
void CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle) {
  CDockBar* pOld = pBar->m_pDockBar;
  if (pOld && pOld->m_bFloating && pOld->GetDockedCount() == 1 && (dwStyle & pOld->m_dwStyle & CBRS_ALIGN_ANY)) {
    // Already alone in a floating frame: that frame just moves.
    CFrameWnd* pFrame = pOld->GetParentFrame();
    pFrame->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pFrame->RecalcLayout(TRUE);
    return;
  }
  if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
    dwStyle |= CBRS_SIZE_DYNAMIC;
    if (dwStyle & CBRS_ORIENT_VERT) dwStyle = (dwStyle & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_TOP;
  }
  CMiniDockFrameWnd* pFrame = CreateFloatingFrame(dwStyle);
  pFrame->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!pFrame->m_hWndOwner) pFrame->m_hWndOwner = pBar->m_hWnd;
  pFrame->m_wndDockBar.DockControlBar(pBar);
  pFrame->RecalcLayout(TRUE);
  if (pBar->GetStyle() & WS_VISIBLE) pFrame->m_nShowDelay = SW_SHOWNA;
}

DWORD CFrameWnd::CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar) {
  // A floating dock bar takes bars only when both allow several per frame.
  dwDockStyle &= CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI;
  if (ppDockBar) *ppDockBar = nullptr;
  for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
    CControlBar* pBar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
    if (!pBar->IsDockBar() || !pBar->IsWindowVisible()) continue;
    CDockBar* pDockBar = static_cast<CDockBar*>(pBar);
    if (!(pDockBar->m_dwStyle & dwDockStyle & CBRS_ALIGN_ANY)) continue;
    if (pDockBar->m_bFloating && !(dwDockStyle & pDockBar->m_dwStyle & CBRS_FLOAT_MULTI)) continue;
    CRect rectBar;
    pDockBar->GetWindowRect(&rectBar);
    // An empty dock bar is a line one pixel thick.
    if (rectBar.Width() == 0) ++rectBar.right;
    if (rectBar.Height() == 0) ++rectBar.bottom;
    CRect overlap;
    if (::IntersectRect(&overlap, &rectBar, &rect)) {
      if (ppDockBar) *ppDockBar = pDockBar;
      return pDockBar->m_dwStyle & dwDockStyle;
    }
  }
  return 0;
}

// ---- bar state

void CFrameWnd::GetDockState(CDockState& state) {
  state.Clear();
  for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
    CControlBar* pBar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
    CControlBarInfo* pInfo = new CControlBarInfo;
    pBar->GetBarInfo(pInfo);
    pInfo->m_pBar = nullptr;
    state.m_arrBarInfo.Add(pInfo);
  }
  state.SetScreenSize(CSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)));
}

// Bars the state's dock bars list leave their places first; a floating
// record gets a new floating frame, which goes again when none of its bars exist.
void CFrameWnd::SetDockState(const CDockState& state) {
  std::vector<CControlBarInfo*> infos;
  for (INT_PTR i = 0; i < state.m_arrBarInfo.GetSize(); ++i)
    if (state.m_arrBarInfo[i]) infos.push_back(state.m_arrBarInfo[i]);

  std::set<CControlBar*> listed;
  for (CControlBarInfo* pInfo : infos) {
    if (!pInfo->m_bDockBar) continue;
    for (INT_PTR i = 0; i < pInfo->m_arrBarID.GetSize(); ++i) {
      DWORD entry = pInfo->m_arrBarID[i];
      CControlBar* pBar = (entry & AFX_BARINFO_PLACEHOLDER) ? nullptr : GetControlBar(LOWORD(entry));
      if (pBar && !pBar->IsDockBar()) listed.insert(pBar);
    }
  }
  for (CControlBar* pBar : listed)
    if (pBar->m_pDockBar) {
      CDockBar* pOld = pBar->m_pDockBar;
      pBar->m_pDockBar = nullptr;
      // Parked on the frame, so an emptied floating frame does not take it along.
      ::SetParent(pBar->m_hWnd, m_hWnd);
      pOld->RemoveControlBar(pBar, -1, -1);
    }

  std::vector<CMiniDockFrameWnd*> floating;
  for (CControlBarInfo* pInfo : infos) {
    if (!pInfo->m_bDockBar) continue;
    CDockBar* pDockBar = nullptr;
    if (pInfo->m_bFloating) {
      CMiniDockFrameWnd* pFrame = CreateFloatingFrame(pInfo->m_bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
      pFrame->SetWindowPos(nullptr, pInfo->m_pointPos.x, pInfo->m_pointPos.y, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      floating.push_back(pFrame);
      pDockBar = &pFrame->m_wndDockBar;
    } else {
      CControlBar* pBar = GetControlBar(pInfo->m_nBarID);
      if (!pBar || !pBar->IsDockBar()) continue;
      pDockBar = static_cast<CDockBar*>(pBar);
    }
    pDockBar->SetBarInfo(pInfo, this);
  }
  // Every bar takes its record, docked or not: a status bar saved hidden stays hidden.
  for (CControlBarInfo* pInfo : infos) {
    if (pInfo->m_bDockBar) continue;
    CControlBar* pBar = GetControlBar(pInfo->m_nBarID);
    if (pBar && !pBar->IsDockBar()) pBar->SetBarInfo(pInfo, this);
  }
  // Bars the lists named no dock bar for go back to a side of their own.
  for (CControlBar* pBar : listed)
    if (!pBar->m_pDockBar) DockControlBar(pBar);
  for (CMiniDockFrameWnd* pFrame : floating) {
    if (pFrame->m_wndDockBar.GetDockedCount() == 0) {
      pFrame->DestroyWindow();
      continue;
    }
    pFrame->RecalcLayout(TRUE);
    if (pFrame->m_wndDockBar.GetDockedVisibleCount() > 0) pFrame->m_nShowDelay = SW_SHOWNA;
  }
  DelayRecalcLayout();
}
