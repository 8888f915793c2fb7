// The tool bar's side of the chevron: hiding buttons from the end until the
// bar fits the length it is given, showing them again in index order while
// they fit, placing the chevron, and filling the pop-up's bar with copies of
// the hidden buttons.
#include <algorithm>

#include "toolkit/bars/ChevronButton.h"
#include "toolkit/bars/HiddenButtonsPopup.h"
#include "toolkit/bars/ToolBar.h"
#include "toolkit/paint/SysColorBitmap.h"

namespace {

bool IsHidden(const TBBUTTON& b) { return (b.fsState & TBSTATE_HIDDEN) != 0; }
bool IsSeparator(const TBBUTTON& b) { return (b.fsStyle & TBSTYLE_SEP) != 0; }
int Along(const CSize& size, BOOL horizontal) { return horizontal ? size.cx : size.cy; }

}  // namespace

int CXTToolBar::VisibleButtonCount() const {
  int visible = 0;
  for (int i = 0; i < GetButtonCount(); ++i) {
    TBBUTTON button;
    if (GetButton(i, &button) && !IsHidden(button)) ++visible;
  }
  return visible;
}

// Hiding and showing keep the delayed-layout flag as it was: a delayed layout
// shows every hidden button again, which would undo the fitting at the next paint.
void CXTToolBar::SetButtonHidden(int index, TBBUTTON button, BOOL hidden) {
  const BOOL delayed = m_bDelayedLayout;
  if (hidden)
    button.fsState |= TBSTATE_HIDDEN;
  else
    button.fsState &= ~TBSTATE_HIDDEN;
  SetButtonInfo(index, button);
  m_bDelayedLayout = delayed;
}

int CXTToolBar::HideButtonsToFit(int fullLength, int available, BOOL horizontal) {
  if (m_bAdjusting) return fullLength;
  PlaceChevron(available, horizontal);
  int visible = VisibleButtonCount();
  if (visible == 0 || (m_hiddenWidths.empty() && fullLength <= available)) return fullLength;
  bool hidAny = false;
  for (int i = GetButtonCount() - 1; i >= 0 && visible > 1; --i) {
    TBBUTTON button;
    if (!GetButton(i, &button) || IsHidden(button)) continue;
    CRect item;
    SendMessage(TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
    SetButtonHidden(i, button, TRUE);
    m_hiddenWidths[i] = item.Width();
    --visible;
    hidAny = true;
    if (available - kChevronAllowance >= Along(CalcFixedLayout(FALSE, horizontal), horizontal)) break;
  }
  if (!hidAny) return fullLength;
  // Shown at once: the layout that sizes it may be a while coming.
  PlaceChevron(available, horizontal);
  PostRelayout();
  return fullLength;
}

int CXTToolBar::ShowButtonsThatFit(int fullLength, int available, BOOL horizontal) {
  if (m_hiddenWidths.empty()) {
    PlaceChevron(fullLength, horizontal);
    return fullLength;
  }
  PlaceChevron(available, horizontal);
  int measured = fullLength;
  bool shownAny = false;
  for (auto hidden = m_hiddenWidths.begin(); hidden != m_hiddenWidths.end();) {
    TBBUTTON button;
    if (!GetButton(hidden->first, &button) || !IsHidden(button)) {
      ++hidden;
      continue;
    }
    // Measured as the bar would be with it back, the chevron's room included only when more stay hidden.
    const int index = hidden->first, width = hidden->second;
    hidden = m_hiddenWidths.erase(hidden);
    SetButtonHidden(index, button, FALSE);
    const int length = Along(CalcFixedLayout(FALSE, horizontal), horizontal);
    if (available < length) {
      SetButtonHidden(index, button, TRUE);
      m_hiddenWidths[index] = width;
      break;
    }
    measured = length;
    shownAny = true;
  }
  const int result = m_hiddenWidths.empty() ? measured : available;
  PlaceChevron(result, horizontal);
  if (shownAny) PostRelayout();
  return result;
}

void CXTToolBar::PlaceChevron(int length, BOOL horizontal) {
  if (!m_pChevron || !m_pChevron->m_hWnd) return;
  const BOOL show = HasHiddenButtons() || m_bCustomizable;
  CRect inside(0, 0, 0, 0);
  CalcInsideRect(inside, horizontal);
  int along = (horizontal && IsInRebar()) ? length - CXTExpButton::kThickness
                                          : length + (horizontal ? inside.Width() : inside.Height()) -
                                                CXTExpButton::kThickness;
  // Never over the first visible button.
  for (int i = 0; i < GetButtonCount(); ++i) {
    TBBUTTON button;
    if (!GetButton(i, &button) || IsHidden(button)) continue;
    CRect item;
    SendMessage(TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
    along = std::max(along, horizontal ? item.Width() : item.Height());
    break;
  }
  const CPoint position = horizontal ? CPoint(along, 1) : CPoint(1, along);
  CRect current;
  m_pChevron->GetWindowRect(&current);
  ScreenToClient(&current);
  const BOOL shown = m_pChevron->IsWindowVisible();
  if (current.TopLeft() == position && shown == show) return;
  m_pChevron->SetWindowPos(nullptr, position.x, position.y, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  m_pChevron->Invalidate();
}

// Sized with each committed layout; hidden while the bar floats or has nothing to offer.
void CXTToolBar::SizeChevron(CSize extent, BOOL horizontal) {
  if (!m_pChevron || !m_pChevron->m_hWnd) return;
  const BOOL show = !(m_dwStyle & CBRS_FLOATING) && (m_bCustomizable || HasHiddenButtons());
  const CSize size = horizontal ? CSize(CXTExpButton::kThickness, extent.cy - 2)
                                : CSize(extent.cx - 2, CXTExpButton::kThickness);
  CRect current;
  m_pChevron->GetWindowRect(&current);
  if (current.Size() == size && (m_pChevron->IsWindowVisible() != FALSE) == (show != FALSE)) return;
  m_pChevron->SetWindowPos(nullptr, 0, 0, size.cx, size.cy,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  PostMessage(WM_IDLEUPDATECMDUI);
}

int CXTToolBar::ChevronAllowance() const {
  const bool offers = m_bCustomizable || HasHiddenButtons();
  const bool docked = !(m_dwStyle & CBRS_FLOATING) || IsInRebar();
  return HasChevron() && offers && docked ? kChevronAllowance : 0;
}

CSize CXTToolBar::ChevronMinimumSize() {
  for (int i = 0; i < GetButtonCount(); ++i) {
    TBBUTTON button;
    if (!GetButton(i, &button) || IsHidden(button)) continue;
    CRect item;
    SendMessage(TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
    CRect inside(0, 0, 0, 0);
    const BOOL across = (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0;
    CalcInsideRect(inside, across);
    CSize size(item.Width() - inside.Width(), item.Height() - inside.Height());
    (across ? size.cx : size.cy) += kChevronAllowance;
    return size;
  }
  return CSize(0, 0);
}

void CXTToolBar::LendLookTo(CXTToolBar& target) const {
  target.SetSizes(m_sizeButton, m_sizeImage);
  target.SendMessage(TB_SETEXTENDEDSTYLE, 0, SendMessage(TB_GETEXTENDEDSTYLE));
  target.SetOwner(GetParentFrame());
}

void CXTToolBar::FillHiddenButtons(CXTToolBar* target, int rowWidth) {
  for (const auto& hidden : m_hiddenWidths) rowWidth = std::max(rowWidth, hidden.second);
  struct Copy {
    TBBUTTON button;
    CString text;
    const ButtonEntry* entry;
  };
  std::vector<Copy> copies;
  std::vector<TBBUTTON> buttons;
  int x = 0;
  for (const auto& hidden : m_hiddenWidths) {
    TBBUTTON button;
    if (!GetButton(hidden.first, &button)) continue;
    const ButtonEntry* entry = EntryOfCommand(static_cast<UINT>(button.idCommand));
    const bool lendsControl = entry && entry->control && ::IsWindow(entry->control);
    if (IsSeparator(button) && (button.idCommand == 0 || !lendsControl)) continue;
    button.fsState &= ~TBSTATE_HIDDEN;
    if (!buttons.empty() && x + hidden.second > rowWidth) {
      TBBUTTON wrap = {};
      wrap.fsStyle = TBSTYLE_SEP;
      wrap.fsState = TBSTATE_ENABLED | TBSTATE_WRAP;
      buttons.push_back(wrap);
      copies.push_back({wrap, CString(), nullptr});
      x = 0;
    }
    x += hidden.second;
    Copy copy = {button, CString(), entry};
    if (button.iString != -1) {
      copy.text = GetButtonText(hidden.first);
      copy.button.iString = -1;
    }
    copies.push_back(copy);
    buttons.push_back(copy.button);
  }
  if (buttons.empty()) return;
  TakeImagesInto(target);
  target->SendMessage(TB_ADDBUTTONS, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  target->RebuildEntries();
  target->SendMessage(TB_SETDISABLEDIMAGELIST, 0, SendMessage(TB_GETDISABLEDIMAGELIST));
  bool firstText = true;
  for (int i = 0; i < static_cast<int>(copies.size()); ++i) {
    const Copy& copy = copies[i];
    if (!copy.text.IsEmpty()) {
      // The pool's first slot is left to a placeholder, so no copy starts at string 0.
      if (firstText) target->SetButtonText(i, "---");
      firstText = false;
      target->SetButtonText(i, copy.text);
    }
    if (!copy.entry) continue;
    if (copy.entry->control && IsSeparator(copy.button)) {
      ::SetParent(copy.entry->control, target->m_hWnd);
      target->SetControl(CWnd::FromHandle(copy.entry->control), copy.entry->boldFont);
    }
    if (copy.entry->dropDown)
      if (ButtonEntry* lent = target->EntryOfCommand(static_cast<UINT>(copy.button.idCommand)))
        lent->dropDown = copy.entry->dropDown;
  }
  if (m_dwDrawTextMask) target->SendMessage(TB_SETDRAWTEXTFLAGS, m_dwDrawTextMask, m_dwDrawTextFlags);
}

void CXTToolBar::TakeImagesInto(CXTToolBar* target) const {
  if (m_hInstImageWell && m_hRsrcImageWell) {
    target->m_hInstImageWell = m_hInstImageWell;
    target->m_hRsrcImageWell = m_hRsrcImageWell;
    HBITMAP bitmap = LoadSysColorBitmap(m_hInstImageWell, m_hRsrcImageWell, FALSE);
    if (bitmap && !target->SetBitmap(bitmap)) ::DeleteObject(bitmap);
    return;
  }
  target->SetImageList(reinterpret_cast<HIMAGELIST>(SendMessage(TB_GETIMAGELIST)), TRUE);
}
