// The entry names of the zip the General page examined last, which the
// Options page offers as files to launch. Every change starts a new
// generation, so a reader can tell whether the list moved since it looked.
// A record holds at most kFoundItemRecordBytes with its terminator: a name
// that does not fit is left out, never cut, since a cut name would launch
// the wrong file.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

constexpr size_t kFoundItemRecordBytes = 268;

class FoundItemList {
 public:
  void Clear();
  // False, and nothing added, for a null name or one that does not fit.
  bool Add(const char* name);
  const std::vector<std::string>& Items() const { return items_; }
  unsigned Generation() const { return generation_; }

 private:
  std::vector<std::string> items_;
  unsigned generation_ = 0;
};

// The one list of the process.
FoundItemList& FoundItems();
