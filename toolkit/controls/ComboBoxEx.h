// The common-controls extended combo box, created by the toolkit. Items go in
// only through InsertItem: the control refuses the plain combo box's
// string messages.
#pragma once

#include "classlib/controls.h"

class CXTComboBoxEx : public CComboBoxEx {
  DECLARE_DYNAMIC(CXTComboBoxEx)
 public:
  CXTComboBoxEx() = default;
  ~CXTComboBoxEx() override;
};
