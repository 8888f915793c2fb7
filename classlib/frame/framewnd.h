// Frame windows: a top-level window with a menu, accelerators, control bars
// along its edges and one client pane (id AFX_IDW_PANE_FIRST) in the rest.
// A frame routes commands to its active view (and through it to the
// document), then to itself, then to the application; it puts prompts on
// its status bar and lays its bars out again when it changes size or at idle.
#pragma once

#include "classlib/bars/controlbar.h"
#include "classlib/list.h"

class CView;
class CDocument;
class CDocTemplate;
class CDockBar;
class CDockState;
class CMiniDockFrameWnd;

// Frame styles, in the low word of the window style.
#define FWS_ADDTOTITLE 0x00008000L
#define FWS_PREFIXTITLE 0x00004000L
#define FWS_SNAPTOBARS 0x00002000L

// What a frame and its views are made with: the template, the document and
// the view class to create.
struct CCreateContext {
  CRuntimeClass* m_pNewViewClass = nullptr;
  CDocument* m_pCurrentDoc = nullptr;
  CDocTemplate* m_pNewDocTemplate = nullptr;
  CView* m_pLastView = nullptr;
  CFrameWnd* m_pCurrentFrame = nullptr;
};

class CFrameWnd : public CWnd {
  DECLARE_DYNCREATE(CFrameWnd)
  DECLARE_MESSAGE_MAP()
 public:
  static const CRect rectDefault;

  CFrameWnd();
  ~CFrameWnd() override;

  // ---- creation
  // Title (first field of string nIDResource), menu, accelerators and icon
  // all come from the resources of that id.
  virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
  BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
              const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCSTR lpszMenuName = nullptr,
              DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
  // Makes the client area: the context's view, by default.
  virtual BOOL OnCreateClient(LPCREATESTRUCTA lpcs, CCreateContext* pContext);
  CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
  BOOL LoadAccelTable(LPCSTR lpszResourceName);
  virtual HACCEL GetDefaultAccelerator() { return m_hAccelTable; }

  // ---- layout
  // Bars take their edges, the client pane the rest; re-entry does nothing.
  virtual void RecalcLayout(BOOL bNotify = TRUE);
  // Lays out at the next idle time, once however often it is asked.
  void DelayRecalcLayout(BOOL bNotify = TRUE) { m_nIdleFlags |= idleLayout | (bNotify ? idleNotify : 0); }
  virtual void ActivateFrame(int nCmdShow = -1);
  // WM_INITIALUPDATE to every descendant, the first pane made active, shown, titled.
  void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);

  // ---- views and documents
  CView* GetActiveView() const { return m_pViewActive; }
  void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
  virtual CDocument* GetActiveDocument();
  virtual CFrameWnd* GetActiveFrame() { return this; }
  virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
  void UpdateFrameTitleForDocument(LPCSTR lpszDocName);
  void SetTitle(LPCSTR lpszTitle) { m_strTitle = lpszTitle; }
  CString GetTitle() const { return m_strTitle; }

  // ---- status line
  void SetMessageText(LPCSTR lpszText);
  void SetMessageText(UINT nID);
  // The prompt of a command: its string's text before "\n".
  virtual void GetMessageString(UINT nID, CString& rMessage) const;
  virtual CWnd* GetMessageBar();

  // ---- control bars
  void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
  CControlBar* GetControlBar(UINT nID);
  void AddControlBar(CControlBar* pBar);
  void RemoveControlBar(CControlBar* pBar);

  // ---- docking (frame/docking.cpp)
  // Dock bars along the sides dwDockStyle names (made once), floating frames of CMiniDockFrameWnd.
  void EnableDocking(DWORD dwDockStyle);
  // nDockBarID 0: the dock bar of the bar's own alignment.
  void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
  void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
  void ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
  // Into a new floating frame of m_pFloatingFrameClass at point (screen).
  void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
  virtual CMiniDockFrameWnd* CreateFloatingFrame(DWORD dwStyle);
  // The sides of a visible dock bar the rectangle (screen) touches that dwDockStyle allows.
  DWORD CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar = nullptr);
  void GetDockState(CDockState& state);
  // Applies state to the bars this frame has: unknown ids, bars listed
  // twice and floating records left without bars are passed over.
  void SetDockState(const CDockState& state);

  // ---- routing and translation
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void PostNcDestroy() override;

  enum IdleFlags { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };

  UINT m_nIdleFlags = 0;
  BOOL m_bAutoMenuEnable = TRUE;
  HACCEL m_hAccelTable = nullptr;
  HMENU m_hMenuDefault = nullptr;
  UINT m_nIDHelp = 0;
  UINT m_nIDTracking = 0;
  UINT m_nIDLastMessage = 0;
  int m_nWindow = -1;  // the ":n" of a document's second window; -1 none
  CRect m_rectBorder;  // room kept around the client pane
  CPtrList m_listControlBars;  // in creation order
  CRuntimeClass* m_pFloatingFrameClass = nullptr;
  BOOL m_bHelpMode = FALSE;
  int m_nShowDelay = -1;  // SW_ code applied at the next idle time (floating frames)

 protected:
  CString m_strTitle;
  CView* m_pViewActive = nullptr;
  // Where the focus was when another window took the activation.
  HWND m_hWndFocusOnLeave = nullptr;
  BOOL m_bInRecalcLayout = FALSE;

  void ShowFloatingFrameFor(CControlBar* pBar, CFrameWnd* pFloatingFrame, BOOL bShow, BOOL bDelay);

  afx_msg int OnCreate(LPCREATESTRUCTA lpcs);
  // The creation work, with the context however it arrived (an MDI child's comes inside its MDICREATESTRUCT).
  int OnCreateHelper(LPCREATESTRUCTA lpcs, CCreateContext* pContext);
  afx_msg void OnDestroy();
  afx_msg void OnClose();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg void OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
  afx_msg void OnEnterIdle(UINT nWhy, CWnd* pWho);
  afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg void OnUpdateKeyIndicator(CCmdUI* pCmdUI);
  afx_msg BOOL OnBarCheck(UINT nID);
  afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
  afx_msg BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
};

