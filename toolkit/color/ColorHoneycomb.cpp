#include "toolkit/color/ColorHoneycomb.h"

#include <set>
#include <utility>

#include "toolkit/color/ColorDialog.h"
#include "toolkit/color/ColorMessages.h"
#include "toolkit/color/HoneycombLayout.h"
#include "toolkit/common/MemDC.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/controls/ControlMessages.h"

BEGIN_MESSAGE_MAP(CXTColorHoneycomb, CStatic)
ON_MESSAGE(XTWM_INITCONTROL, OnInitControl)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

namespace {

using xtcolor::HoneycombCells;
using xtcolor::HoneycombPixel;

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

// The arrow keys in the order of the cells' neighbour lists.
const UINT kDirectionKeys[xtcolor::kDirectionCount] = {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN};

// A mark: the cell's border pixels white, a black line just outside them.
void DrawCellMark(CDC& dc, int index) {
  const auto& pixels = HoneycombCells()[index].pixels;
  std::set<std::pair<int, int>> inside;
  for (const HoneycombPixel& p : pixels) inside.insert({p.x, p.y});
  const int steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
  for (const HoneycombPixel& p : pixels) {
    for (const auto& step : steps) {
      const int x = p.x + step[0], y = p.y + step[1];
      if (inside.count({x, y})) continue;
      ::SetPixelV(dc.m_hDC, p.x, p.y, kWhite);
      ::SetPixelV(dc.m_hDC, x, y, kBlack);
    }
  }
}

}  // namespace

void CXTColorHoneycomb::PreSubclassWindow() { PostMessage(XTWM_INITCONTROL); }

// Clicks reach a static only with SS_NOTIFY.
LRESULT CXTColorHoneycomb::OnInitControl(WPARAM, LPARAM) {
  if (m_initPending) ModifyStyle(0, SS_NOTIFY);
  m_initPending = FALSE;
  return 0;
}

BOOL CXTColorHoneycomb::IsStandardColor(COLORREF color) { return xtcolor::HoneycombFindColor(color) >= 0; }

void CXTColorHoneycomb::SetColor(COLORREF color) {
  m_color = color;
  m_markCell = xtcolor::HoneycombFindColor(color);
  if (m_hWnd) Invalidate(FALSE);
}

BOOL CXTColorHoneycomb::OnEraseBkgnd(CDC*) { return TRUE; }

void CXTColorHoneycomb::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  CXTMemDC dc(&paint, &client);
  Draw(dc);
}

void CXTColorHoneycomb::Draw(CDC& dc) {
  CRect client;
  GetClientRect(&client);
  if (!m_cache.m_hDC) CachePicture(dc, client);
  dc.BitBlt(0, 0, client.Width(), client.Height(), &m_cache, 0, 0, SRCCOPY);
  DrawSelectionMark(dc);
}

void CXTColorHoneycomb::CachePicture(CDC& dc, const CRect& client) {
  m_cache.CreateCompatibleDC(&dc);
  m_cacheBitmap.CreateCompatibleBitmap(&dc, client.Width(), client.Height());
  m_cache.SelectObject(&m_cacheBitmap);
  m_cache.FillSolidRect(&client, GetSharedState().m_clrFace);
  DrawCells(m_cache);
}

void CXTColorHoneycomb::DrawCells(CDC& dc) {
  for (const auto& cell : HoneycombCells())
    for (const HoneycombPixel& p : cell.pixels) ::SetPixelV(dc.m_hDC, p.x, p.y, cell.color);
}

// Only the dialog's new colour is marked; white on both its cells, black on
// its large one, any other standard colour on the cell last picked or found.
void CXTColorHoneycomb::DrawSelectionMark(CDC& dc) {
  if (!m_pSheet || m_color != m_pSheet->GetColor()) return;
  if (m_color == kWhite) {
    DrawCellMark(dc, xtcolor::kHoneycombCentreWhite);
    DrawCellMark(dc, xtcolor::kHoneycombLargeWhite);
  } else if (m_color == kBlack) {
    DrawCellMark(dc, xtcolor::kHoneycombLargeBlack);
  } else if (IsStandardColor(m_color) && m_markCell >= 0) {
    DrawCellMark(dc, m_markCell);
  }
}

void CXTColorHoneycomb::SelectAt(CPoint point) {
  const int hit = xtcolor::HoneycombHitTest(point.x, point.y);
  if (hit < 0) return;
  m_markCell = hit;
  const COLORREF color = HoneycombCells()[hit].color;
  if (color == m_color) return;
  m_color = color;
  GetParent()->SendMessage(XTWM_COLOR_SETNEW, color);
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CXTColorHoneycomb::Accept() {
  if (m_pSheet) m_pSheet->EndDialog(IDOK);
}

void CXTColorHoneycomb::OnLButtonDown(UINT, CPoint point) {
  SetFocus();
  SelectAt(point);
  m_tracking = TRUE;
}

void CXTColorHoneycomb::OnMouseMove(UINT, CPoint point) {
  if (m_tracking) SelectAt(point);
}

void CXTColorHoneycomb::OnLButtonUp(UINT, CPoint) { m_tracking = FALSE; }

void CXTColorHoneycomb::OnLButtonDblClk(UINT, CPoint point) {
  if (xtcolor::HoneycombHitTest(point.x, point.y) < 0) return;
  SelectAt(point);
  Accept();
}

// The cell the keys move from: the current colour's (white's small one while
// it is the one marked), else the black cell.
int CXTColorHoneycomb::CurrentCell() const {
  if (m_color == kWhite)
    return m_markCell == xtcolor::kHoneycombLargeWhite ? xtcolor::kHoneycombLargeWhite : xtcolor::kHoneycombCentreWhite;
  const int cell = xtcolor::HoneycombFindColor(m_color);
  return cell >= 0 ? cell : xtcolor::kHoneycombLargeBlack;
}

BOOL CXTColorHoneycomb::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message != WM_KEYDOWN || pMsg->hwnd != m_hWnd) return CStatic::PreTranslateMessage(pMsg);
  if (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_SPACE) {
    Accept();
    return TRUE;
  }
  for (int d = 0; d < xtcolor::kDirectionCount; ++d) {
    if (pMsg->wParam != kDirectionKeys[d]) continue;
    const int next = HoneycombCells()[CurrentCell()].neighbours[d];
    if (next >= 0) SelectAt(CPoint(HoneycombCells()[next].x, HoneycombCells()[next].y));
    return TRUE;
  }
  return CStatic::PreTranslateMessage(pMsg);
}
