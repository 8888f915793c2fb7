// The icon a built program shows: read from an icon file or from a program
// or library, and put into a copy of the stub's image in place of its own.
// Pure computation over bytes, bounds-checked like the resource reader.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One image of an icon: its directory entry's fields and its bitmap bytes.
struct IconImage {
  uint8_t width = 0, height = 0, colorCount = 0, reserved = 0;
  uint16_t planes = 0, bitCount = 0;
  std::vector<uint8_t> bytes;
};

// The images of the icon at index: an icon file holds one icon (index 0); a
// program or library holds its icon groups in resource directory order.
// False with problem set (a phrase about the file: "holds no icons") when
// there is no such icon.
bool ReadIconImages(const uint8_t* file, size_t size, int index, std::vector<IconImage>* images, std::string* problem);

// The image's first icon group, the one the shell shows and the stub loads,
// becomes the icon; the images only it used go. False with problem set.
bool SetProgramIcon(std::vector<uint8_t>* image, const std::vector<IconImage>& icon, std::string* problem);
