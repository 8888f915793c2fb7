#include "golden_image.h"

#include <stdio.h>
#include <stdlib.h>

#include <vector>

namespace {

std::string GoldenPath(const std::string& name) { return std::string(BRENNICOR_GOLDEN_DIR) + "/" + name + ".bmp"; }

int RowBytes(int width) { return (width * 3 + 3) & ~3; }

}  // namespace

// Bottom-up rows of blue, green, red, each padded to four bytes.
bool WriteBmp24(const std::string& path, int width, int height, const std::function<COLORREF(int, int)>& pixel) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + RowBytes(width) * height;
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  bool ok = fwrite(&file, sizeof file, 1, f) == 1 && fwrite(&info, sizeof info, 1, f) == 1;
  std::vector<BYTE> line(RowBytes(width));
  for (int y = height - 1; ok && y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const COLORREF c = pixel(x, y);
      line[x * 3] = GetBValue(c);
      line[x * 3 + 1] = GetGValue(c);
      line[x * 3 + 2] = GetRValue(c);
    }
    ok = fwrite(line.data(), line.size(), 1, f) == 1;
  }
  return fclose(f) == 0 && ok;
}

namespace {

struct Picture {
  int width = 0, height = 0;
  std::vector<BYTE> rows;  // as stored: bottom-up, padded
  COLORREF At(int x, int y) const {
    const BYTE* p = &rows[static_cast<size_t>(height - 1 - y) * RowBytes(width) + x * 3];
    return RGB(p[2], p[1], p[0]);
  }
};

// Only the form WriteBmp24 writes is read; anything else is no picture.
bool ReadBmp(const std::string& path, Picture* picture) {
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return false;
  BITMAPFILEHEADER file;
  BITMAPINFOHEADER info;
  bool ok = fread(&file, sizeof file, 1, f) == 1 && fread(&info, sizeof info, 1, f) == 1 && file.bfType == 0x4D42 &&
            info.biBitCount == 24 && info.biCompression == BI_RGB && info.biWidth > 0 && info.biHeight > 0 &&
            info.biWidth <= 4096 && info.biHeight <= 4096 && file.bfOffBits == sizeof file + sizeof info;
  if (ok) {
    picture->width = info.biWidth;
    picture->height = info.biHeight;
    picture->rows.resize(static_cast<size_t>(RowBytes(info.biWidth)) * info.biHeight);
    ok = fread(picture->rows.data(), picture->rows.size(), 1, f) == 1;
  }
  fclose(f);
  return ok;
}

}  // namespace

std::string CompareWithGolden(const std::string& name, int width, int height,
                              const std::function<COLORREF(int, int)>& pixel) {
  const std::string path = GoldenPath(name);
  const char* update = getenv("BRENNICOR_UPDATE_GOLDEN");
  if (update && *update == '1')
    return WriteBmp24(path, width, height, pixel) ? std::string() : "could not write " + path;
  Picture kept;
  if (!ReadBmp(path, &kept)) return "no kept picture " + path;
  if (kept.width != width || kept.height != height)
    return name + ": drawn " + std::to_string(width) + "x" + std::to_string(height) + ", kept " +
           std::to_string(kept.width) + "x" + std::to_string(kept.height);
  int differing = 0, firstX = -1, firstY = -1;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (kept.At(x, y) != pixel(x, y) && differing++ == 0) firstX = x, firstY = y;
  if (differing == 0) return std::string();
  char text[160];
  snprintf(text, sizeof text, "%s: %d pixels differ, the first at (%d, %d): drawn %06lX, kept %06lX", name.c_str(),
           differing, firstX, firstY, static_cast<unsigned long>(pixel(firstX, firstY)),
           static_cast<unsigned long>(kept.At(firstX, firstY)));
  return text;
}
