// The preview of the message shown before extraction, in its box's frame.
#pragma once
#include "TextPreviewDlg.h"
#include "builder_resource.h"

class CSFXCustomMessageTestDlg : public CSFXTextPreviewDlg {
 public:
  CSFXCustomMessageTestDlg(const std::string& text, CWnd* parent)
      : CSFXTextPreviewDlg(IDD_MESSAGE_PREVIEW, text, parent) {}
};
