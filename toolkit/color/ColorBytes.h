// A colour's hue, saturation and luminance as the custom page's edits show
// them (each 0..255, truncated), and the "Hex:" text of the colour dialog.
// Pure computation: no window system.
#pragma once

#include <string>

#include "toolkit/common/ColorMath.h"

namespace xtcolor {

struct HslBytes {
  int hue, saturation, luminance;
};

HslBytes ColorToHslBytes(Color c);
// "Hex: RRGGBB", two upper-case digits a component.
std::string FormatHexText(Color c);

}  // namespace xtcolor
