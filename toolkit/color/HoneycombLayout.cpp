#include "toolkit/color/HoneycombLayout.h"

#include <algorithm>

namespace xtcolor {

namespace {

// Colours in cell order.
const uint32_t kColors[kHoneycombCells] = {
    0x663300, 0x996633, 0xCC6633, 0x993300, 0x990000, 0xCC0000, 0x660000, 0x666600, 0x996600, 0xCC9900, 0xCC6600,
    0xCC3300, 0xFF0000, 0xFF3333, 0x993333, 0x808000, 0x999900, 0xCCCC33, 0xFFCC00, 0xFF9900, 0xFF6600, 0xFF6633,
    0xCC3333, 0x996666, 0x669933, 0x99CC00, 0xCCFF00, 0xFFFF00, 0xFFCC33, 0xFF9933, 0xFF9966, 0xFF6666, 0xFF0066,
    0xCC0066, 0x339933, 0x66CC00, 0x99FF00, 0xCCFF66, 0xFFFF66, 0xFFCC66, 0xFFCC99, 0xFF9999, 0xFF6699, 0xFF3399,
    0xFF0099, 0x006600, 0x00CC00, 0x00FF00, 0x99FF66, 0xCCFF99, 0xFFFFCC, 0xFFECCC, 0xFFCCCC, 0xFF99CC, 0xFF66CC,
    0xFF00CC, 0xCC0099, 0x003300, 0x008000, 0x33CC33, 0x66FF66, 0x99FF99, 0xCCFFCC, 0xFFFFFF, 0xFFCCFF, 0xFF99FF,
    0xFF66FF, 0xFF00FF, 0xCC00CC, 0x660066, 0x006633, 0x009900, 0x33FF66, 0x66FF99, 0x99FFCC, 0xCCFFFF, 0xCCCCFF,
    0xCC99FF, 0xCC66FF, 0xCC33FF, 0x9900CC, 0x800080, 0x003333, 0x009966, 0x33FF99, 0x66FFCC, 0x99FFFF, 0x99CCFF,
    0x9999FF, 0x9966FF, 0x9933FF, 0x9933CC, 0x990099, 0x336666, 0x00CC99, 0x33FFCC, 0x66FFFF, 0x66CCFF, 0x6699FF,
    0x807CFF, 0x6600FF, 0x9300D6, 0x663399, 0x008080, 0x00CCCC, 0x00FFFF, 0x00CCFF, 0x3399FF, 0x0066FF, 0x5050FF,
    0x6600CC, 0x330066, 0x336699, 0x0099CC, 0x0099FF, 0x0066CC, 0x0033FF, 0x0000FF, 0x0000CC, 0x330099, 0x003366,
    0x006699, 0x0033CC, 0x003399, 0x000099, 0x000080, 0x2100A5, 0xF8F8F8, 0xDDDDDD, 0xB2B2B2, 0x808080, 0x5F5F5F,
    0x333333, 0x1C1C1C, 0x080808, 0xEAEAEA, 0xC0C0C0, 0x969696, 0x777777, 0x4D4D4D, 0x292929, 0x111111, 0xFFFFFF,
    0x000000,
};

// "No neighbour" in a relative run: the top row has nothing above it.
const int kNoneRelative = -1000;

// A run of cells on one row: where it starts and, per direction, either a
// neighbour counted from the cell's place in the run (relative) or one fixed
// cell. Neighbours are as the keys have always moved, rows wrapping.
struct Run {
  int first, count, y, x;
  bool large;
  bool relative;
  int neighbours[kDirectionCount];
};

const Run kRuns[] = {
    {0, 7, 7, 58, false, true, {-1, kNoneRelative, 1, 8}},  {7, 8, 19, 51, false, true, {6, -1, 8, 16}},
    {15, 9, 31, 44, false, true, {14, 6, 16, 25}},          {24, 10, 43, 37, false, true, {23, 14, 25, 35}},
    {34, 11, 55, 30, false, true, {33, 23, 35, 46}},        {45, 12, 67, 23, false, true, {44, 33, 46, 58}},
    {57, 7, 79, 16, false, true, {56, 44, 58, 70}},         {64, 6, 79, 114, false, true, {63, 51, 65, 77}},
    {70, 12, 91, 23, false, true, {69, 57, 71, 82}},        {82, 11, 103, 30, false, true, {81, 70, 83, 93}},
    {93, 10, 115, 37, false, true, {92, 82, 94, 103}},      {103, 9, 127, 44, false, true, {102, 93, 104, 112}},
    {112, 7, 139, 51, false, true, {111, 103, 113, 120}},   {119, 1, 139, 149, false, false, {118, 110, 120, 142}},
    {120, 6, 151, 58, false, true, {119, 112, 121, 121}},   {126, 1, 151, 142, false, false, {125, 118, 142, 142}},
    {127, 1, 176, 51, false, false, {142, 142, 135, 135}},  {128, 6, 176, 65, false, true, {135, 135, 136, 136}},
    {134, 1, 176, 149, false, false, {141, 141, 143, 143}}, {135, 7, 188, 58, false, true, {127, 127, 128, 128}},
    {142, 1, 176, 16, true, false, {126, 126, 127, 127}},   {143, 1, 176, 169, true, false, {134, 134, -1, -1}},
};

const int kSmallPitch = 14;
// Column heights from the left; a column is centred on the cell's shortest one.
const int kSmallColumns[] = {9, 9, 11, 11, 13, 13, 15, 15, 15, 13, 13, 11, 11, 9};
const int kLargeColumns[] = {17, 17, 19, 19, 21, 21, 23, 25, 25, 27, 27, 29, 29, 31, 31,
                             31, 29, 29, 27, 27, 25, 25, 23, 21, 21, 19, 19, 17, 17};

template <size_t N>
std::vector<HoneycombPixel> Shape(int x, int y, const int (&columns)[N]) {
  std::vector<HoneycombPixel> pixels;
  for (size_t c = 0; c < N; ++c) {
    const int top = y - (columns[c] - columns[0]) / 2;
    for (int row = 0; row < columns[c]; ++row) pixels.push_back({x + static_cast<int>(c), top + row});
  }
  return pixels;
}

int Neighbour(const Run& run, int place, int direction) {
  const int n = run.neighbours[direction];
  if (!run.relative) return n;
  return n == kNoneRelative ? -1 : place + n;
}

std::vector<HoneycombCell> Build() {
  std::vector<HoneycombCell> cells(kHoneycombCells);
  for (const Run& run : kRuns) {
    for (int place = 0; place < run.count; ++place) {
      HoneycombCell& cell = cells[run.first + place];
      cell.x = run.x + place * kSmallPitch;
      cell.y = run.y;
      cell.large = run.large;
      cell.color = kColors[run.first + place];
      for (int d = 0; d < kDirectionCount; ++d) cell.neighbours[d] = Neighbour(run, place, d);
      cell.pixels = run.large ? Shape(cell.x, cell.y, kLargeColumns) : Shape(cell.x, cell.y, kSmallColumns);
    }
  }
  return cells;
}

}  // namespace

const std::vector<HoneycombCell>& HoneycombCells() {
  static const std::vector<HoneycombCell> cells = Build();
  return cells;
}

int HoneycombHitTest(int x, int y) {
  const std::vector<HoneycombCell>& cells = HoneycombCells();
  for (size_t i = 0; i < cells.size(); ++i) {
    const auto& pixels = cells[i].pixels;
    if (std::any_of(pixels.begin(), pixels.end(), [&](const HoneycombPixel& p) { return p.x == x && p.y == y; }))
      return static_cast<int>(i);
  }
  return -1;
}

int HoneycombFindColor(uint32_t color) {
  for (int i = 0; i < kHoneycombCells; ++i)
    if (kColors[i] == color) return i;
  return -1;
}

}  // namespace xtcolor
