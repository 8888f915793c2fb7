// The window side of tool tips: one tip control per thread, fed by the
// windows that enabled tips from their mouse messages.
#include <stdlib.h>

#include "classlib/controls.h"

BOOL CWnd::EnableToolTips(BOOL bEnable) {
  if (!bEnable) {
    if (m_nFlags & WF_TOOLTIPS) {
      if (AfxGetThreadState()->m_hLastHitWnd == m_hWnd) CancelToolTips();
      m_nFlags &= ~WF_TOOLTIPS;
    }
    return TRUE;
  }
  AFX_THREAD_STATE* state = AfxGetThreadState();
  if (!state->m_pToolTip) {
    CToolTipCtrl* tip = new CToolTipCtrl;
    if (!tip->Create(nullptr, TTS_ALWAYSTIP | TTS_NOPREFIX)) {
      delete tip;
      return FALSE;
    }
    tip->SetMaxTipWidth(SHRT_MAX);
    state->m_pToolTip = tip;
  }
  m_nFlags |= WF_TOOLTIPS;
  return TRUE;
}

INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const {
  HWND hWndChild = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
  if (!hWndChild || hWndChild == m_hWnd) return -1;
  int nID = ::GetDlgCtrlID(hWndChild);
  if (nID == 0 || nID == -1) return -1;
  if (pTI) {
    pTI->hwnd = m_hWnd;
    pTI->uId = reinterpret_cast<UINT_PTR>(hWndChild);
    pTI->uFlags |= TTF_IDISHWND;
    pTI->lpszText = LPSTR_TEXTCALLBACKA;
  }
  return nID;
}

static void DeleteLastTool(AFX_THREAD_STATE* state) {
  if (state->m_pToolTip && state->m_pToolTip->m_hWnd && state->m_nLastHit != -1)
    state->m_pToolTip->SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&state->m_lastInfo));
  state->m_nLastHit = -1;
  state->m_hLastHitWnd = nullptr;
}

void CWnd::CancelToolTips(BOOL) {
  AFX_THREAD_STATE* state = AfxGetThreadState();
  if (state->m_pToolTip && state->m_pToolTip->m_hWnd) state->m_pToolTip->Pop();
  DeleteLastTool(state);
}

// A text other than the callback marker was allocated with malloc by
// OnToolHitTest; the tip control keeps its own copy, so it is freed here.
void CWnd::FilterToolTipMessage(MSG* pMsg) {
  AFX_THREAD_STATE* state = AfxGetThreadState();
  CToolTipCtrl* tip = state->m_pToolTip;
  if (!tip || !tip->m_hWnd) return;
  CPoint point = pMsg->pt;
  ScreenToClient(&point);
  TOOLINFOA ti = {};
  ti.cbSize = sizeof ti;
  INT_PTR nHit = OnToolHitTest(point, &ti);
  if (nHit != state->m_nLastHit || state->m_hLastHitWnd != m_hWnd) {
    DeleteLastTool(state);
    if (nHit != -1) {
      if (!ti.hwnd) ti.hwnd = m_hWnd;
      if (!(ti.uFlags & TTF_IDISHWND) && ::IsRectEmpty(&ti.rect)) GetClientRect(&ti.rect);
      tip->SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
      if (ti.lpszText != LPSTR_TEXTCALLBACKA) free(ti.lpszText);
      ti.lpszText = nullptr;
      state->m_lastInfo = ti;
      state->m_nLastHit = nHit;
      state->m_hLastHitWnd = m_hWnd;
      tip->Activate(TRUE);
    }
  } else if (ti.lpszText != LPSTR_TEXTCALLBACKA) {
    free(ti.lpszText);
  }
  MSG relay = *pMsg;
  relay.hwnd = m_hWnd;
  ScreenToClient(&relay.pt);
  relay.lParam = MAKELPARAM(point.x, point.y);
  tip->RelayEvent(&relay);
}
