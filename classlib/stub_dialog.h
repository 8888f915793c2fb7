// The stub's dialog layer: a modal dialog whose messages are routed through a
// static table of handlers of the derived class.
#pragma once

#include <windows.h>

// Matches any notification code or any control in a table entry.
constexpr UINT kStubAnyCode = 0xFFFFFFFFu;

class CStubDialog {
public:
    explicit CStubDialog(UINT templateId) : m_templateId(templateId) {}
    virtual ~CStubDialog() = default;
    CStubDialog(const CStubDialog&) = delete;
    CStubDialog& operator=(const CStubDialog&) = delete;

    // Runs the dialog modally; the result is the code given to EndDialog,
    // or -1 when the template could not be loaded.
    INT_PTR DoModal(HINSTANCE instance, HWND owner);

    // The dialog object of window, when window is a dialog of this layer
    // made from template templateId; else null.
    static CStubDialog* FromHandle(HWND window, UINT templateId);

    HWND GetHwnd() const { return m_hwnd; }
    HWND GetItem(int id) const { return GetDlgItem(m_hwnd, id); }
    HINSTANCE GetInstance() const { return m_instance; }
    void End(INT_PTR code) { EndDialog(m_hwnd, code); }
    // Centres the dialog on its owner, or on the desktop without one.
    void CentreOnOwner();
    // A message map handler that ends the dialog with the command's id.
    INT_PTR EndWithCommand(WPARAM wParam, LPARAM);

protected:
    // Returns true and sets result when the derived class handles the message.
    virtual bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) = 0;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    HWND m_hwnd = nullptr;
    HINSTANCE m_instance = nullptr;
};

// One line of a message map. The handler's return value is the dialog
// procedure's (TRUE for a handled message, a brush for WM_CTLCOLOR*, the focus
// flag for WM_INITDIALOG). For WM_COMMAND the entry matches when the control
// id lies in [idFirst, idLast] and the notification equals code (or code is
// kStubAnyCode); for any other message only the message must match.
template <class T>
struct StubMessageEntry {
    UINT message;
    UINT code;
    UINT idFirst;
    UINT idLast;
    INT_PTR (T::*handler)(WPARAM wParam, LPARAM lParam);
};

// Base of the concrete dialogs: T supplies
//   static const StubMessageEntry<T> kMessageMap[]; static const size_t kMessageMapSize;
// Unmatched messages get the system dialog's default handling.
template <class T>
class CStubDialogImpl : public CStubDialog {
public:
    using CStubDialog::CStubDialog;

protected:
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override {
        for (size_t i = 0; i < T::kMessageMapSize; ++i) {
            const StubMessageEntry<T>& entry = T::kMessageMap[i];
            if (entry.message != message || !Matches(entry, message, wParam))
                continue;
            result = (static_cast<T*>(this)->*entry.handler)(wParam, lParam);
            return true;
        }
        return false;
    }

private:
    static bool Matches(const StubMessageEntry<T>& entry, UINT message, WPARAM wParam) {
        if (message != WM_COMMAND)
            return true;
        const UINT id = LOWORD(wParam);
        const UINT code = HIWORD(wParam);
        return id >= entry.idFirst && id <= entry.idLast &&
               (entry.code == kStubAnyCode || entry.code == code);
    }
};
