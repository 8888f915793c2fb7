// An editable list: a strip with a title and New, Delete, Move Up and Move
// Down buttons above the list, items edited in place, and every change
// told to the list's owner as WM_COMMAND with an XTLBN_ code (see
// ControlMessages.h). Keys: Insert adds, Delete deletes, Alt+Up and
// Alt+Down move the selected item.
//
// The strip takes a 22-pixel band from the top of the list's rectangle. The
// list answers the layout with its whole rectangle, band included, so the
// band is taken once however the list was made and anchored.
#pragma once

#include "toolkit/controls/BrowseEdit.h"
#include "toolkit/controls/EditGroup.h"
#include "toolkit/controls/ListBox.h"
#include "toolkit/dialogs/ResizeLayout.h"

class CXTItemEdit;

// Style flags: the low three bits are the in-place edit's browse kind.
enum : DWORD {
  LBS_XT_NOTOOLBAR = 0x08,  // no strip: a plain editable list
};

class CXTEditListBox : public CXTListBox, public CXTOuterRectProvider {
  DECLARE_DYNAMIC(CXTEditListBox)
  DECLARE_MESSAGE_MAP()
 public:
  CXTEditListBox();
  ~CXTEditListBox() override;

  virtual void SetDlgFilter(LPCSTR lpszFilter) { m_strFilter = lpszFilter; }
  virtual BOOL CreateEditGroup();
  virtual void PositionEditGroup(BOOL bSizeList);
  void SetListEditStyle(LPCSTR lpszTitle, DWORD dwLStyle);
  void SetListEditStyle(UINT nTitle, DWORD dwLStyle);

  void EditItem(BOOL bNewItem);
  void NewItem() { EditItem(TRUE); }
  void DeleteItem();
  void MoveItemUp();
  void MoveItemDown();

  BOOL PreTranslateMessage(MSG* pMsg) override;
  void GetOuterRect(CRect& rect) const override;
  CXTItemEdit* GetItemEdit() const { return m_pItemEdit; }
  CXTEditGroup& GetEditGroup() { return m_editGroup; }

 protected:
  BOOL InitListBox() override;
  afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcMButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcRButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnEndEdit();
  afx_msg void OnGroupNew();
  afx_msg void OnGroupDelete();
  afx_msg void OnGroupMoveUp();
  afx_msg void OnGroupMoveDown();

  void Notify(UINT nCode);
  void EndItemEditNow();
  int BandHeight() const;

  int m_nIndex = -1;
  BOOL m_bNewItem = FALSE;
  CString m_strItemText;
  CXTEditGroup m_editGroup;
  DWORD m_dwLStyle = BES_XT_CHOOSEDIR;
  CString m_strTitle;
  CString m_strFilter;
  CXTItemEdit* m_pItemEdit = nullptr;
  BOOL m_bBanded = FALSE;  // the strip has its band
};
