// Small pictures of our own drawing under Wine, kept beside the fixtures in
// tests/fixtures/golden as 24-bit BMP files: a test compares what it drew with
// the kept picture pixel for pixel. Run a test program with
// BRENNICOR_UPDATE_GOLDEN=1 in its environment to write the pictures it
// compares instead; look at each one before committing it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Writes a 24-bit BMP file of width x height pixels.
bool WriteBmp24(const std::string& path, int width, int height, const std::function<COLORREF(int, int)>& pixel);

// What differs between the drawn picture (width x height, pixel(x, y)) and
// the kept one called name; empty when they match or the kept one was just
// written.
std::string CompareWithGolden(const std::string& name, int width, int height,
                              const std::function<COLORREF(int, int)>& pixel);
