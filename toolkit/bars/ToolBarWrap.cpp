// The row arithmetic of the tool bar: where rows break for a width, how large
// the wrapped buttons are, and the width that fits a given length.
#include <algorithm>

#include "toolkit/bars/ToolBar.h"

namespace {

const int kWidest = 32767;

bool IsHidden(const TBBUTTON& b) { return (b.fsState & TBSTATE_HIDDEN) != 0; }
bool IsSeparator(const TBBUTTON& b) { return (b.fsStyle & TBSTYLE_SEP) != 0; }
bool Wraps(const TBBUTTON& b) { return (b.fsState & TBSTATE_WRAP) != 0; }
// A separator that carries no control: the preferred place for a row break.
bool IsPlainSeparator(const TBBUTTON& b) { return IsSeparator(b) && b.idCommand == 0; }

// Where a row that overflows at button `at` breaks, looking back no further
// than `rowStart`; -1 when nothing before it can take the break.
int FindBreak(const CXTToolBar::RowModel& model, int rowStart, int at) {
  for (int j = at; j >= rowStart; --j)
    if (!IsHidden(model.buttons[j]) && IsPlainSeparator(model.buttons[j])) return j;
  for (int j = at - 1; j >= rowStart; --j) {
    const TBBUTTON& b = model.buttons[j];
    if (!IsHidden(b) && !(IsSeparator(b) && b.idCommand != 0)) return j;
  }
  return -1;
}

}  // namespace

int CXTToolBar::WrapToolBar(RowModel& model, int width) {
  const int count = static_cast<int>(model.buttons.size());
  for (TBBUTTON& b : model.buttons) b.fsState &= ~TBSTATE_WRAP;
  int rows = 1, sum = 0, rowStart = 0;
  for (int i = 0; i < count; ++i) {
    if (IsHidden(model.buttons[i])) continue;
    sum += model.widths[i];
    if (sum <= width) continue;
    const int at = FindBreak(model, rowStart, i);
    if (at < 0) continue;
    model.buttons[at].fsState |= TBSTATE_WRAP;
    ++rows;
    i = at;
    rowStart = at + 1;
    sum = 0;
  }
  return rows;
}

CSize CXTToolBar::CalcSize(const RowModel& model) {
  CSize size(0, 0);
  int x = 0, y = 0;
  bool any = false;
  const int count = static_cast<int>(model.buttons.size());
  for (int i = 0; i < count; ++i) {
    const TBBUTTON& b = model.buttons[i];
    if (IsHidden(b)) continue;
    any = true;
    const bool wrappedSeparator = IsSeparator(b) && Wraps(b);
    if (!wrappedSeparator) {
      x += model.widths[i];
      size.cx = std::max<LONG>(size.cx, x);
      size.cy = std::max<LONG>(size.cy, y + model.buttonSize.cy);
    }
    if (Wraps(b)) {
      x = 0;
      y += model.buttonSize.cy;
      if (wrappedSeparator) y += b.iBitmap;
    }
  }
  if (!any) return CSize(std::max<LONG>(22, model.buttonSize.cx), std::max<LONG>(22, model.buttonSize.cy));
  return size;
}

void CXTToolBar::SizeToolBar(RowModel& model, int length, BOOL lengthIsHeight) {
  if (lengthIsHeight) {
    // The narrowest width whose rows fit the height.
    WrapToolBar(model, 0);
    CSize narrow = CalcSize(model);
    WrapToolBar(model, kWidest);
    CSize wide = CalcSize(model);
    int lo = narrow.cx, hi = wide.cx;
    while (lo < hi) {
      const int mid = (lo + hi) / 2;
      WrapToolBar(model, mid);
      if (CalcSize(model).cy <= length) {
        if (hi == mid) break;
        hi = mid;
      } else {
        if (lo == mid) break;
        lo = mid + 1;
      }
    }
    WrapToolBar(model, hi);
    return;
  }
  if (length >= kWidest) {
    WrapToolBar(model, kWidest);
    return;
  }
  // The narrowest width that gives as many rows as the length itself.
  const int target = WrapToolBar(model, length);
  int lo = 0, hi = std::max(length, 0);
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    if (WrapToolBar(model, mid) <= target)
      hi = mid;
    else
      lo = mid + 1;
  }
  WrapToolBar(model, hi);
  WrapToolBar(model, CalcSize(model).cx);
}
