// An owner-drawn list box with a check box in front of every item. Each
// item's data is a record the list owns (check state, enabled, the caller's
// data); it is freed when the item goes, by delete, reset or destruction.
// The check style decides what a click does:
//   BS_CHECKBOX, BS_3STATE          the owner sets the states; clicks do nothing
//   BS_AUTOCHECKBOX                 unchecked, checked, unchecked ...
//   BS_AUTO3STATE                   unchecked, checked, indeterminate, unchecked ...
#pragma once

#include "classlib/gdiobject.h"
#include "toolkit/controls/ListBox.h"

class CXTCheckListBox : public CXTListBox {
  DECLARE_DYNAMIC(CXTCheckListBox)
  DECLARE_MESSAGE_MAP()
 public:
  // nIDBitmap: three equal check images side by side (unchecked, checked, indeterminate).
  explicit CXTCheckListBox(UINT nIDBitmap);
  ~CXTCheckListBox() override;

  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;
  // State 2 is refused by the two-state styles; FALSE then.
  BOOL SetCheck(int nIndex, int nCheck);
  int GetCheck(int nIndex) const;
  BOOL IsEnabled(int nIndex) const;
  void Enable(int nIndex, BOOL bEnabled = TRUE);

  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
  void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override;
  void DeleteItem(LPDELETEITEMSTRUCT lpDIS) override;

  UINT m_nStyle = 0;  // the check style, set by the owner before use

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);

  struct CheckData;
  CheckData* RecordOf(int nIndex) const;
  CheckData* EnsureRecord(int nIndex);
  int HitTest(CPoint point, BOOL& bOnCheckBox) const;
  int NextState(int nState) const;
  bool IsAutomatic() const { return m_nStyle == BS_AUTOCHECKBOX || m_nStyle == BS_AUTO3STATE; }
  void AdvanceCheck(int nIndex);
  void NotifyCheckChange();
  void InvalidateCheck(int nIndex);
  void SetFixedItemHeight();
  int MinimumItemHeight() const;

  CBitmap m_checks;
  CSize m_sizeCheck;  // one image
  int m_cyText = 0;
};
