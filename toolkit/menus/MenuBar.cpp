#include "toolkit/menus/MenuBar.h"

#include <algorithm>

#include "classlib/module.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/menus/MenuBarHooks.h"
#include "toolkit_resource.h"

IMPLEMENT_DYNAMIC(CXTMenuBar, CXTControlBar)

BEGIN_MESSAGE_MAP(CXTMenuBar, CXTControlBar)
ON_WM_PAINT()
ON_WM_SETTINGCHANGE()
ON_WM_DESTROY()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_SETCURSOR()
ON_WM_CAPTURECHANGED()
ON_WM_CANCELMODE()
END_MESSAGE_MAP()

namespace {
const int kTitlePadding = 14;  // a title's width beyond its text
const int kMaxTitle = 63;      // characters of a title read from the menu
const UINT kHideInPlaceId = 0xE800;
// The window style a menu bar keeps of the bar style it is created with.
const DWORD kKeptWindowStyle = 0xFFBF004E;
const DWORD kToolBarStyle = CCS_NOMOVEY | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;

// The MDI child's caption buttons, in the order they end the bar.
struct ChildButton {
  UINT type, sysCommand;
  int spacing;
};
const ChildButton kCaptionButtons[] = {
    {DFCS_CAPTIONMIN, SC_MINIMIZE, 0},
    {DFCS_CAPTIONRESTORE, SC_RESTORE, 2},
    {DFCS_CAPTIONCLOSE, SC_CLOSE, 0},
};
const int kIconSpacing = 2;
}  // namespace

CXTMenuBar::CXTMenuBar(const CXTInPlaceQuery& inPlace) : m_inPlace(inPlace) {
  m_cyTopBorder = m_cyBottomBorder = 3;
  RefreshKeyboardCues();
}

CXTMenuBar::~CXTMenuBar() {
  DeleteItems();
  if (m_hMenu && m_hMenu != m_hMenuDefault && ::IsMenu(m_hMenu)) ::DestroyMenu(m_hMenu);
  if (m_hMenuDefault && ::IsMenu(m_hMenuDefault)) ::DestroyMenu(m_hMenuDefault);
}

void CXTMenuBar::RefreshKeyboardCues() {
  BOOL cues = TRUE;
  if (::SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &cues, 0) && cues != m_bKeyboardCues) {
    m_bKeyboardCues = cues;
    if (m_hWnd) Invalidate();
  }
}

// ---- creation

BOOL CXTMenuBar::Create(CWnd* parent, DWORD style, UINT id) { return CreateEx(parent, 0, style, GetBorders(), id); }

BOOL CXTMenuBar::CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style, const RECT& borders, UINT id) {
  SetBorders(&borders);
  m_dwStyle = style & CBRS_ALL;
  if (id == kHideInPlaceId) m_dwStyle |= CBRS_HIDE_INPLACE;
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&icc);
  DWORD windowStyle = ctrlStyle | (style & kKeptWindowStyle) | kToolBarStyle;
  if (!CWnd::Create(TOOLBARCLASSNAMEA, nullptr, windowStyle, CRect(), parent, id)) return FALSE;
  // The bar replaces the frame's own menu.
  if (HMENU own = ::GetMenu(parent->m_hWnd)) {
    ::SetMenu(parent->m_hWnd, nullptr);
    ::DestroyMenu(own);
  }
  m_frameHook.reset(new CXTMBarWndHook);
  m_frameHook->Install(this, parent->m_hWnd);
  m_hWndMDIClient = ::FindWindowExA(parent->m_hWnd, nullptr, "MDICLIENT", nullptr);
  if (m_hWndMDIClient) {
    m_clientHook.reset(new CXTMBarMDIWndHook);
    m_clientHook->Install(this, m_hWndMDIClient);
  }
  CString title;
  title.LoadString(IDS_XT_MENU_BAR);
  SetWindowText(title);
  CreateTips();
  return TRUE;
}

BOOL CXTMenuBar::HideCommand(UINT id) {
  m_hiddenCommands.Add(id);
  return TRUE;
}

BOOL CXTMenuBar::HideCommands(const UINT* ids, int count) {
  for (int i = 0; i < count; ++i)
    if (!HideCommand(ids[i])) return FALSE;
  return TRUE;
}

// ---- menus

BOOL CXTMenuBar::LoadMenuBar(UINT menuId) {
  m_nMenuId = menuId;
  return LoadMenu(MAKEINTRESOURCEA(menuId));
}

BOOL CXTMenuBar::LoadMenu(LPCSTR name) {
  HINSTANCE resources = AfxGetResourceHandle();
  if (!resources) return FALSE;
  HMENU menu = ::LoadMenuA(resources, name);
  if (!menu) return FALSE;
  if (m_hMenuDefault && ::IsMenu(m_hMenuDefault)) ::DestroyMenu(m_hMenuDefault);
  m_hMenuDefault = menu;
  SetMenu(menu, nullptr);
  return TRUE;
}

void CXTMenuBar::DeleteItems() { m_items.clear(); }

void CXTMenuBar::ResetTracking() {
  m_nHotItem = m_nTrackedItem = m_nNextItem = m_nTrackingItem = -1;
  m_nPressedItem = m_nPressedButton = -1;
  m_bPressedButtonHot = m_bLastMouseValid = m_bHotTracking = FALSE;
  m_bLeftLeaves = m_bRightLeaves = m_bEscapeClosed = FALSE;
  m_state = kIdle;
}

int CXTMenuBar::IndexOf(const CXTMenuBarItem& item) const {
  for (int index = 0; index < GetItemCount(); ++index)
    if (m_items[index].get() == &item) return index;
  return -1;
}

void CXTMenuBar::SetFrameActive(BOOL active) {
  m_bFrameActive = active;
  if (m_hWnd) Invalidate();
}

void CXTMenuBar::AddTitles(HMENU menu) {
  CClientDC dc(this);
  CFont* old = dc.SelectObject(&GetSharedState().GetFont(CXTSharedState::kFontMenuBar));
  const int count = ::GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    char text[kMaxTitle + 1] = {};
    if (!::GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION)) continue;
    CSize extent = dc.GetTextExtent(ShownTitle(text));
    m_items.emplace_back(
        new CXTMenuBarTextItem(this, position, text, CSize(extent.cx + kTitlePadding, ::GetSystemMetrics(SM_CYMENU))));
  }
  dc.SelectObject(old);
}

HMENU CXTMenuBar::SetMenu(HMENU menu, HMENU windowMenu) {
  HMENU previous = m_hMenu;
  m_hMenu = (menu || windowMenu) ? menu : m_hMenuDefault;
  DeleteItems();
  ResetTracking();
  m_items.reserve((m_hMenu ? ::GetMenuItemCount(m_hMenu) : 0) + 4);
  m_items.emplace_back(new CXTMenuBarChildItem(this, CXTMenuBarChildItem::kIcon, 0, kIconSpacing));
  if (m_hMenu && m_hWnd) AddTitles(m_hMenu);
  for (const ChildButton& b : kCaptionButtons)
    m_items.emplace_back(new CXTMenuBarChildItem(this, b.type, b.sysCommand, b.spacing));
  RecalcServerPositions();
  m_hMenuWindow = windowMenu;
  UpdateMaximizedChild(FALSE);
  PlaceItems(IsFloating() || IsHorizontal());
  if (CFrameWnd* frame = GetParentFrame()) frame->RecalcLayout();
  if (m_hWnd) Invalidate();
  return previous;
}

// ---- items

CRect CXTMenuBar::GetItemRect(INT_PTR index) const {
  const CXTMenuBarItem& item = *m_items[index];
  CSize size = item.GetSize();
  if (IsVerticalLayout()) std::swap(size.cx, size.cy);
  return CRect(item.m_pos, size);
}

std::vector<int> CXTMenuBar::VisibleItems(VisibleMode mode) const {
  const int buttons = static_cast<int>(std::size(kCaptionButtons));
  const int firstButton = static_cast<int>(m_items.size()) - buttons;
  std::vector<int> visible;
  for (int i = 0; i < static_cast<int>(m_items.size()); ++i) {
    const bool isButton = i >= firstButton;
    if (!(mode & (isButton ? kChildButtons : kTitles)) || m_items[i]->IsHidden()) continue;
    visible.push_back(i);
  }
  return visible;
}

int CXTMenuBar::HitTest(CPoint point, const int* first, const int* last) const {
  CRect client;
  GetClientRect(&client);
  if (!client.PtInRect(point)) return -1;
  for (const int* index = first; index != last; ++index)
    if (GetItemRect(*index).PtInRect(point)) return *index;
  return -1;
}

CXTMenuBar::TrackingState CXTMenuBar::GetTrackingState(int* tracked) const {
  if (tracked) *tracked = m_nTrackedItem;
  return m_state;
}

void CXTMenuBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {
  if (m_nTrackingItem < 0) m_nTrackedItem = -1;
  UpdateMaximizedChild(TRUE);
  if (m_bHotTracking && m_nHotItem >= 0 && GetCapture() != this) {
    CPoint cursor;
    ::GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(cursor)) {
      SetHotItem(-1);
      m_bHotTracking = FALSE;
    }
  }
  RefreshKeyboardCues();
}

void CXTMenuBar::OnBarStyleChange(DWORD oldStyle, DWORD newStyle) {
  if ((oldStyle ^ newStyle) & CBRS_FLOATING) ResetTracking();
}

void CXTMenuBar::OnSettingChange(UINT, LPCSTR) {
  Default();
  SetMenu(m_hMenu, m_hMenuWindow);
  // The frame lays out again when its size changes: one pixel wider and back.
  CWnd* top = GetTopLevelParent();
  if (!top) return;
  CRect rect;
  top->GetWindowRect(&rect);
  const UINT flags = SWP_NOMOVE | SWP_NOZORDER;
  top->SetWindowPos(nullptr, 0, 0, rect.Width() + 1, rect.Height(), flags);
  top->SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), flags);
}

void CXTMenuBar::OnDestroy() {
  ResetTracking();
  m_frameHook.reset();
  m_clientHook.reset();
  CXTControlBar::OnDestroy();
}

// ---- the window menu's list of MDI children

void CXTMenuBar::RefreshWindowMenu() {
  if (!m_hMenuWindow || !::IsMenu(m_hMenuWindow)) return;
  const int count = ::GetMenuItemCount(m_hMenuWindow);
  int listStart = count;
  for (int i = 0; i < count; ++i)
    if (::GetMenuItemID(m_hMenuWindow, i) >= static_cast<UINT>(kFirstMDIChild) &&
        ::GetMenuItemID(m_hMenuWindow, i) != static_cast<UINT>(-1)) {
      listStart = i;
      break;
    }
  const bool hadList = listStart < count;
  while (::GetMenuItemCount(m_hMenuWindow) > listStart) ::RemoveMenu(m_hMenuWindow, listStart, MF_BYPOSITION);
  if (!m_hWndMDIClient) return;

  HWND active = reinterpret_cast<HWND>(::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0));
  HWND slots[kMaxListedChildren] = {};
  for (HWND child = ::GetWindow(m_hWndMDIClient, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    const int id = ::GetDlgCtrlID(child);
    // Only MDI children carry ids from the first child id on; anything else
    // under the client has no slot.
    if (id < kFirstMDIChild) continue;
    int slot = id - kFirstMDIChild;
    if (slot >= kMaxListedChildren) {
      if (child != active) continue;
      slot = kMaxListedChildren - 1;
    }
    // The active child keeps the last place it took over.
    if (!active || slots[slot] != active) slots[slot] = child;
  }
  if (!std::any_of(std::begin(slots), std::end(slots), [](HWND h) { return h != nullptr; })) return;
  if (!hadList) ::AppendMenuA(m_hMenuWindow, MF_SEPARATOR, 0, nullptr);
  for (int slot = 0; slot < kMaxListedChildren; ++slot) {
    if (!slots[slot]) continue;
    char title[256] = {};
    ::GetWindowTextA(slots[slot], title, sizeof title);
    CString text;
    text.Format("&%d  %s", slot + 1, title);
    UINT flags = MF_STRING | (slots[slot] == active ? MF_CHECKED : 0);
    ::AppendMenuA(m_hMenuWindow, flags, static_cast<UINT>(::GetDlgCtrlID(slots[slot])), text);
  }
  if (!m_bMoreWindows) return;
  CString more;
  more.LoadString(IDS_XT_MORE_WINDOWS);
  ::AppendMenuA(m_hMenuWindow, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(m_hMenuWindow, MF_STRING, kMoreWindows, more);
}
