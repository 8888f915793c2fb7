// A combo box that remembers what was typed in it: its rows are the values
// "Item0" to "Item15" of a registry key under HKEY_CURRENT_USER, loaded at
// every drop-down and saved, with the text being edited last, when the
// window goes. Each row shows the shell's icon for its path.
#pragma once
#include "toolkit/controls/ComboBoxEx.h"

constexpr int kHistoryItems = 16;
constexpr int kHistoryValueBytes = 260;  // the longest value, terminator included

class CMyHistoryComboBoxExtended : public CXTComboBoxEx {
  DECLARE_DYNAMIC(CMyHistoryComboBoxExtended)
  DECLARE_MESSAGE_MAP()
 public:
  CMyHistoryComboBoxExtended() = default;

  // The key below HKEY_CURRENT_USER; empty until the owner sets it.
  void SetHistoryKey(LPCSTR keyPath) { keyPath_ = keyPath ? keyPath : ""; }
  // Adds the stored rows not yet shown, then the edit text when it is new. 1.
  int LoadHistory();
  // 0 when the key cannot be written; else 1, with what was written before
  // any failed write.
  int SaveHistory();
  // The first row equal to text (case and all), or -1.
  int FindItem(LPCSTR text);

 protected:
  afx_msg void OnDestroy();
  afx_msg void OnDropDown();

 private:
  bool RowText(int row, CString* text);
  void AddRow(const CString& text);
  void FitDropDownWidth();

  BOOL imageListInstalled_ = FALSE;
  int maxItems_ = kHistoryItems;
  CString keyPath_;
};
