#include "LinkStatic.h"

#include <shellapi.h>

namespace {
const char kMakerWebPage[] = "https://www.korvane.example/brennicor/";
constexpr COLORREF kLinkColour = RGB(0, 51, 204);
}

CLinkStatic::~CLinkStatic() {
    Detach();
    if (m_font != nullptr)
        DeleteObject(m_font);
}

bool CLinkStatic::AttachLink(HWND control) {
    if (!Attach(control))
        return false;
    LOGFONTA font = {};
    HFONT current = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    GetObjectA(current ? static_cast<HGDIOBJ>(current) : GetStockObject(DEFAULT_GUI_FONT),
               sizeof font, &font);
    font.lfUnderline = TRUE;
    m_font = CreateFontIndirectA(&font);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    return true;
}

INT_PTR CLinkStatic::ColourFor(WPARAM dc, LPARAM control) const {
    if (GetHwnd() == nullptr || reinterpret_cast<HWND>(control) != GetHwnd())
        return 0;
    SetTextColor(reinterpret_cast<HDC>(dc), kLinkColour);
    SetBkMode(reinterpret_cast<HDC>(dc), TRANSPARENT);
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT CLinkStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETCURSOR:
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        return TRUE;
    case WM_LBUTTONUP:
        ShellExecuteA(nullptr, "open", kMakerWebPage, nullptr, nullptr, SW_SHOWNORMAL);
        return 0;
    }
    return DefaultProc(message, wParam, lParam);
}
