// CXTColorLuminanceBar: the custom colour page's bar of luminances for the
// hue and saturation picked, black at the bottom to white at the top, with
// an arrow beside it at the luminance picked.
#pragma once

#include "toolkit/color/ColorPicker.h"

class CXTColorLuminanceBar : public CXTColorPickerStatic {
 public:
  explicit CXTColorLuminanceBar(CXTColorDialog* pSheet) : CXTColorPickerStatic(pSheet) {}

  // Moves the arrow to a luminance (0..1) without telling the page.
  void BarSetLuminance(double luminance);
  // The bar itself: the client area less 4 pixels at top and bottom, 14 wide.
  CRect GetBarRect() const;
  // The arrow and the colour it reads stay on the bar's rows.
  void PickerSetCursorAt(int x, int y, BOOL bNotify) override;

 protected:
  CPoint CursorForColor() const override;
  CPoint CursorAfterKey(UINT key) const override;
  Focus FocusKind() const override { return kBarFocus; }
  void DrawPicture(CXTDibSection& picture, const CRect& client) override;
  void DrawCursor(CDC& dc, const CRect& client) override;
  BOOL RedrawsPictureEachPaint() const override { return TRUE; }

 private:
  int ClampToBar(int y) const;
};
