// The menu bar's keyboard: the frame offers it every message before it is
// translated. Alt released alone enters button mode (a title highlighted,
// the bar taking the keys); mnemonics open their title with Alt held or in
// button mode.
#include "toolkit/menus/MenuBar.h"

namespace {

// Shared by every menu bar of the thread: Alt is held on this keyboard.
BOOL g_altDown = FALSE;

const LPARAM kAltContext = 1 << 29;
const LPARAM kWasDown = 1 << 30;

bool IsFunctionKeyPassed(UINT key) { return key >= VK_F1 && key <= VK_F11; }
bool IsMouseButton(UINT message) { return message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK; }
bool IsKeyDown(UINT message) { return message == WM_KEYDOWN || message == WM_SYSKEYDOWN; }
// Virtual-key codes of letters are their upper-case characters.
UINT UpperCase(char c) {
  char text[2] = {c, 0};
  ::CharUpperA(text);
  return static_cast<BYTE>(text[0]);
}

bool IsMnemonicKey(UINT key) { return (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'); }

}  // namespace

BOOL CXTMenuBar::IsAltDown() { return g_altDown; }

void CXTMenuBar::SetAltDown(BOOL down) {
  if (g_altDown == down) return;
  g_altDown = down;
  if (m_hWnd) Invalidate();
}

BOOL CXTMenuBar::TranslateFrameMessage(MSG* msg) {
  if (!m_hWnd || !IsWindowVisible()) return FALSE;
  const UINT message = msg->message;
  const UINT key = static_cast<UINT>(msg->wParam);
  const bool keyMessage = IsKeyDown(message) || message == WM_SYSKEYUP;
  if (keyMessage && IsFunctionKeyPassed(key)) return FALSE;
  if (IsMouseButton(message)) {
    if (msg->hwnd != m_hWnd && m_state != kIdle) SetTrackingState(kIdle, -1);
    SetAltDown(FALSE);
    return FALSE;
  }
  if (!keyMessage) return FALSE;
  if (message == WM_SYSKEYDOWN && (msg->lParam & kAltContext)) SetAltDown(TRUE);
  if (key == VK_MENU) {
    // Only Alt pressed and released with nothing between is a request for
    // the bar; Alt+letter that the bar left to the system is not.
    if (message == WM_SYSKEYDOWN && !(msg->lParam & kWasDown)) m_bAltAlone = TRUE;
    if (message == WM_SYSKEYUP && m_bAltAlone) ToggleButtonMode();
    if (message == WM_SYSKEYUP) m_bAltAlone = FALSE;
    return TRUE;
  }
  if (!IsKeyDown(message)) return FALSE;
  m_bAltAlone = FALSE;
  if (m_state == kButtonMode && TranslateButtonModeKey(key)) return TRUE;
  const BOOL altDown = (msg->lParam & kAltContext) != 0;
  if (!altDown && m_state != kButtonMode) return FALSE;
  return IsMnemonicKey(key) && OpenMnemonic(key, altDown);
}

BOOL CXTMenuBar::TranslateButtonModeKey(UINT key) {
  switch (key) {
    case VK_RETURN:
    case VK_SPACE:
    case VK_UP:
    case VK_DOWN:
      TrackPopup(m_nHotItem);
      return TRUE;
    case VK_ESCAPE:
      SetTrackingState(kIdle, -1);
      SetAltDown(FALSE);
      return TRUE;
    case VK_LEFT:
    case VK_RIGHT:
      SetHotItem(GetNextItem(m_nHotItem, key == VK_LEFT));
      return TRUE;
  }
  return FALSE;
}

// The first icon or title whose mnemonic is the key opens. Nothing matching
// beeps in button mode, where the bar owns the keyboard; with Alt held the
// key is the system's.
BOOL CXTMenuBar::OpenMnemonic(UINT key, BOOL altDown) {
  for (int index : VisibleItems(kTitles)) {
    char mnemonic = 0;
    if (!m_items[index]->GetMnemonic(&mnemonic)) continue;
    if (UpperCase(mnemonic) != key) continue;
    TrackPopup(index);
    return TRUE;
  }
  if (m_state != kButtonMode || altDown) return FALSE;
  ::MessageBeep(0);
  return TRUE;
}

void CXTMenuBar::ToggleButtonMode() {
  if (m_state == kIdle) {
    SetTrackingState(kButtonMode, m_nHotItem >= 0 ? m_nHotItem : 1);
    m_bHotTracking = FALSE;
  } else if (m_state == kButtonMode) {
    SetTrackingState(kIdle, -1);
  }
}

BOOL CXTMenuBar::SetTrackingState(TrackingState state, int item) {
  if (state == m_state) return FALSE;
  if (state == kIdle) {
    item = -1;
    SetAltDown(FALSE);
  }
  SetHotItem(item);
  if (state == kPopupOpen) {
    m_bEscapeClosed = FALSE;
    m_bLeftLeaves = m_bRightLeaves = TRUE;
    m_nTrackedItem = item;
  }
  m_state = state;
  return TRUE;
}

void CXTMenuBar::SetHotItem(int item) {
  if (item == m_nHotItem) return;
  m_nHotItem = item;
  if (m_hWnd) Invalidate();
}

int CXTMenuBar::GetNextItem(int item, BOOL backward) const {
  const std::vector<int> listed = VisibleItems(kTitles);
  if (listed.empty()) return -1;
  const int count = static_cast<int>(listed.size());
  for (int i = 0; i < count; ++i) {
    if (listed[i] < item) continue;
    return listed[(i + (backward ? count - 1 : 1)) % count];
  }
  return listed.front();
}
