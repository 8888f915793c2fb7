// The password prompt of a protected container.
#pragma once

#include "ExtractCallback.h"
#include "LinkStatic.h"
#include "StatusLight.h"
#include "stub_dialog.h"

class CPasswordVerifyDlg : public CStubDialogImpl<CPasswordVerifyDlg> {
public:
    CPasswordVerifyDlg();
    ~CPasswordVerifyDlg() override;

    // What was typed, at most kMaxPasswordLength characters.
    const char* Password() const { return m_password; }
    const CStatusLight& Light() const { return m_light; }

    static const StubMessageEntry<CPasswordVerifyDlg> kMessageMap[];
    static const size_t kMessageMapSize;

private:
    INT_PTR OnInitDialog(WPARAM, LPARAM);
    INT_PTR OnColourStatic(WPARAM, LPARAM);
    INT_PTR OnPasswordChange(WPARAM, LPARAM);

    char m_password[kMaxPasswordLength + 1] = {};
    CStatusLight m_light;
    CLinkStatic m_link;
};
