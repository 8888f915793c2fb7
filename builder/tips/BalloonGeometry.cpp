#include "BalloonGeometry.h"

#include <algorithm>

namespace {

constexpr int kTailBase = 20;  // width of the tail where it meets the body

// The tail's three x values: a right-half anchor puts it at three quarters
// of the width, a left-half anchor at one quarter; never under the corners.
void PlaceTailX(BalloonQuadrant quadrant, int width, BalloonPoint tail[3]) {
  const int s = (width - kTailBase) / 4;
  if (IsLeftQuadrant(quadrant)) {
    tail[0].x = s + kTailBase;
    tail[1].x = tail[2].x = s;
  } else {
    tail[0].x = 3 * s;
    tail[1].x = tail[2].x = 3 * s + kTailBase;
  }
  for (int i = 0; i < 3; ++i) tail[i].x = std::min(std::max(tail[i].x, kBalloonMargin), width - kBalloonMargin);
}

// Upper quadrants hang the body below the anchor, lower ones above it. The
// tip stays just inside the window and the base reaches into the body, so
// the polygon and the rounded body join without a seam.
void PlaceTailY(BalloonQuadrant quadrant, int height, BalloonPlacement* placement) {
  int base, tip;
  if (IsUpperQuadrant(quadrant)) {
    base = kBalloonTailHeight + 1;
    tip = 1;
    placement->bodyTop = kBalloonTailHeight;
    placement->bodyBottom = height;
  } else {
    base = height - kBalloonTailHeight - 2;
    tip = height - 2;
    placement->bodyTop = 0;
    placement->bodyBottom = height - kBalloonTailHeight;
  }
  placement->tail[0].y = placement->tail[2].y = base;
  placement->tail[1].y = tip;
}

// How far the window must move to stay in the work area; the tail band may
// stick out of it.
int ShiftIntoWorkX(int x, int width, const BalloonRect& work) {
  if (x < work.left) return work.left - x;
  if (x + width >= work.right) return work.right - x - width;
  return 0;
}

int ShiftIntoWorkY(int y, int height, const BalloonRect& work) {
  if (y + kBalloonTailHeight < work.top) return work.top - y - kBalloonTailHeight;
  if (y + height - kBalloonTailHeight >= work.bottom) return work.bottom - y - height + kBalloonTailHeight;
  return 0;
}

}  // namespace

BalloonQuadrant GetBalloonQuadrant(BalloonPoint anchor, const BalloonRect& work) {
  const int cx = work.left + (work.right - work.left) / 2;
  const int cy = work.top + (work.bottom - work.top) / 2;
  int quadrant = 0;
  if (anchor.x < cx) quadrant |= 1;
  if (anchor.y >= cy) quadrant |= 2;
  return static_cast<BalloonQuadrant>(quadrant);
}

BalloonPoint MeasureBalloonWindow(int clientWidth, int clientHeight) {
  return {clientWidth + 2 * kBalloonMargin, clientHeight + 2 * kBalloonMargin + kBalloonTailHeight};
}

BalloonPlacement PlaceBalloon(BalloonPoint anchor, int width, int height, const BalloonRect& work) {
  BalloonPlacement placement;
  const BalloonQuadrant quadrant = GetBalloonQuadrant(anchor, work);
  PlaceTailX(quadrant, width, placement.tail);
  PlaceTailY(quadrant, height, &placement);
  const int x = anchor.x - placement.tail[1].x;
  const int y = anchor.y - placement.tail[1].y;
  const int dx = ShiftIntoWorkX(x, width, work);
  const int dy = ShiftIntoWorkY(y, height, work);
  placement.tail[1].x -= dx;
  placement.window = {x + dx, y + dy, x + dx + width, y + dy + height};
  return placement;
}

BalloonRect BalloonClientRect(const BalloonRect& window, BalloonQuadrant quadrant) {
  BalloonRect client = {window.left + kBalloonMargin, window.top + kBalloonMargin, window.right - kBalloonMargin,
                        window.bottom - kBalloonMargin};
  if (IsUpperQuadrant(quadrant))
    client.top += kBalloonTailHeight;
  else
    client.bottom -= kBalloonTailHeight;
  client.right = std::max(client.right, client.left);
  client.bottom = std::max(client.bottom, client.top);
  return client;
}
