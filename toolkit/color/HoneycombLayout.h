// The honeycomb of the standard colour page as geometry: 144 hexagonal cells
// (127 colours in a large hexagon, two rows of greys, a large white and a
// large black cell), each a list of its pixels, with the cells the arrow
// keys lead to from it. Pure computation: no window system.
#pragma once

#include <stdint.h>

#include <vector>

namespace xtcolor {

enum HoneycombDirection { kLeft, kUp, kRight, kDown, kDirectionCount };

struct HoneycombPixel {
  int x, y;
};

struct HoneycombCell {
  int x, y;  // left column and reference row; the first pixel
  bool large;
  uint32_t color;                      // COLORREF-shaped: red in the low byte
  int neighbours[kDirectionCount];     // cell indices, -1 none
  std::vector<HoneycombPixel> pixels;  // column by column, top to bottom
};

const int kHoneycombCells = 144;
// The two white cells: the small one at the centre and the large one.
const int kHoneycombCentreWhite = 63;
const int kHoneycombLargeWhite = 142;
const int kHoneycombLargeBlack = 143;

// The cells in table order.
const std::vector<HoneycombCell>& HoneycombCells();
// The first cell whose pixels hold the point; -1 none.
int HoneycombHitTest(int x, int y);
// The first cell of that colour; -1 none.
int HoneycombFindColor(uint32_t color);

}  // namespace xtcolor
