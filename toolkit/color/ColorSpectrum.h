// CXTColorSpectrum: the custom colour page's field of hues (across) by
// saturations (up) at half luminance, with a crosshair on the colour picked.
#pragma once

#include "toolkit/color/ColorPicker.h"

class CXTColorSpectrum : public CXTColorPickerStatic {
 public:
  explicit CXTColorSpectrum(CXTColorDialog* pSheet) : CXTColorPickerStatic(pSheet) {}

  // Moves the crosshair to a hue or a saturation (0..1) without telling the page.
  void SpectrumSetHue(double hue);
  void SpectrumSetSaturation(double saturation);

 protected:
  CPoint CursorForColor() const override;
  CPoint CursorAfterKey(UINT key) const override;
  Focus FocusKind() const override { return kSpectrumFocus; }
  void DrawPicture(CXTDibSection& picture, const CRect& client) override;
  void DrawCursor(CDC& dc, const CRect& client) override;
  void OnFocusChanged() override;
};
