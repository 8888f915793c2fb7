// The about box and the custom message: a text in a rich edit control, OK
// (end code 1) and, for the message, Cancel (end code 2, also Escape and the close box).
#pragma once

#include "stub_dialog.h"

#include <string>

class CRichTextDlg : public CStubDialogImpl<CRichTextDlg> {
public:
    CRichTextDlg(UINT templateId, int textControl, std::string text)
        : CStubDialogImpl(templateId), m_textControl(textControl), m_text(std::move(text)) {}

    static const StubMessageEntry<CRichTextDlg> kMessageMap[];
    static const size_t kMessageMapSize;

private:
    INT_PTR OnInitDialog(WPARAM, LPARAM);

    int m_textControl;
    std::string m_text;
};

class CAboutTextDlg : public CRichTextDlg {
public:
    explicit CAboutTextDlg(std::string text);
};

class CCustomMessageDlg : public CRichTextDlg {
public:
    explicit CCustomMessageDlg(std::string text);
};
