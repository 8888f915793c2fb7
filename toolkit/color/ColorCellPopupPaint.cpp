// Drawing of the colour cells, in the flat or the classic look.
#include "toolkit/color/ColorCellPopup.h"

#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/MemDC.h"
#include "toolkit/common/SharedState.h"
#include "toolkit_resource.h"

namespace {

// Toolkit colours of a flat cell by its state, and of the flat background.
const int kFlatPressed = 33, kFlatHot = 31, kFlatSelected = 36, kFlatBackground = 41;
// Where the "Standard Colors" label sits.
const CPoint kLabelAt(6, 31);
const int kCellInset = 3;
const CSize kAutomaticSwatch(12, 11);
const int kMoreColorsSwatchWidth = 12;

bool FlatLook() { return GetSharedState().m_xpLook != FALSE; }

void Frame(CDC& dc, const CRect& rect, COLORREF color) { dc.Draw3dRect(&rect, color, color); }

// A framed swatch: a shadow-coloured outline with the colour inside.
void Swatch(CDC& dc, const CRect& rect, COLORREF color) {
  const CXTSharedState& state = GetSharedState();
  Frame(dc, rect, state.m_clrShadow);
  CRect inside = rect;
  inside.DeflateRect(1, 1);
  dc.FillSolidRect(&inside, color);
}

}  // namespace

BOOL CXTColorCellPopup::OnEraseBkgnd(CDC*) { return TRUE; }

void CXTColorCellPopup::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  COLORREF background = FlatLook() ? GetToolkitColor(kFlatBackground) : GetSharedState().m_clrFace;
  CXTMemDC dc(&paint, &client, background);
  if (GetStyle() & WS_CHILD) {
    // A child takes its parent's background when the parent gives one.
    CWnd* pParent = GetParent();
    if (pParent &&
        pParent->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.m_hDC), reinterpret_cast<LPARAM>(m_hWnd)))
      dc.FillSolidRect(&client, dc.GetBkColor());
  }
  Draw(dc);
}

void CXTColorCellPopup::Draw(CDC& dc) {
  const int saved = dc.SaveDC();
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(GetSharedState().m_clrButtonText);
  dc.SelectObject(&GetSharedState().GetFont(CXTSharedState::kFontNormal));
  if (!(m_dwStyle & XTCP_EXTENDED)) {
    CString label;
    label.LoadString(IDS_XT_STANDARD_COLORS);
    dc.TextOut(kLabelAt.x, kLabelAt.y, label, label.GetLength());
  }
  for (const ColorCell& cell : m_cells) {
    const bool hot = (cell.nIndex == m_hotIndex && m_pressedIndex == -1) || cell.nIndex == m_pressedIndex;
    const bool pressed = cell.nIndex == m_pressedIndex && cell.nIndex == m_hotIndex;
    DrawColorCell(dc, cell, hot, pressed);
  }
  dc.RestoreDC(saved);
}

void CXTColorCellPopup::DrawColorCell(CDC& dc, const ColorCell& cell, bool hot, bool pressed) {
  const CXTSharedState& state = GetSharedState();
  CRect rect = cell.rect;
  if (FlatLook()) {
    const int fill = pressed ? kFlatPressed : hot ? kFlatHot : cell.bSelected ? kFlatSelected : 0;
    if (fill) {
      dc.FillSolidRect(&rect, GetToolkitColor(fill));
      Frame(dc, rect, state.m_clrSelection);
    }
  } else {
    if (cell.bSelected && !hot && !pressed) DrawHalftoneRect(&dc, &rect);
    if (pressed || cell.bSelected)
      dc.Draw3dRect(&rect, state.m_clrShadow, state.m_clrHighlight);
    else if (hot)
      dc.Draw3dRect(&rect, state.m_clrHighlight, state.m_clrShadow);
  }
  if (!cell.text.IsEmpty()) dc.DrawText(cell.text, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  DrawCellContent(dc, cell);
}

// The colour a cell stands for: a swatch inside a colour cell, beside
// "Automatic", and at the end of a selected "More Colors...".
void CXTColorCellPopup::DrawCellContent(CDC& dc, const ColorCell& cell) {
  const CXTSharedState& state = GetSharedState();
  CRect rect = cell.rect;
  if (cell.dwKind & kMoreColorsCell) {
    if (!cell.bSelected) return;
    rect.DeflateRect(5, 6);
    rect.left = rect.right - kMoreColorsSwatchWidth;
    Swatch(dc, rect, m_clrCurrent);
    return;
  }
  rect.DeflateRect(kCellInset, kCellInset);
  const bool topButton = cell.nIndex == 0;
  if (!(topButton && FlatLook())) Frame(dc, rect, state.m_clrShadow);
  if (!topButton) {
    rect.DeflateRect(1, 1);
    dc.FillSolidRect(&rect, cell.color);
  } else if (!(m_dwStyle & XTCP_NOFILL)) {
    const CPoint at(rect.left + kCellInset + 1, rect.top + kCellInset);
    Swatch(dc, CRect(at, kAutomaticSwatch), m_clrDefault);
  }
}
