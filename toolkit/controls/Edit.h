// An edit control with the toolkit's own context menu (Undo, Cut, Copy,
// Paste, Delete, Select All), each command enabled only when it can act and
// drawn by the cool menus with its command image, and flicker-free painting
// in the toolkit's window colour.
#pragma once

#include "classlib/controls.h"
#include "toolkit/menus/CoolMenu.h"

// The commands of the edit's context menu.
enum : UINT {
  ID_XT_EDIT_CLEAR = 57632,
  ID_XT_EDIT_COPY = 57634,
  ID_XT_EDIT_CUT = 57635,
  ID_XT_EDIT_PASTE = 57637,
  ID_XT_EDIT_SELECT_ALL = 57642,
  ID_XT_EDIT_UNDO = 57643,
};

class CXTEdit : public CEdit {
  DECLARE_DYNAMIC(CXTEdit)
  DECLARE_MESSAGE_MAP()
 public:
  CXTEdit() = default;

  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;
  virtual BOOL CanPasteText() const;
  virtual BOOL HasSelection() const;
  // Sets the control up once it has its window; 0 without one.
  virtual BOOL InitEditControl();

 protected:
  void PreSubclassWindow() override;
  afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();

  afx_msg void OnEditUndo();
  afx_msg void OnEditCut();
  afx_msg void OnEditCopy();
  afx_msg void OnEditPaste();
  afx_msg void OnEditClear();
  afx_msg void OnEditSelectAll();
  afx_msg void OnUpdateEditUndo(CCmdUI* pCmdUI);
  afx_msg void OnUpdateNeedsSelection(CCmdUI* pCmdUI);
  afx_msg void OnUpdateEditPaste(CCmdUI* pCmdUI);
  afx_msg void OnUpdateEditSelectAll(CCmdUI* pCmdUI);

  CXTCoolMenu m_coolMenu;   // draws the context menu, hooked on the edit
  BOOL m_bCreated = FALSE;  // made by Create rather than subclassed
};
