#include "toolkit/color/ColorCellPopup.h"

#include "toolkit/common/SharedState.h"
#include "toolkit_resource.h"

BEGIN_MESSAGE_MAP(CXTColorCellPopup, CWnd)
ON_WM_CREATE()
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_MOUSEMOVE()
ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_KEYDOWN()
END_MESSAGE_MAP()

namespace {

struct NamedColor {
  COLORREF color;
  UINT nNameID;  // also the cell's tip
};

const NamedColor kStandardColors[] = {
    {0x000000, IDS_XT_CLR_BLACK},  {0x808080, IDS_XT_CLR_GRAY},   {0x000080, IDS_XT_CLR_MAROON},
    {0x008080, IDS_XT_CLR_OLIVE},  {0x008000, IDS_XT_CLR_GREEN},  {0x808000, IDS_XT_CLR_TEAL},
    {0x800000, IDS_XT_CLR_NAVY},   {0x800080, IDS_XT_CLR_PURPLE}, {0xFFFFFF, IDS_XT_CLR_WHITE},
    {0xC0C0C0, IDS_XT_CLR_SILVER}, {0x0000FF, IDS_XT_CLR_RED},    {0x00FFFF, IDS_XT_CLR_YELLOW},
    {0x00FF00, IDS_XT_CLR_LIME},   {0xFFFF00, IDS_XT_CLR_AQUA},   {0xFF0000, IDS_XT_CLR_BLUE},
    {0xFF00FF, IDS_XT_CLR_FUCHSIA}};

const NamedColor kExtendedColors[] = {{0x000000, IDS_XT_CLR_BLACK},
                                      {0x003399, IDS_XT_CLR_BROWN},
                                      {0x003333, IDS_XT_CLR_OLIVE_GREEN},
                                      {0x003300, IDS_XT_CLR_DARK_GREEN},
                                      {0x663300, IDS_XT_CLR_DARK_TEAL},
                                      {0x800000, IDS_XT_CLR_DARK_BLUE},
                                      {0x993333, IDS_XT_CLR_INDIGO},
                                      {0x333333, IDS_XT_CLR_GRAY_80},
                                      {0x000080, IDS_XT_CLR_DARK_RED},
                                      {0x0066FF, IDS_XT_CLR_ORANGE},
                                      {0x008080, IDS_XT_CLR_DARK_YELLOW},
                                      {0x008000, IDS_XT_CLR_GREEN},
                                      {0x808000, IDS_XT_CLR_TEAL},
                                      {0xFF0000, IDS_XT_CLR_BLUE},
                                      {0x996666, IDS_XT_CLR_BLUE_GRAY},
                                      {0x808080, IDS_XT_CLR_GRAY_50},
                                      {0x0000FF, IDS_XT_CLR_RED},
                                      {0x0099FF, IDS_XT_CLR_LIGHT_ORANGE},
                                      {0x00CC99, IDS_XT_CLR_LIME},
                                      {0x669933, IDS_XT_CLR_SEA_GREEN},
                                      {0xCCCC33, IDS_XT_CLR_AQUA},
                                      {0xFF6633, IDS_XT_CLR_LIGHT_BLUE},
                                      {0x800080, IDS_XT_CLR_VIOLET},
                                      {0x999999, IDS_XT_CLR_GRAY_40},
                                      {0xFF00FF, IDS_XT_CLR_PINK},
                                      {0x00CCFF, IDS_XT_CLR_GOLD},
                                      {0x00FFFF, IDS_XT_CLR_YELLOW},
                                      {0x00FF00, IDS_XT_CLR_BRIGHT_GREEN},
                                      {0xFFFF00, IDS_XT_CLR_TURQUIOSE},
                                      {0xFFCC00, IDS_XT_CLR_SKY_BLUE},
                                      {0x663399, IDS_XT_CLR_PLUM},
                                      {0xC0C0C0, IDS_XT_CLR_GRAY_25},
                                      {0xCC99FF, IDS_XT_CLR_ROSE},
                                      {0x99CCFF, IDS_XT_CLR_TAN},
                                      {0x99FFFF, IDS_XT_CLR_LIGHT_YELLOW},
                                      {0xCCFFCC, IDS_XT_CLR_LIGHT_GREEN},
                                      {0xFFFFCC, IDS_XT_CLR_LIGHT_TURQUOISE},
                                      {0xFFCC99, IDS_XT_CLR_PALE_BLUE},
                                      {0xFF99CC, IDS_XT_CLR_LAVENDER},
                                      {0xFFFFFF, IDS_XT_CLR_WHITE}};

// Sizes of the cell window's parts, in pixels.
const int kGridWidth = 144;
const int kBaseHeight = 110;
const int kExtendedExtraHeight = 34;  // 40 colours need three rows more than 16, less the label
const int kNoMoreColorsHeight = 28;   // the "More Colors..." button and its gap
const int kRecentRowGap = 4;
const int kRecentRowExtra = 8;
const int kTopButtonHeight = 23;
const int kTableTopExtended = 27;
const int kTableTopStandard = 46;  // room for the "Standard Colors" label

// The "More Colors..." button, from the table's top (and its recent row).
const struct { int top, bottom; } kMoreColorsButton[] = {{44, 66}, {94, 117}};  // 16 colours, 40 colours

}  // namespace

std::vector<COLORREF>& CXTColorCellPopup::RecentColors() {
  static std::vector<COLORREF> colors;
  return colors;
}

BOOL CXTColorCellPopup::Create(const CRect& rect, CWnd* pOwner, DWORD dwStyle, COLORREF clrCurrent,
                               COLORREF clrDefault) {
  m_pOwner = pOwner;
  AddListener(pOwner->GetSafeHwnd());
  m_dwStyle = dwStyle;
  m_clrCurrent = clrCurrent;
  m_clrDefault = clrDefault;

  const bool extended = (dwStyle & XTCP_EXTENDED) != 0;
  const int colorCount = extended ? _countof(kExtendedColors) : _countof(kStandardColors);
  m_windowRect.left = rect.left;
  m_windowRect.right = rect.left + m_margins.left + m_margins.right + kGridWidth;
  m_windowRect.top = rect.bottom;
  m_windowRect.bottom = m_windowRect.top + m_margins.bottom + m_margins.top + kBaseHeight;
  if (extended) m_windowRect.bottom += kExtendedExtraHeight;
  m_rows = colorCount / kColumns;
  // The last cell: "More Colors..." after the recent row, or the last colour
  // when there is no such button (keys never reach a cell that is not there).
  m_lastIndex = colorCount;
  if (!(dwStyle & XTCP_MORECOLORS)) {
    m_windowRect.bottom -= kNoMoreColorsHeight;
  } else {
    const int recent = static_cast<int>(RecentColors().size());
    if (recent) m_windowRect.bottom += m_cellHeight + kRecentRowExtra;
    m_lastIndex += 1 + recent;
  }

  LPCSTR className = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
  const DWORD windowStyle = (dwStyle & XTCP_POPUPWINDOW) ? WS_POPUP : WS_CHILD;
  if (!CreateEx(0, className, "", windowStyle, m_windowRect, pOwner, 0)) return FALSE;
  ShowWindow(SW_SHOWNA);
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetSharedState().GetFont(CXTSharedState::kFontNormal).m_hObject));
  return TRUE;
}

// The cells, built for the creation width.
int CXTColorCellPopup::OnCreate(LPCREATESTRUCTA lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  if (m_tip.Create(this)) m_tip.Activate(TRUE);
  m_cells.clear();
  AddTopButton(lpcs->cx);
  const int tableTop = m_margins.top + ((m_dwStyle & XTCP_EXTENDED) ? kTableTopExtended : kTableTopStandard);
  const int gridBottom = AddTableCells(tableTop);
  if (m_dwStyle & XTCP_MORECOLORS) {
    int recentRow = 0;
    if (!RecentColors().empty()) {
      AddRecentCells(gridBottom + kRecentRowGap);
      recentRow = m_cellHeight + kRecentRowGap;
    }
    AddMoreColorsButton(lpcs->cx, tableTop + recentRow);
  }
  for (const ColorCell& cell : m_cells) m_tip.AddTool(this, cell.nTipID, &cell.rect, cell.nIndex + 1);
  m_hotIndex = -1;
  return 0;
}

void CXTColorCellPopup::AddCell(const CRect& rect, UINT nTipID, DWORD dwKind, COLORREF color, const CString& text) {
  const int index = static_cast<int>(m_cells.size());
  m_cells.push_back(ColorCell{rect, nTipID, index, FALSE, dwKind, text, color});
}

void CXTColorCellPopup::AddTopButton(int cx) {
  const bool noFill = (m_dwStyle & XTCP_NOFILL) != 0;
  CString text;
  text.LoadString(noFill ? IDS_XT_NO_FILL : IDS_XT_AUTOMATIC);
  const CRect rect(m_margins.left, m_margins.top, cx - m_margins.right, m_margins.top + kTopButtonHeight);
  AddCell(rect, noFill ? IDS_XT_NO_COLOR : IDS_XT_AUTOMATIC_COLOR, m_dwStyle, m_clrDefault, text);
  m_cells.back().bSelected = !noFill && m_clrCurrent == m_clrDefault;
}

// Row by row, eight to a row; the first cell of the current colour is
// selected unless the top button is. Returns the bottom of the grid.
int CXTColorCellPopup::AddTableCells(int top) {
  const bool extended = (m_dwStyle & XTCP_EXTENDED) != 0;
  const NamedColor* colors = extended ? kExtendedColors : kStandardColors;
  const int count = extended ? _countof(kExtendedColors) : _countof(kStandardColors);
  bool selected = m_cells.front().bSelected;
  for (int i = 0; i < count; ++i) {
    const CPoint at(m_margins.left + (i % kColumns) * m_cellWidth, top + (i / kColumns) * m_cellHeight);
    AddCell(CRect(at, CSize(m_cellWidth, m_cellHeight)), colors[i].nNameID, kColorCell, colors[i].color);
    if (!selected && colors[i].color == m_clrCurrent) selected = m_cells.back().bSelected = TRUE;
  }
  return top + m_rows * m_cellHeight;
}

// The recent colours, one row.
void CXTColorCellPopup::AddRecentCells(int top) {
  int column = 0;
  for (COLORREF color : RecentColors()) {
    const CPoint at(m_margins.left + column++ * m_cellWidth, top);
    AddCell(CRect(at, CSize(m_cellWidth, m_cellHeight)), IDS_XT_MORE_COLORS_TIP, kColorCell, color);
    m_cells.back().bSelected = color == m_clrCurrent;
  }
}

void CXTColorCellPopup::AddMoreColorsButton(int cx, int tableTop) {
  const auto& place = kMoreColorsButton[(m_dwStyle & XTCP_EXTENDED) ? 1 : 0];
  CString text;
  text.LoadString(IDS_XT_MORE_COLORS);
  const CRect rect(m_margins.left, tableTop + place.top, cx - m_margins.right, tableTop + place.bottom);
  const bool anySelected = GetSelectedIndex() >= 0;
  AddCell(rect, IDS_XT_MORE_COLORS_TIP, kMoreColorsCell, m_clrCurrent, text);
  m_cells.back().bSelected = m_clrCurrent != static_cast<COLORREF>(-1) && !anySelected;
}

int CXTColorCellPopup::GetSelectedIndex() const {
  for (const ColorCell& cell : m_cells)
    if (cell.bSelected) return cell.nIndex;
  return -1;
}

COLORREF CXTColorCellPopup::GetCellColor(int nIndex) const {
  return nIndex >= 0 && nIndex < static_cast<int>(m_cells.size()) ? m_cells[nIndex].color : kNoColor;
}

CRect CXTColorCellPopup::GetCellRect(int nIndex) const {
  return nIndex >= 0 && nIndex < static_cast<int>(m_cells.size()) ? m_cells[nIndex].rect : CRect();
}

int CXTColorCellPopup::HitTest(CPoint point) const {
  for (const ColorCell& cell : m_cells)
    if (cell.rect.PtInRect(point)) return cell.nIndex;
  return -1;
}

void CXTColorCellPopup::SetHotCell(int nIndex) {
  if (m_hotIndex == nIndex) return;
  m_hotIndex = nIndex;
  Invalidate(FALSE);
}

// ---- mouse

void CXTColorCellPopup::OnMouseMove(UINT, CPoint point) {
  if (m_dialogOpen || point == m_lastMouse) return;
  m_lastMouse = point;
  const int hit = HitTest(point);
  SetHotCell(hit);
  if (hit < 0) return;
  TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_hWnd, 0};
  ::TrackMouseEvent(&track);
}

LRESULT CXTColorCellPopup::OnMouseLeave(WPARAM, LPARAM) {
  m_pressedIndex = -1;
  m_lastMouse = CPoint(-1, -1);
  SetHotCell(-1);
  Invalidate(FALSE);
  return 0;
}

void CXTColorCellPopup::OnLButtonDown(UINT, CPoint point) {
  CRect client;
  GetClientRect(&client);
  if (m_dialogOpen || !client.PtInRect(point)) return;
  m_pressedIndex = m_hotIndex;
  Invalidate(FALSE);
}

void CXTColorCellPopup::OnLButtonUp(UINT, CPoint) {
  if (m_dialogOpen) return;
  const int hot = m_hotIndex;
  const bool picked = hot != -1 && hot == m_pressedIndex;
  m_hotIndex = m_pressedIndex = -1;
  if (::IsWindow(m_hWnd)) Invalidate(FALSE);
  if (picked) EndSelection(hot);
}

// ---- keys

// Where an arrow key takes the hot cell: rows of eight under the top button
// (0), the last cell L below them; moves wrap around.
int CXTColorCellPopup::NextHotForKey(UINT nChar) const {
  const int hot = m_hotIndex, last = m_lastIndex;
  switch (nChar) {
    case VK_LEFT:
      return hot - 1 < 0 ? last : hot - 1;
    case VK_RIGHT:
      return hot + 1 > last ? 0 : hot + 1;
    case VK_UP:
      if (hot >= 1 && hot <= kColumns) return 0;
      if (hot <= 0 || hot > last) return last;
      return hot - kColumns;
    case VK_DOWN:
      if (hot >= 0 && hot <= (m_rows - 1) * kColumns) return hot + kColumns;
      if (hot > (m_rows - 1) * kColumns && hot < last) return last;
      return 0;
  }
  return hot;
}

void CXTColorCellPopup::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (m_dialogOpen) return;
  switch (nChar) {
    case VK_RETURN:
    case VK_SPACE:
      EndSelection(m_hotIndex);
      return;
    case VK_ESCAPE:
      EndSelection(-1);
      return;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      SetHotCell(NextHotForKey(nChar));
      return;
  }
  CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}
