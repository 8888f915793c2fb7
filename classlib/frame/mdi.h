// Multiple-document frames: an MDI client (pane 0xE900, children numbered
// from 0xFF00 in the window menu) inside a frame, and child frames created
// through it. Commands go to the active child first.
#pragma once

#include "classlib/frame/framewnd.h"

#define AFX_IDM_FIRST_MDICHILD 0xFF00
#define ID_WINDOW_NEW 0xE130
#define ID_WINDOW_ARRANGE 0xE131
#define ID_WINDOW_CASCADE 0xE132
#define ID_WINDOW_TILE_HORZ 0xE133
#define ID_WINDOW_TILE_VERT 0xE134

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMDIFrameWnd)
  DECLARE_MESSAGE_MAP()
 public:
  // The window menu is the frame menu's second pop-up from the right.
  BOOL OnCreateClient(LPCREATESTRUCTA lpcs, CCreateContext* pContext) override;
  virtual BOOL CreateClient(LPCREATESTRUCTA lpcs, CMenu* pWindowMenu);
  CFrameWnd* GetActiveFrame() override;
  CDocument* GetActiveDocument() override;
  // With no active child the frame menu stays as it is: the menu is sent as
  // null, never as the default menu's handle, which the menu bar may have destroyed.
  virtual void OnUpdateFrameMenu(HMENU hMenuAlt);

  CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
  void MDIActivate(CWnd* pWndActivate);
  void MDIMaximize(CWnd* pWnd) { ::SendMessageA(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(pWnd->m_hWnd), 0); }
  void MDINext() { ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 0); }
  void MDIRestore(CWnd* pWnd) { ::SendMessageA(m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(pWnd->m_hWnd), 0); }
  void MDITile(int nType = MDITILE_VERTICAL) { ::SendMessageA(m_hWndMDIClient, WM_MDITILE, nType, 0); }
  void MDICascade(int nType = 0) { ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, nType, 0); }
  void MDIIconArrange() { ::SendMessageA(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0); }
  CMenu* MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu);

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  HWND m_hWndMDIClient = nullptr;
  HMENU m_hWindowMenu = nullptr;

 protected:
  afx_msg BOOL OnMDIWindowCmd(UINT nID);
};

class CMDIChildWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMDIChildWnd)
  DECLARE_MESSAGE_MAP()
 public:
  ~CMDIChildWnd() override;
  // Made through the frame's MDI client, invisible; shown and activated when the style says so.
  BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
              const RECT& rect = rectDefault, CMDIFrameWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Through the MDI client, which then activates the next child.
  BOOL DestroyWindow() override;
  void ActivateFrame(int nCmdShow = -1) override;

  CMDIFrameWnd* GetMDIFrame() const;
  void MDIDestroy() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0); }
  void MDIActivate() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0); }
  void MDIMaximize() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(m_hWnd), 0); }
  void MDIRestore() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIRESTORE, reinterpret_cast<WPARAM>(m_hWnd), 0); }

  HMENU m_hMenuShared = nullptr;  // this child's frame menu, if it has one

 protected:
  afx_msg int OnCreate(LPCREATESTRUCTA lpcs);
  afx_msg LRESULT OnMDIActivate(WPARAM wParam, LPARAM lParam);
};
