// Two shared drawing helpers: the embossed (disabled) look of an image-list
// image and the half-tone fill of a rectangle.
#pragma once

#include "classlib/imagelist.h"

// The image drawn in the highlight colour one pixel down-right and in the
// shadow colour over it, wherever it is not transparent. colorTarget: the
// work bitmap is compatible with the target instead of monochrome.
void DrawEmbossedImage(CDC* dc, CImageList* images, int index, int x, int y, BOOL colorTarget);
// An 8 x 8 checker pattern of face and highlight; the DC's colours and brush
// are left as they were.
void DrawHalftoneRect(CDC* dc, const RECT* rect);
// Fills the one-pixel overlap of two rectangles, shortened by one pixel at
// each end: the joint between a popup and the title it opens from.
void DrawJoinLine(CDC* dc, COLORREF color, const RECT& a, const RECT& b);
