#include "StatusLight.h"

#include "stub_resource.h"

namespace {
constexpr int kCell = 16;
constexpr int kStandardDpi = 96;
constexpr UINT_PTR kBlinkTimer = 1;
constexpr COLORREF kTransparent = RGB(255, 0, 255);
}  // namespace

CStatusLight::~CStatusLight() {
    Detach();
    if (m_bitmap != nullptr)
        DeleteObject(m_bitmap);
}

bool CStatusLight::AttachLight(HWND control, HINSTANCE instance) {
    if (!Attach(control))
        return false;
    m_bitmap = static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDB_STATUS_LIGHT), IMAGE_BITMAP, 0, 0, 0));
    m_row = 0;
    m_column = 1;
    m_extra = 0;
    return m_bitmap != nullptr;
}

void CStatusLight::SetCell(int row, int column, int extra) {
    m_row = row;
    m_column = column;
    m_extra = extra;
    if (GetHwnd() != nullptr) {
        InvalidateRect(GetHwnd(), nullptr, FALSE);
        UpdateWindow(GetHwnd());
    }
}

void CStatusLight::SetBlink(UINT milliseconds) {
    if (GetHwnd() != nullptr)
        SetTimer(GetHwnd(), kBlinkTimer, milliseconds, nullptr);
}

LRESULT CStatusLight::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam != kBlinkTimer)
            break;
        m_phase ^= 1;
        SetCell(m_row, m_phase, m_extra);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(GetHwnd(), &paint);
        Draw(dc);
        EndPaint(GetHwnd(), &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_DESTROY:
        KillTimer(GetHwnd(), kBlinkTimer);
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

// Transparent copy by masking: background ^ cell, & mask, ^ cell leaves the
// background where the cell is magenta and the cell everywhere else. The
// cells are drawn for 96 DPI: the light is made at that size over the
// background and stretched smoothly to the screen's text size.
void CStatusLight::Draw(HDC dc) {
    RECT client;
    GetClientRect(GetHwnd(), &client);
    const int width = client.right, height = client.bottom;
    if (m_bitmap == nullptr || width <= 0 || height <= 0)
        return;
    const int shown = MulDiv(kCell, GetDeviceCaps(dc, LOGPIXELSY), kStandardDpi);
    const int x = width >= shown && height >= shown ? (width - shown) / 2 : 0;
    const int y = width >= shown && height >= shown ? (height - shown) / 2 : 0;
    const int cellX = m_column * kCell, cellY = m_row + m_extra;

    HDC cellDc = CreateCompatibleDC(dc);
    HGDIOBJ oldCell = SelectObject(cellDc, m_bitmap);
    HDC maskDc = CreateCompatibleDC(dc);
    HBITMAP mask = CreateBitmap(kCell, kCell, 1, 1, nullptr);
    HGDIOBJ oldMask = SelectObject(maskDc, mask);
    SetBkColor(cellDc, kTransparent);
    BitBlt(maskDc, 0, 0, kCell, kCell, cellDc, cellX, cellY, SRCCOPY);

    HDC frameDc = CreateCompatibleDC(dc);
    HBITMAP frame = CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ oldFrame = SelectObject(frameDc, frame);
    HBRUSH background = reinterpret_cast<HBRUSH>(
        SendMessageA(GetParent(GetHwnd()), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(frameDc),
                     reinterpret_cast<LPARAM>(GetHwnd())));
    if (background == nullptr)
        background = GetSysColorBrush(COLOR_BTNFACE);
    FillRect(frameDc, &client, background);

    HDC lightDc = CreateCompatibleDC(dc);
    HBITMAP light = CreateCompatibleBitmap(dc, kCell, kCell);
    HGDIOBJ oldLight = SelectObject(lightDc, light);
    const RECT cell = {0, 0, kCell, kCell};
    FillRect(lightDc, &cell, background);
    SetBkColor(lightDc, RGB(255, 255, 255));
    SetTextColor(lightDc, RGB(0, 0, 0));
    BitBlt(lightDc, 0, 0, kCell, kCell, cellDc, cellX, cellY, SRCINVERT);
    BitBlt(lightDc, 0, 0, kCell, kCell, maskDc, 0, 0, SRCAND);
    BitBlt(lightDc, 0, 0, kCell, kCell, cellDc, cellX, cellY, SRCINVERT);
    SetStretchBltMode(frameDc, HALFTONE);
    SetBrushOrgEx(frameDc, 0, 0, nullptr);
    StretchBlt(frameDc, x, y, shown, shown, lightDc, 0, 0, kCell, kCell, SRCCOPY);
    BitBlt(dc, 0, 0, width, height, frameDc, 0, 0, SRCCOPY);

    SelectObject(lightDc, oldLight);
    DeleteObject(light);
    DeleteDC(lightDc);
    SelectObject(frameDc, oldFrame);
    DeleteObject(frame);
    DeleteDC(frameDc);
    SelectObject(maskDc, oldMask);
    DeleteObject(mask);
    DeleteDC(maskDc);
    SelectObject(cellDc, oldCell);
    DeleteDC(cellDc);
}
