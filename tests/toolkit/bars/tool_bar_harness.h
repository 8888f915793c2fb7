// The tool-bar harness: a toolkit frame with two docked tool bars, as a
// program would set them up. The standard bar has images, texts on two
// buttons and a drop-down menu; the format bar a colour button with its
// colour strip, a check button and a combo box on a separator. The standard
// bar is customizable and keeps its layout in the settings store. Commands the
// frame receives are recorded. Tests build it; tool_bar_harness_main.cpp
// shows it by hand.
#pragma once

#include <vector>

#include "classlib/classlib.h"
#include "toolkit/bars/ToolBar.h"
#include "toolkit/frame/FrameWnd.h"

class CToolBarHarness : public CXTFrameWnd {
  DECLARE_MESSAGE_MAP()
 public:
  // A visible frame at rect holding both bars; null on failure.
  static CToolBarHarness* Open(const RECT& rect);

  CXTToolBar m_standard;
  CXTToolBar m_format;
  CComboBox m_fontCombo;
  std::vector<UINT> m_commands;  // as the frame received them
  BOOL m_boldChecked = FALSE;
  BOOL m_printEnabled = TRUE;
  std::vector<UINT> m_ownerDropDowns;  // commands whose drop-down asked the owner

 protected:
  afx_msg int OnCreate(LPCREATESTRUCTA lpcs);
  afx_msg void OnCommandRange(UINT id);
  afx_msg void OnUpdateBold(CCmdUI* ui) { ui->SetCheck(m_boldChecked); }
  afx_msg void OnUpdatePrint(CCmdUI* ui) { ui->Enable(m_printEnabled); }
  afx_msg LRESULT OnOwnerDropDown(WPARAM wParam, LPARAM lParam);

 private:
  BOOL CreateStandardBar();
  BOOL CreateFormatBar();
};
