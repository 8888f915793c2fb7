// The menu bar's painting: one memory image of the client area, each visible
// item drawing itself into it.
#include <algorithm>

#include "toolkit/common/MemDC.h"
#include "toolkit/common/MenuHelpers.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/menus/MenuBar.h"

namespace {
// Toolkit colours of a title in the flat look.
const int kOpenFill = 30, kOpenFrame = 43, kHotFill = 31, kPressedFill = 33, kPressedGlyph = 47;


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
  const int index = IndexOf(item);
  CRect rect = GetItemRect(index);
  const int saved = dc->SaveDC();
  dc->SelectObject(&state.GetFont(vertical ? CXTSharedState::kFontVerticalDown : CXTSharedState::kFontMenuBar));
  dc->SetBkMode(TRANSPARENT);
  const COLORREF textColor = ::GetSysColor(m_bFrameActive ? COLOR_MENUTEXT : COLOR_GRAYTEXT);
  dc->SetTextColor(textColor);
  if (index == m_nHotItem && m_bFrameActive)
    DrawTitleHighlight(dc, rect, m_state == kPopupOpen && m_nTrackedItem == index);

  CString text = item.GetText();
  const bool mnemonics = m_bKeyboardCues || IsAltDown();
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

// The flat look draws the bar's own glyphs in one colour; the classic look
// the system's caption buttons.
void CXTMenuBar::DrawCaptionButton(CDC* dc, const CRect& rect, UINT type, int index) {
  HWND child = m_hWndMaximisedChild;
  const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(child, GWL_STYLE));
  const bool withoutBox = (type == DFCS_CAPTIONMIN && !(style & WS_MINIMIZEBOX)) ||
                          (type == DFCS_CAPTIONRESTORE && !(style & WS_MAXIMIZEBOX));
  if (withoutBox && !(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))) return;
  const bool pressed = GetPressedButton() == index;
  const bool hot = index == m_nHotItem && m_nPressedButton < 0;
  const CXTSharedState& state = GetSharedState();
  if (!state.m_xpLook) {
    CRect frame = rect;
    dc->DrawFrameControl(&frame, DFC_CAPTION, type | (pressed ? DFCS_PUSHED : 0) | (withoutBox ? DFCS_INACTIVE : 0));
  } else {
    dc->FillSolidRect(&rect, pressed ? GetToolkitColor(kPressedFill) : hot ? GetToolkitColor(kHotFill) : GetBackColor());
    if (hot || pressed) dc->Draw3dRect(&rect, ::GetSysColor(COLOR_HIGHLIGHT), ::GetSysColor(COLOR_HIGHLIGHT));
    const COLORREF glyph = withoutBox ? ::GetSysColor(COLOR_GRAYTEXT)
                           : pressed  ? GetToolkitColor(kPressedGlyph)
                                      : ::GetSysColor(m_bFrameActive ? COLOR_MENUTEXT : COLOR_GRAYTEXT);
    DrawGlyph(dc, rect, type, glyph);
  }
  if (hot) {
    CPoint cursor;
    ::GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    RelaySysButtonTip(cursor, type);
  }
}
