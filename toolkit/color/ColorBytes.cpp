#include "toolkit/color/ColorBytes.h"

#include <stdio.h>

#include <algorithm>

namespace xtcolor {

namespace {

const int kByte = 255;

// Hue in 1/255ths from the components (0..255) and their spread: the sixth
// of the circle the largest component gives, plus the difference of the other
// two over the spread. Worked in integers, so a value that is whole (103 for
// RGB(15, 100, 51)) is not truncated from just below it.
int HueByte(int r, int g, int b, int max, int spread) {
  int sixths;  // in units of 1/spread
  if (r == max)
    sixths = g - b;
  else if (g == max)
    sixths = 2 * spread + b - r;
  else
    sixths = 4 * spread + r - g;
  if (sixths < 0) sixths += 6 * spread;
  return kByte * sixths / (6 * spread);
}

}  // namespace

// Luminance is (max + min) / 2 over 255, saturation the spread over
// max + min, or over 2 - max - min from luminance 0.5 on; each times 255.
HslBytes ColorToHslBytes(Color c) {
  const int r = Red(c), g = Green(c), b = Blue(c);
  const int max = std::max({r, g, b}), min = std::min({r, g, b});
  const int luminance = (max + min) / 2;
  if (max == min) return {0, 0, luminance};
  const int spread = max - min;
  const int sum = max + min;
  const int saturation = kByte * spread / (sum < kByte ? sum : 2 * kByte - sum);
  return {HueByte(r, g, b, max, spread), saturation, luminance};
}

std::string FormatHexText(Color c) {
  char text[16];
  snprintf(text, sizeof text, "Hex: %02X%02X%02X", Red(c), Green(c), Blue(c));
  return text;
}

}  // namespace xtcolor
