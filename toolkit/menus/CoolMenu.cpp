// The frame's messages, opening and closing popups, tracking, images, and
// the hooks on popup-menu windows.
#include "toolkit/menus/CoolMenu.h"

#include <algorithm>

#include "classlib/frame/framewnd.h"
#include "classlib/winapp.h"
#include "toolkit/common/ImageStore.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/menus/PopupMenuWatch.h"

namespace {

// Every cool menu alive, so a popup window can tell whether its menu is one
// of theirs.
std::vector<CXTCoolMenu*> g_coolMenus;
// WM_INITMENUPOPUP messages to pass over untouched (system menus the menu
// bar tracks itself).
int g_skipInitMenuPopup = 0;

}  // namespace

CXTCoolMenu::CXTCoolMenu() { g_coolMenus.push_back(this); }

CXTCoolMenu::~CXTCoolMenu() {
  CloseMenus();
  HookWindow(static_cast<HWND>(nullptr));
  if (m_installed) CXTPopupMenuWatch::Stop();
  g_coolMenus.erase(std::remove(g_coolMenus.begin(), g_coolMenus.end(), this), g_coolMenus.end());
}

void CXTCoolMenu::Install(CWnd* frame) {
  HookWindow(frame);
  if (m_installed) return;
  m_installed = true;
  CXTPopupMenuWatch::Start();
}

BOOL CXTCoolMenu::IsCoolMenu(HMENU menu) {
  for (const CXTCoolMenu* cool : g_coolMenus)
    if (std::find(cool->m_menus.begin(), cool->m_menus.end(), menu) != cool->m_menus.end()) return TRUE;
  return FALSE;
}

void CXTCoolMenu::SkipInitMenuPopup(HWND owner) {
  for (const CXTCoolMenu* cool : g_coolMenus)
    if (cool->m_hWnd && cool->m_hWnd == owner) {
      ++g_skipInitMenuPopup;
      return;
    }
}

void CXTCoolMenu::SetNextPopupTitle(const RECT& title) { CXTPopupMenuWatch::SetNextTitle(title); }

LRESULT CXTCoolMenu::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MEASUREITEM:
      if (OnMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_DRAWITEM:
      if (OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_COMMAND:
      if (HIWORD(wParam) == 0 && LOWORD(wParam) == XT_IDC_FULL_MENUS) {
        m_fullMenus = TRUE;
        m_expandHot = false;
      } else if (HIWORD(wParam) == 0) {
        m_fullMenus = FALSE;
        AddRecentItem(LOWORD(wParam));
      }
      break;
    case WM_KEYDOWN:
      CXTPopupMenuWatch::FollowMouse(WM_KEYDOWN);
      break;
    case WM_INITMENUPOPUP: {
      if (g_skipInitMenuPopup > 0) {
        --g_skipInitMenuPopup;
        break;
      }
      // The frame's command updates run first.
      const LRESULT result = Default(message, wParam, lParam);
      OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam));
      return result;
    }
    case WM_MENUSELECT:
      OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
      break;
    case WM_MENUCHAR:
      if (const LRESULT chosen = OnMenuChar(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam)))
        return chosen;
      break;
    case WM_TIMER:
      if (wParam == kExpandTimer) return OnExpandTimer(), 0;
      break;
  }
  return Default(message, wParam, lParam);
}

bool CXTCoolMenu::ExpandsAfterDelay() const {
  const CXTSharedState& state = GetSharedState();
  return IsHidingEnabled() && state.m_customizeFlags[kExpandAfterDelayFlag] && !state.m_isWin95 && !state.m_isNT4;
}

// Resting on the highlighted expand item chooses it after a while.
void CXTCoolMenu::FollowExpandHover(bool highlighted) {
  m_expandHot = highlighted;
  if (highlighted && ExpandsAfterDelay())
    ::SetTimer(m_hWnd, kExpandTimer, kExpandDelay, nullptr);
  else
    ::KillTimer(m_hWnd, kExpandTimer);
}

// The menu bar's hover timer shares the id: Enter is pressed only while the
// expand item is the highlighted one.
void CXTCoolMenu::OnExpandTimer() {
  ::KillTimer(m_hWnd, kExpandTimer);
  if (!m_expandHot || !ExpandsAfterDelay()) return;
  ::keybd_event(VK_RETURN, 0, 0, 0);
  ::keybd_event(VK_RETURN, 0, KEYEVENTF_KEYUP, 0);
}

// The frame's own system menu, or that of its active frame (a maximised MDI
// child's, opened from the menu bar).
BOOL CXTCoolMenu::IsSystemMenu(HMENU menu) const {
  if (!m_hWnd) return FALSE;
  if (::GetSystemMenu(m_hWnd, FALSE) == menu) return TRUE;
  auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(m_hWnd));
  CFrameWnd* active = frame ? frame->GetActiveFrame() : nullptr;
  return active && active != frame && active->m_hWnd && ::GetSystemMenu(active->m_hWnd, FALSE) == menu;
}

void CXTCoolMenu::OnInitMenuPopup(HMENU menu, UINT, BOOL systemMenu) {
  m_expandHot = false;
  if (!::IsMenu(menu) || systemMenu || IsSystemMenu(menu)) return;
  CXTPopupMenuWatch::LinkMenu(menu);
  const int margin = GetSharedState().m_xpLook ? 4 : 1, marginY = GetSharedState().m_xpLook ? 3 : 1;
  m_cellSize = CSize(m_imageSize.cx + 2 * margin, m_imageSize.cy + 2 * marginY);
  SubclassMenu(menu, TRUE);
  if (m_hasHidden && IsHidingEnabled())
    HideItems(menu);
  else
    UpdateExpandItem(menu, TRUE);
}

void CXTCoolMenu::OnMenuSelect(UINT, UINT flags, HMENU menu) {
  if (flags == 0xFFFF && !menu) CloseMenus();
}

// Every menu made owner-drawn goes back to what it was.
void CXTCoolMenu::CloseMenus() {
  for (HMENU menu : m_menus) {
    if (!::IsMenu(menu)) continue;
    RestoreMenu(menu);
    RemoveExpandItem(menu);
    SubclassMenu(menu, FALSE);
  }
  m_menus.clear();
  m_fullMenus = FALSE;
  CXTPopupMenuWatch::ForgetNotedMenu();
}

BOOL CXTCoolMenu::LoadToolbar(HWND toolBar) {
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(::SendMessageA(toolBar, TB_GETIMAGELIST, 0, 0));
  if (!images) return FALSE;
  int cx = 0, cy = 0;
  if (ImageList_GetImageCount(images) > 0 && ImageList_GetIconSize(images, &cx, &cy)) m_imageSize = CSize(cx, cy);
  GetImageStore().AddToolBarButtons(toolBar);
  return TRUE;
}

BOOL CXTCoolMenu::LoadToolbar(UINT resourceId) {
  return GetImageStore().AddToolBarResource(GetSharedState().m_resourceModule, MAKEINTRESOURCEA(resourceId));
}

BOOL CXTCoolMenu::LoadToolbars(const UINT* ids, int count) {
  BOOL all = TRUE;
  for (int i = 0; i < count; ++i) all &= LoadToolbar(ids[i]);
  return all;
}

BOOL CXTCoolMenu::AddImage(UINT id, HICON icon) {
  const BOOL added = GetImageStore().AddIcon(id, icon, m_imageSize.cx, m_imageSize.cy);
  ::DestroyIcon(icon);
  return added;
}

// The colour of a strip's pixels that stay transparent.
static const COLORREF kTransparentColor = RGB(0xC0, 0xC0, 0xC0);

BOOL CXTCoolMenu::AddImages(HBITMAP bitmap, const UINT* ids, int count) {
  HIMAGELIST images = ImageList_Create(m_imageSize.cx, m_imageSize.cy, ILC_COLOR32 | ILC_MASK, count, 0);
  if (!images) return FALSE;
  const int present = ImageList_AddMasked(images, bitmap, kTransparentColor) >= 0 ? ImageList_GetImageCount(images) : 0;
  for (int i = 0; i < count && i < present; ++i)
    if (ids[i]) GetImageStore().AddImage(ids[i], images, i, TRUE, CXTImageStore::kMenuMap);
  ImageList_Destroy(images);
  return present > 0;
}

BOOL CXTCoolMenu::AddImages(UINT bitmapId, const UINT* ids, int count) {
  HBITMAP bitmap = ::LoadBitmapA(GetSharedState().m_resourceModule, MAKEINTRESOURCEA(bitmapId));
  if (!bitmap) return FALSE;
  const BOOL added = AddImages(bitmap, ids, count);
  ::DeleteObject(bitmap);
  return added;
}

// Messages waiting before a popup opens are handled first. A quit among
// them is posted again and no popup opens: the application is ending.
static bool PumpPendingMessages() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return true;
}

UINT CXTCoolMenu::TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, CWnd* owner, const RECT* exclude, BOOL post) {
  CXTPopupMenuWatch::CloseAll();
  if (!PumpPendingMessages()) return 0;
  TPMPARAMS params = {sizeof params, {0, 0, 0, 0}};
  if (exclude) params.rcExclude = *exclude;
  const HWND ownerWindow = owner ? owner->m_hWnd : m_hWnd;
  for (;;) {
    const UINT command = static_cast<UINT>(
        ::TrackPopupMenuEx(menu, flags | TPM_RETURNCMD, x, y, ownerWindow, exclude ? &params : nullptr));
    if (command == XT_IDC_FULL_MENUS) {
      ::SendMessageA(ownerWindow, WM_COMMAND, XT_IDC_FULL_MENUS, 0);
      continue;
    }
    if (post && command) ::PostMessageA(ownerWindow, WM_COMMAND, command, 0);
    return command;
  }
}
