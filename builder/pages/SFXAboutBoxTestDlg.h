// The preview of the about text, in the about box's frame.
#pragma once
#include "TextPreviewDlg.h"
#include "builder_resource.h"

class CSFXAboutBoxTestDlg : public CSFXTextPreviewDlg {
 public:
  CSFXAboutBoxTestDlg(const std::string& text, CWnd* parent) : CSFXTextPreviewDlg(IDD_ABOUT_PREVIEW, text, parent) {}
};
