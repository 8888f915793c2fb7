// A GUI thread: its message pump, pre-translation and idle processing.
#pragma once

#include "classlib/wnd.h"

class CWinThread : public CCmdTarget {
  DECLARE_DYNAMIC(CWinThread)
 public:
  CWinThread();
  ~CWinThread() override;

  virtual BOOL InitInstance() { return FALSE; }
  virtual int Run();
  virtual BOOL PumpMessage();
  // Walks from the message's window up to the main window, then gives the
  // main window a last look at messages of other top-level windows.
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  // lCount 0 updates the user interface of every frame of the thread;
  // lCount 1 frees the temporary wrappers. FALSE: nothing left to do.
  virtual BOOL OnIdle(LONG lCount);
  virtual BOOL IsIdleMessage(MSG* pMsg);
  virtual int ExitInstance();
  virtual CWnd* GetMainWnd() { return m_pMainWnd; }

  CWnd* m_pMainWnd = nullptr;
  HANDLE m_hThread = nullptr;
  DWORD m_nThreadID = 0;

 private:
  POINT m_ptCursorLast = {-1, -1};
  UINT m_nMsgLast = 0;
};

CWinThread* AfxGetThread();
// Sends WM_IDLEUPDATECMDUI to pWnd and all its attached descendants.
void AfxUpdateFrameCmdUI(CWnd* pWnd);
