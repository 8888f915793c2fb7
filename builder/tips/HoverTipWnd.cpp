#include "HoverTipWnd.h"

#include <cstdint>

BEGIN_MESSAGE_MAP(CHoverTipWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_TIMER()
  ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

constexpr UINT_PTR kShowTimer = 100;   // the show delay
constexpr UINT_PTR kLeaveTimer = 101;  // polls whether the cursor left
constexpr UINT kLeavePollMs = 500;
constexpr int kTipBuckets = 17;

// The text's box grows by these on each side; the tail hangs below the
// body's right end and its tip sits kTailTipX left of the right edge.
constexpr int kTextMarginX = 12, kTextMarginY = 10;
constexpr int kIconGap = 5;
constexpr int kTailTipX = 12, kTailTipBelow = 15, kTailBaseUp = 10, kTailBaseWidth = 25;
constexpr int kTailBand = kTailTipBelow + kTailBaseUp;

}  // namespace

CHoverTipWnd::CHoverTipWnd() : className_(AfxRegisterWndClass(0)) { tools_.InitHashTable(kTipBuckets); }

CHoverTipWnd::~CHoverTipWnd() = default;

BOOL CHoverTipWnd::CreateTip(CWnd* parent) {
  const BOOL created = CreateEx(0, className_, nullptr, WS_POPUP, 0, 0, 0, 0,
                                parent ? parent->GetSafeHwnd() : nullptr, nullptr);
  if (!fontCreated_) {
    fontCreated_ = font_.Attach(CreateFontA(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                            FF_SWISS, "Tahoma")) != FALSE;
    fontInUse_ = &font_;
  }
  return created;
}

void CHoverTipWnd::AddTool(CWnd* control, LPCSTR text, HICON icon) {
  HoverTipEntry entry;
  entry.text = text ? text : "";
  entry.icon = icon;
  tools_.SetAt(control->GetSafeHwnd(), entry);
}

bool CHoverTipWnd::CursorAtTipPoint() const {
  POINT cursor;
  GetCursorPos(&cursor);
  return cursor.x == tipPoint_.x && cursor.y == tipPoint_.y;
}

void CHoverTipWnd::RelayEvent(const MSG* message) {
  switch (message->message) {
    case WM_MOUSEMOVE: {
      POINT cursor;
      GetCursorPos(&cursor);
      HoverTipEntry entry;
      if ((cursor.x != tipPoint_.x || cursor.y != tipPoint_.y) && tools_.Lookup(::WindowFromPoint(cursor), entry)) {
        tipPoint_ = cursor;
        SetTipIcon(entry.icon);
        ShowTip(entry.text, &cursor);
      }
      if (!CursorAtTipPoint()) HideTip();
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      HideTip();
      break;
    default:
      break;
  }
}

void CHoverTipWnd::ShowTip(LPCSTR text, const POINT* point) {
  if (point)
    tipPoint_ = *point;
  else
    GetCursorPos(&tipPoint_);
  tipText_ = text ? text : "";
  if (GetSafeHwnd()) timerId_ = SetTimer(kShowTimer, showDelayMs_);
}

// A hidden tip also forgets a pending show, so it cannot appear later at a
// place the cursor has left.
void CHoverTipWnd::HideTip() {
  if (GetSafeHwnd() == nullptr) return;
  KillTimer(kShowTimer);
  KillTimer(kLeaveTimer);
  ShowWindow(SW_HIDE);
}

// The icon's size is taken as twice its hot spot, as icons centre it.
void CHoverTipWnd::SetTipIcon(HICON icon) {
  icon_ = icon;
  iconWidth_ = iconHeight_ = 0;
  ICONINFO info = {};
  if (icon && GetIconInfo(icon, &info)) {
    iconWidth_ = static_cast<uint8_t>(2 * info.xHotspot);
    iconHeight_ = static_cast<uint8_t>(2 * info.yHotspot);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
  }
  if (GetSafeHwnd()) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

int CHoverTipWnd::OnCreate(LPCREATESTRUCTA create) { return CWnd::OnCreate(create) == -1 ? -1 : 0; }

void CHoverTipWnd::OnDestroy() {
  KillTimer(kShowTimer);
  KillTimer(kLeaveTimer);
  CWnd::OnDestroy();
}

HRGN CHoverTipWnd::BuildTipRegion(CDC* dc, CSize* size) {
  CFont* old = dc->SelectObject(fontInUse_);
  CRect box(0, 0, 0, 0);
  dc->DrawText(tipText_, &box, DT_CALCRECT);
  dc->SelectObject(old);
  box.InflateRect(kTextMarginX, kTextMarginY);
  if (icon_) box.right += iconWidth_ + kIconGap;
  if (box.Height() < iconHeight_) box.bottom = box.top + iconHeight_;
  const int w = box.Width(), h = box.Height();
  HRGN region = CreateRectRgn(0, 0, w, h + kTailBand);
  HRGN body = CreateRoundRectRgn(0, 0, w, h, kTextMarginX, kTextMarginY);
  const POINT tail[3] = {{w - kTailTipX, h - kTailBaseUp},
                         {w - kTailTipX, h + kTailTipBelow},
                         {w - kTailTipX - kTailBaseWidth, h - kTailBaseUp}};
  HRGN tailRegion = CreatePolygonRgn(tail, 3, ALTERNATE);
  CombineRgn(region, body, tailRegion, RGN_OR);
  DeleteObject(body);
  DeleteObject(tailRegion);
  *size = CSize(w, h + kTailBand);
  return region;
}

void CHoverTipWnd::OnTimer(UINT_PTR id) {
  if (id == kShowTimer) {
    KillTimer(kShowTimer);
    CClientDC dc(this);
    CSize size;
    SetWindowRgn(BuildTipRegion(&dc, &size), TRUE);
    ::SetWindowPos(GetSafeHwnd(), HWND_TOP, tipPoint_.x - size.cx + kTailTipX,
                   tipPoint_.y - size.cy + (kTailBand - kTailTipBelow), size.cx, size.cy,
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetTimer(kLeaveTimer, kLeavePollMs);
  } else if (id == kLeaveTimer && !CursorAtTipPoint()) {
    KillTimer(kLeaveTimer);
    ShowWindow(SW_HIDE);
  }
  CWnd::OnTimer(id);
}

void CHoverTipWnd::OnPaint() {
  CPaintDC dc(this);
  CSize size;
  HRGN region = BuildTipRegion(&dc, &size);
  CBrush face(GetSysColor(COLOR_WINDOW)), shade(GetSysColor(COLOR_SCROLLBAR)), edge(GetSysColor(COLOR_WINDOWTEXT));
  FillRgn(dc.m_hDC, region, face);
  FrameRgn(dc.m_hDC, region, shade, 3, 3);
  FrameRgn(dc.m_hDC, region, edge, 1, 1);
  CRect text;
  GetClientRect(&text);
  text.left += icon_ ? iconWidth_ + kTextMarginX + kIconGap : kTextMarginX;
  text.top += kTextMarginY;
  CFont* old = dc.SelectObject(fontInUse_);
  dc.SetBkMode(TRANSPARENT);
  dc.DrawText(tipText_, &text, 0);
  dc.SelectObject(old);
  if (icon_) DrawIconEx(dc.m_hDC, kTextMarginX, kTextMarginY, icon_, iconWidth_, iconHeight_, 0, nullptr, DI_NORMAL);
  DeleteObject(region);
}
