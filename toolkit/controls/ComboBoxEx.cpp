#include "toolkit/controls/ComboBoxEx.h"

IMPLEMENT_DYNAMIC(CXTComboBoxEx, CComboBox)

// The window goes before the combo-box part of the object does.
CXTComboBoxEx::~CXTComboBoxEx() {
  if (m_hWnd) DestroyWindow();
}
