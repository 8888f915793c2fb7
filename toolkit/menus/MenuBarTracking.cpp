// Popups opened from the menu bar and the mouse on the bar. One popup loop
// runs at a time; moving to another title ends it (WM_CANCELMODE to the
// owner) and names the title to open next, so TrackPopup loops from title to
// title. The thread's message-filter hook (ThreadHooks.h) sees the popup loop's messages.
#include <algorithm>

#include "toolkit/common/SharedState.h"
#include "toolkit/common/ThreadHooks.h"
#include "toolkit/menus/CoolMenu.h"
#include "toolkit/menus/MenuBar.h"

namespace {

// The thread's menu-bar tracking: the popup loop's message filter, held by
// the outermost TrackPopup of the thread however deep popups nest, and
// where the open title is while its popup shows, for the popup's drawing.
class MenuTracking : public CXTHookClient {
 public:
  void Enter(CXTMenuBar* bar) {
    if (nesting++ > 0) return;
    m_bar = bar;
    HoldThreadHook(XTHookKind::kMessageFilter, this);
  }
  void Leave() {
    if (--nesting > 0) return;
    ReleaseThreadHook(XTHookKind::kMessageFilter, this);
    m_bar = nullptr;
  }
  bool OnHookMessageFilter(int code, MSG& message) override {
    return code == MSGF_MENU && m_bar && m_bar->OnMenuInput(&message, FALSE);
  }

  int nesting = 0;
  CRect openTitle;
  DWORD openAlignment = 0;

 private:
  CXTMenuBar* m_bar = nullptr;
};

MenuTracking& Tracking() {
  static thread_local MenuTracking tracking;
  return tracking;
}

// The cool menu hooked on the owner, when the frame installed one.
CXTCoolMenu* FindCoolMenu(HWND owner) {
  for (CXTWndHook* hook = CXTWndHook::FindHead(owner); hook; hook = hook->m_pNext)
    if (auto* cool = dynamic_cast<CXTCoolMenu*>(hook)) return cool;
  return nullptr;
}

// The hover timer only helps where the cool menus can expand on it.
bool HoverTimerSupported() {
  const CXTSharedState& state = GetSharedState();
  return !state.m_isWin95 && !state.m_isNT4;
}

}  // namespace

void CXTMenuBar::GetOpenTitle(RECT* rect, DWORD* alignment) {
  if (rect) *rect = Tracking().openTitle;
  if (alignment) *alignment = Tracking().openAlignment;
}

CWnd* CXTMenuBar::OwnerWindow() const {
  CWnd* owner = GetOwner();
  return owner ? owner : GetParent();
}

void CXTMenuBar::TrackPopup(int item) {
  for (; item >= 0;) {
    m_nTrackingItem = item;
    m_nNextItem = -1;
    m_nPressedItem = item;
    UpdateWindow();
    SetTrackingState(kPopupOpen, item);
    Tracking().Enter(this);
    m_items[item]->Track();
    Tracking().Leave();
    m_nPressedItem = -1;
    if (Tracking().nesting == 0) SetTrackingState(m_bEscapeClosed ? kButtonMode : kIdle, item);
    StopHoverTimer();
    item = m_nNextItem;
    if (m_hWnd) {
      Invalidate();
      UpdateWindow();
    }
  }
  m_nTrackingItem = -1;
}

void CXTMenuBar::SwitchPopup(int item) {
  if (item == m_nTrackedItem) return;
  OwnerWindow()->PostMessage(WM_CANCELMODE);
  m_nNextItem = item;
}

// Right opens a submenu where the selected item has one, and moves on to
// the next title everywhere else; Left always moves to the previous title.
void CXTMenuBar::OnMenuSelect(UINT flags) {
  if (m_state != kPopupOpen) return;
  m_bRightLeaves = !(flags & MF_POPUP) || flags == 0xFFFF;
  m_bLeftLeaves = TRUE;
}

BOOL CXTMenuBar::OnMenuInput(MSG* msg, BOOL clientCoordinates) {
  switch (msg->message) {
    case WM_KEYDOWN:
      if ((msg->wParam == VK_LEFT && m_bLeftLeaves) || (msg->wParam == VK_RIGHT && m_bRightLeaves)) {
        SwitchPopup(GetNextItem(m_nTrackedItem, msg->wParam == VK_LEFT));
        return TRUE;
      }
      if (msg->wParam == VK_ESCAPE) m_bEscapeClosed = TRUE;
      return FALSE;
    case WM_MOUSEMOVE: {
      CPoint point(static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam)));
      if (clientCoordinates) ::ClientToScreen(msg->hwnd, &point);
      // A move the pointer has already left behind (a late message) switches
      // nothing: the popup follows where the mouse is.
      CPoint cursor;
      if (::GetCursorPos(&cursor) && cursor != point) return FALSE;
      const HWND under = ::WindowFromPoint(point);
      if (under && under != m_hWnd) return FALSE;
      ScreenToClient(&point);
      if (!m_bLastMouseValid || point != m_ptLastMouse) {
        const int hit = HitTestTitles(point);
        if (hit >= 0 && hit != m_nTrackedItem) SwitchPopup(hit);
        m_ptLastMouse = point;
        m_bLastMouseValid = TRUE;
      }
      FollowHover(point);
      return FALSE;
    }
  }
  return FALSE;
}

// Resting on the open title starts the owner's hover timer once, so that
// menus with hidden commands may show them all; leaving the title stops it.
void CXTMenuBar::FollowHover(CPoint point) {
  if (!HoverTimerSupported() || m_hiddenCommands.GetSize() == 0) return;
  const bool onTracked = m_nTrackedItem >= 0 && HitTestTitles(point) == m_nTrackedItem;
  if (onTracked && !m_bHoverTimer) {
    OwnerWindow()->SetTimer(kHoverTimer, kHoverDelay, nullptr);
    m_bHoverTimer = TRUE;
  } else if (!onTracked) {
    StopHoverTimer();
  }
}

void CXTMenuBar::StopHoverTimer() {
  if (!m_bHoverTimer) return;
  OwnerWindow()->KillTimer(kHoverTimer);
  m_bHoverTimer = FALSE;
}

int CXTMenuBar::HitTestTitles(CPoint point) const {
  const std::vector<int> titles = VisibleItems(kTitles);
  return HitTest(point, titles.data(), titles.data() + titles.size());
}

// ---- opening a popup

DWORD CXTMenuBar::PopupAlignment() const {
  if (IsFloating()) return CBRS_ALIGN_TOP;
  if (IsBottomDocked()) return CBRS_ALIGN_BOTTOM;
  if (IsTopDocked()) return CBRS_ALIGN_TOP;
  if (IsLeftDocked()) return CBRS_ALIGN_LEFT;
  if (IsRightDocked()) return CBRS_ALIGN_RIGHT;
  return m_dwStyle & CBRS_ALIGN_ANY;
}

CPoint CXTMenuBar::GetPopupPosition(const CRect& item, TPMPARAMS* params, UINT* flags) {
  params->cbSize = sizeof(TPMPARAMS);
  CRect exclude = item;
  if (GetSharedState().m_xpLook) exclude.DeflateRect(1, 1);
  params->rcExclude = exclude;
  CPoint point(0, 0);
  const DWORD alignment = PopupAlignment();
  if (alignment & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) {
    point = CPoint(item.right - 1, item.top);
    *flags &= ~TPM_VERTICAL;
  } else if (alignment & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) {
    point = CPoint(item.left, item.bottom - 1);
  }
  // A popup never starts left of or above the monitor that holds the bar.
  if (HMONITOR monitor = ::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONULL)) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoA(monitor, &info)) {
      point.x = std::max<int>(point.x, info.rcMonitor.left);
      point.y = std::max<int>(point.y, info.rcMonitor.top);
    }
  }
  return point;
}

void CXTMenuBar::TrackTitle(const CXTMenuBarTextItem& title) {
  const int item = IndexOf(title);
  CRect rect = GetItemRect(item);
  ClientToScreen(&rect);
  UINT flags = TPM_VERTICAL;
  TPMPARAMS params = {};
  const CPoint point = GetPopupPosition(rect, &params, &flags);
  MENUITEMINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_SUBMENU;
  if (!::GetMenuItemInfoA(m_hMenu, title.GetPosition(), TRUE, &info)) return;
  CWnd* owner = OwnerWindow();
  if (!info.hSubMenu) {
    owner->PostMessage(WM_COMMAND, info.wID);
    return;
  }
  m_hMenuOpen = info.hSubMenu;
  RedrawWindow(GetItemRect(item), nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Tracking().openTitle = rect;
  Tracking().openAlignment = PopupAlignment();
  if (CXTCoolMenu* cool = FindCoolMenu(owner->m_hWnd)) {
    CXTCoolMenu::SetMenuBarPopup(TRUE);
    cool->TrackPopupMenuEx(info.hSubMenu, flags, point.x, point.y, owner, &params.rcExclude, TRUE);
    CXTCoolMenu::SetMenuBarPopup(FALSE);
  } else {
    ::TrackPopupMenuEx(info.hSubMenu, flags, point.x, point.y, owner->m_hWnd, &params);
  }
  Tracking().openAlignment = 0;
  Tracking().openTitle.SetRectEmpty();
  m_hMenuOpen = nullptr;
}

// ---- the mouse on the bar

void CXTMenuBar::OnLButtonDown(UINT keys, CPoint point) {
  const int hit = HitTestTitles(point);
  if (hit >= 0) {
    if (hit != m_nTrackedItem) TrackPopup(hit);
    return;
  }
  if (OnSysButtonMouse(WM_LBUTTONDOWN, keys, point)) return;
  if (!m_pDockSite) return;
  // A press on no title drags the bar.
  CXTControlBar::OnLButtonDown(keys, point);
  m_pDockSite->DelayRecalcLayout();
}

void CXTMenuBar::OnLButtonDblClk(UINT keys, CPoint point) {
  const int hit = HitTestTitles(point);
  if (hit >= 0 && hit == m_nTrackedItem) {
    m_items[hit]->OnDoubleClick();
  } else if (hit >= 0) {
    TrackPopup(hit);
  } else if (!OnSysButtonMouse(WM_LBUTTONDBLCLK, keys, point)) {
    Default();
  }
}

void CXTMenuBar::OnLButtonUp(UINT keys, CPoint point) {
  if (!OnSysButtonMouse(WM_LBUTTONUP, keys, point)) Default();
}

void CXTMenuBar::OnMouseMove(UINT keys, CPoint point) {
  OnSysButtonMouse(WM_MOUSEMOVE, keys, point);
  const std::vector<int> all = VisibleItems(kAll);
  const int hit = HitTest(point, all.data(), all.data() + all.size());
  const bool moved = !m_bLastMouseValid || point != m_ptLastMouse;
  switch (m_state) {
    case kIdle:
      SetHotItem(hit);
      break;
    case kButtonMode:
      if (hit >= 0 && moved) SetHotItem(hit);
      break;
    case kPopupOpen:
      break;
  }
  m_ptLastMouse = point;
  m_bLastMouseValid = TRUE;
  if (m_state == kPopupOpen) Default();
}

BOOL CXTMenuBar::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
  if (m_hWndMaximisedChild) {
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    const std::vector<int> all = VisibleItems(kAll);
    if (HitTest(point, all.data(), all.data() + all.size()) >= 0) return static_cast<BOOL>(Default());
  }
  return CXTControlBar::OnSetCursor(wnd, hitTest, message);
}
