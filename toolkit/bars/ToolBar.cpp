// The tool bar's creation, images, buttons, texts and child controls.
#include "toolkit/bars/ToolBar.h"

#include <algorithm>

#include "classlib/winapp.h"
#include "toolkit/bars/ChevronButton.h"
#include "toolkit/bars/ToolBarDropTarget.h"
#include "toolkit/bars/ToolBarMessages.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/paint/SysColorBitmap.h"
#include "toolkit_resource.h"

IMPLEMENT_DYNAMIC(CXTToolBar, CXTControlBar)

#ifndef _WIN64
static_assert(sizeof(TBBUTTON) == 20, "the 32-bit button record");
#endif

namespace {

// Window styles of the common control the bar keeps from its caller, and
// those it always adds: no resizing, no parent alignment, no divider, no
// vertical move.
const DWORD kKeptWindowStyle = 0xFFBF004E;
const DWORD kControlStyle = CCS_NOMOVEY | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
const int kComCtl472 = 0x40048;
// Bits of the style word above the style byte: the state byte, enabled inverted.
const int kStateShift = 16;

UINT StyleWord(const TBBUTTON& button) { return MAKELONG(button.fsStyle, button.fsState ^ TBSTATE_ENABLED); }

void SetStyleWord(TBBUTTON& button, UINT style) {
  button.fsStyle = static_cast<BYTE>(LOWORD(style));
  button.fsState = static_cast<BYTE>((style >> kStateShift) ^ TBSTATE_ENABLED);
}

bool SameButton(TBBUTTON a, TBBUTTON b) {
  memset(a.bReserved, 0, sizeof a.bReserved);
  memset(b.bReserved, 0, sizeof b.bReserved);
  return memcmp(&a, &b, sizeof a) == 0;
}

bool IsSeparator(const TBBUTTON& button) { return (button.fsStyle & TBSTYLE_SEP) != 0; }

}  // namespace

CXTToolBar::CXTToolBar() { m_cyTopBorder = m_cyBottomBorder = 3; }

CXTToolBar::~CXTToolBar() {
  LeaveCustomizeMode();
  GetCustomizeBroker().RemoveClient(this);
  if (m_hbmImageWell) ::DeleteObject(m_hbmImageWell);
  if (m_pDropDownWindow) m_pDropDownWindow->DestroyWindow();
  m_nCount = 0;
}

BOOL CXTToolBar::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!CXTControlBar::PreCreateWindow(cs)) return FALSE;
  cs.style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  return TRUE;
}

BOOL CXTToolBar::Create(CWnd* parent, DWORD style, UINT id) {
  return CreateEx(parent, 0, style, CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder), id);
}

BOOL CXTToolBar::CreateEx(CWnd* parent, DWORD toolBarStyle, DWORD style, const RECT& borders, UINT id) {
  SetBorders(&borders);
  m_dwStyle = style & CBRS_ALL;
  if (id == kStandardBarId) m_dwStyle |= CBRS_HIDE_INPLACE;
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&icc);
  const DWORD windowStyle = (style & kKeptWindowStyle) | kControlStyle | toolBarStyle;
  if (!CWnd::Create(TOOLBARCLASSNAMEA, nullptr, windowStyle, CRect(), parent, id)) return FALSE;
  SetSizes(m_sizeButton, m_sizeImage);
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetBarFont().m_hObject), TRUE);
  CWinApp* app = AfxGetApp();
  CString format;
  if (app && app->m_pszRegistryKey && app->m_pszProfileName && format.LoadString(IDS_XT_SETTINGS_SECTION))
    m_settingsSection.Format(format, app->m_pszRegistryKey, app->m_pszProfileName);
  if (app && app->m_pszProfileName && format.LoadString(IDS_XT_BAR_VALUE))
    m_settingsValue.Format(format, app->m_pszProfileName, static_cast<int>(LOWORD(id)));
  return TRUE;
}

BOOL CXTToolBar::OnNcCreate(LPCREATESTRUCTA) {
  if (!Default()) return FALSE;
  if (CWnd* owner = GetOwner()) SendMessage(TB_SETPARENT, reinterpret_cast<WPARAM>(owner->m_hWnd));
  SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
  return TRUE;
}

int CXTToolBar::OnCreate(LPCREATESTRUCTA lpcs) {
  if (CXTControlBar::OnCreate(lpcs) == -1) return -1;
  // The common control answers the bar's own font, not the bar base's default.
  SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
  if (HasChevron()) {
    m_pChevron = new CXTExpButton(this);
    if (!m_pChevron->Create(XT_IDC_CUSTOMIZE)) {
      delete m_pChevron;
      m_pChevron = nullptr;
      return -1;
    }
  }
  return 0;
}

void CXTToolBar::SetOwner(CWnd* owner) {
  SendMessage(TB_SETPARENT, reinterpret_cast<WPARAM>(owner ? owner->m_hWnd : nullptr));
  CXTControlBar::SetOwner(owner);
}

void CXTToolBar::SetSizes(SIZE button, SIZE image) {
  if (!m_hWnd) {
    m_sizeButton = button;
    m_sizeImage = image;
    return;
  }
  if (HasFlatLook() && (GetStyle() & TBSTYLE_LIST)) {
    button.cx -= 4;
    SendMessage(TB_SETPADDING, 0, MAKELPARAM(3, 7));
  }
  SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(image.cx, image.cy));
  SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(button.cx, button.cy));
  Invalidate();
}

LRESULT CXTToolBar::OnSetButtonSize(WPARAM, LPARAM lParam) {
  const LRESULT accepted = Default();
  if (accepted) m_sizeButton = CSize(LOWORD(lParam), HIWORD(lParam));
  return accepted;
}

LRESULT CXTToolBar::OnSetBitmapSize(WPARAM, LPARAM lParam) {
  const LRESULT accepted = Default();
  if (accepted) m_sizeImage = CSize(LOWORD(lParam), HIWORD(lParam));
  return accepted;
}

BOOL CXTToolBar::SetBitmap(HBITMAP bitmap) {
  BITMAP info = {};
  if (!bitmap || !::GetObjectA(bitmap, sizeof info, &info) || m_sizeImage.cx <= 0) return FALSE;
  const int count = info.bmWidth / m_sizeImage.cx;
  BOOL set;
  if (m_hbmImageWell) {
    TBREPLACEBITMAP replace = {nullptr, reinterpret_cast<UINT_PTR>(m_hbmImageWell), nullptr,
                               reinterpret_cast<UINT_PTR>(bitmap), count};
    set = static_cast<BOOL>(SendMessage(TB_REPLACEBITMAP, 0, reinterpret_cast<LPARAM>(&replace)));
  } else {
    TBADDBITMAP add = {nullptr, reinterpret_cast<UINT_PTR>(bitmap)};
    set = SendMessage(TB_ADDBITMAP, count, reinterpret_cast<LPARAM>(&add)) == 0;
  }
  if (!set) return FALSE;
  if (m_hbmImageWell && m_hbmImageWell != bitmap) ::DeleteObject(m_hbmImageWell);
  m_hbmImageWell = bitmap;
  return TRUE;
}

BOOL CXTToolBar::LoadBitmap(UINT resourceId) {
  m_hInstImageWell = AfxGetResourceHandle();
  m_hRsrcImageWell = ::FindResourceA(m_hInstImageWell, MAKEINTRESOURCEA(resourceId), RT_BITMAP);
  if (!m_hRsrcImageWell) return FALSE;
  HBITMAP bitmap = LoadSysColorBitmap(m_hInstImageWell, m_hRsrcImageWell, FALSE);
  if (SetBitmap(bitmap)) return TRUE;
  if (bitmap) ::DeleteObject(bitmap);
  return FALSE;
}

void CXTToolBar::OnSysColorChange() {
  if (!m_hInstImageWell || !m_hRsrcImageWell) return;
  if (HBITMAP bitmap = LoadSysColorBitmap(m_hInstImageWell, m_hRsrcImageWell, FALSE)) {
    if (!SetBitmap(bitmap)) ::DeleteObject(bitmap);
  }
}

void CXTToolBar::SetImageList(HIMAGELIST images, BOOL normal) {
  SendMessage(normal ? TB_SETIMAGELIST : TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
}

BOOL CXTToolBar::SetButtons(const UINT* ids, int count) {
  while (SendMessage(TB_BUTTONCOUNT) > 0) SendMessage(TB_DELETEBUTTON, 0);
  m_entries.clear();
  const bool narrow = (GetStyle() & TBSTYLE_FLAT) || GetComCtlVersion() == kComCtl472;
  int image = 0;
  for (int i = 0; i < count; ++i) {
    TBBUTTON button = {};
    button.fsState = TBSTATE_ENABLED;
    button.iString = -1;
    if (ids && ids[i]) {
      button.idCommand = static_cast<int>(ids[i]);
      button.iBitmap = image++;
    } else if (ids) {
      button.fsStyle = TBSTYLE_SEP;
      button.iBitmap = narrow ? kSeparatorWidthFlat : kSeparatorWidthClassic;
    }
    if (!SendMessage(TB_INSERTBUTTON, i, reinterpret_cast<LPARAM>(&button))) return FALSE;
  }
  m_nCount = GetButtonCount();
  RebuildEntries();
  m_bDelayedLayout = TRUE;
  ShowAllButtons();
  return TRUE;
}

void CXTToolBar::RebuildEntries() {
  std::vector<ButtonEntry> old;
  old.swap(m_entries);
  const int count = GetButtonCount();
  m_entries.resize(count);
  for (int i = 0; i < count; ++i) {
    ButtonEntry& entry = m_entries[i];
    GetButton(i, &entry.button);
    entry.hidden = (entry.button.fsState & TBSTATE_HIDDEN) != 0;
    auto same = std::find_if(old.begin(), old.end(), [&](const ButtonEntry& e) {
      return e.button.idCommand == entry.button.idCommand && (e.control || e.dropDown);
    });
    if (entry.button.idCommand != 0 && same != old.end()) {
      entry.control = same->control;
      entry.dropDown = same->dropDown;
      entry.boldFont = same->boldFont;
      old.erase(same);
    }
  }
}

// ---- buttons

int CXTToolBar::GetButtonCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT)); }

int CXTToolBar::CommandToIndex(UINT id) const { return static_cast<int>(SendMessage(TB_COMMANDTOINDEX, id)); }

BOOL CXTToolBar::GetButton(int index, TBBUTTON* button) const {
  *button = TBBUTTON();
  return static_cast<BOOL>(SendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(button)));
}

UINT CXTToolBar::GetItemID(int index) const {
  TBBUTTON button;
  return GetButton(index, &button) ? static_cast<UINT>(button.idCommand) : 0;
}

UINT CXTToolBar::GetButtonStyle(int index) const {
  TBBUTTON button;
  GetButton(index, &button);
  return StyleWord(button);
}

void CXTToolBar::SetButtonStyle(int index, UINT style) {
  TBBUTTON button;
  if (!GetButton(index, &button)) return;
  const UINT old = StyleWord(button);
  if (LOWORD(old) == LOWORD(style) && (old >> kStateShift) == (style >> kStateShift)) return;
  SetStyleWord(button, style);
  SetButtonInfo(index, button);
  m_bDelayedLayout = TRUE;
}

void CXTToolBar::GetButtonInfo(int index, UINT& id, UINT& style, int& image) const {
  TBBUTTON button;
  GetButton(index, &button);
  id = static_cast<UINT>(button.idCommand);
  style = StyleWord(button);
  image = button.iBitmap;
}

void CXTToolBar::SetButtonInfo(int index, UINT id, UINT style, int image) {
  TBBUTTON button;
  if (!GetButton(index, &button)) return;
  button.idCommand = static_cast<int>(id);
  button.iBitmap = image;
  SetStyleWord(button, style);
  SetButtonInfo(index, button);
}

void CXTToolBar::SetButtonInfo(int index, const TBBUTTON& button) {
  if (index == -1) return;
  TBBUTTON old;
  if (!GetButton(index, &old) || SameButton(old, button)) return;
  const DWORD style = GetStyle();
  ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, style & ~WS_VISIBLE);
  SendMessage(TB_DELETEBUTTON, index);
  SendMessage(TB_INSERTBUTTON, index, reinterpret_cast<LPARAM>(&button));
  ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, style);
  const bool hiddenChanged = ((old.fsState ^ button.fsState) & TBSTATE_HIDDEN) != 0;
  if (hiddenChanged && IsSeparator(button)) {
    if (ButtonEntry* entry = EntryOfCommand(button.idCommand)) {
      if (entry->control && (button.fsState & TBSTATE_HIDDEN)) {
        ::ShowWindow(entry->control, SW_HIDE);
      } else if (entry->control) {
        PositionControl(entry->control);
      }
    }
  }
  m_bDelayedLayout = TRUE;
  const bool kindChanged = IsSeparator(old) != IsSeparator(button);
  const bool widthChanged = IsSeparator(button) && old.iBitmap != button.iBitmap;
  if (kindChanged || widthChanged) {
    Invalidate();
    return;
  }
  CRect rect;
  SendMessage(TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
  InvalidateRect(&rect);
}

void CXTToolBar::GetItemRect(int index, LPRECT rect) {
  RecalcIfDelayed();
  if (!SendMessage(TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(rect))) ::SetRectEmpty(rect);
}

CSize CXTToolBar::GetButtonSize(const TBBUTTON* buttons, int index) {
  CRect rect;
  GetItemRect(index, &rect);
  const TBBUTTON& button = buttons[index];
  if ((button.fsState & TBSTATE_WRAP) && IsSeparator(button)) return CSize(0, button.iBitmap);
  return rect.Size();
}

BOOL CXTToolBar::SetButtonText(int index, LPCSTR text) {
  TBBUTTON button;
  if (!GetButton(index, &button)) return FALSE;
  int stringIndex;
  auto known = m_stringIndexes.find(text);
  if (known != m_stringIndexes.end()) {
    stringIndex = known->second;
  } else {
    // The pool takes a list of strings ended by an empty one.
    std::string pool(text);
    pool.append(2, '\0');
    stringIndex = static_cast<int>(SendMessage(TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(pool.data())));
    if (stringIndex == -1) return FALSE;
    m_stringIndexes[text] = stringIndex;
  }
  m_texts[static_cast<UINT>(button.idCommand)] = text;
  if (button.iString != stringIndex) {
    button.iString = stringIndex;
    SetButtonInfo(index, button);
    RebuildEntries();
  }
  PostRelayout();
  return TRUE;
}

CString CXTToolBar::GetButtonText(int index) const {
  auto found = m_texts.find(GetItemID(index));
  return found != m_texts.end() ? found->second : CString();
}

CXTToolBar::ButtonEntry* CXTToolBar::EntryOfCommand(UINT id) {
  for (ButtonEntry& entry : m_entries)
    if (static_cast<UINT>(entry.button.idCommand) == id) return &entry;
  return nullptr;
}

const CXTToolBar::ButtonEntry* CXTToolBar::EntryOfCommand(UINT id) const {
  return const_cast<CXTToolBar*>(this)->EntryOfCommand(id);
}

CXTDropDownButtonInfo* CXTToolBar::MakeDropDown(UINT id, BOOL arrow) {
  if (m_entries.size() != static_cast<size_t>(GetButtonCount())) RebuildEntries();
  ButtonEntry* entry = EntryOfCommand(id);
  if (!entry) return nullptr;
  if (!entry->dropDown) entry->dropDown = std::make_shared<CXTDropDownButtonInfo>();
  entry->dropDown->bArrow = arrow;
  entry->dropDown->idCommand = id;
  if (arrow) SendMessage(TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  const int index = CommandToIndex(id);
  TBBUTTON button;
  if (GetButton(index, &button) && !(button.fsStyle & TBSTYLE_DROPDOWN)) {
    button.fsStyle |= TBSTYLE_DROPDOWN;
    SetButtonInfo(index, button);
    entry = EntryOfCommand(id);
    entry->button = button;
  }
  return entry->dropDown.get();
}

CXTDropDownButtonInfo* CXTToolBar::FindDropDownInfo(UINT id) const {
  for (const ButtonEntry& entry : m_entries)
    if (entry.dropDown && entry.dropDown->idCommand == id) return entry.dropDown.get();
  return nullptr;
}

BOOL CXTToolBar::GetCommandColor(UINT id, COLORREF* color) const {
  const CXTDropDownButtonInfo* info = FindDropDownInfo(id);
  if (!info || !info->bShowColor || !info->bPopupWindow) return FALSE;
  *color = info->clrColor;
  return TRUE;
}

// ---- controls on separators

BOOL CXTToolBar::SetControl(CWnd* control, BOOL bold) {
  if (m_entries.size() != static_cast<size_t>(GetButtonCount())) RebuildEntries();
  ButtonEntry* entry = EntryOfCommand(static_cast<UINT>(::GetDlgCtrlID(control->m_hWnd)));
  if (!entry) return TRUE;
  entry->control = control->m_hWnd;
  entry->boldFont = static_cast<BYTE>(bold != FALSE);
  CFont& font = bold ? GetBoldBarFont() : GetBarFont();
  control->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.m_hObject), TRUE);
  PositionControl(control->m_hWnd);
  return TRUE;
}

void CXTToolBar::PositionControl(HWND control) {
  const int index = CommandToIndex(static_cast<UINT>(::GetDlgCtrlID(control)));
  TBBUTTON button;
  if (!GetButton(index, &button)) return;
  if (button.fsState & TBSTATE_HIDDEN) {
    ::ShowWindow(control, SW_HIDE);
    return;
  }
  ::ShowWindow(control, SW_SHOWNA);
  CRect window;
  ::GetWindowRect(control, &window);
  if (button.iBitmap != window.Width()) {
    button.iBitmap = window.Width();
    SetButtonInfo(index, button);
  }
  CRect item;
  SendMessage(TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
  int top = item.top;
  if (window.Height() != item.Height()) {
    top = (item.top + item.bottom + window.top - window.bottom) / 2;
    if (top & 0x40000000) top = 0;
  }
  ::SetWindowPos(control, nullptr, item.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CXTToolBar::PositionControls() {
  for (int pass = 0; pass < 2; ++pass)
    for (const ButtonEntry& entry : m_entries)
      if (entry.control && ::IsWindow(entry.control)) PositionControl(entry.control);
  CFrameWnd* frame = GetParentFrame();
  if (frame && frame->IsWindowVisible()) frame->RecalcLayout();
  RepositionControls();
}

void CXTToolBar::RepositionControls() {
  if (!(GetStyle() & TBSTYLE_LIST)) {
    SendMessage(TB_AUTOSIZE);
    return;
  }
  const int count = GetButtonCount();
  for (int i = 0; i < count; ++i) {
    TBBUTTON button;
    GetButton(i, &button);
    if (button.idCommand == 0) continue;
    const ButtonEntry* entry = EntryOfCommand(static_cast<UINT>(button.idCommand));
    if (!entry) {
      // A button the bar does not know is kept out of sight.
      button.fsState |= TBSTATE_HIDDEN;
      SetButtonInfo(i, button);
      continue;
    }
    if (!entry->control) continue;
    CRect item, window;
    SendMessage(TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
    ::GetWindowRect(entry->control, &window);
    ScreenToClient(&window);
    if (window.TopLeft() != item.TopLeft() || ::IsWindowVisible(entry->control))
      ::SetWindowPos(entry->control, nullptr, item.left, item.top, 0, 0, SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE);
  }
}

void CXTToolBar::ShowAllButtons() {
  for (const auto& hidden : m_hiddenWidths) {
    TBBUTTON button;
    if (!GetButton(hidden.first, &button) || !(button.fsState & TBSTATE_HIDDEN)) continue;
    button.fsState &= ~TBSTATE_HIDDEN;
    SetButtonInfo(hidden.first, button);
    m_bDelayedLayout = TRUE;
  }
  m_hiddenWidths.clear();
}
