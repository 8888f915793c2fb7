#include "MyRegistryHelper.h"

#include <cstring>

#include "BoundedText.h"

// Enumeration stops here even if the key keeps answering.
static const DWORD kMaxSubKeyIndex = 0x20000;

int CMyRegistryHelper::EnumSubKey(HKEY key, DWORD index, char name[260]) {
  DWORD length = 260;
  if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) return 0;
  name[length < 260 ? length : 259] = '\0';
  return 1;
}

int CMyRegistryHelper::OpenOrCloseKey(HKEY root, const char* subkey, HKEY* key, int mode) {
  if (key == nullptr) return 0;
  if (mode == 1) {
    if (*key) RegCloseKey(*key);
    if (*key == key_) key_ = nullptr;
    *key = nullptr;
    return 1;
  }
  if (subkey == nullptr) return 0;
  if (RegOpenKeyExA(root, subkey, 0, KEY_ALL_ACCESS, key) != ERROR_SUCCESS) return 0;
  key_ = *key;
  return 1;
}

const char* CMyRegistryHelper::ReadStringValue(HKEY root, const char* subkey, const char* valueName, int type) {
  static char value[260];
  value[0] = '\0';
  if (valueName == nullptr) return value;
  HKEY key;
  if (RegOpenKeyExA(root, subkey ? subkey : "", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return value;
  // One byte is kept back so the text ends even when the stored data does not.
  DWORD storedType = 0, size = sizeof value - 1;
  LONG status = RegQueryValueExA(key, valueName, nullptr, &storedType, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || (type != -1 && storedType != static_cast<DWORD>(type))) size = 0;
  value[size < sizeof value ? size : sizeof value - 1] = '\0';
  return value;
}

// Collects the root's subkeys named like the filter (all of them for an empty
// one), emptying each one's subtree, and only then deletes them, so the index
// walk never skips a key. 1 when the last delete succeeded.
static int DeleteMatchingSubKeys(HKEY root, const char* filter) {
  std::vector<RegistryKeyEntry> collected;
  int count = 0;
  CMyRegistryHelper::CollectSubKeys(root, filter, &collected, &count, 1);
  int deleted = 0;
  for (const RegistryKeyEntry& entry : collected) deleted = RegDeleteKeyA(root, entry.name) == ERROR_SUCCESS;
  return deleted;
}

int CMyRegistryHelper::CollectSubKeys(HKEY root, const char* filter, std::vector<RegistryKeyEntry>* list,
                                      int* count, int recursive) {
  if (list == nullptr) return 0;
  if (filter == nullptr) filter = "";
  const size_t firstNew = list->size();
  RegistryKeyEntry entry;
  for (DWORD index = 0; index <= kMaxSubKeyIndex && EnumSubKey(root, index, entry.name); index++) {
    if (filter[0] && lstrcmpiA(entry.name, filter) != 0) continue;
    CopyBounded(entry.defaultValue, ReadStringValue(root, entry.name, "", -1));
    list->push_back(entry);
  }
  // Subtrees go only after the walk above, so no index is skipped.
  if (recursive) {
    for (size_t i = firstNew; i < list->size(); i++) {
      HKEY child;
      if (RegOpenKeyExA(root, (*list)[i].name, 0, KEY_ALL_ACCESS, &child) != ERROR_SUCCESS) continue;
      DeleteMatchingSubKeys(child, "");
      RegCloseKey(child);
    }
  }
  if (count) *count = static_cast<int>(list->size());
  return !list->empty();
}

// An empty name would match every subkey of the root, or the root itself:
// refused, so an unset name can never empty a whole hive branch.
int CMyRegistryHelper::DeleteKey(HKEY root, const char* subkey, int recursive) {
  if (subkey == nullptr || subkey[0] == '\0') return 0;
  if (!recursive) return RegDeleteKeyA(root, subkey) == ERROR_SUCCESS;
  return DeleteMatchingSubKeys(root, subkey);
}
