// Where a balloon tip goes: which side of its anchor, where its tail sits,
// and how it is pushed back inside the work area while the tail's tip keeps
// touching the anchor. Pure computation over screen coordinates.
#pragma once

struct BalloonPoint {
  int x = 0, y = 0;
};

struct BalloonRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// Bit 0: the anchor is in the left half of the work area; bit 1: in the
// lower half. The balloon opens towards the other half.
enum BalloonQuadrant { kUpperRight = 0, kUpperLeft = 1, kLowerRight = 2, kLowerLeft = 3 };

constexpr int kBalloonMargin = 8;       // between the outline and the client area, every side
constexpr int kBalloonTailHeight = 20;  // the band the tail takes on its side
constexpr int kBalloonTitleGap = 8;     // between the title line and the text
constexpr int kBalloonCorner = 24;      // ellipse of the rounded body

inline bool IsUpperQuadrant(BalloonQuadrant q) { return (q & 2) == 0; }
inline bool IsLeftQuadrant(BalloonQuadrant q) { return (q & 1) != 0; }

// Ties go right and down: an anchor on a centre line counts as the right or
// lower half.
BalloonQuadrant GetBalloonQuadrant(BalloonPoint anchor, const BalloonRect& work);

// Window size of a balloon whose client area is clientWidth x clientHeight.
BalloonPoint MeasureBalloonWindow(int clientWidth, int clientHeight);

struct BalloonPlacement {
  BalloonPoint tail[3];  // base start, tip, base end, in window coordinates
  int bodyTop = 0, bodyBottom = 0;
  BalloonRect window;    // on the screen
};

// The outline and screen rectangle of a balloon of the given window size
// whose tail points at anchor.
BalloonPlacement PlaceBalloon(BalloonPoint anchor, int width, int height, const BalloonRect& work);

// The client rectangle inside a proposed window rectangle: the margin on
// every side and the tail band on the tail's side, never inside out.
BalloonRect BalloonClientRect(const BalloonRect& window, BalloonQuadrant quadrant);
