// Views: the windows that show a document inside a frame. A view joins its
// document when it is created (from the creation context) and leaves it when
// it is deleted; commands it does not handle go on to its document.
#pragma once

#include "classlib/frame/framewnd.h"

class CSplitterWnd;

class CView : public CWnd {
  DECLARE_DYNAMIC(CView)
  DECLARE_MESSAGE_MAP()
 public:
  CView();
  ~CView() override;

  CDocument* GetDocument() const { return m_pDocument; }
  virtual void OnDraw(CDC* pDC) = 0;
  virtual void OnInitialUpdate();
  virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
  virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
  virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd) {}
  // The splitter the view is a pane of, or null.
  static CSplitterWnd* GetParentSplitter(const CWnd* pWnd, BOOL bAnyState);

  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  void PostNcDestroy() override;

  CDocument* m_pDocument = nullptr;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCTA lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);
  afx_msg BOOL OnNextPaneCmd(UINT nID);
  afx_msg void OnUpdateNextPaneMenu(CCmdUI* pCmdUI);

  friend class CDocument;
};

// A view larger than its window: scroll bars appear when the window is
// smaller than the total size.
class CScrollView : public CView {
  DECLARE_DYNAMIC(CScrollView)
  DECLARE_MESSAGE_MAP()
 public:
  void SetScrollSizes(int nMapMode, SIZE sizeTotal, SIZE sizePage = CSize(0, 0), SIZE sizeLine = CSize(0, 0));
  CSize GetTotalSize() const { return m_totalLog; }
  CPoint GetScrollPosition() const;
  void ScrollToPosition(POINT pt);
  void OnDraw(CDC*) override {}

 protected:
  void UpdateBars();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);

  int m_nMapMode = MM_TEXT;
  CSize m_totalLog;
  CSize m_pageDev;
  CSize m_lineDev;

 private:
  void ScrollBy(int nBar, int nNewPos);
};

// A view made from a child dialog template: the controls, with DLGINIT
// rows and data exchange, and dialog keys once the frames had their turn.
class CFormView : public CScrollView {
  DECLARE_DYNCREATE(CFormView)
  DECLARE_MESSAGE_MAP()
 public:
  CFormView() = default;
  explicit CFormView(UINT nIDTemplate) : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)) {}
  explicit CFormView(LPCSTR lpszTemplateName) : m_lpszTemplateName(lpszTemplateName) {}

  BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
              UINT nID, void* lpParam = nullptr) override;
  void OnInitialUpdate() override;
  void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
  void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd) override;
  // The frames translate first (their accelerators), then the dialog keys.
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void OnDraw(CDC*) override {}

  LPCSTR m_lpszTemplateName = nullptr;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCTA lpcs);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg LRESULT HandleInitDialog(WPARAM, LPARAM);

 private:
  // The focus the form had when it was last left, given back on return.
  BOOL SaveFocusControl();
  CCreateContext* m_pCreateContext = nullptr;
  HWND m_hWndFocus = nullptr;
};
