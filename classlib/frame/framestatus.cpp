// What a frame shows about commands: prompts on the status line while a
// menu item or a bar's tool is pointed at, the menu's CCmdUI pass, the key
// indicators and the tool tips of bar tools.
#include "classlib/frame/framewnd.h"
#include "classlib/winapp.h"

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const {
  CString full;
  rMessage.Empty();
  if (full.LoadString(nID)) AfxExtractSubString(rMessage, full, 0);
}

CWnd* CFrameWnd::GetMessageBar() { return GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE); }

void CFrameWnd::SetMessageText(LPCSTR lpszText) { SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(lpszText)); }

void CFrameWnd::SetMessageText(UINT nID) { SendMessage(WM_SETMESSAGESTRING, nID); }

// wParam names a prompt string, or lParam is the text itself; returns the
// id shown before.
LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
  UINT nIDLast = m_nIDLastMessage;
  m_nFlags &= ~WF_NOPOPMSG;
  if (CWnd* pMessageBar = GetMessageBar()) {
    CString message;
    LPCSTR text = reinterpret_cast<LPCSTR>(lParam);
    if (!text && wParam) {
      GetMessageString(static_cast<UINT>(wParam), message);
      text = message;
    }
    pMessageBar->SetWindowText(text ? text : "");
    CFrameWnd* pBarFrame = pMessageBar->GetParentFrame();
    if (pBarFrame && pBarFrame != this) pBarFrame->m_nIDLastMessage = pBarFrame->m_nIDTracking = static_cast<UINT>(wParam);
  }
  m_nIDLastMessage = m_nIDTracking = static_cast<UINT>(wParam);
  return nIDLast;
}

LRESULT CFrameWnd::OnPopMessageString(WPARAM wParam, LPARAM lParam) {
  if (m_nFlags & WF_NOPOPMSG) return 0;
  return SendMessage(WM_SETMESSAGESTRING, wParam, lParam);
}

namespace {

// The system menu's commands share their ids with the layer's strings (the
// restore command is the question whether to save): their prompts live apart.
UINT PromptOfSystemCommand(UINT command) { return AFX_IDS_SCFIRST + ((command & 0xFFF0) - SC_SIZE) / 16; }

}  // namespace

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu) {
  CFrameWnd* pFrame = GetTopLevelFrame();
  if (!pFrame) pFrame = this;
  if (nFlags == 0xFFFF && !hSysMenu) {
    // The menu closed: back to the idle prompt now.
    m_nFlags &= ~WF_NOPOPMSG;
    m_nIDTracking = AFX_IDS_IDLEMESSAGE;
    SendMessage(WM_SETMESSAGESTRING, m_nIDTracking);
    return;
  }
  if (nItemID == 0 || (nFlags & (MF_SEPARATOR | MF_POPUP)))
    m_nIDTracking = 0;
  else if ((nFlags & MF_SYSMENU) && nItemID >= SC_SIZE)
    m_nIDTracking = PromptOfSystemCommand(nItemID);
  else
    m_nIDTracking = nItemID;
  pFrame->m_nFlags |= WF_NOPOPMSG;
}

// The prompt of the item under the menu's selection shows once the menu is idle.
void CFrameWnd::OnEnterIdle(UINT nWhy, CWnd*) {
  Default();
  if (nWhy != MSGF_MENU || m_nIDTracking == m_nIDLastMessage) return;
  SetMessageText(m_nIDTracking);
}

// Runs before anyone else sees the pop-up: every item gets its CCmdUI
// update; with m_bAutoMenuEnable, items nobody handles are greyed.
void CFrameWnd::OnInitMenuPopup(CMenu* pMenu, UINT, BOOL bSysMenu) {
  if (bSysMenu) return;
  CCmdUI state;
  state.m_pMenu = pMenu;
  state.m_nIndexMax = pMenu->GetMenuItemCount();
  if (AfxGetThreadState()->m_hTrackingMenu == pMenu->m_hMenu) {
    state.m_pParentMenu = pMenu;
  } else if (HMENU hParent = ::GetMenu(m_hWnd)) {
    int count = ::GetMenuItemCount(hParent);
    for (int i = 0; i < count; ++i)
      if (::GetSubMenu(hParent, i) == pMenu->m_hMenu) {
        state.m_pParentMenu = CMenu::FromHandle(hParent);
        break;
      }
  }
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    state.m_nID = pMenu->GetMenuItemID(state.m_nIndex);
    if (state.m_nID == 0) continue;
    if (state.m_nID == static_cast<UINT>(-1)) {
      // A pop-up goes by its first item and is never greyed for want of a handler.
      state.m_pSubMenu = pMenu->GetSubMenu(state.m_nIndex);
      if (!state.m_pSubMenu->m_hMenu) continue;
      state.m_nID = state.m_pSubMenu->GetMenuItemID(0);
      if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1)) continue;
      state.DoUpdate(this, FALSE);
    } else {
      state.m_pSubMenu = nullptr;
      state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
    }
    // An update may add or remove items (the recent files do).
    UINT count = pMenu->GetMenuItemCount();
    if (count < state.m_nIndexMax) {
      state.m_nIndex -= state.m_nIndexMax - count;
      while (state.m_nIndex < count && pMenu->GetMenuItemID(state.m_nIndex) == state.m_nID) ++state.m_nIndex;
    }
    state.m_nIndexMax = count;
  }
}

// CAP, NUM and SCRL show while their lock is on.
void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI) {
  static const struct {
    UINT nID;
    int nVK;
  } keys[] = {{ID_INDICATOR_CAPS, VK_CAPITAL}, {ID_INDICATOR_NUM, VK_NUMLOCK}, {ID_INDICATOR_SCRL, VK_SCROLL}};
  for (const auto& key : keys)
    if (key.nID == pCmdUI->m_nID) {
      pCmdUI->Enable(::GetKeyState(key.nVK) & 1);
      return;
    }
  pCmdUI->ContinueRouting();
}

// A tool's tip is the text after "\n" in its command's string.
BOOL CFrameWnd::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult) {
  UINT_PTR nID = pNMHDR->idFrom;
  bool ansi = pNMHDR->code == TTN_NEEDTEXTA;
  UINT flags = ansi ? reinterpret_cast<TOOLTIPTEXTA*>(pNMHDR)->uFlags : reinterpret_cast<TOOLTIPTEXTW*>(pNMHDR)->uFlags;
  if (flags & TTF_IDISHWND) nID = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(nID)));
  CString tip;
  if (nID != 0) {
    CString full;
    if (!full.LoadString(static_cast<UINT>(nID))) return FALSE;
    AfxExtractSubString(tip, full, 1);
  }
  if (ansi) {
    TOOLTIPTEXTA* pTTT = reinterpret_cast<TOOLTIPTEXTA*>(pNMHDR);
    lstrcpynA(pTTT->szText, tip, sizeof pTTT->szText);
  } else {
    TOOLTIPTEXTW* pTTT = reinterpret_cast<TOOLTIPTEXTW*>(pNMHDR);
    ::MultiByteToWideChar(CP_ACP, 0, tip, -1, pTTT->szText, sizeof pTTT->szText / sizeof pTTT->szText[0]);
    pTTT->szText[sizeof pTTT->szText / sizeof pTTT->szText[0] - 1] = 0;
  }
  *pResult = 0;
  // Above other pop-ups, such as a floating bar's frame.
  ::SetWindowPos(pNMHDR->hwndFrom, HWND_TOP, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE | SWP_NOOWNERZORDER);
  return TRUE;
}
