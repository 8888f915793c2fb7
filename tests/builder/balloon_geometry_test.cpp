// Where balloons go, on a 1280 x 1000 work area (centre 640, 500).
#include <gtest/gtest.h>

#include "tips/BalloonGeometry.h"

namespace {

const BalloonRect kWork = {0, 0, 1280, 1000};

TEST(BalloonGeometry, QuadrantTiesGoRightAndDown) {
  struct Case {
    BalloonPoint anchor;
    BalloonQuadrant quadrant;
  } cases[] = {
      {{639, 499}, kUpperLeft}, {{640, 499}, kUpperRight}, {{639, 500}, kLowerLeft}, {{640, 500}, kLowerRight},
  };
  for (const Case& c : cases) EXPECT_EQ(c.quadrant, GetBalloonQuadrant(c.anchor, kWork)) << c.anchor.x << "," << c.anchor.y;
}

// Window 200 x 100: s = (200 - 20) / 4 = 45, so the tail's tip sits at x 45
// (left quarter) or 155 (three quarters).
TEST(BalloonGeometry, TailTipTouchesTheAnchor) {
  struct Case {
    BalloonPoint anchor;
    BalloonPoint tip;  // in the window
    BalloonRect window;
    int bodyTop, bodyBottom;
    const char* why;
  } cases[] = {
      {{100, 900}, {45, 98}, {55, 802, 255, 902}, 0, 80, "lower left: above the anchor, tail at a quarter"},
      {{1000, 100}, {155, 1}, {845, 99, 1045, 199}, 20, 100, "upper right: below it, tail at three quarters"},
      {{1270, 100}, {190, 1}, {1080, 99, 1280, 199}, 20, 100, "right edge: pushed left, the tip moves right"},
      {{5, 100}, {5, 1}, {0, 99, 200, 199}, 20, 100, "left edge: pushed right"},
      {{100, -50}, {45, 1}, {55, -20, 255, 80}, 20, 100, "above the top: only the tail band sticks out"},
  };
  for (const Case& c : cases) {
    const BalloonPlacement p = PlaceBalloon(c.anchor, 200, 100, kWork);
    EXPECT_EQ(c.tip.x, p.tail[1].x) << c.why;
    EXPECT_EQ(c.tip.y, p.tail[1].y) << c.why;
    EXPECT_EQ(c.window.left, p.window.left) << c.why;
    EXPECT_EQ(c.window.top, p.window.top) << c.why;
    EXPECT_EQ(c.window.right, p.window.right) << c.why;
    EXPECT_EQ(c.window.bottom, p.window.bottom) << c.why;
    EXPECT_EQ(c.bodyTop, p.bodyTop) << c.why;
    EXPECT_EQ(c.bodyBottom, p.bodyBottom) << c.why;
  }
}

TEST(BalloonGeometry, TailOfANarrowBalloonStaysOffTheCorners) {
  const BalloonPlacement p = PlaceBalloon({1000, 100}, 30, 60, kWork);  // s = 2: base 6, tip 26
  EXPECT_EQ(8, p.tail[0].x);
  EXPECT_EQ(22, p.tail[1].x);
  EXPECT_EQ(22, p.tail[2].x);
  EXPECT_EQ(21, p.tail[0].y);
}

TEST(BalloonGeometry, ClientAreaLeavesMarginsAndTheTailBand) {
  const BalloonRect window = {0, 0, 200, 100};
  const BalloonRect upper = BalloonClientRect(window, kUpperLeft);
  EXPECT_EQ(8, upper.left);
  EXPECT_EQ(28, upper.top);
  EXPECT_EQ(192, upper.right);
  EXPECT_EQ(92, upper.bottom);
  const BalloonRect lower = BalloonClientRect(window, kLowerRight);
  EXPECT_EQ(8, lower.top);
  EXPECT_EQ(72, lower.bottom);
  const BalloonRect tiny = BalloonClientRect({0, 0, 10, 10}, kUpperRight);
  EXPECT_LE(tiny.left, tiny.right);
  EXPECT_LE(tiny.top, tiny.bottom);
  const BalloonPoint size = MeasureBalloonWindow(100, 50);
  EXPECT_EQ(116, size.x);
  EXPECT_EQ(86, size.y);
}

}  // namespace
