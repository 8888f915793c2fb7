// The maximised MDI child on the menu bar: its system menu behind the icon,
// its minimise, restore and close buttons pressed as caption buttons are
// (the command goes when the button is released over it), their tips, and
// the bar's own one-colour glyphs for the flat look.
#include "toolkit/menus/CoolMenu.h"
#include "toolkit/menus/MenuBar.h"
#include "toolkit_resource.h"

namespace {

const int kGlyphCell = 10;
const COLORREF kGlyphMask = RGB(255, 0, 255);

// Each button's glyph cell and tip.
struct ButtonLook {
  UINT type;
  int glyph;
  UINT tip;
};
const ButtonLook kButtonLooks[] = {
    {DFCS_CAPTIONMIN, 0, IDS_XT_MINIMIZE_WINDOW},
    {DFCS_CAPTIONRESTORE, 1, IDS_XT_RESTORE_WINDOW},
    {DFCS_CAPTIONCLOSE, 2, IDS_XT_CLOSE_WINDOW},
};

const ButtonLook* FindLook(UINT type) {
  for (const ButtonLook& look : kButtonLooks)
    if (look.type == type) return &look;
  return nullptr;
}

}  // namespace

void CXTMenuBar::CreateTips() {
  m_tips.Create(this, TTS_ALWAYSTIP);
  m_glyphs.Create(IDB_XT_MENU_BAR_GLYPHS, kGlyphCell, 1, kGlyphMask);
}

void CXTMenuBar::DrawGlyph(CDC* dc, const CRect& rect, UINT type, COLORREF color) {
  const ButtonLook* look = FindLook(type);
  if (!look || !m_glyphs.GetSafeHandle()) return;
  HICON icon = ImageList_GetIcon(m_glyphs, look->glyph, ILD_NORMAL);
  if (!icon) return;
  HBRUSH brush = ::CreateSolidBrush(color);
  const int x = rect.left + (rect.Width() - kGlyphCell) / 2, y = rect.top + (rect.Height() - kGlyphCell) / 2;
  ::DrawStateA(dc->m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, kGlyphCell, kGlyphCell,
               DST_ICON | DSS_MONO);
  ::DeleteObject(brush);
  ::DestroyIcon(icon);
}

void CXTMenuBar::RelaySysButtonTip(CPoint point, UINT type) {
  if (!(m_dwStyle & CBRS_TOOLTIPS) || !m_tips.m_hWnd) return;
  m_tips.Pop();
  if (m_tips.GetToolCount() > 0) {
    m_tips.DelTool(this);
    m_tips.Activate(FALSE);
  }
  if (const ButtonLook* look = FindLook(type)) {
    m_tips.AddTool(this, look->tip);
    m_tips.Activate(TRUE);
  }
  MSG move = {m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y), static_cast<DWORD>(::GetMessageTime()), {}};
  ::GetCursorPos(&move.pt);
  m_tips.RelayEvent(&move);
}

int CXTMenuBar::HitTestButtons(CPoint point) const {
  const std::vector<int> buttons = VisibleItems(kChildButtons);
  return HitTest(point, buttons.data(), buttons.data() + buttons.size());
}

BOOL CXTMenuBar::OnSysButtonMouse(UINT message, UINT, CPoint point) {
  m_bHotTracking = TRUE;
  HWND child = m_hWndMaximisedChild;
  if (!child) return FALSE;
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
    m_nPressedButton = HitTestButtons(point);
    m_bPressedButtonHot = m_nPressedButton >= 0;
  }
  if (m_nPressedButton < 0) return FALSE;
  const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(child, GWL_STYLE));
  if (!(style & WS_SYSMENU)) {
    m_nPressedButton = -1;
    return FALSE;
  }
  const auto& button = static_cast<const CXTMenuBarChildItem&>(*m_items[m_nPressedButton]);
  const bool inert = (button.GetType() == DFCS_CAPTIONMIN && !(style & WS_MINIMIZEBOX)) ||
                     (button.GetType() == DFCS_CAPTIONRESTORE && !(style & WS_MAXIMIZEBOX));
  const CRect rect = GetItemRect(m_nPressedButton);
  switch (message) {
    case WM_LBUTTONDBLCLK:
      if (button.GetType() == DFCS_CAPTIONCLOSE) {
        CloseChild();
        m_nPressedButton = -1;
      }
      break;
    case WM_LBUTTONDOWN:
      if (!inert) SetCapture();
      break;
    case WM_MOUSEMOVE:
      m_bPressedButtonHot = rect.PtInRect(point);
      break;
    case WM_LBUTTONUP:
      if (GetCapture() == this) ::ReleaseCapture();
      if (rect.PtInRect(point) && !inert) ::PostMessageA(child, WM_SYSCOMMAND, button.GetSysCommand(), 0);
      m_nPressedButton = -1;
      m_bPressedButtonHot = FALSE;
      break;
  }
  InvalidateRect(&rect);
  return TRUE;
}

// A press on a child's button ends with its capture, however that is lost:
// a release that comes later is nobody's click.
void CXTMenuBar::OnCaptureChanged(CWnd* wnd) {
  if (wnd != this) EndButtonPress();
  CXTControlBar::OnCaptureChanged(wnd);
}

void CXTMenuBar::OnCancelMode() {
  EndButtonPress();
  CXTControlBar::OnCancelMode();
}

void CXTMenuBar::EndButtonPress() {
  if (m_nPressedButton < 0) return;
  InvalidateRect(GetItemRect(m_nPressedButton));
  m_nPressedButton = -1;
  m_bPressedButtonHot = FALSE;
}

void CXTMenuBar::TrackChildSystemMenu(const CXTMenuBarItem& icon) {
  HWND child = m_hWndMaximisedChild;
  HMENU menu = child ? ::GetSystemMenu(child, FALSE) : nullptr;
  if (!menu) return;
  CRect rect = GetItemRect(IndexOf(icon));
  ClientToScreen(&rect);
  UINT flags = TPM_VERTICAL;
  TPMPARAMS params = {};
  const CPoint point = GetPopupPosition(rect, &params, &flags);
  // The child carries out its own system commands; its owner frame would
  // take them for commands of its own. The menu is the system's: the frame's
  // cool menus leave it as it is.
  CXTCoolMenu::SkipInitMenuPopup(OwnerWindow()->m_hWnd);
  const UINT command = static_cast<UINT>(
      ::TrackPopupMenuEx(menu, flags | TPM_RETURNCMD, point.x, point.y, OwnerWindow()->m_hWnd, &params));
  if (command) ::PostMessageA(child, WM_SYSCOMMAND, command, 0);
}

void CXTMenuBar::CloseChild() {
  if (m_hWndMaximisedChild) ::PostMessageA(m_hWndMaximisedChild, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void CXTMenuBar::UpdateMaximizedChild(BOOL repaint) {
  HWND maximised = nullptr;
  if (m_hWndMDIClient) {
    BOOL zoomed = FALSE;
    HWND active = reinterpret_cast<HWND>(
        ::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&zoomed)));
    if (active && zoomed && (::GetWindowLongPtrA(active, GWL_STYLE) & WS_SYSMENU)) maximised = active;
  }
  if (maximised == m_hWndMaximisedChild) return;
  m_hWndMaximisedChild = maximised;
  if (!repaint || !m_hWnd) return;
  PlaceItems(IsFloating() || IsHorizontal());
  if (CFrameWnd* frame = GetParentFrame()) frame->RecalcLayout();
  Invalidate();
}
