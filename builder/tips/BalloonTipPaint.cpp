// Measuring and painting the balloon: the frame is the outline filled with
// the background and framed in the foreground colour; the client holds the
// title line and the text below it.
#include <algorithm>

#include "BalloonTipWnd.h"
#include "classlib/nonclient.h"

namespace {

constexpr int kTitlePartGap = 8;  // between icon, close button and title

COLORREF LightEdge(COLORREF background) {
  return RGB(GetRValue(background) / 3 + 170, GetGValue(background) / 3 + 170, GetBValue(background) / 3 + 170);
}

COLORREF DarkEdge(COLORREF foreground, COLORREF background) {
  return RGB(GetRValue(foreground) / 3 + 2 * (GetRValue(background) / 3),
             GetGValue(foreground) / 3 + 2 * (GetGValue(background) / 3),
             GetBValue(foreground) / 3 + 2 * (GetBValue(background) / 3));
}

int AddPart(int width, int part) { return (width > 0 ? width + kTitlePartGap : width) + part; }

}  // namespace

CSize CBalloonTipWnd::MeasureBalloonClient() {
  CWindowDC dc(this);
  const CSize title = LayoutBalloonTitle(&dc, false);
  const CSize text = LayoutBalloonText(&dc, 0, false);
  return CSize(std::max(title.cx, text.cx), title.cy + kBalloonTitleGap + text.cy);
}

CSize CBalloonTipWnd::LayoutBalloonTitle(CDC* dc, bool draw) {
  int width = 0, height = 0;
  CRect area;
  GetClientRect(&area);
  if (icon_.GetSafeHandle() && icon_.GetImageCount() > 0) {
    IMAGEINFO info = {};
    icon_.GetImageInfo(0, &info);
    width = info.rcImage.right - info.rcImage.left;
    height = std::max(0, static_cast<int>(info.rcImage.bottom - info.rcImage.top));
    icon_.SetBkColor(background_);
    if (draw) icon_.Draw(dc, 0, CPoint(0, 0), ILD_NORMAL);
    area.left += width;
  }
  if (options_ & BTO_CLOSE_BUTTON) {
    const int button = GetSystemMetrics(SM_CXSIZE);
    height = std::max(height, GetSystemMetrics(SM_CYSIZE));
    if (draw) {
      RECT glyph = {area.right - button, 0, area.right, GetSystemMetrics(SM_CYSIZE)};
      DrawFrameControl(dc->m_hDC, &glyph, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_FLAT);
    }
    area.right -= button;
    width = button + (width > 0 ? width + kTitlePartGap : width);
  }
  CString title;
  GetWindowText(title);
  if (!title.IsEmpty()) {
    CFont* old = dc->SelectObject(&titleFont_);
    CRect size(0, 0, 0, 0);
    dc->DrawText(title, &size, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | DT_SINGLELINE);
    height = std::max(height, static_cast<int>(size.Height()));
    if (draw) {
      dc->SetBkMode(TRANSPARENT);
      dc->SetTextColor(foreground_);
      dc->DrawText(title, &area, DT_NOPREFIX | DT_EXPANDTABS | DT_SINGLELINE | DT_CENTER);
    }
    dc->SelectObject(old);
    width = AddPart(width, size.Width());
  }
  return CSize(width, height);
}

// The text wraps at about half the work area's width.
CSize CBalloonTipWnd::LayoutBalloonText(CDC* dc, int top, bool draw) {
  const BalloonRect& work = GetBalloonWorkArea();
  const int workWidth = work.right - work.left;
  CRect area(0, top, workWidth - workWidth / 2, work.bottom - work.top);
  if (text_.IsEmpty()) return CSize(0, 0);
  CFont* old = dc->SelectObject(&textFont_);
  dc->DrawText(text_, &area, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK);
  if (draw) {
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(foreground_);
    dc->DrawText(text_, &area, DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK);
  }
  dc->SelectObject(old);
  return CSize(area.Width(), area.Height());
}

void CBalloonTipWnd::OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params) {
  RECT& proposed = params->rgrc[0];
  const BalloonRect client =
      BalloonClientRect({proposed.left, proposed.top, proposed.right, proposed.bottom}, CurrentQuadrant());
  const RECT newClient = {client.left, client.top, client.right, client.bottom};
  // A client that moved inside the window repaints whole.
  if (calcValidRects && !EqualRect(&newClient, &params->rgrc[2])) SetRectEmpty(&params->rgrc[2]);
  proposed = newClient;
}

LRESULT CBalloonTipWnd::OnNcHitTest(CPoint) { return HTCLIENT; }

void CBalloonTipWnd::OnNcPaint() {
  CWindowDC dc(this);
  PaintBalloonFrame(&dc);
}

void CBalloonTipWnd::PaintBalloonFrame(CDC* dc) {
  CRect window, client;
  GetNonClientRects(this, &window, &client);
  dc->ExcludeClipRect(&client);
  dc->FillSolidRect(&window, background_);
  dc->SelectClipRgn(nullptr);
  if (outline_.GetSafeHandle() == nullptr) return;
  if (options_ & BTO_INNER_SHADOW) {
    CBrush light(LightEdge(background_)), dark(DarkEdge(foreground_, background_));
    OffsetRgn(outline_, 1, 1);
    dc->FrameRgn(&outline_, &light, 2, 2);
    OffsetRgn(outline_, -2, -2);
    dc->FrameRgn(&outline_, &dark, 2, 2);
    OffsetRgn(outline_, 1, 1);
  }
  CBrush edge(foreground_);
  dc->FrameRgn(&outline_, &edge, 1, 1);
}

BOOL CBalloonTipWnd::OnEraseBkgnd(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  dc->FillSolidRect(&client, background_);
  return TRUE;
}

void CBalloonTipWnd::OnPaint() {
  CPaintDC dc(this);
  PaintBalloonClient(&dc);
}

void CBalloonTipWnd::PaintBalloonClient(CDC* dc) {
  const CSize title = LayoutBalloonTitle(dc, true);
  LayoutBalloonText(dc, title.cy + kBalloonTitleGap, true);
}

// The fade animation prints the window through these two.
LRESULT CBalloonTipWnd::OnPrint(WPARAM dc, LPARAM flags) {
  if (flags & PRF_NONCLIENT) PaintBalloonFrame(CDC::FromHandle(reinterpret_cast<HDC>(dc)));
  return Default();
}

LRESULT CBalloonTipWnd::OnPrintClient(WPARAM dc, LPARAM flags) {
  if (flags & PRF_ERASEBKGND) SendMessage(WM_ERASEBKGND, dc);
  if (flags & PRF_CLIENT) PaintBalloonClient(CDC::FromHandle(reinterpret_cast<HDC>(dc)));
  return 0;
}
