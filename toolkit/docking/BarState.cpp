#include "toolkit/docking/BarState.h"

#include "toolkit/docking/DockState.h"

namespace {

// A list entry names a bar by its low word; above it, a placeholder flag.
bool FrameHasBar(CFrameWnd* pFrame, DWORD entry) { return pFrame->GetControlBar(LOWORD(entry)) != nullptr; }

void PruneIdList(CFrameWnd* pFrame, CDWordArray& ids) {
  for (INT_PTR j = ids.GetSize() - 1; j >= 0; --j)
    if (ids[j] != 0 && !FrameHasBar(pFrame, ids[j])) ids.RemoveAt(j);
}

// Stored records do not say which are dock bars: a floating record is the
// dock bar of a floating frame, any other is what the frame's bar of that id is.
void MarkDockBars(CFrameWnd* pFrame, CDockState& state) {
  for (INT_PTR i = 0; i < state.m_arrBarInfo.GetSize(); ++i) {
    CControlBarInfo* pInfo = state.m_arrBarInfo[i];
    CControlBar* pBar = pFrame->GetControlBar(pInfo->m_nBarID);
    pInfo->m_bDockBar = pInfo->m_bFloating || (pBar && pBar->IsDockBar());
  }
}

}  // namespace

void XTGetDockState(CFrameWnd* pFrame, CDockState& state) {
  pFrame->GetDockState(state);
  for (INT_PTR i = 0; i < state.m_arrBarInfo.GetSize(); ++i) {
    CControlBarInfo* pInfo = state.m_arrBarInfo[i];
    if (!pInfo->m_bDockBar) pInfo->m_bFloating = FALSE;
  }
}

void XTPruneDockState(CFrameWnd* pFrame, CDockState& state) {
  for (INT_PTR i = state.m_arrBarInfo.GetSize() - 1; i >= 0; --i) {
    CControlBarInfo* pInfo = state.m_arrBarInfo[i];
    PruneIdList(pFrame, pInfo->m_arrBarID);
    if (!pInfo->m_bFloating && !FrameHasBar(pFrame, pInfo->m_nBarID)) {
      state.m_arrBarInfo.RemoveAt(i);
      delete pInfo;
    }
  }
}

void XTReadBarState(CFrameWnd* pFrame, LPCSTR lpszProfileName, CXTDockState& state) {
  state.LoadState(lpszProfileName);
  XTPruneDockState(pFrame, state);
  MarkDockBars(pFrame, state);
}

void XTLoadBarState(CFrameWnd* pFrame, LPCSTR lpszProfileName) {
  CXTDockState state;
  XTReadBarState(pFrame, lpszProfileName, state);
  pFrame->SetDockState(state);
}

void XTSaveBarState(CFrameWnd* pFrame, LPCSTR lpszProfileName) {
  CXTDockState state;
  XTGetDockState(pFrame, state);
  state.SaveState(lpszProfileName);
}
