#include "classlib/cmdtarget.h"

#include "classlib/menu.h"
#include "classlib/wnd.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};
  static const AFX_MSGMAP map = {nullptr, entries};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const {
  for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e)
      if (e->nMessage == nMessage && e->nCode == nCode && nID >= e->nID && nID <= e->nLastID) return e;
  }
  return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // A code other than the plain update carries its message in the high word.
  UINT nMsg = WM_COMMAND;
  UINT code = static_cast<UINT>(nCode);
  if (code != CN_UPDATE_COMMAND_UI) {
    if (HIWORD(code)) nMsg = HIWORD(code);
    code = LOWORD(code);
  }
  const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(nMsg, code, nID);
  if (!entry) return FALSE;
  if (pHandlerInfo) {
    pHandlerInfo->pTarget = this;
    pHandlerInfo->pmf = entry->pfn;
    return TRUE;
  }
  return AfxDispatchCmdMsg(this, nID, nCode, entry, pExtra);
}

BOOL AfxDispatchCmdMsg(CCmdTarget* pTarget, UINT nID, int nCode, const AFX_MSGMAP_ENTRY* pEntry, void* pExtra) {
  AFX_PMSG pfn = pEntry->pfn;
  AFX_NOTIFY* notify = static_cast<AFX_NOTIFY*>(pExtra);
  switch (pEntry->nSig) {
    case AfxSig_v_v:
      (pTarget->*pfn)();
      return TRUE;
    case AfxSig_b_v:
      return (pTarget->*AfxPmsgCast<BOOL (CCmdTarget::*)()>(pfn))();
    case AfxSig_v_u:
      (pTarget->*AfxPmsgCast<void (CCmdTarget::*)(UINT)>(pfn))(nID);
      return TRUE;
    case AfxSig_b_u:
      return (pTarget->*AfxPmsgCast<BOOL (CCmdTarget::*)(UINT)>(pfn))(nID);
    case AfxSig_cmdui: {
      // A handler that calls ContinueRouting counts as no handler at all.
      CCmdUI* pCmdUI = static_cast<CCmdUI*>(pExtra);
      pCmdUI->m_bContinueRouting = FALSE;
      (pTarget->*AfxPmsgCast<void (CCmdTarget::*)(CCmdUI*)>(pfn))(pCmdUI);
      BOOL handled = !pCmdUI->m_bContinueRouting;
      pCmdUI->m_bContinueRouting = FALSE;
      return handled;
    }
    case AfxSig_notify:
      (pTarget->*AfxPmsgCast<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(pfn))(notify->pNMHDR, notify->pResult);
      return TRUE;
    case AfxSig_notify_b:
      return (pTarget->*AfxPmsgCast<BOOL (CCmdTarget::*)(NMHDR*, LRESULT*)>(pfn))(notify->pNMHDR, notify->pResult);
    case AfxSig_notify_u:
      (pTarget->*AfxPmsgCast<void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(pfn))(nID, notify->pNMHDR,
                                                                                     notify->pResult);
      return TRUE;
    case AfxSig_notify_u_b:
      return (pTarget->*AfxPmsgCast<BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(pfn))(nID, notify->pNMHDR,
                                                                                           notify->pResult);
    default:
      return FALSE;
  }
}

void CCmdTarget::BeginWaitCursor() { m_hcurWaitRestore = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT)); }
void CCmdTarget::EndWaitCursor() { ::SetCursor(m_hcurWaitRestore ? m_hcurWaitRestore : ::LoadCursor(nullptr, IDC_ARROW)); }
void CCmdTarget::RestoreWaitCursor() { ::SetCursor(::LoadCursor(nullptr, IDC_WAIT)); }

static HCURSOR& SavedCursor() {
  thread_local HCURSOR cursor;
  return cursor;
}
static int& WaitDepth() {
  thread_local int depth;
  return depth;
}

CWaitCursor::CWaitCursor() {
  HCURSOR old = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
  if (WaitDepth()++ == 0) SavedCursor() = old;
}

CWaitCursor::~CWaitCursor() {
  if (--WaitDepth() == 0) ::SetCursor(SavedCursor() ? SavedCursor() : ::LoadCursor(nullptr, IDC_ARROW));
}

void CWaitCursor::Restore() { ::SetCursor(::LoadCursor(nullptr, IDC_WAIT)); }

// ---- CCmdUI

void CCmdUI::Enable(BOOL bOn) {
  if (m_pMenu) {
    if (!m_pSubMenu)
      m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
  } else if (m_pOther) {
    // Never leave the focus on a control being disabled.
    if (!bOn && ::GetFocus() == m_pOther->m_hWnd) {
      HWND parent = ::GetParent(m_pOther->m_hWnd);
      if (parent) ::SendMessageA(parent, WM_NEXTDLGCTL, 0, FALSE);
    }
    ::EnableWindow(m_pOther->m_hWnd, bOn);
  }
  m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
  if (m_pMenu) {
    if (!m_pSubMenu) m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
  } else if (m_pOther && (::SendMessageA(m_pOther->m_hWnd, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)) {
    ::SendMessageA(m_pOther->m_hWnd, BM_SETCHECK, nCheck, 0);
  }
}

void CCmdUI::SetRadio(BOOL bOn) {
  if (m_pMenu && !m_pSubMenu) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    m_pMenu->GetMenuItemInfo(m_nIndex, &info, TRUE);
    info.fType = bOn ? (info.fType | MFT_RADIOCHECK) : (info.fType & ~MFT_RADIOCHECK);
    info.fState = bOn ? (info.fState | MFS_CHECKED) : (info.fState & ~MFS_CHECKED);
    m_pMenu->SetMenuItemInfo(m_nIndex, &info, TRUE);
  } else {
    SetCheck(bOn ? 1 : 0);
  }
}

void CCmdUI::SetText(LPCSTR lpszText) {
  if (m_pMenu) {
    if (m_pSubMenu) return;
    UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
    m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, lpszText);
  } else if (m_pOther) {
    m_pOther->SetWindowText(lpszText);
  }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF) return TRUE;  // separators and such
  m_bEnableChanged = FALSE;
  BOOL bResult = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
  if (bDisableIfNoHndler && !m_bEnableChanged) {
    AFX_CMDHANDLERINFO info = {nullptr, nullptr};
    Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
  }
  return bResult;
}
