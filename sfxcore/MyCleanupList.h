// Temporary files and folders to delete when their owner goes. Entries are
// kept in the order they were added and stay listed after a cleanup, which
// is harmless to repeat.
#pragma once
#include <vector>

class CMyCleanupList {
 public:
  enum Kind { kFile = 0, kFolder = 1 };
  struct Entry {
    int kind;
    int flag;  // stored for the owner, never read here
    char path[260];
  };

  CMyCleanupList() = default;
  CMyCleanupList(const CMyCleanupList&) = delete;
  CMyCleanupList& operator=(const CMyCleanupList&) = delete;
  ~CMyCleanupList();

  void Add(const char* path, int kind, int flag);
  // Deletes each listed file that still is a file and each listed folder that
  // still is a folder, the folder with everything below it.
  void RunCleanup();

  int Count() const { return static_cast<int>(entries_.size()); }
  const Entry& At(int index) const { return entries_[index]; }

 private:
  std::vector<Entry> entries_;
};
