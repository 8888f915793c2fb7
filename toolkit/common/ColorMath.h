// The toolkit's colour arithmetic: clamped sums, blends, a perceptual
// distance with the contrast corrections built on it, and RGB/HLS.
// Pure computation on COLORREF-shaped words (red in the low byte), so it
// builds and is tested without the window system.
#pragma once

#include <stdint.h>

namespace xtcolor {

typedef uint32_t Color;

inline int Red(Color c) { return c & 0xFF; }
inline int Green(Color c) { return (c >> 8) & 0xFF; }
inline int Blue(Color c) { return (c >> 16) & 0xFF; }

// Each component clamped to 0..255, then packed.
Color ClampRGB(int r, int g, int b);
// The three bytes of delta added component by component, clamped.
Color AddToColor(Color c, Color delta);
// n (clamped to 0..255) added to each component.
Color LightenColor(Color c, int n);
// a weighted against b: weight is per cent below 100 and per mille from 100 on.
Color BlendColors(Color a, Color b, int weight);

// Distance in the perceptual space where red spans 0..195, green 0..390 and
// blue 0..65; a colour's brightness is its distance from black.
double ColorDistance(Color a, Color b);
double Brightness(Color c);
// A threshold counts double against black and once from brightness 220 up.
double ScaleThreshold(double brightness, double t);
bool IsColorDistinct(Color a, Color b, double t);
// b moved along its ray from black (or from white) until its distance from a
// is the scaled threshold.
Color PushColorAway(Color a, Color b, double t);
// b moved towards a until its distance from a is the scaled threshold.
Color PullColorToward(Color a, Color b, double t);

// Hue, saturation and luminance in 0..1.
void RGBtoHLS(Color c, double* hue, double* saturation, double* luminance);
Color HLStoRGB(double hue, double saturation, double luminance);

}  // namespace xtcolor
