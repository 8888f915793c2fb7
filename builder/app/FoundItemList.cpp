#include "FoundItemList.h"

#include <cstring>

void FoundItemList::Clear() {
  items_.clear();
  ++generation_;
}

bool FoundItemList::Add(const char* name) {
  if (name == nullptr || strlen(name) >= kFoundItemRecordBytes) return false;
  items_.emplace_back(name);
  ++generation_;
  return true;
}

FoundItemList& FoundItems() {
  static FoundItemList list;
  return list;
}
