// The menu bar's painting: one memory image of the client area, each visible
// item drawing itself into it.
#include <algorithm>

#include "toolkit/common/MemDC.h"
#include "toolkit/common/MenuHelpers.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/menus/MenuBar.h"

namespace {
// Toolkit colours of a title in the flat look.
const int kOpenFill = 30, kOpenFrame = 43, kHotFill = 31;

bool ShowsMnemonics(BOOL keyboardCues) { return keyboardCues || (::GetKeyState(VK_MENU) & 0x8000); }

// The highlight behind a hot or open title.
void DrawTitleHighlight(CDC* dc, CRect rect, bool open) {
  const CXTSharedState& state = GetSharedState();
  if (state.m_xpLook) {
    dc->FillSolidRect(&rect, GetToolkitColor(open ? kOpenFill : kHotFill));
    dc->Draw3dRect(&rect, open ? GetToolkitColor(kOpenFrame) : ::GetSysColor(COLOR_HIGHLIGHT),
                   open ? GetToolkitColor(kOpenFrame) : ::GetSysColor(COLOR_HIGHLIGHT));
    return;
  }
  const COLORREF shadow = ::GetSysColor(COLOR_3DSHADOW), light = ::GetSysColor(COLOR_3DHILIGHT);
  if (open) {
    rect.OffsetRect(1, 1);
    dc->Draw3dRect(&rect, shadow, light);
  } else {
    dc->Draw3dRect(&rect, light, shadow);
  }
}
}  // namespace

void CXTMenuBar::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  CXTMemDC memDC(&dc, &client, GetBackColor());
  for (int index : VisibleItems(kAll)) m_items[index]->Draw(&memDC);
}

void CXTMenuBar::DrawTitle(CDC* dc, const CXTMenuBarTextItem& item) {
  CXTSharedState& state = GetSharedState();
  const bool vertical = IsVerticalLayout() != FALSE;
  int index = 0;
  while (index < GetItemCount() && m_items[index].get() != &item) ++index;
  CRect rect = GetItemRect(index);
  const int saved = dc->SaveDC();
  dc->SelectObject(&state.GetFont(vertical ? CXTSharedState::kFontVerticalDown : CXTSharedState::kFontMenuBar));
  dc->SetBkMode(TRANSPARENT);
  const COLORREF textColor = ::GetSysColor(m_bFrameActive ? COLOR_MENUTEXT : COLOR_GRAYTEXT);
  dc->SetTextColor(textColor);
  if (index == m_nHotItem && m_bFrameActive)
    DrawTitleHighlight(dc, rect, m_state == kPopupOpen && m_nTrackedItem == index);

  CString text = item.GetText();
  const bool mnemonics = ShowsMnemonics(m_bKeyboardCues);
  if (!vertical) {
    if (!mnemonics) StripMnemonics(text);
    dc->DrawText(text, text.GetLength(), &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc->RestoreDC(saved);
    return;
  }
  // Rotated a quarter turn clockwise: the text runs down from the top right.
  const CString shown = ShownTitle(text);
  const CSize extent = dc->GetTextExtent(shown);
  const int spareAlong = std::max<int>(1, (rect.Height() - extent.cx) / 2);
  const int spareAcross = std::max<int>(1, (rect.Width() - extent.cy) / 2);
  CRect textRect(rect.left, rect.top + spareAlong, rect.right - spareAcross, rect.bottom);
  CRect origin(textRect.right, textRect.top, textRect.right, textRect.top);
  dc->DrawText(shown, shown.GetLength(), &origin, DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE);
  const int before = MnemonicIndex(text);
  if (mnemonics && before >= 0) {
    // Under the mnemonic: beside it, on the baseline's side, where the
    // characters before it end.
    const int offset = dc->GetTextExtent(shown.Left(before)).cx;
    const int width = dc->GetTextExtent(shown.Mid(before, 1)).cx;
    const int x = textRect.right - extent.cy;
    dc->FillSolidRect(x, textRect.top + offset, 1, width, textColor);
  }
  dc->RestoreDC(saved);
}
