// CXTIconHandle: owns one icon, destroyed when replaced or when the holder goes.
#pragma once

#include "classlib/geometry.h"

class CXTIconHandle {
 public:
  CXTIconHandle() = default;
  explicit CXTIconHandle(HICON icon) : m_icon(icon) {}
  ~CXTIconHandle() { Reset(nullptr); }
  CXTIconHandle(const CXTIconHandle&) = delete;
  CXTIconHandle& operator=(const CXTIconHandle&) = delete;

  void Reset(HICON icon);
  HICON Get() const { return m_icon; }
  // Width and height from the icon's mask (half its height for a mono icon);
  // 0 x 0 without an icon.
  CSize GetExtent() const;
  // A new icon fitted into cx x cy with the aspect ratio kept; null when
  // both are 0 or the icon has no extent.
  HICON ScaleToFit(int cx, int cy) const;

 private:
  HICON m_icon = nullptr;
};
