// The toolkit's 50-entry colour table: entries 1 to 28 are the system
// colours of those indices, 30 to 49 the toolkit's own colours, derived from
// them by blends and contrast corrections. Pure computation: the caller
// supplies the system colours, so any colour scheme can be computed.
#pragma once

#include "toolkit/common/ColorMath.h"

enum : int {
  kToolkitColorCount = 50,
  kFirstToolkitColor = 30,
  kSystemColorCount = 29,  // indices 0..28; 0 itself is never read
};

// Fills table from systemColors[1..28]. On a palette display (8 bits per
// pixel or less) the toolkit colours keep their plain system defaults.
void BuildToolkitColorTable(const xtcolor::Color systemColors[kSystemColorCount], bool paletteDisplay,
                            xtcolor::Color table[kToolkitColorCount]);
