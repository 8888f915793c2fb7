// The status bar: a row of panes on the common status control. Pane widths
// come from the indicator texts; pane 0 stretches and shows the window text
// (so the frame's prompts reach it through WM_SETTEXT); each pane is
// updated through CCmdUI at idle time.
#pragma once

#include <vector>

#include "classlib/bars/controlbar.h"

#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS 0x0100
#define SBPS_POPOUT 0x0200
#define SBPS_OWNERDRAW 0x1000
#define SBPS_DISABLED 0x04000000
#define SBPS_STRETCH 0x08000000

class CStatusBar : public CControlBar {
  DECLARE_DYNAMIC(CStatusBar)
  DECLARE_MESSAGE_MAP()
 public:
  CStatusBar();
  ~CStatusBar() override;

  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
  BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);
  // Ids with texts in the string table size their panes; 0 is a separator
  // (the first one stretches).
  BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

  int CommandToIndex(UINT nIDFind) const;
  UINT GetItemID(int nIndex) const;
  void GetItemRect(int nIndex, LPRECT lpRect) const;
  void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
  void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
  UINT GetPaneStyle(int nIndex) const;
  void SetPaneStyle(int nIndex, UINT nStyle);
  CString GetPaneText(int nIndex) const;
  BOOL SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate = TRUE);

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

  int m_nMinHeight = 0;

 protected:
  struct Pane {
    UINT nID;
    UINT nStyle;
    int cxText;
    CString strText;
  };
  Pane* GetPanePtr(int nIndex) const;
  // Tells the control the parts' right edges and (with bUpdateText) their texts.
  void UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText);

  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnSetText(WPARAM, LPARAM lParam);
  afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetTextLength(WPARAM, LPARAM);
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }

 private:
  Pane* m_pPanes = nullptr;
};

// Updates one status pane: disabling blanks it, a check pops it out.
class CStatusCmdUI : public CCmdUI {
 public:
  void Enable(BOOL bOn) override;
  void SetCheck(int nCheck) override;
  void SetText(LPCSTR lpszText) override;
};
