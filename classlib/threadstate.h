// What the layer keeps per GUI thread.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

class CWnd;
class CWinThread;
class CToolTipCtrl;

struct AFX_THREAD_STATE {
  // The message being handled by AfxCallWndProc: Default() sends it on.
  MSG m_lastSentMsg = {};
  // The message being pumped.
  MSG m_msgCur = {};
  // The object CreateEx is about to attach to the next window created.
  CWnd* m_pWndInit = nullptr;
  HHOOK m_hHookOldCbtFilter = nullptr;
  // Control notifications to this window are ignored (during data exchange).
  HWND m_hLockoutNotifyWindow = nullptr;
  // Set by whoever tracks a pop-up menu.
  HWND m_hTrackingWindow = nullptr;
  HMENU m_hTrackingMenu = nullptr;
  // Tool tips: one control per thread and the tool last shown.
  CToolTipCtrl* m_pToolTip = nullptr;
  HWND m_hLastHitWnd = nullptr;
  INT_PTR m_nLastHit = -1;
  TOOLINFOA m_lastInfo = {};
  // The bar whose fly-by prompt is on the status line, and its tool.
  CWnd* m_pLastStatus = nullptr;
  INT_PTR m_nLastStatus = -1;
  // Frames other than the main window that idle updates reach as well.
  std::vector<HWND> m_frameList;
  CWinThread* m_pCurrentWinThread = nullptr;
};

AFX_THREAD_STATE* AfxGetThreadState();
// The message AfxCallWndProc is handling on this thread.
MSG* AfxGetCurrentMessage();
