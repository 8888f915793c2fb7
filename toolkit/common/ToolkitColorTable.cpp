#include "toolkit/common/ToolkitColorTable.h"

using namespace xtcolor;

namespace {

// System colour indices the table is built from.
enum : int {
  kWindow = 5,
  kMenuText = 7,
  kWindowText = 8,
  kHighlight = 13,
  kHighlightText = 14,
  kFace = 15,
  kShadow = 16,
  kGrayText = 17,
  kButtonText = 18,
};

// Entries 30..49 before any derivation (0: left unset).
const int kDefaultSource[20] = {
    kFace,   kWindow, kHighlight, kHighlight, 0,      kGrayText,   kWindow,      kHighlight,      kShadow, kShadow,
    kShadow, kWindow, kShadow,    kShadow,    kWindowText, kMenuText, kButtonText, kHighlightText, kFace,   kButtonText,
};

struct Blend {
  int dest, a, b, weight;
};
const Blend kBlends[] = {
    {30, 5, 15, 165}, {31, 13, 5, 30}, {33, 13, 5, 50},  {41, 15, 5, 143}, {35, 17, 5, 70},
    {38, 16, 5, 75},  {39, 16, 5, 70}, {43, 46, 16, 20}, {40, 16, 5, 90},  {42, 15, 16, 90},
};

// Applied in this order: a later fix sees the colours the earlier ones made.
struct ContrastFix {
  int dest, a, b, threshold;
};
const ContrastFix kContrastFixes[] = {
    {31, 30, 31, 50},  {32, 30, 13, 100}, {33, 30, 33, 30},  {35, 41, 35, 80},  {37, 33, 37, 100},
    {38, 30, 38, 85},  {39, 30, 39, 50},  {43, 47, 43, 100}, {40, 30, 40, 80},  {44, 41, 44, 180},
    {45, 31, 45, 180}, {46, 30, 46, 180}, {47, 33, 47, 180},
};

int MaxComponent(Color c) {
  int m = Red(c);
  if (Green(c) > m) m = Green(c);
  if (Blue(c) > m) m = Blue(c);
  return m;
}

Color Scale(Color c, int num, int den) {
  return ClampRGB(Red(c) * num / den, Green(c) * num / den, Blue(c) * num / den);
}

// The pressed-and-checked face: half the toolkit face, 40 % of the window and
// a tenth of the selection, the latter's terms taken from its packed value.
Color CheckedFace(const Color* t) {
  const Color face = t[30], window = t[kWindow], sel = t[kHighlight];
  return ClampRGB(Red(face) / 2 + static_cast<int>(Red(window) * 0.4) + Red(sel) / 10,
                  Green(face) / 2 + static_cast<int>(Green(window) * 0.4) + static_cast<int>((sel & 0xFFFF) / 2560),
                  Blue(face) / 2 + static_cast<int>(Blue(window) * 0.4) + static_cast<int>((sel & 0xFFFFFF) / 0xA0000));
}

// A face lifted by 35 in its brightest component, the others in proportion.
Color RaisedFace(Color face) {
  const int m = MaxComponent(face);
  if (m == 0) return 0x232323;
  return Scale(face, m > 219 ? 255 : m + 35, m);
}

// The shadow darkened by 43 in its brightest component.
Color DeepShadow(Color face, Color shadow) {
  if (face == 0) return 0x7F7F7F;
  const int m = MaxComponent(shadow);
  if (m == 0) return 0;
  return Scale(shadow, m < 43 ? 0 : m - 43, m);
}

Color ThreeQuarters(Color c) {
  return ClampRGB(static_cast<int>(Red(c) * 0.75), static_cast<int>(Green(c) * 0.75),
                  static_cast<int>(Blue(c) * 0.75));
}

void DeriveToolkitColors(Color* t) {
  for (const Blend& b : kBlends) t[b.dest] = BlendColors(t[b.a], t[b.b], b.weight);
  if (IsColorDistinct(t[kFace], t[30], 35)) t[30] = PullColorToward(t[kFace], t[30], 35);
  for (const ContrastFix& f : kContrastFixes)
    if (!IsColorDistinct(t[f.a], t[f.b], f.threshold)) t[f.dest] = PushColorAway(t[f.a], t[f.b], f.threshold);
  if (IsColorDistinct(t[41], t[35], 145)) t[35] = PullColorToward(t[41], t[35], 145);
  t[36] = CheckedFace(t);
  t[48] = RaisedFace(t[kFace]);
  t[49] = DeepShadow(t[kFace], t[kShadow]);
  t[34] = ThreeQuarters(t[31]);
}

}  // namespace

void BuildToolkitColorTable(const Color systemColors[kSystemColorCount], bool paletteDisplay,
                            Color table[kToolkitColorCount]) {
  for (int i = 0; i < kToolkitColorCount; ++i) table[i] = 0;
  for (int i = 1; i < kSystemColorCount; ++i) table[i] = systemColors[i];
  for (int i = 0; i < 20; ++i) table[kFirstToolkitColor + i] = kDefaultSource[i] ? table[kDefaultSource[i]] : 0;
  if (!paletteDisplay) DeriveToolkitColors(table);
}
