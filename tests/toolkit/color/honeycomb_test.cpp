// The honeycomb's geometry and the colour texts, written out for the
// independent Python oracle (check_colors.py), plus what needs no oracle.
#include <gtest/gtest.h>

#include <stdio.h>

#include "toolkit/color/ColorBytes.h"
#include "toolkit/color/HoneycombLayout.h"

namespace {

using namespace xtcolor;

// One line a cell: index, x, y, large, colour, the four neighbours, the
// cell hit at its centre pixel (column 7, row 4 of a small cell; 14, 8 of a
// large one), then every pixel as x,y.
TEST(HoneycombDump, CellsGoToTheOracle) {
  FILE* out = fopen(BRENNICOR_TEST_WORK "/honeycomb_cells.txt", "w");
  ASSERT_NE(out, nullptr);
  const auto& cells = HoneycombCells();
  for (size_t i = 0; i < cells.size(); ++i) {
    const HoneycombCell& cell = cells[i];
    const HoneycombPixel centre =
        cell.large ? HoneycombPixel{cell.x + 14, cell.y + 8} : HoneycombPixel{cell.x + 7, cell.y + 4};
    fprintf(out, "%zu %d %d %d %06X %d %d %d %d %d", i, cell.x, cell.y, cell.large ? 1 : 0,
            static_cast<unsigned>(cell.color), cell.neighbours[kLeft], cell.neighbours[kUp], cell.neighbours[kRight],
            cell.neighbours[kDown], HoneycombHitTest(centre.x, centre.y));
    for (const HoneycombPixel& p : cell.pixels) fprintf(out, " %d,%d", p.x, p.y);
    fprintf(out, "\n");
  }
  fclose(out);
}

// Every colour with components from a 0, 1, 15, 16, ... 255 grid: its hex
// text and its hue, saturation and luminance bytes.
TEST(ColorTextDump, ColoursGoToTheOracle) {
  FILE* out = fopen(BRENNICOR_TEST_WORK "/color_texts.txt", "w");
  ASSERT_NE(out, nullptr);
  const int levels[] = {0, 1, 10, 15, 16, 17, 51, 100, 127, 128, 129, 200, 240, 254, 255};
  for (int r : levels)
    for (int g : levels)
      for (int b : levels) {
        const Color c = ClampRGB(r, g, b);
        const HslBytes hsl = ColorToHslBytes(c);
        fprintf(out, "%d %d %d|%s|%d %d %d\n", r, g, b, FormatHexText(c).c_str(), hsl.hue, hsl.saturation,
                hsl.luminance);
      }
  fclose(out);
}

TEST(ColorText, ExamplesAndGreys) {
  EXPECT_EQ(FormatHexText(ClampRGB(0, 255, 10)), "Hex: 00FF0A");
  for (int level : {0, 77, 128, 255}) {
    const HslBytes hsl = ColorToHslBytes(ClampRGB(level, level, level));
    EXPECT_EQ(hsl.hue, 0) << level;
    EXPECT_EQ(hsl.saturation, 0) << level;
  }
}

// Through HLS and back a colour comes out within one step of itself.
TEST(ColorText, HlsRoundTripKeepsAColourWithinOne) {
  for (int r = 0; r < 256; r += 15)
    for (int g = 0; g < 256; g += 15)
      for (int b = 0; b < 256; b += 15) {
        double h, s, l;
        const Color c = ClampRGB(r, g, b);
        RGBtoHLS(c, &h, &s, &l);
        const Color back = HLStoRGB(h, s, l);
        EXPECT_LE(abs(Red(back) - r), 1) << r << " " << g << " " << b;
        EXPECT_LE(abs(Green(back) - g), 1) << r << " " << g << " " << b;
        EXPECT_LE(abs(Blue(back) - b), 1) << r << " " << g << " " << b;
      }
}

TEST(Honeycomb, FindsColoursAndNothingOutsideTheCells) {
  EXPECT_EQ(HoneycombFindColor(0xFFFFFF), kHoneycombCentreWhite);
  EXPECT_EQ(HoneycombFindColor(0x000000), kHoneycombLargeBlack);
  EXPECT_EQ(HoneycombFindColor(0x123456), -1);
  EXPECT_EQ(HoneycombHitTest(0, 0), -1);
  EXPECT_EQ(HoneycombHitTest(16, 176), kHoneycombLargeWhite);
  EXPECT_EQ(HoneycombCells()[119].neighbours[kDown], kHoneycombLargeWhite);
}

}  // namespace
