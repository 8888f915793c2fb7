// The tool bar's painting: the whole bar off-screen, buttons through the paint
// style's tool-bar painter in the flat look, separators and the controls on
// them printed into the same surface.
#include "toolkit/bars/ToolBar.h"
#include "toolkit/common/MemDC.h"
#include "toolkit/common/SharedState.h"

namespace {

// What a control prints of itself into the bar's surface.
const UINT kPrintControl = PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN | PRF_NONCLIENT;
// The toolkit colour of a flat bar's background.
const int kFlatBackground = 30;

bool IsSeparator(const TBBUTTON& b) { return (b.fsStyle & TBSTYLE_SEP) != 0; }

}  // namespace

BOOL CXTToolBar::HasFlatLook() const { return GetSharedState().m_xpLook && !IsInRebar(); }

COLORREF CXTToolBar::GetBackColor() const {
  return HasFlatLook() ? GetToolkitColor(kFlatBackground) : GetSharedState().m_clrFace;
}

void CXTToolBar::PaintBackground() {
  RecalcIfDelayed();
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  if (client.IsRectEmpty()) return;
  CXTMemDC surface(&paint, &client, GetSharedState().m_clrFace);
  if (HasFlatLook()) surface.FillSolidRect(&client, GetBackColor());
  DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(surface.m_hDC), 0);
}

BOOL CXTToolBar::OnCustomDraw(NMHDR* header, LRESULT* result) {
  NMTBCUSTOMDRAW* draw = reinterpret_cast<NMTBCUSTOMDRAW*>(header);
  *result = CDRF_DODEFAULT;
  if (!(GetStyle() & TBSTYLE_FLAT) || m_bSuppressPaint) return TRUE;
  CDC* dc = CDC::FromHandle(draw->nmcd.hdc);
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      m_bFirstItemOfPaint = TRUE;
      *result = CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
      break;
    case CDDS_POSTPAINT:
      DrawWrappedSeparators(dc);
      DrawControlsAndSeparators(dc);
      break;
    case CDDS_ITEMPREPAINT:
      if (DrawButton(dc, *draw)) *result = CDRF_SKIPDEFAULT;
      break;
    default:
      break;
  }
  return TRUE;
}

BOOL CXTToolBar::DrawButton(CDC* dc, const NMTBCUSTOMDRAW& item) {
  if (m_bSuppressPaint) return FALSE;
  const BOOL flat = HasFlatLook();
  if (m_bFirstItemOfPaint) {
    m_bFirstItemOfPaint = FALSE;
    if (flat) {
      CRect client;
      GetClientRect(&client);
      dc->FillSolidRect(&client, GetBackColor());
    }
  }
  const int index = CommandToIndex(static_cast<UINT>(item.nmcd.dwItemSpec));
  if (CXTToolBarPainter* painter = GetPaintStyle().GetToolBarPainter()) {
    painter->DrawButton(dc, *this, index);
    return TRUE;
  }
  TBBUTTON button;
  GetButton(index, &button);
  if (button.iBitmap < 0) return FALSE;
  CRect rect = item.nmcd.rc;
  const CXTDropDownButtonInfo* info = FindDropDownInfo(static_cast<UINT>(button.idCommand));
  if (info && info->bShowColor && info->bPopupWindow) {
    CRect strip(rect.left + 4, rect.bottom - 7, rect.left + m_sizeButton.cx - 4, rect.bottom - 4);
    if (button.fsState & (TBSTATE_PRESSED | TBSTATE_CHECKED)) strip.OffsetRect(1, 1);
    const bool enabled = (button.fsState & TBSTATE_ENABLED) != 0;
    dc->FillSolidRect(&strip, enabled ? info->clrColor : GetSharedState().m_clrShadow);
    ::ExcludeClipRect(dc->m_hDC, strip.left, strip.top, strip.right, strip.bottom);
  }
  if (IsInRebar()) {
    m_bSuppressPaint = TRUE;
    CRect behind = rect;
    MapWindowPoints(GetParent(), &behind);
    GetParent()->InvalidateRect(&behind);
    GetParent()->UpdateWindow();
    m_bSuppressPaint = FALSE;
  } else {
    dc->FillSolidRect(&rect, GetBackColor());
  }
  return FALSE;
}

void CXTToolBar::DrawControlsAndSeparators(CDC* dc) {
  CXTToolBarPainter* painter = GetPaintStyle().GetToolBarPainter();
  CRect client;
  GetClientRect(&client);
  const int count = GetButtonCount();
  for (int i = 0; i < count; ++i) {
    TBBUTTON button;
    GetButton(i, &button);
    if (!IsSeparator(button) || (button.fsState & TBSTATE_HIDDEN)) continue;
    CRect item;
    SendMessage(TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
    const ButtonEntry* entry = button.idCommand ? EntryOfCommand(static_cast<UINT>(button.idCommand)) : nullptr;
    if (entry && entry->control && ::IsWindow(entry->control)) {
      if (!IsInRebar()) {
        if (painter)
          painter->FillButtonBackground(dc, *this, i);
        else
          dc->FillSolidRect(&item, GetBackColor());
      }
      CRect window;
      ::GetWindowRect(entry->control, &window);
      ScreenToClient(&window);
      const int saved = dc->SaveDC();
      ::IntersectClipRect(dc->m_hDC, client.left, client.top, client.right, client.bottom);
      ::OffsetViewportOrgEx(dc->m_hDC, window.left, window.top, nullptr);
      ::SendMessageA(entry->control, WM_PRINT, reinterpret_cast<WPARAM>(dc->m_hDC), kPrintControl);
      dc->RestoreDC(saved);
    } else if (painter) {
      painter->DrawSeparator(dc, *this, i);
    } else if (button.fsState & TBSTATE_WRAP) {
      CRect line(item.left, item.top + item.Height() / 2, item.left + item.Height(), item.top + item.Height() / 2 + 2);
      dc->DrawEdge(&line, EDGE_ETCHED, BF_TOP);
      dc->SetPixel(line.right, line.top, GetSharedState().m_clrShadow);
    } else {
      dc->FillSolidRect(&item, GetBackColor());
      CRect line(item.left + 2, item.top, item.left + 4, item.bottom);
      dc->DrawEdge(&line, EDGE_ETCHED, BF_LEFT);
      dc->SetPixel(line.left, item.bottom, GetSharedState().m_clrShadow);
    }
  }
}

void CXTToolBar::DrawWrappedSeparators(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  const int count = GetButtonCount();
  for (int i = 1; i < count; ++i) {
    TBBUTTON button, previous;
    GetButton(i, &button);
    GetButton(i - 1, &previous);
    if (!IsSeparator(button) || !(button.fsState & TBSTATE_WRAP) || IsSeparator(previous)) continue;
    CRect before;
    SendMessage(TB_GETITEMRECT, i - 1, reinterpret_cast<LPARAM>(&before));
    CRect strip(before.right, before.top, client.right, before.bottom);
    dc->FillSolidRect(&strip, GetBackColor());
  }
}
