// The tool bar's message map, its reflected notifications, drop-down
// buttons, command updates and tips.
#include <algorithm>
#include <string>

#include "classlib/menu.h"
#include "toolkit/bars/ToolBar.h"
#include "toolkit/bars/ToolBarMessages.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/customize/CustomizeBroker.h"
#include "toolkit/docking/DockDragContext.h"
#include "toolkit/frame/ShortcutManager.h"

namespace {

const int kComCtl472 = 0x40048;
// The reflected update a bar may answer for its own buttons first.
const int kReflectedUpdate = static_cast<int>(MAKELONG(CN_UPDATE_COMMAND_UI, WM_COMMAND + WM_REFLECT_BASE));
// Customise flags of the shared state: tips at all, and shortcuts in tips.
const int kToolTipsFlag = 6;
const int kShortcutsInTipsFlag = 7;
const int kMaxCommandString = 256;
// Style bit of a button that stays enabled whatever its update says.
const BYTE kAlwaysEnabledStyle = 0x80;

// Updates one button through the bar: enabled and checked as CCmdUI asks.
class CXTToolCmdUI : public CCmdUI {
 public:
  void Enable(BOOL on) override {
    m_bEnableChanged = TRUE;
    CXTToolBar* bar = static_cast<CXTToolBar*>(m_pOther);
    TBBUTTON button;
    bar->GetButton(static_cast<int>(m_nIndex), &button);
    const BOOL enabled = on || (button.fsStyle & kAlwaysEnabledStyle) || forceEnabled;
    UINT style = bar->GetButtonStyle(static_cast<int>(m_nIndex));
    if (enabled) {
      style &= ~(TBSTATE_ENABLED << 16);
    } else {
      style |= TBSTATE_ENABLED << 16;
      style &= ~(TBSTATE_PRESSED << 16);
    }
    bar->SetButtonStyle(static_cast<int>(m_nIndex), style);
  }
  void SetCheck(int check) override {
    CXTToolBar* bar = static_cast<CXTToolBar*>(m_pOther);
    UINT style = bar->GetButtonStyle(static_cast<int>(m_nIndex));
    style &= ~((TBSTATE_CHECKED | TBSTATE_INDETERMINATE) << 16);
    if (check == 1) style |= TBSTATE_CHECKED << 16;
    if (check == 2) style |= TBSTATE_INDETERMINATE << 16;
    bar->SetButtonStyle(static_cast<int>(m_nIndex), style | TBSTYLE_CHECK);
  }
  void SetText(LPCSTR) override {}
  BOOL forceEnabled = FALSE;
};

}  // namespace

BEGIN_MESSAGE_MAP(CXTToolBar, CXTControlBar)
ON_WM_NCHITTEST()
ON_WM_NCCALCSIZE()
ON_WM_WINDOWPOSCHANGING()
ON_WM_SYSCOLORCHANGE()
ON_WM_NCCREATE()
ON_WM_DESTROY()
ON_WM_LBUTTONUP()
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_MESSAGE(TB_SETBUTTONSIZE, OnSetButtonSize)
ON_MESSAGE(TB_SETBITMAPSIZE, OnSetBitmapSize)
ON_MESSAGE(TB_SETDRAWTEXTFLAGS, OnSetDrawTextFlags)
ON_MESSAGE(WM_SETTINGCHANGE, OnSettingOrFont)
ON_MESSAGE(WM_SETFONT, OnSettingOrFont)
ON_MESSAGE(XTWM_TOOLBAR_RELAYOUT, OnRelayout)
ON_NOTIFY_REFLECT_EX(TBN_BEGINADJUST, OnBeginAdjust)
ON_NOTIFY_REFLECT_EX(TBN_CUSTHELP, OnCustomHelp)
ON_NOTIFY_REFLECT_EX(TBN_ENDADJUST, OnEndAdjust)
ON_NOTIFY_REFLECT_EX(TBN_GETBUTTONINFOA, OnGetButtonInfo)
ON_NOTIFY_REFLECT_EX(TBN_QUERYDELETE, OnQueryDelete)
ON_NOTIFY_REFLECT_EX(TBN_QUERYINSERT, OnQueryInsert)
ON_NOTIFY_REFLECT_EX(TBN_RESET, OnReset)
ON_NOTIFY_REFLECT_EX(TBN_TOOLBARCHANGE, OnToolBarChange)
ON_NOTIFY_REFLECT_EX(TBN_HOTITEMCHANGE, OnHotItemChange)
ON_NOTIFY_REFLECT_EX(TBN_DROPDOWN, OnDropDownNotify)
ON_NOTIFY_REFLECT_EX(NM_CUSTOMDRAW, OnCustomDraw)
ON_MESSAGE(XTWM_DROPDOWN_CLOSED, OnDropDownClosed)
ON_MESSAGE(XTWM_COLOR_CHOSEN_FOR_BUTTON, OnColorChosen)
END_MESSAGE_MAP()

void CXTToolBar::OnDestroy() {
  if (m_bCustomizable) {
    SaveState();
    EnableCustomization(FALSE);
  }
  LeaveCustomizeMode();
  GetCustomizeBroker().RemoveClient(this);
  // The chevron goes with the window's children and deletes itself.
  m_pChevron = nullptr;
  CXTControlBar::OnDestroy();
}

void CXTToolBar::OnLButtonUp(UINT, CPoint) {
  if (m_bCaptureAfterDropDown) {
    ::ReleaseCapture();
    m_bCaptureAfterDropDown = FALSE;
    RedrawWindow(nullptr, nullptr, RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
  }
  Default();
}

LRESULT CXTToolBar::OnSetDrawTextFlags(WPARAM wParam, LPARAM lParam) {
  m_dwDrawTextMask = static_cast<DWORD>(wParam);
  m_dwDrawTextFlags = static_cast<DWORD>(lParam);
  return Default();
}

// The common control keeps its flat, transparent look through these.
LRESULT CXTToolBar::OnSettingOrFont(WPARAM, LPARAM) {
  if (GetComCtlVersion() < kComCtl472) return Default();
  const DWORD style = GetStyle();
  ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, style | TBSTYLE_FLAT | TBSTYLE_TRANSPARENT);
  const LRESULT result = Default();
  ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, style);
  return result;
}

// ---- reflected notifications

BOOL CXTToolBar::OnBeginAdjust(NMHDR*, LRESULT* result) {
  *result = 0;
  if (HasHiddenButtons()) ShowAllButtons();
  m_bAdjusting = TRUE;
  PostRelayout();
  return TRUE;
}

BOOL CXTToolBar::OnCustomHelp(NMHDR*, LRESULT* result) {
  ::MessageBoxA(m_hWnd, "Help not implemented!", nullptr, MB_ICONINFORMATION);
  *result = 0;
  return TRUE;
}

BOOL CXTToolBar::OnEndAdjust(NMHDR*, LRESULT* result) {
  m_bAdjusting = FALSE;
  SaveState();
  *result = 0;
  return TRUE;
}

CString CXTToolBar::CommandName(UINT id) {
  CString resource;
  if (!resource.LoadString(id)) return CString();
  const int lineBreak = resource.Find('\n');
  if (lineBreak < 0) return CString();
  CString name = resource.Mid(lineBreak + 1);
  return name.IsEmpty() ? resource.Left(lineBreak) : name;
}

BOOL CXTToolBar::OnGetButtonInfo(NMHDR* header, LRESULT* result) {
  NMTOOLBARA* info = reinterpret_cast<NMTOOLBARA*>(header);
  if (m_entries.size() != static_cast<size_t>(GetButtonCount())) RebuildEntries();
  if (info->iItem < 0 || info->iItem >= static_cast<int>(m_entries.size())) {
    *result = FALSE;
    return TRUE;
  }
  ButtonEntry& entry = m_entries[info->iItem];
  const int id = entry.button.idCommand;
  if (id > 0 && !(entry.button.fsStyle & TBSTYLE_SEP)) {
    CString text;
    auto own = m_texts.find(static_cast<UINT>(id));
    if (own != m_texts.end()) {
      text = own->second;
      auto index = m_stringIndexes.find(static_cast<LPCSTR>(text));
      if (index != m_stringIndexes.end()) entry.button.iString = index->second;
    } else {
      text = CommandName(static_cast<UINT>(id));
    }
    // The caller's buffer holds cchText characters with the terminator.
    if (!text.IsEmpty() && info->pszText && info->cchText > 0) {
      const int copied = std::min(text.GetLength(), info->cchText - 1);
      memcpy(info->pszText, static_cast<LPCSTR>(text), copied);
      info->pszText[copied] = '\0';
    }
  }
  info->tbButton = entry.button;
  if (entry.control) PositionControl(entry.control);
  *result = TRUE;
  return TRUE;
}

BOOL CXTToolBar::OnQueryDelete(NMHDR* header, LRESULT* result) {
  const NMTOOLBARA* info = reinterpret_cast<NMTOOLBARA*>(header);
  TBBUTTON button;
  GetButton(info->iItem, &button);
  *result = !(button.idCommand != 0 && (button.fsState & TBSTATE_HIDDEN));
  return TRUE;
}

BOOL CXTToolBar::OnQueryInsert(NMHDR*, LRESULT* result) {
  *result = TRUE;
  return TRUE;
}

BOOL CXTToolBar::OnReset(NMHDR*, LRESULT* result) {
  ResetLayout();
  *result = 1;
  return TRUE;
}

BOOL CXTToolBar::OnToolBarChange(NMHDR*, LRESULT* result) {
  CalcDynamicLayout(-1, ChangeLayoutMode() | LM_COMMIT);
  PositionControls();
  if (CFrameWnd* frame = GetParentFrame()) frame->DelayRecalcLayout();
  *result = 0;
  return TRUE;
}

BOOL CXTToolBar::OnHotItemChange(NMHDR* header, LRESULT* result) {
  const NMTBHOTITEM* hot = reinterpret_cast<NMTBHOTITEM*>(header);
  CXTDockDragContext* drag = dynamic_cast<CXTDockDragContext*>(m_pDockContext);
  const bool dragging = drag && drag->IsInLoop();
  const bool captured = ::GetCapture() == m_hWnd && hot->idNew != hot->idOld;
  *result = dragging || captured;
  return TRUE;
}

// ---- command updates

void CXTToolBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) {
  CXTToolCmdUI state;
  state.m_pOther = this;
  const int count = GetButtonCount();
  state.m_nIndexMax = static_cast<UINT>(count);
  for (int i = 0; i < count; ++i) {
    TBBUTTON button;
    GetButton(i, &button);
    if (button.fsStyle & TBSTYLE_SEP) continue;
    state.m_nIndex = static_cast<UINT>(i);
    state.m_nID = static_cast<UINT>(button.idCommand);
    state.forceEnabled = FALSE;
    if (CWnd::OnCmdMsg(0, kReflectedUpdate, &state, nullptr)) continue;
    if (CWnd::OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state, nullptr)) continue;
    state.DoUpdate(target, disableIfNoHandler);
  }
  UpdateDialogControls(target, disableIfNoHandler);
}

BOOL CXTToolBar::IsUpdateTarget(CWnd* target) const {
  const int count = GetButtonCount();
  for (int i = 0; i < count; ++i) {
    TBBUTTON button;
    GetButton(i, &button);
    if (button.fsStyle & TBSTYLE_SEP) continue;
    AFX_CMDHANDLERINFO info = {};
    if (target->OnCmdMsg(static_cast<UINT>(button.idCommand), CN_UPDATE_COMMAND_UI, nullptr, &info)) return TRUE;
  }
  return FALSE;
}

// ---- tips

INT_PTR CXTToolBar::OnToolHitTest(CPoint point, TOOLINFOA* info) const {
  const INT_PTR base = CXTControlBar::OnToolHitTest(point, info);
  if (base != -1) return base;
  const int count = GetButtonCount();
  int hit = -1;
  CRect rect;
  for (int i = 0; i < count && hit < 0; ++i) {
    TBBUTTON button;
    GetButton(i, &button);
    SendMessage(TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rect));
    ++rect.right;
    ++rect.bottom;
    if (rect.PtInRect(point) && !(button.fsStyle & TBSTYLE_SEP)) hit = i;
  }
  if (hit < 0) return -1;
  const UINT id = GetItemID(hit);
  if (info && info->cbSize >= 40) {
    const CXTSharedState& shared = GetSharedState();
    if (!shared.m_customizeFlags[kToolTipsFlag]) return -1;
    info->hwnd = m_hWnd;
    info->rect = rect;
    info->uId = id;
    info->lpszText = LPSTR_TEXTCALLBACKA;
    if (shared.m_customizeFlags[kShortcutsInTipsFlag]) {
      CString tip = TipWithShortcut(id);
      if (!tip.IsEmpty()) {
        char* copy = static_cast<char*>(malloc(tip.GetLength() + 1));
        memcpy(copy, static_cast<LPCSTR>(tip), tip.GetLength() + 1);
        info->lpszText = copy;
      }
    }
  }
  return id ? static_cast<INT_PTR>(id) : -1;
}

CString CXTToolBar::TipWithShortcut(UINT id) const {
  char resource[kMaxCommandString + 1] = {};
  ::LoadStringA(AfxGetResourceHandle(), id, resource, sizeof resource);
  const char* lineBreak = strchr(resource, '\n');
  if (!lineBreak || !lineBreak[1]) return CString();
  CString tip(lineBreak + 1);
  CString keys;
  GetShortcutManager().GetShortcutText(id, keys);
  const int comma = keys.Find(',');
  if (comma >= 0) keys = keys.Left(comma);
  if (!keys.IsEmpty()) tip += " (" + keys + ")";
  return tip;
}

// ---- drop-down buttons

BOOL CXTToolBar::OnDropDownNotify(NMHDR* header, LRESULT* result) {
  NMTOOLBARA* item = reinterpret_cast<NMTOOLBARA*>(header);
  CRect rect;
  SendMessage(TB_GETRECT, item->iItem, reinterpret_cast<LPARAM>(&rect));
  ClientToScreen(&rect);
  OnDropDown(item, rect);
  *result = TBDDRET_DEFAULT;
  return TRUE;
}

BOOL CXTToolBar::IsDropDownOpen(int index) const {
  return std::binary_search(m_openDropDowns.begin(), m_openDropDowns.end(), index);
}

void CXTToolBar::SetDropDownOpen(int index, BOOL open) {
  auto at = std::lower_bound(m_openDropDowns.begin(), m_openDropDowns.end(), index);
  const bool present = at != m_openDropDowns.end() && *at == index;
  if (open && !present) m_openDropDowns.insert(at, index);
  if (!open && present) m_openDropDowns.erase(at);
}

CWnd* CXTToolBar::DropDownOwner() const {
  CWnd* owner = GetOwner();
  return owner ? owner : GetParent();
}

void CXTToolBar::CloseDropDown(int index) {
  SetDropDownOpen(index, FALSE);
  Invalidate();
}

void CXTToolBar::TrackDropDownMenu(HMENU popup, NMTOOLBARA*, const CRect& screenRect) {
  TPMPARAMS params = {sizeof params, screenRect};
  if (HasFlatLook()) {
    ++params.rcExclude.top;
    --params.rcExclude.bottom;
  }
  ::TrackPopupMenuEx(popup, TPM_VERTICAL, screenRect.left, screenRect.bottom, DropDownOwner()->m_hWnd, &params);
}

void CXTToolBar::OnDropDown(NMTOOLBARA* item, const CRect& screenRect) {
  if (m_pDropDownWindow && ::IsWindow(m_pDropDownWindow->m_hWnd)) return;
  const int index = CommandToIndex(static_cast<UINT>(item->iItem));
  CRect grown = screenRect;
  ScreenToClient(&grown);
  grown.InflateRect(4, 4);
  InvalidateRect(&grown);
  CXTDropDownButtonInfo* info = FindDropDownInfo(static_cast<UINT>(item->iItem));
  if (info && IsDropDownOpen(index)) return;
  SetDropDownOpen(index, TRUE);
  if (!info) {
    UpdateWindow();
    return;
  }
  UpdateWindow();
  if (info->idMenu) {
    CMenu menu;
    if (menu.LoadMenu(info->idMenu)) TrackDropDownMenu(::GetSubMenu(menu.m_hMenu, 0), item, screenRect);
    CloseDropDown(index);
  } else if (info->bPopupWindow) {
    if (m_pDropDownWindow) m_pDropDownWindow->DestroyWindow();
    m_pDropDownWindow = nullptr;
    m_nDropDownCommand = item->iItem;
    OpenDropDownWindow(info, screenRect);
  } else {
    CRect rect = screenRect;
    const LRESULT kept =
        DropDownOwner()->SendMessage(XTWM_DROPDOWN, reinterpret_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect));
    if (!kept) {
      CloseDropDown(index);
    } else if (::GetKeyState(VK_LBUTTON) < 0) {
      m_bCaptureAfterDropDown = TRUE;
      SetCapture();
    }
  }
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CXTToolBar::OpenDropDownWindow(CXTDropDownButtonInfo*, const CRect&) {}

LRESULT CXTToolBar::OnDropDownClosed(WPARAM wParam, LPARAM) {
  SetDropDownOpen(CommandToIndex(static_cast<UINT>(m_nDropDownCommand)), FALSE);
  Invalidate();
  DropDownOwner()->SendMessage(XTWM_DROPDOWN_CLOSED, wParam, m_nDropDownCommand);
  m_pDropDownWindow = nullptr;
  m_nDropDownCommand = -1;
  return 0;
}

LRESULT CXTToolBar::OnColorChosen(WPARAM wParam, LPARAM lParam) {
  if (CXTDropDownButtonInfo* info = FindDropDownInfo(static_cast<UINT>(lParam)))
    info->clrColor = static_cast<DWORD>(wParam);
  Invalidate();
  DropDownOwner()->SendMessage(XTWM_COLOR_CHOSEN_FOR_BUTTON, wParam, lParam);
  return 0;
}
