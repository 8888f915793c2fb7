// The caption a floating toolkit bar's frame draws for itself, apart from
// the window so that it can be drawn into any DC: the flat look (shadow
// rings and a shadow band) and the classic look (a raised edge and a band
// of the active caption colour, in 64 gradient strips when the system
// draws captions so), the bar's title in bold, then the caption buttons.
#pragma once

#include <vector>

#include "classlib/classlib.h"

// One button of the caption, in window coordinates.
struct CXTCaptionButton {
  enum Type { kClose = 0, kOptions = 1 };
  Type type = kClose;
  CRect rect;
  BOOL hot = FALSE;
  BOOL pressed = FALSE;
  // Its left edge comes within two edges of the frame's left: neither drawn nor pressed.
  BOOL tooNarrow = FALSE;
};

struct CXTCaptionLook {
  bool flat = false;      // the toolkit's flat look, else classic
  bool gradient = false;  // classic look: the band shades to the gradient caption colour
};

// Places the buttons from the right edge of a window of this size
// (origin 0, 0) and marks those that no longer fit.
void XTPlaceCaptionButtons(std::vector<CXTCaptionButton>& buttons, CSize window, const CXTCaptionLook& look);
// The frame's whole non-client look: background, rings or edge, band, title, buttons.
void XTDrawMiniDockCaption(CDC* dc, const CRect& window, const CXTCaptionLook& look, const CString& title,
                           const std::vector<CXTCaptionButton>& buttons, CImageList* glyphs);
void XTDrawCaptionButton(CDC* dc, const CXTCaptionButton& button, const CXTCaptionLook& look, CImageList* glyphs);
