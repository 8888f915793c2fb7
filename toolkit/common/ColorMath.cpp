#include "toolkit/common/ColorMath.h"

#include <math.h>

namespace xtcolor {

namespace {

// The perceptual space: how far each channel reaches.
const double kRange[3] = {195.0, 390.0, 65.0};
// Nothing is brighter than white's distance from black (about 441.4).
const double kBrightest = 442.0;
// From this brightness on a threshold counts once; darker colours need more.
const double kBrightnessKnee = 220.0;

struct Vec {
  double v[3];
};

int Clamp(int x, int lo, int hi) { return x < lo ? lo : (x > hi ? hi : x); }

Vec ToSpace(Color c) {
  const int rgb[3] = {Red(c), Green(c), Blue(c)};
  Vec p;
  for (int i = 0; i < 3; ++i) p.v[i] = rgb[i] * kRange[i] / 255.0;
  return p;
}

// Each component clamped to its range, then scaled back to 0..255.
Color FromSpace(const Vec& p) {
  int rgb[3];
  for (int i = 0; i < 3; ++i) {
    double x = p.v[i] < 0 ? 0 : (p.v[i] > kRange[i] ? kRange[i] : p.v[i]);
    rgb[i] = static_cast<int>(x * 255.0 / kRange[i]);
  }
  return ClampRGB(rgb[0], rgb[1], rgb[2]);
}

Vec Flip(const Vec& p) {
  Vec q;
  for (int i = 0; i < 3; ++i) q.v[i] = kRange[i] - p.v[i];
  return q;
}

double Dot(const Vec& a, const Vec& b) { return a.v[0] * b.v[0] + a.v[1] * b.v[1] + a.v[2] * b.v[2]; }

double Length(const Vec& a) { return sqrt(Dot(a, a)); }

double HueToValue(double m1, double m2, double hue) {
  if (hue < 0) hue += 1.0;
  if (hue > 1) hue -= 1.0;
  if (hue < 1.0 / 6) return m1 + (m2 - m1) * hue * 6;
  if (hue < 0.5) return m2;
  if (hue < 2.0 / 3) return m1 + (m2 - m1) * (2.0 / 3 - hue) * 6;
  return m1;
}

}  // namespace

Color ClampRGB(int r, int g, int b) {
  return static_cast<Color>(Clamp(r, 0, 255) | (Clamp(g, 0, 255) << 8) | (Clamp(b, 0, 255) << 16));
}

Color AddToColor(Color c, Color delta) {
  return ClampRGB(Red(c) + Red(delta), Green(c) + Green(delta), Blue(c) + Blue(delta));
}

Color LightenColor(Color c, int n) { return AddToColor(c, static_cast<Color>(Clamp(n, 0, 255)) * 0x010101u); }

Color BlendColors(Color a, Color b, int weight) {
  const int d = weight < 100 ? 100 : 1000;
  auto mix = [&](int x, int y) { return (x * weight + y * (d - weight) + d / 2) / d; };
  return ClampRGB(mix(Red(a), Red(b)), mix(Green(a), Green(b)), mix(Blue(a), Blue(b)));
}

double ColorDistance(Color a, Color b) {
  const Vec pa = ToSpace(a), pb = ToSpace(b);
  const Vec d = {{pa.v[0] - pb.v[0], pa.v[1] - pb.v[1], pa.v[2] - pb.v[2]}};
  return Length(d);
}

double Brightness(Color c) { return ColorDistance(c, 0); }

double ScaleThreshold(double brightness, double t) {
  const double b = brightness < kBrightnessKnee ? brightness : kBrightnessKnee;
  return (2.0 - b / kBrightnessKnee) * t;
}

bool IsColorDistinct(Color a, Color b, double t) {
  const double f = ScaleThreshold(static_cast<int>(Brightness(a)), static_cast<int>(t));
  const double d = ColorDistance(a, b);
  return d * d > f * f;
}

Color PushColorAway(Color a, Color b, double t) {
  const double brightA = Brightness(a);
  const double f = ScaleThreshold(brightA, t);
  Vec pa = ToSpace(a), pb = ToSpace(b);
  // Near white there is no room above a, near black none below: measure from
  // the other end of the space instead.
  const bool bBrighter = Brightness(b) > brightA;
  const bool flip = bBrighter ? brightA <= kBrightest - f : brightA <= f;
  if (flip) {
    pa = Flip(pa);
    pb = Flip(pb);
  }
  double len = Length(pb);
  if (len < 0.001) len = 0.001;
  const Vec unit = {{pb.v[0] / len, pb.v[1] / len, pb.v[2] / len}};
  const double along = Dot(pa, unit);
  const double offRay2 = Dot(pa, pa) - along * along;
  const double reach2 = f * f - offRay2;
  const double s = along - sqrt(reach2 > 0 ? reach2 : 0);
  Vec r = {{unit.v[0] * s, unit.v[1] * s, unit.v[2] * s}};
  return FromSpace(flip ? Flip(r) : r);
}

Color PullColorToward(Color a, Color b, double t) {
  const double f = ScaleThreshold(Brightness(a), t);
  const double d = ColorDistance(a, b);
  if (d <= 0) return b;
  const Vec pa = ToSpace(a), pb = ToSpace(b);
  const double k = (d - f) / d;
  Vec r;
  for (int i = 0; i < 3; ++i) r.v[i] = pb.v[i] + (pa.v[i] - pb.v[i]) * k;
  return FromSpace(r);
}

void RGBtoHLS(Color c, double* hue, double* saturation, double* luminance) {
  const double r = Red(c) / 255.0, g = Green(c) / 255.0, b = Blue(c) / 255.0;
  const double mx = fmax(r, fmax(g, b)), mn = fmin(r, fmin(g, b));
  *luminance = (mx + mn) / 2;
  if (mx == mn) {
    *hue = *saturation = 0;
    return;
  }
  const double delta = mx - mn;
  *saturation = *luminance < 0.5 ? delta / (mx + mn) : delta / (2 - mx - mn);
  double h;
  if (r == mx)
    h = (g - b) / delta;
  else if (g == mx)
    h = (b - r) / delta + 2;
  else
    h = (r - g) / delta + 4;
  h /= 6;
  if (h < 0) h += 1;
  *hue = h;
}

Color HLStoRGB(double hue, double saturation, double luminance) {
  if (saturation == 0) {
    const int grey = static_cast<int>(luminance * 255);
    return ClampRGB(grey, grey, grey);
  }
  const double m2 = luminance < 0.5 ? luminance * (1 + saturation) : luminance + saturation - luminance * saturation;
  const double m1 = 2 * luminance - m2;
  return ClampRGB(static_cast<int>(255 * HueToValue(m1, m2, hue + 1.0 / 3)),
                  static_cast<int>(255 * HueToValue(m1, m2, hue)),
                  static_cast<int>(255 * HueToValue(m1, m2, hue - 1.0 / 3)));
}

}  // namespace xtcolor
