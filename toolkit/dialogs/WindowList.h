// CXTWindowList: the resizable "Windows" dialog of a multiple-document
// frame, opened by its "More Windows..." command. It lists every child
// window with its icon; the selected ones can be activated, saved, closed,
// cascaded, tiled or minimised. Its place is kept under "CXTWindowList".
#pragma once

#include <vector>

#include "toolkit/dialogs/ResizeDialog.h"
#include "toolkit/dialogs/WindowListBox.h"

class CXTWindowList : public CXTResizeDialog {
  DECLARE_MESSAGE_MAP()
 public:
  // hIcon: the dialog's small icon, or null for the system's application icon.
  CXTWindowList(CMDIFrameWnd* pFrame, HICON hIcon);

  BOOL OnInitDialog() override;

 protected:
  afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMis);
  afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDis);
  afx_msg void OnSelChange();
  afx_msg void OnActivateWindow();
  afx_msg void OnSaveWindows();
  afx_msg void OnCloseWindows();
  afx_msg void OnCascade();
  afx_msg void OnTileHorizontally();
  afx_msg void OnTileVertically();
  afx_msg void OnMinimizeWindows();

 private:
  void FillList();
  void SelectActive();
  void UpdateButtons();
  void Refresh();
  HWND ChildAt(int index) const;
  std::vector<HWND> SelectedChildren() const;
  // Restores the selected children and minimises the others, or with
  // bSelectedOnly minimises just the selected, then sends the MDI client
  // message (tile or cascade).
  void Arrange(BOOL bSelectedOnly, UINT nMessage, WPARAM wParam);

  CMDIFrameWnd* m_pFrame;
  HICON m_hIcon;
  CXTWindowListBox m_list;
};
