// Ending a choice: what was picked, the colour dialog behind "More
// Colors...", the recent colours it feeds, and the listeners told.
#include "toolkit/color/ColorCellPopup.h"
#include "toolkit/color/ColorDialog.h"
#include "toolkit/color/ColorMessages.h"

namespace {

const size_t kMostRecentColors = 8;  // one row

void Remember(COLORREF color) {
  std::vector<COLORREF>& recent = CXTColorCellPopup::RecentColors();
  if (recent.size() >= kMostRecentColors) recent.erase(recent.begin());
  recent.push_back(color);
}

}  // namespace

bool CXTColorCellPopup::ChooseMoreColors(COLORREF* pChosen) {
  m_dialogOpen = TRUE;
  CXTColorDialog dialog(m_clrCurrent, m_clrCurrent, m_dwStyle & XTCP_DIALOGFLAGS, AfxGetMainWnd());
  const bool accepted = dialog.DoModal() == IDOK;
  m_dialogOpen = FALSE;
  if (accepted) *pChosen = dialog.GetColor();
  return accepted;
}

// The listeners are copied first: one of them may close the pop-up or add to it.
void CXTColorCellPopup::EndSelection(int nIndex, LPARAM lParam) {
  const std::vector<HWND> listeners = m_listeners;
  const COLORREF current = m_clrCurrent;
  UINT message = XTWM_COLOR_CANCELLED;
  COLORREF color = current;
  const bool isCell = nIndex >= 0 && nIndex < static_cast<int>(m_cells.size());
  if (isCell && (m_cells[nIndex].dwKind & kMoreColorsCell)) {
    COLORREF chosen = current;
    if (ChooseMoreColors(&chosen)) {
      Remember(chosen);
      message = chosen == current ? XTWM_COLOR_UNCHANGED : XTWM_COLOR_CHOSEN;
      color = chosen;
    }
  } else if (nIndex == 0 && (m_dwStyle & XTCP_NOFILL)) {
    message = XTWM_COLOR_NONE;
    color = static_cast<COLORREF>(-1);
  } else if (isCell) {
    color = m_cells[nIndex].color;
    message = color == current ? XTWM_COLOR_UNCHANGED : XTWM_COLOR_CHOSEN;
  }
  for (HWND listener : listeners)
    if (::IsWindow(listener)) ::SendMessageA(listener, message, color, lParam);
}
