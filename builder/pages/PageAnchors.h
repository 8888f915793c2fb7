// The anchors the settings pages give their controls: a control either
// stretches with the page's width (left edge fixed, right edge follows) or
// moves with the right edge; the tops never move.
#pragma once
#include <cstddef>

#include "toolkit/dialogs/ResizeLayout.h"

struct PageAnchor {
  int control;
  bool stretches;
};

template <size_t N>
void AnchorPageControls(CXTResizeLayout& page, const PageAnchor (&anchors)[N]) {
  const CXTAnchorRect stretch(0, 0, 1, 0), followRight(1, 0, 1, 0);
  for (const PageAnchor& a : anchors) page.SetAnchor(a.control, a.stretches ? stretch : followRight);
}
