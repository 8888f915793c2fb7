#include "toolkit/color/ColorDialog.h"

#include "toolkit/color/ColorBytes.h"
#include "toolkit/color/ColorMessages.h"
#include "toolkit/color/ColorPageCustom.h"
#include "toolkit/color/ColorPageStandard.h"
#include "toolkit/common/SharedState.h"
#include "toolkit_resource.h"

BEGIN_MESSAGE_MAP(CXTColorDialog, CPropertySheet)
ON_WM_CREATE()
ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

// The sheet's own layout, in pixels: its size, its tab control, the buttons
// and the "Hex:" field in the column right of the pages.
const CSize kSheetSize(329, 341);
const CSize kTabSize(226, 280);
const CSize kButtonSize(75, 22);
const CPoint kOkAt(243, 29), kCancelAt(243, 58);
const CRect kHexField(243, 170, 317, 188);
const int kHexFieldId = 101;
// The swatch from the client's bottom right: left, top, right, bottom insets.
const CRect kSwatchInsets(77, 98, 9, 32);
const int kSwatchLabelHeight = 22;

CString HexText(COLORREF color) { return xtcolor::FormatHexText(color).c_str(); }

}  // namespace

CXTColorDialog::CXTColorDialog(COLORREF clrNew, COLORREF clrCurrent, DWORD dwFlags, CWnd* pParent)
    : CPropertySheet(IDS_XT_COLORS, pParent),
      m_dwFlags(dwFlags),
      m_clrNew(clrNew),
      m_clrCurrent(clrCurrent),
      m_pStandardPage(new CXTColorPageStandard(this)),
      m_pCustomPage(new CXTColorPageCustom(this)) {
  m_psh.dwFlags &= ~PSH_HASHELP;
  m_psh.dwFlags |= PSH_NOAPPLYNOW;
  AddPage(m_pStandardPage);
  AddPage(m_pCustomPage);
}

CXTColorDialog::~CXTColorDialog() {
  delete m_pStandardPage;
  delete m_pCustomPage;
}

int CXTColorDialog::OnCreate(LPCREATESTRUCTA lpcs) {
  if (CPropertySheet::OnCreate(lpcs) == -1) return -1;
  if (m_dwFlags & XTCD_HEXFIELD) {
    if (!m_hexEdit.CreateEx(WS_EX_STATICEDGE, "edit", HexText(m_clrNew), WS_CHILD | WS_VISIBLE | ES_READONLY, kHexField,
                            this, kHexFieldId))
      return -1;
    m_hexEdit.SendMessage(WM_SETFONT,
                          reinterpret_cast<WPARAM>(GetSharedState().GetFont(CXTSharedState::kFontNormal).m_hObject));
  }
  m_pStandardPage->GetHoneycomb().SetColor(m_clrNew);
  return 0;
}

BOOL CXTColorDialog::OnInitDialog() {
  const BOOL result = CPropertySheet::OnInitDialog();
  SetWindowPos(nullptr, 0, 0, kSheetSize.cx, kSheetSize.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (CTabCtrl* pTab = GetTabControl())
    pTab->SetWindowPos(nullptr, 0, 0, kTabSize.cx, kTabSize.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const struct {
    int nID;
    CPoint at;
  } buttons[] = {{IDOK, kOkAt}, {IDCANCEL, kCancelAt}};
  for (const auto& button : buttons)
    if (CWnd* pButton = GetDlgItem(button.nID))
      pButton->SetWindowPos(nullptr, button.at.x, button.at.y, kButtonSize.cx, kButtonSize.cy,
                            SWP_NOZORDER | SWP_NOACTIVATE);
  SetActivePage(0);
  return result;
}

void CXTColorDialog::SetNewColor(COLORREF color, BOOL bNotifyPages) {
  m_clrNew = color;
  if (m_hWnd && IsWindowVisible()) {
    PlaceSwatch();
    InvalidateRect(&m_newRect, FALSE);
    if ((m_dwFlags & XTCD_HEXFIELD) && m_hexEdit.m_hWnd) m_hexEdit.SetWindowText(HexText(color));
  }
  if (!bNotifyPages || !GetTabControl()) return;
  for (int i = 0; i < GetPageCount(); ++i)
    if (GetPage(i)->m_hWnd) GetPage(i)->SendMessage(XTWM_COLOR_SETNEW, color);
}

// The two halves of the swatch: new above, current below, inside its frame.
void CXTColorDialog::PlaceSwatch() {
  CRect client;
  GetClientRect(&client);
  CRect swatch(client.right - kSwatchInsets.left, client.bottom - kSwatchInsets.top, client.right - kSwatchInsets.right,
               client.bottom - kSwatchInsets.bottom);
  swatch.DeflateRect(1, 1);
  const int half = swatch.Height() / 2;
  m_newRect = CRect(swatch.left, swatch.top, swatch.right, swatch.top + half);
  m_currentRect = CRect(swatch.left, swatch.bottom - half, swatch.right, swatch.bottom);
}

void CXTColorDialog::OnPaint() {
  CPaintDC dc(this);
  DrawSwatch(dc);
}

void CXTColorDialog::DrawSwatch(CDC& dc) {
  const CXTSharedState& state = GetSharedState();
  PlaceSwatch();
  CRect frame(m_newRect.left - 1, m_newRect.top - 1, m_currentRect.right + 1, m_currentRect.bottom + 1);
  if (m_dwFlags & XTCD_3DSWATCH) {
    CRect outer = frame;
    outer.InflateRect(3, 3);
    dc.Draw3dRect(&outer, state.m_clrHighlight, state.m_clrDarkShadow);
    dc.Draw3dRect(&frame, state.m_clrShadow, state.m_clrHighlight);
  } else {
    dc.Draw3dRect(&frame, state.m_clrWindowFrame, state.m_clrWindowFrame);
  }
  const int saved = dc.SaveDC();
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(state.m_clrWindowText);
  dc.SelectObject(&GetSharedState().GetFont(CXTSharedState::kFontNormal));
  const struct {
    UINT nID;
    CRect rect;
  } labels[] = {
      {IDS_XT_NEW_COLOR, CRect(frame.left, frame.top - kSwatchLabelHeight, frame.right, frame.top)},
      {IDS_XT_CURRENT_COLOR, CRect(frame.left, frame.bottom, frame.right, frame.bottom + kSwatchLabelHeight)},
  };
  for (const auto& label : labels) {
    CString text;
    text.LoadString(label.nID);
    CRect rect = label.rect;
    dc.DrawText(text, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  dc.RestoreDC(saved);
  dc.FillSolidRect(&m_newRect, m_clrNew);
  dc.FillSolidRect(&m_currentRect, m_clrCurrent);
}
