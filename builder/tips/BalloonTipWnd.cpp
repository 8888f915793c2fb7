#include "BalloonTipWnd.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>

#include "classlib/winapp.h"

BEGIN_MESSAGE_MAP(CBalloonTipWnd, CWnd)
  ON_WM_NCCALCSIZE()
  ON_WM_NCHITTEST()
  ON_WM_NCPAINT()
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
  ON_MESSAGE(WM_PRINT, OnPrint)
  ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
  ON_WM_SHOWWINDOW()
  ON_WM_TIMER()
  ON_WM_CLOSE()
  ON_WM_DESTROY()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_CAPTURECHANGED()
  ON_WM_CANCELMODE()
END_MESSAGE_MAP()

namespace {

constexpr UINT_PTR kTimeoutTimer = 1;
constexpr DWORD kFadeMs = 200;
constexpr UINT kCloseButtonPressed = 0x200;  // beside the DFCS_ state last drawn
constexpr DWORD kInfoBalloonTimeoutMs = 3000;
constexpr UINT kInfoBalloonOptions = BTO_TOPMOST | BTO_CLOSE_ON_KEY | BTO_CLOSE_ON_LBUTTON_DOWN;

// Each mouse message (client and non-client alike) and the option that
// makes it close the balloon. Double clicks close nothing.
struct MouseTrigger {
  UINT message;
  UINT ncMessage;
  UINT option;
};

const MouseTrigger kMouseTriggers[] = {
    {WM_LBUTTONDOWN, WM_NCLBUTTONDOWN, BTO_CLOSE_ON_LBUTTON_DOWN},
    {WM_LBUTTONUP, WM_NCLBUTTONUP, BTO_CLOSE_ON_LBUTTON_UP},
    {WM_RBUTTONDOWN, WM_NCRBUTTONDOWN, BTO_CLOSE_ON_RBUTTON_DOWN},
    {WM_RBUTTONUP, WM_NCRBUTTONUP, BTO_CLOSE_ON_RBUTTON_UP},
    {WM_MBUTTONDOWN, WM_NCMBUTTONDOWN, BTO_CLOSE_ON_MBUTTON_DOWN},
    {WM_MBUTTONUP, WM_NCMBUTTONUP, BTO_CLOSE_ON_MBUTTON_UP},
};

ATOM gShadowClass = 0;
ATOM gPlainClass = 0;

ATOM RegisterOneClass(LPCSTR name, UINT style) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = AfxWndProc;
  wc.hInstance = AfxGetInstanceHandle();
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = name;
  return RegisterClassExA(&wc);
}

bool SystemFlag(UINT action) {
  BOOL on = FALSE;
  return SystemParametersInfoA(action, 0, &on, 0) && on;
}

}  // namespace

CBalloonTipWnd::CBalloonTipWnd()
    : background_(GetSysColor(COLOR_INFOBK)), foreground_(GetSysColor(COLOR_INFOTEXT)) {
  if (HMODULE user = GetModuleHandleA("USER32.DLL"))
    animateWindow_ =
        reinterpret_cast<AnimateWindowProc>(reinterpret_cast<void (*)()>(GetProcAddress(user, "AnimateWindow")));
  UINT hoverWidth = 0;
  if (SystemParametersInfoA(SPI_GETMOUSEHOVERWIDTH, 0, &hoverWidth, 0) && hoverWidth > 0)
    mouseTolerance_ = static_cast<int>(hoverWidth);
}

CBalloonTipWnd::~CBalloonTipWnd() { ReleaseHooks(); }

void CBalloonTipWnd::LaunchBalloon(LPCSTR title, LPCSTR text, POINT anchor, LPCSTR iconName, UINT options,
                                   CWnd* parent, LPCSTR url, DWORD timeoutMs) {
  CBalloonTipWnd* balloon = new CBalloonTipWnd;
  if (iconName) {
    const int width = std::max(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CXSIZE));
    const int height = std::max(GetSystemMetrics(SM_CYSMICON), GetSystemMetrics(SM_CYSIZE));
    if (HICON icon = static_cast<HICON>(LoadImageA(nullptr, iconName, IMAGE_ICON, width, height, LR_SHARED)))
      balloon->SetBalloonIconScaled(icon, width, height);
  }
  // Nobody keeps a pointer: a balloon that never showed is ours to delete.
  if (!balloon->CreateBalloon(title, text, anchor, options | BTO_DELETE_ON_DESTROY, parent, url, timeoutMs))
    delete balloon;
}

BOOL CBalloonTipWnd::CreateBalloon(LPCSTR title, LPCSTR text, POINT anchor, UINT options, CWnd* parent,
                                   LPCSTR url, DWORD timeoutMs, HICON icon) {
  text_ = text ? text : "";
  SetBalloonAnchor(anchor, parent);
  // Self-deletion is armed only once the window exists: a failed creation
  // leaves the object to the caller, whatever step failed.
  options_ = options & ~BTO_DELETE_ON_DESTROY;
  url_ = url ? url : "";
  timeoutMs_ = timeoutMs;
  if (icon) SetBalloonIcon(icon);
  CWnd* owner = GetSafeOwner(parent);
  if (owner == nullptr || !MakeFonts()) return FALSE;
  const ATOM windowClass = RegisterBalloonClass((options_ & BTO_NO_DROP_SHADOW) == 0);
  if (windowClass == 0) return FALSE;
  TurnOffFadingWhereUnavailable();
  const DWORD exStyle = WS_EX_TOOLWINDOW | ((options_ & BTO_TOPMOST) ? WS_EX_TOPMOST : 0);
  if (!CreateEx(exStyle, reinterpret_cast<LPCSTR>(MAKEINTATOM(windowClass)), title ? title : "", WS_POPUP, 0, 0, 10,
                10, owner->GetSafeHwnd(), nullptr))
    return FALSE;
  options_ |= options & BTO_DELETE_ON_DESTROY;
  PositionBalloon();
  ArmTriggers();
  ShowBalloon();
  return TRUE;
}

bool CBalloonTipWnd::MakeFonts() {
  if (textFont_.GetSafeHandle() == nullptr) {
    LOGFONTA guiFont;
    HGDIOBJ stock = GetStockObject(DEFAULT_GUI_FONT);
    if (stock == nullptr || GetObjectA(stock, sizeof guiFont, &guiFont) == 0) return false;
    if (!textFont_.CreateFontIndirect(&guiFont)) return false;
  }
  if (titleFont_.GetSafeHandle() == nullptr) {
    LOGFONTA bold;
    textFont_.GetLogFont(&bold);
    bold.lfWeight = FW_BOLD;
    if (!titleFont_.CreateFontIndirect(&bold)) return false;
  }
  return true;
}

// The class with the drop shadow comes first; a system without shadows
// refuses it and its atom stays 0, so balloons fall back to the plain one.
ATOM CBalloonTipWnd::RegisterBalloonClass(bool withShadow) {
  static bool registered = false;
  if (!registered) {
    registered = true;
    gShadowClass = RegisterOneClass(kBalloonShadowClass, CS_DROPSHADOW | CS_SAVEBITS | CS_DBLCLKS);
    gPlainClass = RegisterOneClass(kBalloonPlainClass, CS_SAVEBITS | CS_DBLCLKS);
  }
  return withShadow && gShadowClass ? gShadowClass : gPlainClass;
}

void CBalloonTipWnd::TurnOffFadingWhereUnavailable() {
  if (!SystemFlag(SPI_GETTOOLTIPANIMATION) || !SystemFlag(SPI_GETTOOLTIPFADE) || animateWindow_ == nullptr)
    options_ |= BTO_NO_FADE_IN | BTO_NO_FADE_OUT;
}

// The hooks each trigger needs; a balloon with an anchor window also follows
// that window through the window-procedure-return hook.
void CBalloonTipWnd::ArmTriggers() {
  if (options_ & kBalloonMouseTriggers) {
    GetCursorPos(&shownCursor_);
    HoldThreadHook(XTHookKind::kMouse, this);
  }
  if ((options_ & kBalloonButtonUpTriggers) && ::GetCapture() == nullptr) SetCapture();
  if (options_ & BTO_CLOSE_ON_KEY) HoldThreadHook(XTHookKind::kKeyboard, this);
  if (anchorWindow_) HoldThreadHook(XTHookKind::kWindowProcReturn, this);
}

void CBalloonTipWnd::ReleaseHooks() {
  ReleaseThreadHook(XTHookKind::kMouse, this);
  ReleaseThreadHook(XTHookKind::kKeyboard, this);
  ReleaseThreadHook(XTHookKind::kWindowProcReturn, this);
}

void CBalloonTipWnd::SetBalloonAnchor(POINT anchor, CWnd* anchorWindow) {
  anchor_ = anchor;
  anchorWindow_ = anchorWindow ? anchorWindow->GetSafeHwnd() : nullptr;
  if (GetSafeHwnd()) {
    if (anchorWindow_) HoldThreadHook(XTHookKind::kWindowProcReturn, this);
    PositionBalloon();
  }
}

void CBalloonTipWnd::SetBalloonTimeout(DWORD timeoutMs) {
  timeoutMs_ = timeoutMs;
  if (GetSafeHwnd() == nullptr) return;
  if (timeoutMs_ > 0)
    timerId_ = SetTimer(kTimeoutTimer, timeoutMs_);
  else if (timerId_)
    KillTimer(timerId_);
}

void CBalloonTipWnd::SetBalloonIcon(HICON icon) {
  ICONINFO info = {};
  int width = 0, height = 0;
  if (icon && GetIconInfo(icon, &info)) {
    BITMAP bitmap = {};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    width = bitmap.bmWidth;
    height = info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2;
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
  }
  SetBalloonIconScaled(icon, width, height);
}

void CBalloonTipWnd::SetBalloonIconScaled(HICON icon, int width, int height) {
  icon_.DeleteImageList();
  if (icon && width > 0 && height > 0 && icon_.Create(width, height, ILC_COLOR32 | ILC_MASK, 1, 0))
    icon_.Add(icon);
  if (GetSafeHwnd()) PositionBalloon();
}

void CBalloonTipWnd::SetBalloonIcon(HBITMAP image, COLORREF maskColour) {
  if (StartIconList(image)) ImageList_AddMasked(icon_, image, maskColour);
  if (GetSafeHwnd()) PositionBalloon();
}

void CBalloonTipWnd::SetBalloonIcon(HBITMAP image, HBITMAP mask) {
  if (StartIconList(image)) ImageList_Add(icon_, image, mask);
  if (GetSafeHwnd()) PositionBalloon();
}

// An empty one-image list of the bitmap's size, replacing the icon.
bool CBalloonTipWnd::StartIconList(HBITMAP image) {
  BITMAP bitmap = {};
  icon_.DeleteImageList();
  return image && GetObjectA(image, sizeof bitmap, &bitmap) &&
         icon_.Create(bitmap.bmWidth, bitmap.bmHeight, ILC_COLOR32 | ILC_MASK, 1, 0);
}

void CBalloonTipWnd::ShowBalloon() {
  ShowWindow(SW_SHOWNOACTIVATE);
  if ((options_ & BTO_DELAY_CLOSE) == 0) SetBalloonTimeout(timeoutMs_);
}

void CBalloonTipWnd::HideBalloon() {
  if (options_ & BTO_DELAY_CLOSE) {
    // The key trigger stays armed; the next request closes for good.
    options_ &= ~(kBalloonMouseTriggers | BTO_DELAY_CLOSE);
    SetBalloonTimeout(timeoutMs_);
    return;
  }
  ShowWindow(SW_HIDE);
  if (::GetCapture() == GetSafeHwnd()) ReleaseCapture();
  DestroyWindow();
}

void CBalloonTipWnd::PostNcDestroy() {
  if (options_ & BTO_DELETE_ON_DESTROY) delete this;
}

// ---- placement

const BalloonRect& CBalloonTipWnd::GetBalloonWorkArea() {
  if (!workAreaKnown_) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromPoint(GetAnchorScreenPoint(), MONITOR_DEFAULTTONEAREST), &monitor);
    workArea_ = {monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom};
    workAreaKnown_ = true;
  }
  return workArea_;
}

POINT CBalloonTipWnd::GetAnchorScreenPoint() const {
  POINT point = anchor_;
  if (anchorWindow_) ::ClientToScreen(anchorWindow_, &point);
  return point;
}

BalloonQuadrant CBalloonTipWnd::CurrentQuadrant() {
  const POINT anchor = GetAnchorScreenPoint();
  return GetBalloonQuadrant({anchor.x, anchor.y}, GetBalloonWorkArea());
}

void CBalloonTipWnd::PositionBalloon() {
  const CSize client = MeasureBalloonClient();
  const BalloonPoint size = MeasureBalloonWindow(client.cx, client.cy);
  workAreaKnown_ = false;
  const POINT anchor = GetAnchorScreenPoint();
  const BalloonPlacement placement = PlaceBalloon({anchor.x, anchor.y}, size.x, size.y, GetBalloonWorkArea());
  MoveWindow(placement.window.left, placement.window.top, size.x, size.y, TRUE);
  ApplyOutline(placement, size.x, size.y);
}

// The window takes the outline only when it changed, and repaints whole.
void CBalloonTipWnd::ApplyOutline(const BalloonPlacement& placement, int width, int height) {
  POINT tail[3];
  for (int i = 0; i < 3; ++i) tail[i] = {placement.tail[i].x, placement.tail[i].y};
  CRgn outline, body;
  outline.CreatePolygonRgn(tail, 3, ALTERNATE);
  body.CreateRoundRectRgn(0, placement.bodyTop, width, placement.bodyBottom, kBalloonCorner, kBalloonCorner);
  CombineRgn(outline, outline, body, RGN_OR);
  if (outline_.GetSafeHandle() && EqualRgn(outline_, outline)) return;
  if (outline_.GetSafeHandle() == nullptr) outline_.CreateRectRgn(0, 0, 0, 0);
  CombineRgn(outline_, outline, nullptr, RGN_COPY);
  HRGN windowCopy = CreateRectRgn(0, 0, 0, 0);
  CombineRgn(windowCopy, outline, nullptr, RGN_COPY);
  SetWindowRgn(windowCopy, TRUE);  // the window owns its copy from here
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// ---- closing

void CBalloonTipWnd::OnHookKeyboard(WPARAM, LPARAM keyData) {
  const bool keyGoingDown = (keyData & 0x80000000) == 0;
  if (keyGoingDown && GetSafeHwnd()) PostMessage(WM_CLOSE);
}

void CBalloonTipWnd::OnHookMouse(UINT message, const MOUSEHOOKSTRUCT& mouse) {
  if (GetSafeHwnd() == nullptr) return;
  if ((message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE) && (options_ & BTO_CLOSE_ON_MOUSE_MOVE)) {
    POINT cursor;
    GetCursorPos(&cursor);
    if (std::abs(cursor.x - shownCursor_.x) > mouseTolerance_ || std::abs(cursor.y - shownCursor_.y) > mouseTolerance_)
      PostMessage(WM_CLOSE);
    return;
  }
  for (const MouseTrigger& trigger : kMouseTriggers)
    if ((message == trigger.message || message == trigger.ncMessage) && (options_ & trigger.option))
      PostMessage(WM_CLOSE);
}

void CBalloonTipWnd::OnHookWindowProcReturn(const CWPRETSTRUCT& message) {
  if (message.message == WM_MOVE && message.hwnd == anchorWindow_ && GetSafeHwnd()) PositionBalloon();
}

void CBalloonTipWnd::OnTimer(UINT_PTR id) {
  if (id != kTimeoutTimer) return CWnd::OnTimer(id);
  KillTimer(timerId_);
  timerId_ = 0;
  HideBalloon();
}

void CBalloonTipWnd::OnClose() { HideBalloon(); }

void CBalloonTipWnd::OnDestroy() {
  ReleaseHooks();
  CWnd::OnDestroy();
}

void CBalloonTipWnd::Animate(DWORD flags) { animateWindow_(GetSafeHwnd(), kFadeMs, flags); }

void CBalloonTipWnd::OnShowWindow(BOOL show, UINT status) {
  CWnd::OnShowWindow(show, status);
  if (animateWindow_ == nullptr) return;
  if (show && (options_ & BTO_NO_FADE_IN) == 0) Animate(AW_BLEND);
  if (!show && (options_ & BTO_NO_FADE_OUT) == 0) Animate(AW_HIDE | AW_BLEND);
}

// ---- close button and link

CRect CBalloonTipWnd::CloseButtonRect() const {
  CRect client;
  GetClientRect(&client);
  return CRect(client.right - GetSystemMetrics(SM_CXSIZE), client.top, client.right,
               client.top + GetSystemMetrics(SM_CYSIZE));
}

void CBalloonTipWnd::DrawCloseButton(UINT state) {
  CRect button = CloseButtonRect();
  CClientDC dc(this);
  DrawFrameControl(dc.m_hDC, &button, DFC_CAPTION, DFCS_CAPTIONCLOSE | state);
  closeButtonState_ = (closeButtonState_ & kCloseButtonPressed) | state;
}

void CBalloonTipWnd::OnLButtonDown(UINT flags, CPoint point) {
  if ((options_ & BTO_CLOSE_BUTTON) && CloseButtonRect().PtInRect(point)) {
    closeButtonState_ |= kCloseButtonPressed;
    SetCapture();
    OnMouseMove(flags, point);
  }
}

void CBalloonTipWnd::OnMouseMove(UINT, CPoint point) {
  if ((options_ & BTO_CLOSE_BUTTON) == 0) return;
  const bool inside = CloseButtonRect().PtInRect(point) != FALSE;
  const bool pressed = (closeButtonState_ & kCloseButtonPressed) != 0;
  const UINT state = !inside ? DFCS_FLAT : pressed ? DFCS_HOT | DFCS_PUSHED : DFCS_HOT;
  if (state != (closeButtonState_ & ~kCloseButtonPressed)) DrawCloseButton(state);
}

// The close button's press ends with its capture, however that is lost.
void CBalloonTipWnd::OnCaptureChanged(CWnd* wnd) {
  if (wnd != this) EndCloseButtonPress();
  CWnd::OnCaptureChanged(wnd);
}

void CBalloonTipWnd::OnCancelMode() {
  EndCloseButtonPress();
  CWnd::OnCancelMode();
}

void CBalloonTipWnd::EndCloseButtonPress() {
  if ((closeButtonState_ & kCloseButtonPressed) == 0) return;
  closeButtonState_ &= ~kCloseButtonPressed;
  DrawCloseButton(DFCS_FLAT);
}

void CBalloonTipWnd::OnLButtonUp(UINT, CPoint point) {
  if ((options_ & BTO_CLOSE_BUTTON) && (closeButtonState_ & kCloseButtonPressed)) {
    closeButtonState_ &= ~kCloseButtonPressed;
    ReleaseCapture();
    if (CloseButtonRect().PtInRect(point)) HideBalloon();
    return;
  }
  CRect client;
  GetClientRect(&client);
  if (!url_.IsEmpty() && client.PtInRect(point)) {
    ShellExecuteA(nullptr, nullptr, url_, nullptr, nullptr, SW_SHOWNORMAL);
    HideBalloon();
  }
}

// ---- the builder's entry

int ShowInfoBalloon(HWND target, CWnd*, UINT titleId, UINT textId, BOOL skip) {
  if (target == nullptr || skip) return 0;
  RECT rect;
  GetWindowRect(target, &rect);
  CString title, text;
  title.LoadString(titleId);
  text.LoadString(textId);
  const POINT centre = {rect.left + (rect.right - rect.left) / 2, rect.top + (rect.bottom - rect.top) / 2};
  CBalloonTipWnd::LaunchBalloon(title, text, centre, IDI_INFORMATION, kInfoBalloonOptions, nullptr, nullptr,
                                kInfoBalloonTimeoutMs);
  return 0;
}
