// Draws a bitmap with one colour left out, through a mask: the builder's
// bitmaps use pure green or white as their transparent colour. The bitmaps
// are drawn for 96 DPI and shown scaled to the screen's text size.
#pragma once
#include <windows.h>

constexpr COLORREF kTransparentGreen = RGB(0, 255, 0);
constexpr COLORREF kTransparentWhite = RGB(255, 255, 255);

void DrawTransparentBitmap(HDC target, HBITMAP bitmap, int x, int y, COLORREF transparent);
