// CXTCustomItem: one customizable command as the Commands page and the bars
// hand it to each other in a drag: its kind (0 a button, 1 a control's
// placeholder), texts, command, icons and an optional drop-down descriptor.
#pragma once

#include "classlib/cstring.h"
#include "toolkit/bars/DropDownButtonInfo.h"
#include "toolkit/common/IconHandle.h"

class CXTCustomItem {
 public:
  enum { kButton = 0, kControl = 1 };
  explicit CXTCustomItem(int kind) : m_nKind(kind) {}
  virtual ~CXTCustomItem() { SetDropDown(nullptr, FALSE); }
  CXTCustomItem(const CXTCustomItem&) = delete;
  CXTCustomItem& operator=(const CXTCustomItem&) = delete;

  // Kind, texts, command, a copy of the normal icon and an owned copy of the descriptor.
  virtual CXTCustomItem* Clone() const;
  void SetDropDown(CXTDropDownButtonInfo* info, BOOL owned);

  CString m_strText;
  int m_nKind;
  CString m_strText2;
  UINT m_nCmdID = 0;
  int m_nValue = 0;
  CXTIconHandle m_normalIcon, m_disabledIcon, m_hotIcon;
  CXTDropDownButtonInfo* m_pDropDown = nullptr;
  BOOL m_bOwnsDropDown = FALSE;
};
