#include "MyResizePropSheet.h"

#include "classlib/dc.h"
#include "classlib/resource.h"
#include "dialogs/AboutBox.h"

IMPLEMENT_DYNAMIC(CMyResizePropSheet, CXTResizePropertySheet)

BEGIN_MESSAGE_MAP(CMyResizePropSheet, CXTResizePropertySheet)
ON_WM_PAINT()
ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

namespace {

constexpr char kPageValue[] = "CurrentPageIndx";

UINT StoredStartPage(LPCSTR section, int startPage) {
  if (startPage != -1 || !section || !*section) return startPage < 0 ? 0 : startPage;
  const int stored = CXTSettingsStore().ReadInt(section, kPageValue, 0);
  return stored < 0 ? 0 : stored;
}

}  // namespace

CMyResizePropSheet::CMyResizePropSheet(CWnd* parent, LPCSTR caption, LPCSTR section, int startPage, UINT flags)
    : CXTResizePropertySheet(caption, parent, StoredStartPage(section, startPage), flags),
      startPage_(static_cast<int>(StoredStartPage(section, startPage))),
      section_(section ? section : "") {}

BOOL CMyResizePropSheet::OnInitDialog() {
  CXTResizePropertySheet::OnInitDialog();
  if (!section_.IsEmpty())
    LoadPlacement(section_);
  else
    CenterWindow();
  if (startPage_ < GetPageCount()) SetActivePage(startPage_);
  LOGFONTA font = {};
  font.lfHeight = 10;
  font.lfWidth = 10;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(font.lfFaceName, "Arial", LF_FACESIZE);
  bannerFont_.CreateFontIndirect(&font);
  return TRUE;
}

// The class library's modal run ends by destroying the window; the sheet
// keeps it until its page and place are stored.
INT_PTR CMyResizePropSheet::DoModal() {
  keepWindow_ = true;
  const INT_PTR result = CXTResizePropertySheet::DoModal();
  keepWindow_ = false;
  if (m_hWnd && !section_.IsEmpty()) {
    store_.WriteInt(section_, kPageValue, GetActiveIndex());
    SavePlacement(section_);
  }
  CXTResizePropertySheet::DestroyWindow();
  return result;
}

BOOL CMyResizePropSheet::DestroyWindow() { return keepWindow_ ? TRUE : CXTResizePropertySheet::DestroyWindow(); }

// A child sheet has no buttons: Enter and Esc in a page reach it as IDOK and
// IDCANCEL, and the system sheet would end its current page on them.
BOOL CMyResizePropSheet::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  if ((GetStyle() & WS_CHILD) && (id == IDOK || id == IDCANCEL)) return TRUE;
  return CXTResizePropertySheet::OnCommand(wParam, lParam);
}

void CMyResizePropSheet::OnPaint() {
  CPaintDC dc(this);
  if (!banner_.IsEmpty()) DrawBanner(dc);
}

// Embossed: the highlight one pixel down and right, the shadow over it.
void CMyResizePropSheet::DrawBanner(CDC& dc) {
  CRect tabs;
  if (CTabCtrl* tab = GetTabControl()) {
    tab->GetWindowRect(&tabs);
    ScreenToClient(&tabs);
  }
  CRect place;
  GetClientRect(&place);
  place.bottom = tabs.top + 20;
  place.left = place.right / 2;
  CFont* old = dc.SelectObject(&bannerFont_);
  dc.SetBkMode(TRANSPARENT);
  const UINT format = DT_SINGLELINE | DT_VCENTER | DT_RIGHT;
  CRect highlight = place;
  highlight.OffsetRect(1, 1);
  dc.SetTextColor(::GetSysColor(COLOR_HIGHLIGHT));
  dc.DrawText(banner_, &highlight, format);
  dc.SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
  dc.DrawText(banner_, &place, format);
  dc.SelectObject(old);
}

void CMyResizePropSheet::OnSysCommand(UINT nID, LPARAM lParam) {
  if (nID == ID_APP_ABOUT) ShowAboutBox();
  CXTResizePropertySheet::OnSysCommand(nID, lParam);
}
