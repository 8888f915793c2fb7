// A property page whose controls follow its size by their anchors (see
// ResizeLayout.h). Pages never have a grip: the sheet carries it.
#pragma once

#include "classlib/propertysheet.h"
#include "toolkit/dialogs/ResizeWindow.h"

class CXTResizePropertyPage : public CXTResizeWindow<CPropertyPage> {
  DECLARE_DYNAMIC(CXTResizePropertyPage)
 public:
  CXTResizePropertyPage(UINT nIDTemplate, UINT nIDCaption = 0, UINT nFlags = 0);

  BOOL OnInitDialog() override;

 protected:
  UINT m_nDialogID;
};
