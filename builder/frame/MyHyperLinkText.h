// A start-page link: a click runs what its target names (an action, a help
// page, a recent project) instead of handing the target to the shell.
#pragma once
#include "toolkit/controls/HyperLink.h"

class CMyHyperLinkText : public CXTHyperLink {
  DECLARE_DYNAMIC(CMyHyperLinkText)
  DECLARE_MESSAGE_MAP()
 public:
  CMyHyperLinkText();

 protected:
  afx_msg void OnClicked();
};
