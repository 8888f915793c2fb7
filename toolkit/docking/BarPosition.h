// CXTBarPosition: the sizes and style a sizable bar keeps as the 44-byte
// "Bar Position" value of its bar-state section (little-endian int32s).
#pragma once

#include <windows.h>

class CXTSettingsStore;

struct CXTBarPosition {
  struct Record {
    SIZE defaultSizes[4];
    INT32 reserved1;
    INT32 reserved2;
    UINT32 barStyle;
  };
  static const UINT kStoredSize = 44;

  BOOL Save(CXTSettingsStore& store, LPCSTR lpszSection) const;
  // Only a value of exactly the record's size is taken; anything else leaves the record as it was.
  BOOL Load(CXTSettingsStore& store, LPCSTR lpszSection);

  Record record = {};
};

static_assert(sizeof(CXTBarPosition::Record) == CXTBarPosition::kStoredSize, "the stored value is 44 bytes");
