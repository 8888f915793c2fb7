// Control bars: windows docked along an edge of a frame. The frame lays them
// out through WM_SIZEPARENT; they update their state at idle time through
// CCmdUI and may show or hide themselves only then (delayed show).
#pragma once

#include "classlib/frame/layout.h"
#include "classlib/resource.h"
#include "classlib/wnd.h"

class CFrameWnd;
class CDockBar;
class CDockContext;
struct CControlBarInfo;

// Bar styles: the low word of the style a bar is created with, plus the gripper.
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_FLOAT_MULTI 0x0040L
#define CBRS_BORDER_3D 0x0080L
#define CBRS_HIDE_INPLACE 0x0008L
#define CBRS_SIZE_DYNAMIC 0x0004L
#define CBRS_SIZE_FIXED 0x0002L
#define CBRS_FLOATING 0x0001L
#define CBRS_GRIPPER 0x00400000L
#define CBRS_ORIENT_HORZ (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ORIENT_ANY (CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT)
#define CBRS_ALL 0x0040FFFFL
#define CBRS_NOALIGN 0x00000000L
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// CalcDynamicLayout modes.
#define LM_STRETCH 0x01
#define LM_HORZ 0x02
#define LM_MRUWIDTH 0x04
#define LM_HORZDOCK 0x08
#define LM_VERTDOCK 0x10
#define LM_LENGTHY 0x20
#define LM_COMMIT 0x40

class CControlBar : public CWnd {
  DECLARE_DYNAMIC(CControlBar)
  DECLARE_MESSAGE_MAP()
 public:
  CControlBar();
  ~CControlBar() override;

  // The base gives 32767 along a stretched side and nothing across it, plus the borders.
  virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
  virtual CSize CalcDynamicLayout(int nLength, DWORD nMode);
  virtual void CalcInsideRect(CRect& rect, BOOL bHorz) const;
  virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
  virtual void DoPaint(CDC* pDC);
  virtual void DrawBorders(CDC* pDC, CRect& rect);
  virtual void DrawGripper(CDC* pDC, const CRect& rect);
  virtual void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {}
  virtual BOOL IsDockBar() const { return FALSE; }

  // Shown or hidden at the next idle time or layout.
  virtual void DelayShow(BOOL bShow);
  // Visible, counting a pending delayed show or hide.
  BOOL IsVisible() const;
  // The style a layout should treat the bar as having, applying a pending
  // show or hide when the layout really moves windows (a dock bar's layout
  // does it for the bars it holds).
  DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout);
  DWORD GetBarStyle() const { return m_dwStyle; }
  void SetBarStyle(DWORD dwStyle);
  void EnableDocking(DWORD dwDockStyle);
  CFrameWnd* GetDockingFrame() const;
  BOOL IsFloating() const;
  int GetCount() const { return m_nCount; }
  void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
  // This bar's state and place; a dock bar adds its rows.
  virtual void GetBarInfo(CControlBarInfo* pInfo);
  virtual void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd);
  // Puts the prompt of tool nHit on the owner's status line (-1 takes it back).
  virtual BOOL SetStatusText(INT_PTR nHit);

  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override;

  enum StateFlags { delayHide = 1, delayShow = 2, tempHide = 4, statusSet = 8 };

  int m_cxLeftBorder = 6, m_cxRightBorder = 6;
  int m_cyTopBorder = 2, m_cyBottomBorder = 2;
  int m_cxDefaultGap = 2;
  int m_nMRUWidth = 32767;
  BOOL m_bAutoDelete = FALSE;
  UINT m_nStateFlags = 0;
  DWORD m_dwStyle = 0;      // CBRS_* bits
  DWORD m_dwDockStyle = 0;  // the sides it may dock on
  CFrameWnd* m_pDockSite = nullptr;
  CDockBar* m_pDockBar = nullptr;
  CDockContext* m_pDockContext = nullptr;
  int m_nCount = 0;
  void* m_pData = nullptr;

 protected:
  // The window style of a bar: the CBRS bits go to m_dwStyle.
  DWORD SplitBarStyle(DWORD dwStyle);

  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg int OnCreate(LPCREATESTRUCTA lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg void OnNcPaint();
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint pt);

 private:
  // The status text stays while the mouse is over the bar; a timer takes it back.
  void CheckFlybyStillOver();
};
