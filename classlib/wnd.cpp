#include "classlib/wnd.h"

#include <shellapi.h>
#include <stdio.h>


#include <set>
#include <string>

#include "classlib/exception.h"
#include "classlib/module.h"
#include "classlib/winapp.h"

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

const char AFX_WND[] = "ClassLibWnd";
const char AFX_WNDCONTROLBAR[] = "ClassLibControlBar";
const char AFX_WNDFRAMEORVIEW[] = "ClassLibFrameOrView";
const char AFX_WNDMDIFRAME[] = "ClassLibMDIFrame";

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
  ON_WM_NCDESTROY()
  ON_WM_CTLCOLOR()
  ON_WM_DRAWITEM()
  ON_WM_MEASUREITEM()
  ON_WM_DELETEITEM()
  ON_WM_SYSCOLORCHANGE()
  ON_WM_SETTINGCHANGE()
  ON_WM_FONTCHANGE()
END_MESSAGE_MAP()

// Never destroyed, like the handle maps: static destructors may still need it.
AFX_THREAD_STATE* AfxGetThreadState() {
  thread_local AFX_THREAD_STATE* state = new AFX_THREAD_STATE;
  return state;
}

MSG* AfxGetCurrentMessage() { return &AfxGetThreadState()->m_lastSentMsg; }

// ---- handles

CWnd::~CWnd() {
  if (m_hWnd && FromHandlePermanent(m_hWnd) == this) ::DestroyWindow(m_hWnd);
}

CWnd* CWnd::FromHandle(HWND hWnd) { return AfxFromHandle<CWnd>(hWnd); }
CWnd* CWnd::FromHandlePermanent(HWND hWnd) { return AfxLookupPermanent<CWnd>(hWnd); }

BOOL CWnd::Attach(HWND hWndNew) {
  if (!hWndNew) return FALSE;
  m_hWnd = hWndNew;
  AfxSetPermanent<CWnd>(hWndNew, this);
  return TRUE;
}

HWND CWnd::Detach() {
  HWND h = m_hWnd;
  AfxRemovePermanent<CWnd>(h, this);
  m_hWnd = nullptr;
  return h;
}

// ---- creation

// Catches the one window it was set for, then takes itself out, so no
// later window of the thread is ever mistaken for it.
static LRESULT CALLBACK AfxCbtFilterHook(int code, WPARAM wParam, LPARAM lParam) {
  AFX_THREAD_STATE* state = AfxGetThreadState();
  HHOOK hook = state->m_hHookOldCbtFilter;
  bool caught = code == HCBT_CREATEWND && state->m_pWndInit;
  if (caught) {
    CWnd* pWnd = state->m_pWndInit;
    state->m_pWndInit = nullptr;
    HWND hWnd = reinterpret_cast<HWND>(wParam);
    // An object that cannot be attached leaves the window to its class's procedure.
    CallFromSystem(false, [&] {
      pWnd->Attach(hWnd);
      pWnd->PreSubclassWindow();
      WNDPROC old = reinterpret_cast<WNDPROC>(
          ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
      if (old != &AfxWndProc) pWnd->m_pfnSuper = old;
      return true;
    });
  }
  LRESULT result = ::CallNextHookEx(hook, code, wParam, lParam);
  // Nested creation may have replaced the hook meanwhile: only this one goes.
  if (caught && hook && state->m_hHookOldCbtFilter == hook && !state->m_pWndInit) {
    ::UnhookWindowsHookEx(hook);
    state->m_hHookOldCbtFilter = nullptr;
  }
  return result;
}

void AfxHookWindowCreate(CWnd* pWnd) {
  AFX_THREAD_STATE* state = AfxGetThreadState();
  if (!state->m_hHookOldCbtFilter)
    state->m_hHookOldCbtFilter = ::SetWindowsHookExA(WH_CBT, AfxCbtFilterHook, nullptr, ::GetCurrentThreadId());
  state->m_pWndInit = pWnd;
}

BOOL AfxUnhookWindowCreate() {
  AFX_THREAD_STATE* state = AfxGetThreadState();
  if (state->m_hHookOldCbtFilter) {
    ::UnhookWindowsHookEx(state->m_hHookOldCbtFilter);
    state->m_hHookOldCbtFilter = nullptr;
  }
  BOOL attached = state->m_pWndInit == nullptr;
  state->m_pWndInit = nullptr;
  return attached;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!cs.lpszClass) {
    AfxDeferRegisterClass(AFX_WND_REG);
    cs.lpszClass = AFX_WND;
  }
  return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
  CREATESTRUCTA cs = {lpParam, AfxGetInstanceHandle(), nIDorHMenu, hWndParent, nHeight, nWidth, y, x,
                      static_cast<LONG>(dwStyle), lpszWindowName, lpszClassName, dwExStyle};
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  // Failing before the window existed: nobody else will run the clean-up.
  if (!AfxUnhookWindowCreate() && !hWnd) PostNcDestroy();
  return hWnd != nullptr;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
  return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, void* lpParam) {
  return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, lpParam);
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  // An owner may be deleted by PostNcDestroy inside this call: touch nothing after it.
  return ::DestroyWindow(m_hWnd);
}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT) {
  ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, GetExStyle());
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (!Attach(hWnd)) return FALSE;
  PreSubclassWindow();
  WNDPROC old = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
  if (old != &AfxWndProc) m_pfnSuper = old;
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
  HWND hWndControl = ::GetDlgItem(pParent->m_hWnd, nID);
  return hWndControl ? SubclassWindow(hWndControl) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
  if (m_pfnSuper) ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  m_pfnSuper = nullptr;
  return Detach();
}

void CWnd::OnNcDestroy() { NcDestroyCleanup(); }

void CWnd::NcDestroyCleanup() {
  if (CWinThread* pThread = AfxGetThread()) {
    if (pThread->m_pMainWnd == this) {
      if (pThread == AfxGetApp()) AfxPostQuitMessage(0);
      pThread->m_pMainWnd = nullptr;
    }
  }
  if (AfxGetThreadState()->m_hLastHitWnd == m_hWnd) CancelToolTips();
  WNDPROC current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC));
  Default();
  if (m_pfnSuper && current == &AfxWndProc)
    ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  m_pfnSuper = nullptr;
  Detach();
  PostNcDestroy();
}

// ---- the window procedure

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
  if (!pWnd) return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
  return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

// A modal dialog that its initialisation did not place goes on its owner.
static void CenterUnplacedDialog(CWnd* pWnd, const RECT& before) {
  RECT after;
  ::GetWindowRect(pWnd->m_hWnd, &after);
  DWORD style = pWnd->GetStyle();
  if (::EqualRect(&before, &after) && !(style & (WS_CHILD | DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN)) &&
      (pWnd->m_nFlags & WF_CONTINUEMODAL))
    pWnd->CenterWindow();
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  AFX_THREAD_STATE* state = AfxGetThreadState();
  MSG saved = state->m_lastSentMsg;
  state->m_lastSentMsg.hwnd = hWnd;
  state->m_lastSentMsg.message = nMsg;
  state->m_lastSentMsg.wParam = wParam;
  state->m_lastSentMsg.lParam = lParam;
  const LRESULT failed = nMsg == WM_CREATE ? -1 : 0;
  const LRESULT lResult = CallFromSystem(failed, [&] {
    RECT before = {};
    if (nMsg == WM_INITDIALOG) ::GetWindowRect(hWnd, &before);
    const LRESULT result = pWnd->WindowProc(nMsg, wParam, lParam);
    if (nMsg == WM_INITDIALOG && CWnd::FromHandlePermanent(hWnd) == pWnd) CenterUnplacedDialog(pWnd, before);
    return result;
  });
  // A handler that skipped the base WM_NCDESTROY leaves the object attached.
  if (nMsg == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd) pWnd->NcDestroyCleanup();
  state->m_lastSentMsg = saved;
  return lResult;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT lResult = 0;
  if (!OnWndMsg(message, wParam, lParam, &lResult)) lResult = DefWindowProc(message, wParam, lParam);
  return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  const MSG& m = AfxGetThreadState()->m_lastSentMsg;
  return DefWindowProc(m.message, m.wParam, m.lParam);
}

const MSG* CWnd::GetCurrentMessage() { return &AfxGetThreadState()->m_lastSentMsg; }

static int XOf(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }
static int YOf(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }
static CPoint PointOf(LPARAM lParam) { return CPoint(XOf(lParam), YOf(lParam)); }

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT lResult = 0;
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    if (pResult) *pResult = 1;
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    if (!pNMHDR || !pNMHDR->hwndFrom || !OnNotify(wParam, lParam, &lResult)) return FALSE;
    if (pResult) *pResult = lResult;
    return TRUE;
  }

  UINT lookup = message;
  UINT nCtlType = 0;
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    lookup = WM_CTLCOLOR;
    nCtlType = message - WM_CTLCOLORMSGBOX;
  }
  const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(lookup, 0, 0);
  if (!entry) return FALSE;

  AFX_PMSG pfn = entry->pfn;
  CWnd* self = this;
#define AFX_CALL(type, ...) (self->*AfxPmsgCast<type>(pfn))(__VA_ARGS__)
  switch (entry->nSig) {
    case AfxSig_l_w_l: lResult = AFX_CALL(LRESULT (CWnd::*)(WPARAM, LPARAM), wParam, lParam); break;
    case AfxSig_v_v: AFX_CALL(void (CWnd::*)()); break;
    case AfxSig_b_v: lResult = AFX_CALL(BOOL (CWnd::*)()); break;
    case AfxSig_i_CREATESTRUCT:
      lResult = AFX_CALL(int (CWnd::*)(LPCREATESTRUCTA), reinterpret_cast<LPCREATESTRUCTA>(lParam));
      break;
    case AfxSig_b_CREATESTRUCT:
      lResult = AFX_CALL(BOOL (CWnd::*)(LPCREATESTRUCTA), reinterpret_cast<LPCREATESTRUCTA>(lParam));
      break;
    case AfxSig_v_u_i_i:
      AFX_CALL(void (CWnd::*)(UINT, int, int), static_cast<UINT>(wParam), XOf(lParam), YOf(lParam));
      break;
    case AfxSig_v_i_i: AFX_CALL(void (CWnd::*)(int, int), XOf(lParam), YOf(lParam)); break;
    case AfxSig_v_u_p: AFX_CALL(void (CWnd::*)(UINT, CPoint), static_cast<UINT>(wParam), PointOf(lParam)); break;
    case AfxSig_b_u_s_p:
      lResult = AFX_CALL(BOOL (CWnd::*)(UINT, short, CPoint), LOWORD(wParam), static_cast<short>(HIWORD(wParam)),
                         PointOf(lParam));
      break;
    case AfxSig_b_D:
      lResult = AFX_CALL(BOOL (CWnd::*)(CDC*), CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
      break;
    case AfxSig_v_up: AFX_CALL(void (CWnd::*)(UINT_PTR), static_cast<UINT_PTR>(wParam)); break;
    case AfxSig_b_W_u_u:
      lResult = AFX_CALL(BOOL (CWnd::*)(CWnd*, UINT, UINT), FromHandle(reinterpret_cast<HWND>(wParam)),
                         LOWORD(lParam), HIWORD(lParam));
      break;
    case AfxSig_l_p: lResult = AFX_CALL(LRESULT (CWnd::*)(CPoint), PointOf(lParam)); break;
    case AfxSig_v_b_NCCALCSIZE:
      AFX_CALL(void (CWnd::*)(BOOL, NCCALCSIZE_PARAMS*), static_cast<BOOL>(wParam),
               reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam));
      break;
    case AfxSig_v_u_u_u:
      AFX_CALL(void (CWnd::*)(UINT, UINT, UINT), static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
      break;
    case AfxSig_v_u_s:
      AFX_CALL(void (CWnd::*)(UINT, LPCSTR), static_cast<UINT>(wParam), reinterpret_cast<LPCSTR>(lParam));
      break;
    case AfxSig_hbr_D_W_u:
      lResult = reinterpret_cast<LRESULT>(AFX_CALL(HBRUSH (CWnd::*)(CDC*, CWnd*, UINT),
                                                   CDC::FromHandle(reinterpret_cast<HDC>(wParam)),
                                                   FromHandle(reinterpret_cast<HWND>(lParam)), nCtlType));
      break;
    case AfxSig_hbr_D_u: {
      AFX_CTLCOLOR* ctl = reinterpret_cast<AFX_CTLCOLOR*>(lParam);
      lResult = reinterpret_cast<LRESULT>(
          AFX_CALL(HBRUSH (CWnd::*)(CDC*, UINT), CDC::FromHandle(ctl->hDC), ctl->nCtlType));
      break;
    }
    case AfxSig_v_i_DRAWITEM:
      AFX_CALL(void (CWnd::*)(int, LPDRAWITEMSTRUCT), static_cast<int>(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
      lResult = TRUE;
      break;
    case AfxSig_v_i_MEASUREITEM:
      AFX_CALL(void (CWnd::*)(int, LPMEASUREITEMSTRUCT), static_cast<int>(wParam),
               reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
      lResult = TRUE;
      break;
    case AfxSig_v_i_DELETEITEM:
      AFX_CALL(void (CWnd::*)(int, LPDELETEITEMSTRUCT), static_cast<int>(wParam),
               reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
      lResult = TRUE;
      break;
    case AfxSig_v_MINMAXINFO: AFX_CALL(void (CWnd::*)(MINMAXINFO*), reinterpret_cast<MINMAXINFO*>(lParam)); break;
    case AfxSig_v_WINDOWPOS: AFX_CALL(void (CWnd::*)(WINDOWPOS*), reinterpret_cast<WINDOWPOS*>(lParam)); break;
    case AfxSig_v_W: AFX_CALL(void (CWnd::*)(CWnd*), FromHandle(reinterpret_cast<HWND>(wParam))); break;
    case AfxSig_v_b_u: AFX_CALL(void (CWnd::*)(BOOL, UINT), static_cast<BOOL>(wParam), static_cast<UINT>(lParam)); break;
    case AfxSig_v_u_W_b:
      AFX_CALL(void (CWnd::*)(UINT, CWnd*, BOOL), LOWORD(wParam), FromHandle(reinterpret_cast<HWND>(lParam)),
               HIWORD(wParam));
      break;
    case AfxSig_v_b_h: AFX_CALL(void (CWnd::*)(BOOL, DWORD), static_cast<BOOL>(wParam), static_cast<DWORD>(lParam)); break;
    case AfxSig_b_b: lResult = AFX_CALL(BOOL (CWnd::*)(BOOL), static_cast<BOOL>(wParam)); break;
    case AfxSig_i_W_u_u:
      lResult = AFX_CALL(int (CWnd::*)(CWnd*, UINT, UINT), FromHandle(reinterpret_cast<HWND>(wParam)),
                         LOWORD(lParam), HIWORD(lParam));
      break;
    case AfxSig_v_M_u_b:
      AFX_CALL(void (CWnd::*)(CMenu*, UINT, BOOL), CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)),
               LOWORD(lParam), HIWORD(lParam));
      break;
    case AfxSig_v_M: AFX_CALL(void (CWnd::*)(CMenu*), CMenu::FromHandle(reinterpret_cast<HMENU>(wParam))); break;
    case AfxSig_v_u_u_M:
      AFX_CALL(void (CWnd::*)(UINT, UINT, HMENU), LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
      break;
    case AfxSig_v_u_l: AFX_CALL(void (CWnd::*)(UINT, LPARAM), static_cast<UINT>(wParam), lParam); break;
    case AfxSig_v_W_p:
      AFX_CALL(void (CWnd::*)(CWnd*, CPoint), FromHandle(reinterpret_cast<HWND>(wParam)), PointOf(lParam));
      break;
    case AfxSig_v_u_u_W:
      AFX_CALL(void (CWnd::*)(UINT, UINT, CScrollBar*), LOWORD(wParam), static_cast<UINT>(static_cast<short>(HIWORD(wParam))),
               reinterpret_cast<CScrollBar*>(FromHandle(reinterpret_cast<HWND>(lParam))));
      break;
    case AfxSig_v_b: AFX_CALL(void (CWnd::*)(BOOL), static_cast<BOOL>(wParam)); break;
    case AfxSig_u_v: lResult = AFX_CALL(UINT (CWnd::*)()); break;
    case AfxSig_v_u_W:
      AFX_CALL(void (CWnd::*)(UINT, CWnd*), static_cast<UINT>(wParam), FromHandle(reinterpret_cast<HWND>(lParam)));
      break;
    case AfxSig_v_u_LPRECT:
      AFX_CALL(void (CWnd::*)(UINT, LPRECT), static_cast<UINT>(wParam), reinterpret_cast<LPRECT>(lParam));
      break;
    case AfxSig_b_HELPINFO: lResult = AFX_CALL(BOOL (CWnd::*)(HELPINFO*), reinterpret_cast<HELPINFO*>(lParam)); break;
    default:
      return FALSE;
  }
#undef AFX_CALL
  if (pResult) *pResult = lResult;
  return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT nID = LOWORD(wParam);
  HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
  int nCode = HIWORD(wParam);
  if (!hWndCtrl) {
    if (nID == 0) return FALSE;
    // A menu item or accelerator runs only while its command is enabled.
    CTestCmdUI state;
    state.m_nID = nID;
    OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state, nullptr);
    if (!state.m_bEnabled) return TRUE;
    nCode = CN_COMMAND;
  } else {
    if (AfxGetThreadState()->m_hLockoutNotifyWindow == m_hWnd) return TRUE;
    if (ReflectLastMsg(hWndCtrl)) return TRUE;
    if (nID == 0) return FALSE;
  }
  return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
  NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
  HWND hWndCtrl = pNMHDR->hwndFrom;
  UINT nID = static_cast<WORD>(::GetDlgCtrlID(hWndCtrl));
  if (AfxGetThreadState()->m_hLockoutNotifyWindow == m_hWnd) return TRUE;
  if (ReflectLastMsg(hWndCtrl, pResult)) return TRUE;
  AFX_NOTIFY notify = {pResult, pNMHDR};
  return OnCmdMsg(nID, MAKELONG(pNMHDR->code, WM_NOTIFY), &notify, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT ignored = 0;
  if (!pResult) pResult = &ignored;
  switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
      return CWnd::OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    case WM_COMMAND:
      if (CCmdTarget::OnCmdMsg(0, MAKELONG(HIWORD(wParam), WM_REFLECT_BASE + WM_COMMAND), nullptr, nullptr)) {
        *pResult = 1;
        return TRUE;
      }
      return FALSE;
    case WM_NOTIFY: {
      AFX_NOTIFY notify = {pResult, reinterpret_cast<NMHDR*>(lParam)};
      return CCmdTarget::OnCmdMsg(0, MAKELONG(notify.pNMHDR->code, WM_REFLECT_BASE + WM_NOTIFY), &notify, nullptr);
    }
    default:
      if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        AFX_CTLCOLOR ctl = {m_hWnd, reinterpret_cast<HDC>(wParam), message - WM_CTLCOLORMSGBOX};
        // Only a brush consumes the message.
        return CWnd::OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, reinterpret_cast<LPARAM>(&ctl), pResult) && *pResult;
      }
      return FALSE;
  }
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
  CWnd* pWnd = FromHandlePermanent(hWndChild);
  return pWnd ? pWnd->SendChildNotifyLastMsg(pResult) : FALSE;
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult) {
  const MSG& m = AfxGetThreadState()->m_lastSentMsg;
  return OnChildNotify(m.message, m.wParam, m.lParam, pResult);
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT) {
  LRESULT lResult = 0;
  if (pWnd && ReflectLastMsg(pWnd->m_hWnd, &lResult)) return reinterpret_cast<HBRUSH>(lResult);
  return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (lpDrawItemStruct->CtlType == ODT_MENU) {
    if (CMenu* pMenu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(lpDrawItemStruct->hwndItem))) {
      pMenu->DrawItem(lpDrawItemStruct);
      return;
    }
  } else if (ReflectLastMsg(lpDrawItemStruct->hwndItem)) {
    return;
  }
  Default();
}

// The owning menu object of the pop-up that holds item nID, searched below hMenu.
static CMenu* FindPopupMenuOf(HMENU hMenu, UINT nID) {
  int count = hMenu ? ::GetMenuItemCount(hMenu) : 0;
  for (int i = 0; i < count; ++i) {
    if (HMENU hSub = ::GetSubMenu(hMenu, i)) {
      if (CMenu* found = FindPopupMenuOf(hSub, nID)) return found;
    } else if (::GetMenuItemID(hMenu, i) == nID) {
      return CMenu::FromHandlePermanent(hMenu);
    }
  }
  return nullptr;
}

void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  if (lpMeasureItemStruct->CtlType == ODT_MENU) {
    // The menu being tracked, else the window's own menu bar.
    HMENU hTracking = AfxGetThreadState()->m_hTrackingMenu;
    CMenu* pMenu = FindPopupMenuOf(hTracking, lpMeasureItemStruct->itemID);
    if (!pMenu) pMenu = FindPopupMenuOf(::GetMenu(m_hWnd), lpMeasureItemStruct->itemID);
    if (pMenu) {
      pMenu->MeasureItem(lpMeasureItemStruct);
      return;
    }
  } else {
    CWnd* pChild = GetDescendantWindow(lpMeasureItemStruct->CtlID, TRUE);
    if (pChild && pChild->SendChildNotifyLastMsg()) return;
  }
  Default();
}

void CWnd::OnDeleteItem(int, LPDELETEITEMSTRUCT lpDeleteItemStruct) {
  if (ReflectLastMsg(lpDeleteItemStruct->hwndItem)) return;
  Default();
}

void CWnd::OnSysColorChange() {
  if (!(GetStyle() & WS_CHILD)) SendMessageToDescendants(WM_SYSCOLORCHANGE, 0, 0, TRUE, TRUE);
  Default();
}

void CWnd::OnSettingChange(UINT uFlags, LPCSTR lpszSection) {
  const MSG* m = GetCurrentMessage();
  if (!(GetStyle() & WS_CHILD)) SendMessageToDescendants(m->message, uFlags, reinterpret_cast<LPARAM>(lpszSection), TRUE, TRUE);
  Default();
}

void CWnd::OnFontChange() {
  if (!(GetStyle() & WS_CHILD)) SendMessageToDescendants(WM_FONTCHANGE, 0, 0, TRUE, TRUE);
  Default();
}

BOOL CWnd::PreTranslateMessage(MSG* pMsg) {
  if ((m_nFlags & WF_TOOLTIPS) &&
      ((pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST) ||
       (pMsg->message >= WM_NCMOUSEMOVE && pMsg->message <= WM_NCMBUTTONDBLCLK)))
    FilterToolTipMessage(pMsg);
  return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
  for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
    if (CWnd* pWnd = FromHandlePermanent(hWnd))
      if (pWnd->PreTranslateMessage(pMsg)) return TRUE;
    if (hWnd == hWndStop) break;
  }
  return FALSE;
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) const {
  SendMessageToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

void CWnd::SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                    BOOL bOnlyPerm) {
  for (HWND hChild = ::GetTopWindow(hWnd); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
    if (bOnlyPerm) {
      if (CWnd* pWnd = FromHandlePermanent(hChild)) AfxCallWndProc(pWnd, hChild, message, wParam, lParam);
    } else {
      ::SendMessageA(hChild, message, wParam, lParam);
    }
    if (bDeep && ::GetTopWindow(hChild)) SendMessageToDescendants(hChild, message, wParam, lParam, bDeep, bOnlyPerm);
  }
}

// ---- modal loops

int CWnd::RunModalLoop(DWORD dwFlags) {
  BOOL bIdle = TRUE;
  LONG lIdleCount = 0;
  BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
  HWND hWndParent = ::GetParent(m_hWnd);
  HWND hWnd = m_hWnd;
  m_nFlags |= WF_MODALLOOP | WF_CONTINUEMODAL;
  MSG* pMsg = &AfxGetThreadState()->m_msgCur;
  for (;;) {
    while (bIdle && !::PeekMessageA(pMsg, nullptr, 0, 0, PM_NOREMOVE)) {
      // Shown only once the queue first empties, and only while the loop goes on.
      if (bShowIdle) {
        ShowWindow(SW_SHOWNORMAL);
        UpdateWindow();
        bShowIdle = FALSE;
      }
      if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent && lIdleCount == 0)
        ::SendMessageA(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(hWnd));
      if ((dwFlags & MLF_NOKICKIDLE) || !SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, lIdleCount++)) bIdle = FALSE;
    }
    do {
      if (!AfxPumpMessage()) {
        AfxPostQuitMessage(0);
        return -1;
      }
      if (bShowIdle && (pMsg->message == 0x118 || pMsg->message == WM_SYSKEYDOWN)) {
        ShowWindow(SW_SHOWNORMAL);
        UpdateWindow();
        bShowIdle = FALSE;
      }
      if (!ContinueModal()) {
        m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
        return m_nModalResult;
      }
      if (AfxIsIdleMessage(pMsg)) {
        bIdle = TRUE;
        lIdleCount = 0;
      }
    } while (::PeekMessageA(pMsg, nullptr, 0, 0, PM_NOREMOVE));
  }
}

void CWnd::EndModalLoop(int nResult) {
  m_nModalResult = nResult;
  if (m_nFlags & WF_CONTINUEMODAL) {
    m_nFlags &= ~WF_CONTINUEMODAL;
    PostMessage(WM_NULL);
  }
}

// ---- style, text, geometry

// Changes one style word; with nFlags, lets the frame follow.
static BOOL ModifyStyleWord(HWND hWnd, int nIndex, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(hWnd, nIndex));
  DWORD newStyle = (style & ~dwRemove) | dwAdd;
  if (style == newStyle) return FALSE;
  ::SetWindowLongPtrA(hWnd, nIndex, newStyle);
  if (nFlags) ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
  return TRUE;
}

BOOL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyStyleWord(hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyStyleWord(hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) { return ModifyStyle(m_hWnd, dwRemove, dwAdd, nFlags); }
BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) { return ModifyStyleEx(m_hWnd, dwRemove, dwAdd, nFlags); }

void CWnd::GetWindowText(CString& rString) const {
  int n = ::GetWindowTextLengthA(m_hWnd);
  n = ::GetWindowTextA(m_hWnd, rString.GetBufferSetLength(n + 1), n + 1);
  rString.ReleaseBuffer(n < 0 ? 0 : n);
}

int CWnd::GetDlgItemText(int nID, CString& rString) const {
  rString.Empty();
  HWND hWnd = ::GetDlgItem(m_hWnd, nID);
  if (!hWnd) return 0;
  FromHandle(hWnd)->GetWindowText(rString);
  return rString.GetLength();
}

void CWnd::ClientToScreen(LPRECT lpRect) const { ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(lpRect), 2); }
void CWnd::ScreenToClient(LPRECT lpRect) const { ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2); }

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
  return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy, nFlags);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
  DWORD style = GetStyle();
  HWND hWndCenter = pAlternateOwner ? pAlternateOwner->m_hWnd : nullptr;
  if (!pAlternateOwner) {
    hWndCenter = (style & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
    if (hWndCenter)
      if (HWND alternate = reinterpret_cast<HWND>(::SendMessageA(hWndCenter, WM_QUERYCENTERWND, 0, 0)))
        hWndCenter = alternate;
  }
  CRect rcDlg, rcArea, rcCenter;
  GetWindowRect(&rcDlg);
  if (!(style & WS_CHILD)) {
    // Never centre on an invisible or minimised owner.
    if (hWndCenter) {
      DWORD ownerStyle = static_cast<DWORD>(::GetWindowLongPtrA(hWndCenter, GWL_STYLE));
      if (!(ownerStyle & WS_VISIBLE) || (ownerStyle & WS_MINIMIZE)) hWndCenter = nullptr;
    }
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    ::GetMonitorInfoA(::MonitorFromWindow(hWndCenter ? hWndCenter : m_hWnd, MONITOR_DEFAULTTOPRIMARY), &mi);
    rcArea = mi.rcWork;
    if (hWndCenter)
      ::GetWindowRect(hWndCenter, &rcCenter);
    else
      rcCenter = rcArea;
  } else {
    HWND hWndParent = ::GetParent(m_hWnd);
    ::GetClientRect(hWndParent, &rcArea);
    ::GetClientRect(hWndCenter, &rcCenter);
    ::MapWindowPoints(hWndCenter, hWndParent, reinterpret_cast<LPPOINT>(&rcCenter), 2);
  }
  int x = (rcCenter.left + rcCenter.right) / 2 - rcDlg.Width() / 2;
  int y = (rcCenter.top + rcCenter.bottom) / 2 - rcDlg.Height() / 2;
  if (x + rcDlg.Width() > rcArea.right) x = rcArea.right - rcDlg.Width();
  if (x < rcArea.left) x = rcArea.left;
  if (y + rcDlg.Height() > rcArea.bottom) y = rcArea.bottom - rcDlg.Height();
  if (y < rcArea.top) y = rcArea.top;
  SetWindowPos(nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- relatives

CWnd* CWnd::GetTopLevelParent() const {
  HWND hWnd = m_hWnd;
  for (HWND parent; (parent = ::GetParent(hWnd)) != nullptr;) hWnd = parent;
  return FromHandle(hWnd);
}

CWnd* CWnd::GetParentOwner() const {
  HWND hWnd = m_hWnd;
  while (hWnd && (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD)) hWnd = ::GetParent(hWnd);
  return FromHandle(hWnd ? ::GetParent(hWnd) : nullptr);
}

CWnd* CWnd::GetTopLevelOwner() const {
  HWND hWnd = m_hWnd;
  for (HWND owner; (owner = ::GetWindow(hWnd, GW_OWNER)) != nullptr;) hWnd = owner;
  return FromHandle(hWnd);
}

// A child carrying the id is found first, but one of its own children with
// the same id (a splitter's first pane) wins over it.
static HWND FindDescendant(HWND hWnd, int nID, BOOL bOnlyPerm) {
  HWND hChild = ::GetDlgItem(hWnd, nID);
  if (hChild) {
    if (::GetTopWindow(hChild))
      if (HWND deeper = FindDescendant(hChild, nID, bOnlyPerm)) return deeper;
    if (!bOnlyPerm || CWnd::FromHandlePermanent(hChild)) return hChild;
  }
  for (hChild = ::GetTopWindow(hWnd); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
    if (HWND found = FindDescendant(hChild, nID, bOnlyPerm)) return found;
  }
  return nullptr;
}

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const {
  HWND found = FindDescendant(m_hWnd, nID, bOnlyPerm);
  return bOnlyPerm ? FromHandlePermanent(found) : FromHandle(found);
}

HWND CWnd::GetSafeOwner_(HWND hParent, HWND* pWndTop) {
  HWND hWnd = hParent;
  if (!hWnd) {
    CWnd* pMain = AfxGetMainWnd();
    hWnd = pMain ? pMain->m_hWnd : nullptr;
  }
  // A pop-up cannot be owned by a child window.
  while (hWnd && (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD)) hWnd = ::GetParent(hWnd);
  HWND hWndTop = hWnd;
  for (HWND h = hWnd; h; h = ::GetParent(h)) hWndTop = h;
  if (!hParent && hWnd) hWnd = ::GetLastActivePopup(hWnd);
  if (pWndTop) {
    if (hWndTop && ::IsWindowEnabled(hWndTop) && hWndTop != hWnd) {
      *pWndTop = hWndTop;
      ::EnableWindow(hWndTop, FALSE);
    } else {
      *pWndTop = nullptr;
    }
  }
  return hWnd;
}

CWnd* CWnd::GetSafeOwner(CWnd* pParent, HWND* pWndTop) {
  return FromHandle(GetSafeOwner_(pParent ? pParent->m_hWnd : nullptr, pWndTop));
}

void CWnd::DragAcceptFiles(BOOL bAccept) { ::DragAcceptFiles(m_hWnd, bAccept); }

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType) {
  if (!lpszCaption) lpszCaption = AfxGetAppName();
  return ::MessageBoxA(m_hWnd, lpszText, lpszCaption, nType);
}

// Only push buttons and the like are disabled for want of a handler: other
// controls, and buttons that never send commands, keep their state.
static BOOL DisablesWithoutHandler(HWND hWndChild) {
  if (!(::SendMessageA(hWndChild, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)) return FALSE;
  UINT style = static_cast<UINT>(::GetWindowLongPtrA(hWndChild, GWL_STYLE)) & 0x0F;
  return style != BS_AUTOCHECKBOX && style != BS_AUTO3STATE && style != BS_GROUPBOX && style != BS_AUTORADIOBUTTON;
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  CCmdUI state;
  for (HWND hChild = ::GetTopWindow(m_hWnd); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
    state.m_nID = static_cast<UINT>(::GetDlgCtrlID(hChild));
    state.m_pOther = FromHandle(hChild);
    // The control's own update, then this window's, then the target's.
    CWnd* pChild = FromHandlePermanent(hChild);
    if (pChild && pChild->CCmdTarget::OnCmdMsg(0, MAKELONG(0xFFFF, WM_COMMAND + WM_REFLECT_BASE), &state, nullptr))
      continue;
    if (CCmdTarget::OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state, nullptr)) continue;
    state.DoUpdate(pTarget, bDisableIfNoHndler && DisablesWithoutHandler(hChild));
  }
}

// ---- window classes

BOOL AfxRegisterClass(WNDCLASSA* lpWndClass) {
  WNDCLASSA existing;
  if (::GetClassInfoA(lpWndClass->hInstance, lpWndClass->lpszClassName, &existing)) return TRUE;
  return ::RegisterClassA(lpWndClass) != 0;
}

LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
  static std::set<std::string> names;  // the returned names stay valid
  char name[96];
  snprintf(name, sizeof name, "ClassLib:%p:%x:%p:%p:%p", static_cast<void*>(AfxGetInstanceHandle()), nClassStyle,
           static_cast<void*>(hCursor), static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
  WNDCLASSA wc = {};
  wc.style = nClassStyle;
  wc.lpfnWndProc = ::DefWindowProcA;
  wc.hInstance = AfxGetInstanceHandle();
  wc.hIcon = hIcon;
  wc.hCursor = hCursor;
  wc.hbrBackground = hbrBackground;
  wc.lpszClassName = name;
  if (!AfxRegisterClass(&wc)) AfxThrowResourceException();
  return names.insert(name).first->c_str();
}

BOOL AfxDeferRegisterClass(LONG fToRegister) {
  static LONG registered = 0;
  struct Group {
    LONG flag;
    DWORD icc;
  };
  static const Group groups[] = {
      {AFX_WNDCOMMCTLS_REG, ICC_WIN95_CLASSES},          {AFX_WNDCOMMCTL_UPDOWN_REG, ICC_UPDOWN_CLASS},
      {AFX_WNDCOMMCTL_TREEVIEW_REG, ICC_TREEVIEW_CLASSES}, {AFX_WNDCOMMCTL_TAB_REG, ICC_TAB_CLASSES},
      {AFX_WNDCOMMCTL_PROGRESS_REG, ICC_PROGRESS_CLASS}, {AFX_WNDCOMMCTL_TOOLTIPS_REG, ICC_BAR_CLASSES},
      {AFX_WNDCOMMCTL_BAR_REG, ICC_BAR_CLASSES},         {AFX_WNDCOMMCTL_USEREX_REG, ICC_USEREX_CLASSES},
      {AFX_WNDCOMMCTL_LISTVIEW_REG, ICC_LISTVIEW_CLASSES}, {AFX_WNDCOMMCTL_HOTKEY_REG, ICC_HOTKEY_CLASS},
      {AFX_WNDCOMMCTL_ANIMATE_REG, ICC_ANIMATE_CLASS},   {AFX_WNDCOMMCTL_COOL_REG, ICC_COOL_CLASSES},
  };
  struct LayerClass {
    LONG flag;
    LPCSTR name;
    UINT style;
    int background;  // system colour + 1, or 0
  };
  static const LayerClass classes[] = {
      {AFX_WND_REG, AFX_WND, CS_DBLCLKS, 0},
      {AFX_WNDCONTROLBAR_REG, AFX_WNDCONTROLBAR, CS_DBLCLKS, COLOR_BTNFACE + 1},
      {AFX_WNDFRAMEORVIEW_REG, AFX_WNDFRAMEORVIEW, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, COLOR_WINDOW + 1},
      {AFX_WNDMDIFRAME_REG, AFX_WNDMDIFRAME, CS_DBLCLKS, 0},
  };
  fToRegister &= ~registered;
  if (!fToRegister) return TRUE;
  BOOL ok = TRUE;
  for (const LayerClass& c : classes) {
    if (!(fToRegister & c.flag)) continue;
    WNDCLASSA wc = {};
    wc.style = c.style;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = c.flag == AFX_WNDFRAMEORVIEW_REG || c.flag == AFX_WNDMDIFRAME_REG ? ::LoadIcon(nullptr, IDI_APPLICATION) : nullptr;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(c.background));
    wc.lpszClassName = c.name;
    if (AfxRegisterClass(&wc))
      registered |= c.flag;
    else
      ok = FALSE;
  }
  for (const Group& g : groups) {
    if (!(fToRegister & g.flag)) continue;
    INITCOMMONCONTROLSEX icc = {sizeof icc, g.icc};
    if (::InitCommonControlsEx(&icc))
      registered |= g.flag;
    else
      ok = FALSE;
  }
  return ok;
}
