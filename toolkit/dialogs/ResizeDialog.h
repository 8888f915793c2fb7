// A dialog whose controls follow its size by their anchors (see
// ResizeLayout.h). A derived dialog calls the base OnInitDialog first, then
// SetAnchor for each control that moves or stretches.
#pragma once

#include "classlib/dialog.h"
#include "toolkit/dialogs/ResizeWindow.h"

class CXTResizeDialog : public CXTResizeWindow<CDialog> {
  DECLARE_DYNAMIC(CXTResizeDialog)
 public:
  CXTResizeDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr, UINT nFlags = 0);

  // Without a sizing border the dialog gets no grip.
  BOOL OnInitDialog() override;

 protected:
  UINT m_nDialogID;
};
