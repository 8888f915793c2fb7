#include "classlib/winthread.h"


#include "classlib/frame/framewnd.h"
#include "classlib/handlemap.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

CWinThread::CWinThread() {
  m_hThread = ::GetCurrentThread();
  m_nThreadID = ::GetCurrentThreadId();
  AfxGetThreadState()->m_pCurrentWinThread = this;
}

CWinThread::~CWinThread() {
  AFX_THREAD_STATE* state = AfxGetThreadState();
  if (state->m_pCurrentWinThread == this) state->m_pCurrentWinThread = nullptr;
}

CWinThread* AfxGetThread() { return AfxGetThreadState()->m_pCurrentWinThread; }

int CWinThread::Run() {
  BOOL bIdle = TRUE;
  LONG lIdleCount = 0;
  MSG* pMsg = &AfxGetThreadState()->m_msgCur;
  for (;;) {
    while (bIdle && !::PeekMessageA(pMsg, nullptr, 0, 0, PM_NOREMOVE))
      if (!OnIdle(lIdleCount++)) bIdle = FALSE;
    do {
      if (!PumpMessage()) return ExitInstance();
      if (IsIdleMessage(pMsg)) {
        bIdle = TRUE;
        lIdleCount = 0;
      }
    } while (::PeekMessageA(pMsg, nullptr, 0, 0, PM_NOREMOVE));
  }
}

BOOL CWinThread::PumpMessage() {
  MSG* pMsg = &AfxGetThreadState()->m_msgCur;
  if (!::GetMessageA(pMsg, nullptr, 0, 0)) return FALSE;
  if (pMsg->message != WM_KICKIDLE && !PreTranslateMessage(pMsg)) {
    ::TranslateMessage(pMsg);
    ::DispatchMessageA(pMsg);
  }
  return TRUE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
  CWnd* pMainWnd = GetMainWnd();
  HWND hMain = pMainWnd ? pMainWnd->m_hWnd : nullptr;
  if (CWnd::WalkPreTranslateTree(hMain, pMsg)) return TRUE;
  // Modeless windows of their own still get the main window's accelerators.
  if (hMain && pMsg->hwnd) {
    HWND top = pMsg->hwnd;
    for (HWND parent; (parent = ::GetParent(top)) != nullptr;) top = parent;
    if (top != hMain) return pMainWnd->PreTranslateMessage(pMsg);
  }
  return FALSE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg) {
  if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
    if (pMsg->pt.x == m_ptCursorLast.x && pMsg->pt.y == m_ptCursorLast.y && pMsg->message == m_nMsgLast) return FALSE;
    m_ptCursorLast = pMsg->pt;
    m_nMsgLast = pMsg->message;
    return TRUE;
  }
  return pMsg->message != WM_PAINT && pMsg->message != 0x0118;  // nor the caret's system timer
}

void AfxUpdateFrameCmdUI(CWnd* pWnd) {
  AfxCallWndProc(pWnd, pWnd->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
  pWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
}

// A frame's delayed hide comes before its update, a delayed show after it.
static void UpdateOtherFrame(HWND hFrame, CWnd* pMainWnd) {
  CWnd* pWnd = CWnd::FromHandlePermanent(hFrame);
  if (!pWnd || pWnd == pMainWnd) return;
  CFrameWnd* pFrame = pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? static_cast<CFrameWnd*>(pWnd) : nullptr;
  int showDelay = pFrame ? pFrame->m_nShowDelay : -1;
  if (pFrame) pFrame->m_nShowDelay = -1;
  if (showDelay == SW_HIDE) pWnd->ShowWindow(SW_HIDE);
  if (::IsWindowVisible(hFrame) || showDelay > SW_HIDE) AfxUpdateFrameCmdUI(pWnd);
  if (showDelay > SW_HIDE && CWnd::FromHandlePermanent(hFrame) == pWnd) pWnd->ShowWindow(showDelay);
}

BOOL CWinThread::OnIdle(LONG lCount) {
  if (lCount <= 0) {
    CWnd* pMainWnd = GetMainWnd();
    if (pMainWnd && pMainWnd->m_hWnd && pMainWnd->IsWindowVisible()) AfxUpdateFrameCmdUI(pMainWnd);
    // Floating frames are not descendants of the main window: reach them by list.
    std::vector<HWND> frames = AfxGetThreadState()->m_frameList;
    for (HWND hFrame : frames) UpdateOtherFrame(hFrame, pMainWnd);
    return TRUE;
  }
  AfxDeleteTempMaps();
  return FALSE;
}

int CWinThread::ExitInstance() { return static_cast<int>(AfxGetThreadState()->m_msgCur.wParam); }

BOOL AfxPumpMessage() {
  if (CWinThread* pThread = AfxGetThread()) return pThread->PumpMessage();
  MSG* pMsg = &AfxGetThreadState()->m_msgCur;
  if (!::GetMessageA(pMsg, nullptr, 0, 0)) return FALSE;
  if (pMsg->message != WM_KICKIDLE && !CWnd::WalkPreTranslateTree(nullptr, pMsg)) {
    ::TranslateMessage(pMsg);
    ::DispatchMessageA(pMsg);
  }
  return TRUE;
}

BOOL AfxIsIdleMessage(MSG* pMsg) {
  if (CWinThread* pThread = AfxGetThread()) return pThread->IsIdleMessage(pMsg);
  return pMsg->message != WM_PAINT && pMsg->message != 0x0118 && pMsg->message != WM_MOUSEMOVE &&
         pMsg->message != WM_NCMOUSEMOVE;
}
