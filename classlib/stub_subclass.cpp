#include "stub_subclass.h"

#include <commctrl.h>

namespace {
constexpr UINT_PTR kSubclassId = 0x5354;  // one subclass per window and object kind
}

bool CStubSubclassedWindow::Attach(HWND hwnd) {
    if (hwnd == nullptr || m_hwnd != nullptr)
        return false;
    if (!SetWindowSubclass(hwnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    m_hwnd = hwnd;
    return true;
}

void CStubSubclassedWindow::Detach() {
    if (m_hwnd == nullptr)
        return;
    RemoveWindowSubclass(m_hwnd, SubclassProc, kSubclassId);
    m_hwnd = nullptr;
}

LRESULT CStubSubclassedWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultProc(message, wParam, lParam);
}

LRESULT CStubSubclassedWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefSubclassProc(m_hwnd, message, wParam, lParam);
}

// A window can die before its object: on WM_NCDESTROY the link is cut, so a
// later Detach does not touch a dead window.
LRESULT CALLBACK CStubSubclassedWindow::SubclassProc(HWND hwnd, UINT message, WPARAM wParam,
                                                     LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<CStubSubclassedWindow*>(data);
    if (message == WM_NCDESTROY) {
        const LRESULT result = self->WindowProc(message, wParam, lParam);
        RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
        self->m_hwnd = nullptr;
        return result;
    }
    return self->WindowProc(message, wParam, lParam);
}
