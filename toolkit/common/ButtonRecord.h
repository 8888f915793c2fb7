// The ten-word button record tool-bar layouts and customisation keep per
// button; two of its words are colours, 0xFF000000 meaning "no colour".
#pragma once

#include <windows.h>

struct CXTButtonRecord {
  enum { kNoColor = 0xFF000000 };
  DWORD words[10] = {0, 0, 0, 0, 0, 0, 0, kNoColor, kNoColor, 0};
};
static_assert(sizeof(CXTButtonRecord) == 40, "a button record is ten 32-bit words");

inline void CopyTenDWordRecord(CXTButtonRecord* to, const CXTButtonRecord& from) { *to = from; }
