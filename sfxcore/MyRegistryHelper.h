// Registry access for the builder's settings key: open and close a key, read
// a string value, and delete a key, recursively when asked.
#pragma once
#include <windows.h>

#include <vector>

#include "MyFileUtility.h"

struct RegistryKeyEntry {
  char name[260];
  char defaultValue[260];
};

class CMyRegistryHelper : public CMyFileUtility {
 public:
  CMyRegistryHelper() = default;
  ~CMyRegistryHelper() = default;

  static int EnumSubKey(HKEY key, DWORD index, char name[260]);
  // mode 1 closes *key; mode 0 opens root\subkey with full access into *key.
  int OpenOrCloseKey(HKEY root, const char* subkey, HKEY* key, int mode);
  // The value's text (always terminated, at most 259 characters) or an empty
  // text; an empty value name reads the default value. A type other than -1
  // must match the value's type.
  static const char* ReadStringValue(HKEY root, const char* subkey, const char* valueName, int type);
  // Appends the root's subkeys named like the filter (all of them for an empty
  // filter); with recursive 1 empties each one's subtree first.
  static int CollectSubKeys(HKEY root, const char* filter, std::vector<RegistryKeyEntry>* list, int* count,
                            int recursive);
  // subkey is one key name below root; an empty one is refused (0). 1 when
  // the last delete succeeded.
  static int DeleteKey(HKEY root, const char* subkey, int recursive);

 private:
  HKEY key_ = nullptr;
};
