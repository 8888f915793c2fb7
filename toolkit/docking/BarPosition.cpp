#include "toolkit/docking/BarPosition.h"

#include <string.h>

#include "toolkit/common/SettingsStore.h"

namespace {
const char kValueName[] = "Bar Position";
}

BOOL CXTBarPosition::Save(CXTSettingsStore& store, LPCSTR lpszSection) const {
  return store.WriteBinary(lpszSection, kValueName, reinterpret_cast<const BYTE*>(&record), kStoredSize);
}

BOOL CXTBarPosition::Load(CXTSettingsStore& store, LPCSTR lpszSection) {
  BYTE* data = nullptr;
  UINT size = 0;
  const BOOL taken = store.ReadBinary(lpszSection, kValueName, &data, &size) && data && size == kStoredSize;
  if (taken) memcpy(&record, data, kStoredSize);
  delete[] data;
  return taken;
}
