#include "toolkit/bars/ChevronButton.h"

#include "classlib/docking/minidockframe.h"
#include "toolkit/bars/HiddenButtonsPopup.h"
#include "toolkit/bars/ToolBar.h"
#include "toolkit/bars/ToolBarMessages.h"
#include "toolkit/common/MemDC.h"
#include "toolkit/common/SharedState.h"
#include "toolkit_resource.h"

IMPLEMENT_DYNAMIC(CXTExpButton, CXTButton)

namespace {

// A monochrome glyph eight pixels wide, one word a row: a 0 bit is drawn.
struct Glyph {
  int cx, cy;
  WORD rows[8];
};
const Glyph kMoreAcross = {8, 5, {0x33, 0x99, 0xCC, 0x99, 0x33}};
const Glyph kCustomizeAcross = {5, 3, {0x07, 0x8F, 0xDF}};
const Glyph kMoreDown = {8, 8, {0xEE, 0xE4, 0xF1, 0xFB, 0xEE, 0xE4, 0xF1, 0xFB}};
const Glyph kCustomizeDown = {3, 5, {0xDF, 0x9F, 0x1F, 0x9F, 0xDF}};
const int kGlyphMargin = 2;
const int kOpenFrameColor = 43;

void DrawGlyph(CDC* dc, const Glyph& glyph, int x, int y, BOOL disabled) {
  HBITMAP bitmap = ::CreateBitmap(8, glyph.cy, 1, 1, glyph.rows);
  ::DrawStateA(dc->m_hDC, ::GetSysColorBrush(COLOR_BTNTEXT), nullptr, reinterpret_cast<LPARAM>(bitmap), 0, x, y,
               glyph.cx, glyph.cy, DST_BITMAP | (disabled ? DSS_DISABLED : DSS_MONO));
  ::DeleteObject(bitmap);
}

}  // namespace

BEGIN_MESSAGE_MAP(CXTExpButton, CXTButton)
ON_WM_LBUTTONDOWN()
ON_WM_CANCELMODE()
ON_WM_PAINT()
ON_COMMAND(XT_IDC_CUSTOMIZE, OnCustomize)
ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
ON_UPDATE_COMMAND_UI_REFLECT(OnUpdateSelf)
ON_MESSAGE(XTWM_CHEVRON_POPUP_CLOSED, OnPopupClosed)
END_MESSAGE_MAP()

BOOL CXTExpButton::Create(UINT id) {
  return CButton::Create("", WS_CHILD | BS_OWNERDRAW, CRect(0, 0, kThickness, kThickness), m_pBar, id);
}

COLORREF CXTExpButton::GetFaceColor() const { return m_pBar->GetBackColor(); }

void CXTExpButton::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  m_dwLook = (m_dwLook & ~(BS_XT_FLAT | BS_XT_XPFLAT)) | (GetSharedState().m_xpLook ? BS_XT_XPFLAT : BS_XT_FLAT);
  DRAWITEMSTRUCT item = *lpDIS;
  if (m_pPopup) item.itemState |= ODS_SELECTED;
  CXTButton::DrawItem(&item);
}

void CXTExpButton::DrawButtonBitmap(CDC* pDC, UINT nState, const CRect& rcItem) {
  DrawGlyphs(pDC, rcItem, (nState & ODS_SELECTED) && !GetSharedState().m_xpLook);
}

void CXTExpButton::DrawGlyphs(CDC* dc, const CRect& rect, BOOL pressed) {
  const BOOL disabled = !IsWindowEnabled();
  const bool across = m_pBar->IsHorizontalLayout() != FALSE;
  const int shift = pressed ? 1 : 0;
  if (m_pBar->HasHiddenButtons()) {
    const Glyph& more = across ? kMoreAcross : kMoreDown;
    const int x = across ? rect.left + (rect.Width() - more.cx) / 2 : rect.right - kGlyphMargin - more.cx;
    const int y = across ? rect.top + kGlyphMargin : rect.top + (rect.Height() - more.cy) / 2;
    DrawGlyph(dc, more, x + shift, y + shift, disabled);
  }
  if (m_pBar->IsCustomizable()) {
    const Glyph& arrow = across ? kCustomizeAcross : kCustomizeDown;
    const int x = across ? rect.left + (rect.Width() - arrow.cx) / 2 : rect.left + kGlyphMargin;
    const int y = across ? rect.bottom - kGlyphMargin - arrow.cy : rect.top + (rect.Height() - arrow.cy) / 2;
    DrawGlyph(dc, arrow, x + shift, y + shift, disabled);
  }
}

void CXTExpButton::OnPaint() {
  if (!m_pPopup || !GetSharedState().m_xpLook) {
    CXTButton::OnPaint();
    return;
  }
  // Open in the flat look: one piece with the pop-up under it.
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  CXTMemDC dc(&paint, &client, m_pBar->GetBackColor());
  DrawGlyphs(&dc, client, FALSE);
  const COLORREF frame = GetToolkitColor(kOpenFrameColor);
  dc.Draw3dRect(&client, frame, frame);
}

CRect CXTExpButton::VisibleScreenRect() const {
  CRect rect;
  GetClientRect(&rect);
  ClientToScreen(&rect);
  for (HWND ancestor = ::GetParent(m_hWnd); ancestor; ancestor = ::GetParent(ancestor)) {
    CRect client;
    ::GetClientRect(ancestor, &client);
    ::MapWindowPoints(ancestor, nullptr, reinterpret_cast<POINT*>(&client), 2);
    rect.IntersectRect(&rect, &client);
    if (!(::GetWindowLongA(ancestor, GWL_STYLE) & WS_CHILD)) break;
  }
  return rect;
}

void CXTExpButton::OnLButtonDown(UINT flags, CPoint point) {
  CXTButton::OnLButtonDown(flags, point);
  if (!m_pPopup) m_pPopup = CXTExpMenuWnd::Open(VisibleScreenRect(), m_pBar, this);
  RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
}

void CXTExpButton::OnCancelMode() {
  Default();
  ClosePopup();
}

void CXTExpButton::ClosePopup() {
  if (m_pPopup) m_pPopup->Close();
}

LRESULT CXTExpButton::OnPopupClosed(WPARAM, LPARAM) {
  m_pPopup = nullptr;
  Invalidate();
  return 0;
}

// The click itself is the pop-up's business, not a command for the owner.
BOOL CXTExpButton::OnClicked() { return TRUE; }

void CXTExpButton::OnUpdateSelf(CCmdUI* ui) { ui->Enable(m_pBar->HasHiddenButtons() || m_pBar->IsCustomizable()); }

// The customise sheet belongs to the frame that holds the bar, also while it floats.
void CXTExpButton::OnCustomize() {
  CFrameWnd* frame = m_pBar->GetParentFrame();
  if (frame && frame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) frame = frame->GetParentFrame();
  if (frame) frame->SendMessage(WM_COMMAND, XT_IDC_CUSTOMIZE);
}
