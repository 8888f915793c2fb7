#include "toolkit/menus/MenuBarItem.h"

#include "toolkit/common/SharedState.h"
#include "toolkit/menus/MenuBar.h"

CString ShownTitle(const char* text) {
  CString shown;
  for (const char* p = text; *p; ++p) {
    if (*p == '&' && p[1] != '&') continue;
    if (*p == '&') ++p;  // a doubled ampersand shows as one
    shown += *p;
  }
  return shown;
}

int MnemonicIndex(const char* text) {
  int shown = 0;
  for (const char* p = text; *p; ++p, ++shown) {
    if (*p != '&') continue;
    if (p[1] == '&') {
      ++p;
      continue;
    }
    return p[1] ? shown : -1;
  }
  return -1;
}

char FindMnemonic(const char* text) {
  const int index = MnemonicIndex(text);
  return index < 0 ? 0 : ShownTitle(text)[index];
}

CXTMenuBarTextItem::CXTMenuBarTextItem(CXTMenuBar* bar, int position, const CString& text, CSize size)
    : CXTMenuBarItem(bar), m_position(position), m_text(text), m_size(size), m_mnemonic(FindMnemonic(text)) {}

BOOL CXTMenuBarTextItem::GetMnemonic(char* mnemonic) const {
  *mnemonic = m_mnemonic;
  return m_mnemonic != 0;
}

void CXTMenuBarTextItem::Draw(CDC* dc) { m_bar->DrawTitle(dc, *this); }

void CXTMenuBarTextItem::Track() { m_bar->TrackTitle(*this); }

CXTMenuBarChildItem::CXTMenuBarChildItem(CXTMenuBar* bar, UINT type, UINT sysCommand, int spacing)
    : CXTMenuBarItem(bar), m_type(type), m_sysCommand(sysCommand), m_spacing(spacing) {}

BOOL CXTMenuBarChildItem::IsHidden() const { return !m_bar->GetMaximisedChild() || !m_bar->ShowsChildButtons(); }

CSize CXTMenuBarChildItem::GetSize() const {
  if (GetSharedState().m_xpLook) return CSize(16, 15);
  return CSize(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON) - 1);
}

// Of the buttons only the restore button may end a row: minimise and close
// stay beside it.
BOOL CXTMenuBarChildItem::CanWrap() const { return m_type == kIcon || m_type == DFCS_CAPTIONRESTORE; }

void CXTMenuBarChildItem::Track() {
  if (m_type == kIcon) m_bar->TrackChildSystemMenu(*this);
}

void CXTMenuBarChildItem::OnDoubleClick() {
  if (m_type == kIcon) m_bar->CloseChild();
}

void CXTMenuBarChildItem::Draw(CDC* dc) {
  HWND child = m_bar->GetMaximisedChild();
  if (!child) return;
  CRect rect = GetRect();
  if (m_type == kIcon) {
    HICON icon = reinterpret_cast<HICON>(::SendMessageA(child, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(::GetClassLongPtrA(child, GCLP_HICONSM));
    if (!icon) icon = ::LoadIconA(nullptr, IDI_WINLOGO);
    const int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
    int x = rect.left + (rect.Width() - cx) / 2, y = rect.top + (rect.Height() - cy) / 2;
    ::DrawIconEx(dc->m_hDC, x < 0 ? 0 : x, y < 0 ? 0 : y, icon, cx, cy, 0, nullptr, DI_NORMAL);
    return;
  }
  m_bar->DrawCaptionButton(dc, rect, m_type, m_bar->IndexOf(*this));
}
