#include "stub_dialog.h"

INT_PTR CStubDialog::DoModal(HINSTANCE instance, HWND owner) {
    m_instance = instance;
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(m_templateId), owner, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

CStubDialog* CStubDialog::FromHandle(HWND window, UINT templateId) {
    if (window == nullptr ||
        GetWindowLongPtrA(window, DWLP_DLGPROC) != reinterpret_cast<LONG_PTR>(&CStubDialog::DialogProc))
        return nullptr;
    auto* dialog = reinterpret_cast<CStubDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    return dialog != nullptr && dialog->m_templateId == templateId ? dialog : nullptr;
}

void CStubDialog::CentreOnOwner() {
    HWND owner = GetWindow(m_hwnd, GW_OWNER);
    RECT area;
    if (owner == nullptr || !IsWindowVisible(owner))
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    else
        GetWindowRect(owner, &area);
    RECT self;
    GetWindowRect(m_hwnd, &self);
    const int width = self.right - self.left;
    const int height = self.bottom - self.top;
    const int x = area.left + (area.right - area.left - width) / 2;
    const int y = area.top + (area.bottom - area.top - height) / 2;
    SetWindowPos(m_hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CStubDialog::EndWithCommand(WPARAM wParam, LPARAM) {
    End(LOWORD(wParam));
    return TRUE;
}

// The object pointer arrives with WM_INITDIALOG and is kept in the window's
// user slot; messages that come before it (WM_SETFONT) get default handling.
INT_PTR CALLBACK CStubDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CStubDialog* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CStubDialog*>(lParam);
        self->m_hwnd = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<CStubDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (self == nullptr)
        return FALSE;
    INT_PTR result = 0;
    const bool handled = self->Dispatch(message, wParam, lParam, result);
    if (message == WM_NCDESTROY)
        self->m_hwnd = nullptr;
    return handled ? result : FALSE;
}
