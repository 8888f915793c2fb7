// CXTControlBar: the base of every toolkit bar. Over the class library's bar
// it adds a second style word (the double gripper), the flat look of borders
// and grippers painted off-screen in the non-client area, the docked side
// read from the parent dock bar's id, 8-point bar fonts, a gripper that shows
// the move cursor, a context menu listing the frame's bars, visibility
// listeners called after every delayed show or hide, and the routing of
// command, notify and owner-draw messages to the owner.
//
// Files: ControlBar.cpp (state, queries, messages), ControlBarPaint.cpp
// (borders, gripper, non-client area), BarListMenu.cpp (the bar list).
#pragma once

#include "classlib/bars/controlbar.h"
#include "classlib/frame/framewnd.h"
#include "toolkit/common/ListenerArray.h"

// Bits of the toolkit's second bar style word.
enum : DWORD {
  XT_CBS_DOUBLE_GRIPPER = 0x0004,
  XT_CBS_LAST_DOCKED = 0x1000,  // a dock window that was docked last
  XT_CBS_DEFAULT = 0x0023,
};

// Idle time: a pending delayed show or hide happens now; TRUE when the bar
// (and its dock bar) then shows and so should update its commands.
BOOL ApplyIdleShowState(CControlBar* bar);

class CXTControlBar : public CControlBar {
  DECLARE_DYNAMIC(CXTControlBar)
  DECLARE_MESSAGE_MAP()
 public:
  CXTControlBar();
  ~CXTControlBar() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void CalcInsideRect(CRect& rect, BOOL bHorz) const override;
  void DoPaint(CDC*) override {}
  void DrawBorders(CDC* pDC, CRect& rect) override;
  void DrawGripper(CDC* pDC, const CRect& rect) override;
  void DelayShow(BOOL bShow) override;
  BOOL SetStatusText(INT_PTR nHit) override;

  using CControlBar::SetBorders;
  virtual void SetBorders(const RECT* borders);
  virtual CRect GetBorders() const;
  virtual DWORD GetXTBarStyle() const { return m_dwXTBarStyle; }
  virtual void SetXTBarStyle(DWORD style);
  // Recomputes the non-client area; a dock bar holding the bar takes the style too.
  virtual BOOL ModifyXTBarStyle(DWORD remove, DWORD add, BOOL redraw);
  // menuId 0: a right click lists the frame's bars.
  virtual void SetContextMenu(UINT menuId, int subIndex);
  virtual UINT GetContextMenuId() const { return m_nContextMenuId; }
  virtual BOOL IsLeftDocked() const;
  virtual BOOL IsRightDocked() const;
  virtual BOOL IsTopDocked() const;
  virtual BOOL IsBottomDocked() const;
  virtual BOOL IsHorzDocked() const;
  virtual BOOL IsVertDocked() const;
  // Docked on none of the frame's four sides.
  virtual BOOL IsFloating() const;
  virtual COLORREF GetBackColor() const;
  virtual BOOL CanDockToFrame(CFrameWnd*) const { return m_bOtherFrameDocking; }
  virtual BOOL GetBandInfo(REBARBANDINFOA* info, BOOL bHorz);
  virtual void RebarBandNotify(LPARAM, BOOL) {}
  virtual BOOL CanDragFullWindow() const { return FALSE; }
  virtual BOOL RebarQuery(LPARAM) { return FALSE; }
  virtual void CreateBarFonts();
  virtual BOOL HitTestGripper() const;
  // Lists the frame's bars in a popup at the point (screen); TRUE.
  virtual BOOL ShowContextMenu(POINT* point, CFrameWnd* frame);
  virtual void DrawNcArea();
  // Whether the owner may receive this bar's command updates.
  virtual BOOL IsUpdateTarget(CWnd*) const { return FALSE; }

  // Also makes the parent the owner of a bar that has none.
  void EnableDocking(DWORD dwDockStyle);
  CXTListenerArray& VisibilityListeners() { return m_visibilityListeners; }
  BOOL IsInRebar() const { return m_bInRebar; }
  CFont& GetBarFont() { return m_fontNormal; }
  CFont& GetVertBarFont() { return m_fontVertical; }
  CFont& GetBoldBarFont() { return m_fontBold; }

  // The bar list: one item per listed bar of the frame, checked when visible;
  // null when no bar qualifies. The caller destroys the menu.
  static HMENU BuildBarListMenu(CFrameWnd* frame);

  BYTE m_bListed = TRUE;

 protected:
  afx_msg void OnWindowPosChanging(WINDOWPOS* pos);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg BOOL OnEraseBkgnd(CDC*) { return FALSE; }
  afx_msg void OnNcPaint() { DrawNcArea(); }
  afx_msg void OnPaint();
  afx_msg int OnCreate(LPCREATESTRUCTA lpcs);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnAddRebar(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRebarNotify(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnQueryFullWindowDrag(WPARAM, LPARAM);
  afx_msg LRESULT OnRebarQuery(WPARAM, LPARAM lParam);

  // The frame of the window docked last; the bar list menu's owner.
  CFrameWnd* FrameForBarList() const;
  void TrackOwnContextMenu(CPoint point);
  CWnd* IdleUpdateTarget() const;
  // The docked side: the id of the parent window.
  UINT ParentId() const;

  CXTListenerArray m_visibilityListeners;
  SIZE m_defaultSizes[4];
  int m_reserved[2] = {0, 0};
  DWORD m_dwXTBarStyle = XT_CBS_DEFAULT;
  CFrameWnd* m_pCreationFrame = nullptr;
  int m_nContextMenuSubIndex = 0;
  UINT m_nContextMenuId = 0;
  BYTE m_bInRebar = FALSE;
  CFont m_fontNormal, m_fontVertical, m_fontBold;
  BYTE m_bOtherFrameDocking = FALSE;
};
